#include <gtest/gtest.h>

#include "common/error.h"
#include "tests/test_util.h"
#include "tests/xml/xml_fixtures.h"
#include "xml/document.h"
#include "xml/saga_names.h"

namespace velquior::xml {
namespace {

using velquior::testing::ListDir;
using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

using testing::Fixture;

TEST(XmlSave, WritesIndentedAndKeepsEverythingElse) {
  Document doc;
  ASSERT_TRUE(
      doc.loadXml("<?xml version='1.0' encoding='UTF-8'?>\n"
                  "<!DOCTYPE document [<!ENTITY centro \"IES Sur\">]>\n"
                  "<!-- antes -->\n<?saga-export v=\"3\"?>\n"
                  "<document><teachers>\n\n  <teacher id='t1' name='x' hours='2'>Juan <b>P</b>&centro;</teacher>"
                  "<!-- dentro --><?pi dentro?></teachers>"
                  "<notes><![CDATA[ <a&b> ]]></notes>   <empty></empty><blank>  </blank></document>\n<!-- despues -->")
          .ok);
  EXPECT_EQ(doc.saveToString(),
            "<?xml version='1.0' encoding='UTF-8'?>\n"
            "<!DOCTYPE document [\n<!ENTITY centro \"IES Sur\">\n]>\n"
            "<!-- antes -->\n<?saga-export v=\"3\"?>\n"
            "<document>\n"
            "  <teachers>\n"
            "    <teacher id=\"t1\" name=\"x\" hours=\"2\">Juan <b>P</b>&centro;</teacher>\n"
            "    <!-- dentro -->\n"
            "    <?pi dentro?>\n"
            "  </teachers>\n"
            "  <notes><![CDATA[ <a&b> ]]></notes>\n"
            "  <empty/>\n"
            "  <blank/>\n"
            "</document>\n"
            "<!-- despues -->\n");
}

TEST(XmlSave, NewAttributesFollowInTheOrderOfSetting) {
  Document doc;
  ASSERT_TRUE(doc.loadXml("<document><groups/></document>").ok);
  Node root = *doc.documentElement();
  Node tables = root.appendChild(doc.createElement(saga::kTimeTables));
  Node input = doc.createElement(saga::kInput);
  for (auto [name, value] : {std::pair{"id", "input1"}, {"day", "1"}, {"interval", "i3"}, {"activity", "a1"}}) {
    input.setAttribute(name, value);
  }
  input.setAttribute("day", "2");
  tables.appendChild(input);
  EXPECT_EQ(doc.saveToString(),
            "<document>\n  <groups/>\n  <time-tables>\n"
            "    <input id=\"input1\" day=\"2\" interval=\"i3\" activity=\"a1\"/>\n"
            "  </time-tables>\n</document>\n");
}

TEST(XmlSave, ValuesNeedingEscapesComeBackTheSame) {
  const std::string values[] = {"a<b>&c\"d'e", "\t linea\r\nsiguiente ", "\x80\x8A\xFF", ""};
  Document doc;
  ASSERT_TRUE(doc.loadXml("<document/>").ok);
  Node root = *doc.documentElement();
  for (std::size_t i = 0; i < std::size(values); ++i) root.setAttribute("v" + std::to_string(i), values[i]);
  Document again;
  ASSERT_TRUE(again.loadXml(doc.saveToString()).ok);
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(again.documentElement()->attributes().getNamedItem("v" + std::to_string(i))->text(), values[i]);
  }
}

struct FormRow {
  const char* file;
  std::string_view head;   // the first bytes, as in the original
  std::string_view euro;   // how "€uro" is written
  std::string_view omega;  // how Ω (outside Windows-1252) is written
};

const FormRow kForms[] = {
    {"good/saga-utf-8.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!--",
     "\xE2\x82\xAC"
     "uro",
     "\xCE\xA9"},
    {"good/saga-sin-declaracion.xml", "<!-- Exportaci\xC3\xB3n",
     "\xE2\x82\xAC"
     "uro",
     "\xCE\xA9"},
    {"good/saga-utf-8-bom.xml", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!--",
     "\xE2\x82\xAC"
     "uro",
     "\xCE\xA9"},
    {"good/saga-iso-8859-1.xml", "<?xml version='1.0' encoding='ISO-8859-1' standalone='yes'?>\n<!-- Exportaci\xF3n",
     "\x80uro", "&#937;"},
    {"good/saga-windows-1252.xml", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<!-- Exportaci\xF3n", "\x80uro",
     "&#937;"},
    {"good/saga-utf-16le-bom.xml", {"\xFF\xFE<\0?\0x\0m\0l\0", 12}, {"\xAC\x20u\0", 4}, {"\xA9\x03", 2}},
    {"good/saga-utf-16be-bom.xml", {"\xFE\xFF\0<\0?\0x\0m\0l", 12}, {"\x20\xAC\0u", 4}, {"\x03\xA9", 2}},
};

TEST(XmlSave, EachFileKeepsItsDeclarationAndEncoding) {
  for (const FormRow& row : kForms) {
    SCOPED_TRACE(row.file);
    Document doc;
    ASSERT_TRUE(doc.load(Fixture(row.file)).ok);
    const std::string bytes = doc.saveToString();
    EXPECT_EQ(bytes.substr(0, row.head.size()), row.head);
    EXPECT_NE(bytes.find(row.euro), std::string::npos);
    EXPECT_NE(bytes.find(row.omega), std::string::npos);
    // The rest reads back the same.
    Document again;
    ASSERT_TRUE(again.loadXml(bytes).ok);
    EXPECT_EQ(again.selectNodes("/document/teachers/teacher").item(2)->text(), "\x80uro \x8Aimi? ?");
    EXPECT_EQ(again.selectNodes("/document/groups/group").item(0)->text(), "Primero A & B de ESO");
  }
}

TEST(XmlSave, EveryFixtureRoundTripsToTheSameBytes) {
  for (const char* file :
       {"good/saga-utf-8.xml", "good/saga-sin-declaracion.xml", "good/saga-utf-8-bom.xml", "good/saga-iso-8859-1.xml",
        "good/saga-windows-1252.xml", "good/saga-utf-16le-bom.xml", "good/saga-utf-16be-bom.xml"}) {
    SCOPED_TRACE(file);
    TempDir dir;
    const auto path = dir / "saga.xml";
    std::filesystem::copy_file(Fixture(file), path);
    Document doc;
    ASSERT_TRUE(doc.load(path).ok);
    doc.save(path);
    const std::string first = ReadFile(path);
    Document again;
    ASSERT_TRUE(again.load(path).ok);
    again.save(path);
    EXPECT_EQ(ReadFile(path), first);
    EXPECT_EQ(again.selectNodes(saga::kTeachersPath).item(0)->text(), "Juan P\xE9rez");
    EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"saga.xml"});
  }
}

