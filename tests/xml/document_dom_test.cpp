#include <gtest/gtest.h>

#include <chrono>

#include "common/error.h"
#include "tests/test_util.h"
#include "xml/document.h"
#include "xml/saga_names.h"

namespace velquior::xml {
namespace {

Document Parsed(std::string_view xml) {
  Document doc;
  LoadResult r = doc.loadXml(xml);
  EXPECT_TRUE(r.ok) << r.reason;
  return doc;
}

std::vector<std::string> Ids(const NodeList& list) {
  std::vector<std::string> ids;
  for (long i = 0; i < list.length(); ++i) {
    auto id = list.item(i)->attributes().getNamedItem("id");
    ids.push_back(id ? id->text() : "-");
  }
  return ids;
}

using testing::ErrorOf;

TEST(XmlText, JoinsDescendantsAndTrimsXmlWhiteSpace) {
  struct Row {
    const char* xml;
    const char* path;  // from the document; empty: the document element
    const char* text;
  };
  const Row rows[] = {
      {"<d><t>  Juan \t P\xC3\xA9rez \r\n</t></d>", "/d/t", "Juan \t P\xE9rez"},
      {"<d><t>a<b>b<c>c</c></b> d </t></d>", "/d/t", "abc d"},
      {"<d><t> <![CDATA[  x < y  ]]> </t></d>", "/d/t", "x < y"},
      {"<d><t>a<!-- no -->b<?pi no?>c</t></d>", "/d/t", "abc"},
      {"<d><t>&#x20AC; &amp; &lt;&#937;&gt;</t></d>", "/d/t", "\x80 & <?>"},
      {"<d><t>\xC2\x80\xC2\x9F</t></d>", "/d/t", "\x80\x9F"},  // C1 stay as the same bytes
      {"<d><t>\xF0\x9F\x98\x80</t></d>", "/d/t", "?"},
      {"<d><t>\n   \n</t></d>", "/d/t", ""},
      {"<d><t/></d>", "/d/t", ""},
      {"<d>\n  <a>uno</a>\n  <b>dos</b>\n</d>", "", "unodos"},
      {"<d><t>\xC2\xA0x\xC2\xA0</t></d>", "/d/t", "\xA0x\xA0"},  // no-break space is not XML white space
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.xml);
    Document doc = Parsed(row.xml);
    auto node = *row.path ? doc.selectNodes(row.path).item(0) : doc.documentElement();
    ASSERT_TRUE(node);
    EXPECT_EQ(node->text(), row.text);
  }
}

TEST(XmlText, AttributeTextIsTheValueAsWritten) {
  Document doc = Parsed("<d a=' x&#9;y ' b='&#x20AC;&amp;&#x3A9;' c=''/>");
  AttributeMap attrs = doc.documentElement()->attributes();
  EXPECT_EQ(attrs.getNamedItem("a")->text(), " x\ty ");
  EXPECT_EQ(attrs.getNamedItem("b")->text(), "\x80&?");
  EXPECT_EQ(attrs.getNamedItem("c")->text(), "");
}

TEST(XmlWhiteSpace, BlankTextBetweenElementsIsDropped) {
  Document doc = Parsed(
      "<document>\n  <teacher id='t1'>Juan P\xC3\xA9rez</teacher>\n"
      "  <group id='g1'>\n    <assigned-subjects/>\n  </group>\n"
      "  <p>texto <b>negrita</b> <i>cursiva</i> <!-- nota --> <?pi dato ?></p>\n"
      "  <c><![CDATA[   ]]></c>\n</document>\n");
  Node root = *doc.documentElement();
  EXPECT_EQ(root.childNodes().length(), 4);
  Node teacher = *root.selectSingleNode("teacher");
  Node first = *teacher.childNodes().item(0);
  EXPECT_EQ(first.nodeName(), "#text");
  EXPECT_EQ(first.text(), "Juan P\xE9rez");
  // An indented element's first child is its first element.
  EXPECT_EQ(root.selectSingleNode("group")->childNodes().item(0)->nodeName(), "assigned-subjects");
  // Mixed content too: the blank between </b> and <i> goes.
  NodeList p = root.selectSingleNode("p")->childNodes();
  ASSERT_EQ(p.length(), 5);
  const char* const names[] = {"#text", "b", "i", "#comment", "pi"};
  const char* const texts[] = {"texto", "negrita", "cursiva", "nota", "dato"};
  for (long i = 0; i < 5; ++i) {
    EXPECT_EQ(p.item(i)->nodeName(), names[i]);
    EXPECT_EQ(p.item(i)->text(), texts[i]);
  }
  // A CDATA section of blanks stays.
  NodeList c = root.selectSingleNode("c")->childNodes();
  ASSERT_EQ(c.length(), 1);
  EXPECT_EQ(c.item(0)->nodeName(), "#cdata-section");
}

const char* const kSchool =
    "<document>"
    "<subjects><subject id='s1'/><subject id='s2'/></subjects>"
    "<teachers><teacher id='t1'/></teachers>"
    "<subjects><subject id='s3'/></subjects>"
    "<groups>"
    "<group id='g1'><assigned-subjects><assigned-subject id='a1'/><assigned-subject id='a2'/></assigned-subjects>"
    "<assigned-subjects><assigned-subject id='a3'/></assigned-subjects></group>"
    "<group id='g2'><other><assigned-subjects><assigned-subject id='deep'/></assigned-subjects></other></group>"
    "</groups>"
    "<time-tables id='tt-a'/><x><time-tables id='nested'/></x><time-tables id='tt-b'/>"
    "</document>";

TEST(XmlSelect, PathsSelectChildElementsInDocumentOrder) {
  Document doc = Parsed(kSchool);
  Node root = *doc.documentElement();
  Node g1 = *doc.selectNodes(saga::kGroupsPath).item(0);
  struct Row {
    std::optional<Node> from;  // nothing: the document
    const char* path;
    std::vector<std::string> ids;
  };
  const Row rows[] = {
      {std::nullopt, "/document/subjects/subject", {"s1", "s2", "s3"}},  // spread over two containers
      {std::nullopt, "/document/teachers/teacher", {"t1"}},
      {std::nullopt, "document/teachers/teacher", {"t1"}},
      {std::nullopt, "/document/locations/location", {}},
      {std::nullopt, "/documento/subjects/subject", {}},  // wrong root
      {std::nullopt, "/subjects/subject", {}},
      {g1, "assigned-subjects/assigned-subject", {"a1", "a2", "a3"}},
      {g1, "/document/teachers/teacher", {"t1"}},  // absolute from a node
      {root, "time-tables", {"tt-a", "tt-b"}},     // children only, not the nested one
      {root, "groups/group/assigned-subjects/assigned-subject", {"a1", "a2", "a3"}},
      {root, "document", {}},
      {std::nullopt, "", {}},
      {std::nullopt, "/", {}},
      {std::nullopt, "/document//subject", {}},
      {std::nullopt, "/document/subjects/", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    NodeList list = row.from ? row.from->selectNodes(row.path) : doc.selectNodes(row.path);
    EXPECT_EQ(Ids(list), row.ids);
    auto single = row.from ? row.from->selectSingleNode(row.path) : std::optional<Node>();
    if (row.from) {
      ASSERT_EQ(single.has_value(), !row.ids.empty());
      if (single) {
        EXPECT_EQ(*single, *list.item(0));
      }
    }
  }
}

TEST(XmlSelect, WrongRootGivesEmptyListsEverywhere) {
  Document doc = Parsed("<documento><groups><group id='g1'/></groups></documento>");
  for (auto path : {saga::kSubjectsPath, saga::kTeachersPath, saga::kLocationsPath, saga::kGroupsPath}) {
    EXPECT_EQ(doc.selectNodes(path).length(), 0) << path;
  }
  Document empty;
  EXPECT_EQ(empty.selectNodes(saga::kGroupsPath).length(), 0);
  EXPECT_FALSE(empty.documentElement());
}

TEST(XmlSelect, NothingPastTheEnd) {
  Document doc = Parsed("<document><teachers><teacher id='t1' name='x'/></teachers></document>");
  NodeList list = doc.selectNodes(saga::kTeachersPath);
  EXPECT_TRUE(list.item(0));
  EXPECT_FALSE(list.item(1));
  EXPECT_FALSE(list.item(-1));
  AttributeMap attrs = list.item(0)->attributes();
  EXPECT_EQ(attrs.length(), 2);
  EXPECT_EQ(attrs.item(1)->name(), "name");
  EXPECT_FALSE(attrs.item(2));
  EXPECT_FALSE(attrs.getNamedItem("hours"));
  EXPECT_FALSE(attrs.getNamedItem("ID"));  // names are case-sensitive
  EXPECT_EQ(list.item(0)->childNodes().length(), 0);
  EXPECT_FALSE(list.item(0)->childNodes().item(0));
}

TEST(XmlSelect, PrefixedNamesMatchAsWritten) {
  Document doc = Parsed("<s:document xmlns:s='urn:saga' xmlns='urn:x'><s:groups s:id='g'/><groups/></s:document>");
  EXPECT_EQ(doc.selectNodes("/s:document/s:groups").length(), 1);
  EXPECT_EQ(doc.selectNodes("/s:document/groups").length(), 1);
  EXPECT_EQ(doc.selectNodes("/document").length(), 0);
  auto g = doc.selectNodes("/s:document/s:groups").item(0);
  EXPECT_EQ(g->nodeName(), "s:groups");
  EXPECT_EQ(g->attributes().getNamedItem("s:id")->text(), "g");
  EXPECT_FALSE(g->attributes().getNamedItem("id"));
}

TEST(XmlSelect, LargeSchoolStaysLinear) {
  // 20,000 groups with an assigned subject and teacher each: 60,000 elements.
  std::string xml = "<document><groups>";
  for (int i = 0; i < 20000; ++i) {
    xml += "<group id='g" + std::to_string(i) +
           "'>G<assigned-subjects><assigned-subject id='s'><assigned-teachers>"
           "<assigned-teacher id='t'/></assigned-teachers></assigned-subject></assigned-subjects></group>";
  }
  xml += "</groups></document>";
  Document doc = Parsed(xml);
  const auto started = std::chrono::steady_clock::now();
  NodeList groups = doc.selectNodes(saga::kGroupsPath);
  long teachers = 0;
  for (long i = 0; i < groups.length(); ++i) {
    Node g = *groups.item(i);
    EXPECT_EQ(g.childNodes().item(0)->text(), "G");
    NodeList subjects = g.selectNodes(saga::kAssignedSubjectsPath);
    for (long j = 0; j < subjects.length(); ++j) {
      teachers += subjects.item(j)->selectNodes(saga::kAssignedTeachersPath).length();
    }
  }
  EXPECT_EQ(teachers, 20000);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST(XmlEdit, AppendRemoveAndSetAttributeAsTheImportUsesThem) {
  Document doc = Parsed(kSchool);
  Node root = *doc.documentElement();
  // Remove every time-tables child, until nothing is found.
  while (auto old = root.selectSingleNode(saga::kTimeTables)) root.removeChild(*old);
  EXPECT_EQ(root.selectNodes(saga::kTimeTables).length(), 0);
  EXPECT_EQ(root.selectNodes("x/time-tables").length(), 1);  // further down stays

  Node tables = root.appendChild(doc.createElement(saga::kTimeTables));
  Node table = doc.createElement(saga::kTimeTable);
  table.setAttribute(saga::kId, "tt1");
  table.setAttribute(saga::kName, "Zeltimor");
  tables.appendChild(table);
  Node days = table.appendChild(doc.createElement(saga::kDays));
  Node day = doc.createElement(saga::kDay);
  day.setAttribute(saga::kId, "1");
  day.setAttribute(saga::kName, "Mi\xE9rcoles \x80");
  days.appendChild(day);

  NodeList children = root.childNodes();
  EXPECT_EQ(*children.item(children.length() - 1), tables);
  EXPECT_EQ(doc.selectNodes("/document/time-tables/time-table/days/day").length(), 1);
  EXPECT_EQ(day.attributes().getNamedItem("name")->text(), "Mi\xE9rcoles \x80");
  AttributeMap attrs = table.attributes();
  ASSERT_EQ(attrs.length(), 2);
  EXPECT_EQ(attrs.item(0)->name(), "id");
  EXPECT_EQ(attrs.item(1)->name(), "name");

  // Setting an existing attribute replaces its value where it stands.
  table.setAttribute(saga::kId, "tt2");
  EXPECT_EQ(attrs.length(), 2);
  EXPECT_EQ(attrs.item(0)->name(), "id");
  EXPECT_EQ(attrs.item(0)->text(), "tt2");
}

TEST(XmlEdit, MovingANodeTakesItFromItsOldPlace) {
  Document doc = Parsed("<d><a><x id='1'/></a><b/></d>");
  Node x = *doc.selectNodes("/d/a/x").item(0);
  Node b = *doc.selectNodes("/d/b").item(0);
  b.appendChild(x);
  EXPECT_EQ(doc.selectNodes("/d/a/x").length(), 0);
  EXPECT_EQ(doc.selectNodes("/d/b/x").length(), 1);
  // A removed node can come back; the handle stays good meanwhile.
  b.removeChild(x);
  EXPECT_EQ(x.nodeName(), "x");
  doc.documentElement()->appendChild(x);
  EXPECT_EQ(Ids(doc.selectNodes("/d/x")), std::vector<std::string>{"1"});
}

TEST(XmlEdit, MisuseRaisesClearErrors) {
  Document doc = Parsed("<d><a><b/></a>texto</d>");
  Document other = Parsed("<d/>");
  Node d = *doc.documentElement();
  Node a = *d.selectSingleNode("a");
  Node b = *a.selectSingleNode("b");
  Node text = *d.childNodes().item(1);
  EXPECT_EQ(ErrorOf([&] { doc.createElement("dos palabras"); }), "'dos palabras' no es un nombre XML válido");
  EXPECT_EQ(ErrorOf([&] { doc.createElement(""); }), "'' no es un nombre XML válido");
  EXPECT_EQ(ErrorOf([&] { a.setAttribute("1id", "x"); }), "'1id' no es un nombre XML válido");
  EXPECT_EQ(ErrorOf([&] { a.setAttribute("id", std::string_view("a\x01", 2)); }),
            "El valor del atributo 'id' contiene un carácter que XML no admite (código 1)");
  EXPECT_EQ(ErrorOf([&] { a.setAttribute("id", std::string_view("a\0b", 3)); }),
            "El valor del atributo 'id' contiene un carácter que XML no admite (código 0)");
  EXPECT_EQ(ErrorOf([&] { text.setAttribute("id", "x"); }), "El nodo '#text' no es un elemento");
  EXPECT_EQ(ErrorOf([&] { b.appendChild(a); }), "No se puede añadir el nodo 'a' a 'b'");
  EXPECT_EQ(ErrorOf([&] { a.appendChild(a); }), "No se puede añadir el nodo 'a' a 'a'");
  EXPECT_EQ(ErrorOf([&] { a.appendChild(*other.documentElement()); }), "No se puede añadir el nodo 'd' a 'a'");
  EXPECT_EQ(ErrorOf([&] { text.appendChild(doc.createElement("e")); }), "No se puede añadir el nodo 'e' a '#text'");
  EXPECT_EQ(ErrorOf([&] { d.removeChild(b); }), "El nodo 'b' no es hijo de 'd'");
  // Nothing changed on the way.
  EXPECT_EQ(doc.saveToString(), "<d><a><b/></a>texto</d>\n");
  // Tabs, line ends and the characters above 127 are all fine in a value.
  a.setAttribute("id", "\t\r\n\x7F\x81\xFF");
  EXPECT_EQ(a.attributes().getNamedItem("id")->text(), "\t\r\n\x7F\x81\xFF");
}

TEST(XmlEdit, ElementsLeftOutOfTheTreeDieWithTheDocument) {
  // Run under the sanitizers, this catches leaks and double frees.
  Document doc = Parsed("<d><a><b/></a></d>");
  Node loose = doc.createElement("loose");
  loose.appendChild(doc.createElement("child"));
  Node a = *doc.selectNodes("/d/a").item(0);
  Node b = *a.selectSingleNode("b");
  doc.documentElement()->removeChild(a);
  loose.appendChild(a);
  a.removeChild(b);
  a.appendChild(b);
  a.removeChild(b);
  Document moved = std::move(doc);
  EXPECT_EQ(moved.documentElement()->childNodes().length(), 0);
  Document empty;
  Node orphan = empty.createElement("solo");
  EXPECT_EQ(orphan.nodeName(), "solo");
}

}  // namespace
}  // namespace velquior::xml