TEST(XmlSave, CharactersTheEncodingLacksBecomeReferences) {
  struct Row {
    const char* declaration;
    std::string_view value;    // Windows-1252
    std::string_view written;  // in the file
  };
  const Row rows[] = {
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "\x80 \x8A \xE9", "\"&#8364; &#352; \xE9\""},
      {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>", "\x80 \x8A \xE9", "\"\x80 \x8A \xE9\""},
      {"<?xml version=\"1.0\" encoding=\"US-ASCII\"?>", "\x80 \xE9", "\"&#8364; &#233;\""},
      {"<?xml version=\"1.0\"?>", "\x80 \xE9", "\"\xE2\x82\xAC \xC3\xA9\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.declaration);
    Document doc;
    ASSERT_TRUE(doc.loadXml(std::string(row.declaration) + "\n<document><t>&#937;</t></document>").ok);
    doc.documentElement()->setAttribute("name", row.value);
    const std::string bytes = doc.saveToString();
    EXPECT_NE(bytes.find(row.written), std::string::npos) << bytes;
    Document again;
    ASSERT_TRUE(again.loadXml(bytes).ok);
    EXPECT_EQ(again.documentElement()->attributes().getNamedItem("name")->text(), row.value);
    EXPECT_EQ(again.selectNodes("/document/t").item(0)->text(), "?");
  }
}

TEST(XmlSave, ImportLeavesOneTimeTablesLast) {
  TempDir dir;
  const auto path = dir / "saga.xml";
  WriteFile(path,
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<document><time-tables/><groups/>"
            "<time-tables><old/></time-tables><teachers/></document>");
  for (int run = 0; run < 2; ++run) {
    Document doc;
    ASSERT_TRUE(doc.load(path).ok);
    Node root = *doc.documentElement();
    while (auto old = root.selectSingleNode(saga::kTimeTables)) root.removeChild(*old);
    Node tables = root.appendChild(doc.createElement(saga::kTimeTables));
    Node table = tables.appendChild(doc.createElement(saga::kTimeTable));
    table.setAttribute(saga::kId, "tt1");
    table.setAttribute(saga::kName, saga::kTimeTableName);
    doc.save(path);
  }
  EXPECT_EQ(ReadFile(path),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<document>\n  <groups/>\n  <teachers/>\n"
            "  <time-tables>\n    <time-table id=\"tt1\" name=\"Zeltimor\"/>\n  </time-tables>\n</document>\n");
}

}  // namespace
}  // namespace velquior::xml
