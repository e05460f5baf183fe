// The own writer against libxml2's: for every document and encoding below,
// both must give the same bytes.

#include <gtest/gtest.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <algorithm>
#include <optional>

#include "common/error.h"
#include "tests/school_generator.h"
#include "tests/test_util.h"
#include "tests/xml/xml_fixtures.h"
#include "text/encoding.h"
#include "xml/doc_state.h"
#include "xml/document.h"
#include "xml/tree_writer.h"

namespace velquior::xml {
namespace {

using testing::Fixture;

_xmlDoc* RawDoc(const Document& doc) { return doc.documentElement()->raw()->doc; }

// Both writers' bytes, or their reasons for failing.
void ExpectSameBytes(const Document& doc) {
  std::string own, theirs, own_reason, their_reason;
  const bool own_ok = detail::Serialize(RawDoc(doc), own, own_reason);
  const bool their_ok = detail::Serialize(RawDoc(doc), theirs, their_reason, true);
  ASSERT_EQ(own_ok, their_ok) << own_reason << " / " << their_reason;
  EXPECT_EQ(own_reason, their_reason);
  ASSERT_EQ(own.size(), theirs.size());
  // The first difference, not two 40 MB strings.
  auto [a, b] = std::mismatch(own.begin(), own.end(), theirs.begin());
  if (a != own.end()) {
    const auto at = static_cast<std::size_t>(a - own.begin());
    const auto from = at < 80 ? 0 : at - 80;
    ADD_FAILURE() << "first difference at byte " << at << "\nown:    " << own.substr(from, 160)
                  << "\nlibxml: " << theirs.substr(from, 160);
  }
}

Document Loaded(const std::string& bytes) {
  Document doc;
  const LoadResult r = doc.loadXml(bytes);
  if (!r.ok) throw Error(r.reason);
  return doc;
}

// Code points past ASCII that each charset treats differently, as UTF-8.
std::string Awkward() {
  std::string s = "\t\r\n \"'<>& ";
  for (char32_t cp = 0x80; cp < 0x300; cp += 3) text::AppendUtf8(s, cp);
  for (char32_t cp : {U'\u20AC', U'\u0160', U'\u017D', U'\u0192', U'\u2122', U'\u03A9', U'\uFFFD', U'\U0001F600'}) {
    text::AppendUtf8(s, cp);
  }
  return s;
}

// The same characters as references, so that every encoding can carry them.
std::string AsReferences(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    auto b = static_cast<unsigned char>(utf8[i]);
    int len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t cp = len == 1 ? b : b & (0x7F >> len);
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
    i += static_cast<std::size_t>(len);
  }
  return out;
}

std::string MixedBody() {
  const std::string refs = AsReferences(Awkward());
  std::string deep;
  for (int i = 0; i < 40; ++i) deep += "<d" + std::to_string(i) + " n='" + std::to_string(i) + "'>";
  deep += "<leaf/><!-- hondo --><?pi hondo?>";
  for (int i = 39; i >= 0; --i) deep += "</d" + std::to_string(i) + ">";
  return "<!-- antes " + std::string("\xC3\xA9") +
         " -->\n<?top datos?>\n<?vacio?>\n"
         "<document a='" +
         refs +
         "' b='&centro; y &centro;' c=''>"
         "<teachers><teacher id='t1'>Juan <b>P</b>&centro;<i/>" +
         refs +
         "</teacher>"
         "<!---->"
         "<!-- " +
         std::string("\xC3\xB1 \xE2\x82\xAC") + " --><?pi " + std::string("\xC3\xA9") +
         "?></teachers>"
         "<notes><![CDATA[ <a&b> " +
         std::string("\xC3\xA9") +
         "]]><![CDATA[]]></notes>"
         "<solo>  texto  </solo><vacio></vacio><r>&#13;a&#10;b&#9;c</r>" +
         deep +
         "<y xml:lang='es'/><n:z xmlns:n='urn:\"n\"' xmlns='urn:d' xmlns:q=\"urn:'q'\" xmlns:r='urn:&quot;&apos;' "
         "xmlns:xml='http://www.w3.org/XML/1998/namespace' n:at='1'><n:w/><v/></n:z></document>\n<!-- despues -->";
}

TEST(TreeWriter, GivesLibxmlsBytesInEveryEncoding) {
  const char* declarations[] = {
      "",
      "<?xml version=\"1.0\"?>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
      "<?xml version='1.0' encoding='ISO-8859-1' standalone='yes'?>",
      "<?xml version=\"1.0\" encoding=\"latin1\"?>",
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?>",
      "<?xml version=\"1.0\" encoding=\"CP1252\"?>",
      "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?>",  // libxml2's encoder
  };
  const std::string doctype = "<!DOCTYPE document [<!ENTITY centro \"IES Sur\">]>\n";
  for (const char* declaration : declarations) {
    for (bool with_doctype : {false, true}) {
      SCOPED_TRACE(std::string(declaration) + (with_doctype ? " with DOCTYPE" : ""));
      std::string body = MixedBody();
      if (!with_doctype) {
        // Without a declaration the references name nothing; leave them out.
        for (auto pos = body.find("&centro;"); pos != std::string::npos; pos = body.find("&centro;")) {
          body.replace(pos, 8, "centro");
        }
      }
      // Read as UTF-8, written in the declared encoding: every character
      // reaches every writer, comments' and instructions' too.
      Document doc = Loaded((with_doctype ? doctype : "") + body);
      detail::SourceForm& form = detail::StateOf(RawDoc(doc)).form;
      form = detail::ReadSourceForm(declaration);
      ASSERT_TRUE(detail::CanWrite(doc.documentElement()->raw()));
      ExpectSameBytes(doc);
      // Values the conversions set, and nodes made by libxml2 itself.
      Node root = *doc.documentElement();
      root.setAttribute("nuevo", "\x80\x8A\xE9\xFF <&>\"\t\r\n");
      Node made = root.appendChild(doc.createElement("hecho"));
      made.setAttribute("id", "");
      xmlAddChild(made.raw(), xmlNewCDataBlock(made.raw()->doc, BAD_CAST "a]]>b]]]>c]]", 12));
      xmlAddChild(made.raw(), xmlNewDocTextLen(made.raw()->doc, BAD_CAST "<sin escape>", 12));
      made.raw()->last->name = xmlStringTextNoenc;
      xmlAddChild(root.raw(), xmlNewDocPI(made.raw()->doc, BAD_CAST "sin", nullptr));
      xmlAddChild(root.raw(), xmlNewDocComment(made.raw()->doc, nullptr));
      for (auto marker : {XML_XINCLUDE_START, XML_XINCLUDE_END}) {
        xmlNode* n = xmlNewDocNode(made.raw()->doc, nullptr, BAD_CAST "include", nullptr);
        n->type = marker;
        xmlAddChild(root.raw(), n);
      }
      ExpectSameBytes(doc);
    }
  }
}

TEST(TreeWriter, GivesLibxmlsBytesForEveryFixture) {
  for (const char* file : {"good/saga-utf-8.xml", "good/saga-sin-declaracion.xml", "good/saga-utf-8-bom.xml",
                           "good/saga-iso-8859-1.xml", "good/saga-windows-1252.xml", "good/saga-utf-16le-bom.xml",
                           "good/saga-utf-16be-bom.xml", "safe/repeated-entity.xml"}) {
    SCOPED_TRACE(file);
    Document doc;
    ASSERT_TRUE(doc.load(Fixture(file)).ok);
    ExpectSameBytes(doc);
  }
}

TEST(TreeWriter, GivesLibxmlsBytesForALargeSchool) {
  velquior::testing::SchoolSize size;
  size.subjects = size.teachers = size.rooms = 300;
  size.groups = 100;
  for (auto encoding : {velquior::testing::XmlEncoding::kIso88591, velquior::testing::XmlEncoding::kUtf8}) {
    Document doc = Loaded(velquior::testing::GenerateSchool(size, encoding));
    ExpectSameBytes(doc);
  }
}

TEST(TreeWriter, DtdAndXhtmlAreLeftToLibxml) {
  Document doc = Loaded(
      "<?xml version='1.0' encoding='ISO-8859-1'?><!DOCTYPE document [<!ELEMENT b EMPTY>]>"
      "<!--c--><document><b/></document>");
  EXPECT_FALSE(detail::CanWrite(RawDoc(doc)->children));
  EXPECT_TRUE(detail::CanWrite(RawDoc(doc)->children->next));
  ExpectSameBytes(doc);
  Document xhtml = Loaded(
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
      "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\"><html><head/><body><p/><br/></body></html>");
  ExpectSameBytes(xhtml);
}

TEST(TreeWriter, CharsetsOfDeclaredNames) {
  using detail::Charset;
  const std::pair<const char*, std::optional<Charset>> rows[] = {
      {"", Charset::kUtf8},
      {"utf-8", Charset::kUtf8},
      {"ISO-8859-1", Charset::kLatin1},
      {"iso-latin-1", Charset::kLatin1},
      {"US-ASCII", Charset::kAscii},
      {"Windows-1252", Charset::kWindows1252},
      {"cp1252", Charset::kWindows1252},
      {"ISO-8859-15", std::nullopt},
      {"x-desconocida", std::nullopt},
  };
  for (const auto& [name, charset] : rows) EXPECT_EQ(detail::WriterCharset(name), charset) << name;
}

TEST(TreeWriter, TextThatIsNotUtf8FailsTheSaveAndLeavesTheFile) {
  velquior::testing::TempDir dir;
  const auto file = dir / "saga.xml";
  const std::string original = "<?xml version='1.0' encoding='ISO-8859-1'?><document>x</document>";
  velquior::testing::WriteFile(file, original);
  Document doc;
  ASSERT_TRUE(doc.load(file).ok);
  xmlNodeSetContent(doc.documentElement()->raw()->children, BAD_CAST "a\xE9z");  // Latin-1, not UTF-8
  std::string out;
  EXPECT_EQ(detail::WriteNode(doc.documentElement()->raw(), detail::Charset::kLatin1, out),
            detail::WriteResult::kNotUtf8);
  try {
    doc.save(file);
    ADD_FAILURE() << "saved";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), file.string() +
                               ": no se puede guardar el documento: el documento contiene texto que no es UTF-8 "
                               "v\xC3\xA1lido");
  }
  EXPECT_EQ(velquior::testing::ReadFile(file), original);
  EXPECT_EQ(velquior::testing::ListDir(dir.path()), std::vector<std::string>{"saga.xml"});
  // UTF-8 is written as it stands, as libxml2 does.
  out.clear();
  EXPECT_EQ(detail::WriteNode(doc.documentElement()->raw(), detail::Charset::kUtf8, out), detail::WriteResult::kOk);
  EXPECT_EQ(out, "<document>a\xE9z</document>");
}

TEST(TreeWriter, LargeDocumentsGoOutInPiecesEndingAfterWholeCharacters) {
  Document doc = Loaded("<document/>");
  detail::SourceForm& form = detail::StateOf(RawDoc(doc)).form;
  form.utf16 = detail::Utf16::kLittleEndian;  // as if read from UTF-16 with its mark
  form.bom = true;
  Node root = *doc.documentElement();
  for (int i = 0; i < 40000; ++i) {
    root.appendChild(doc.createElement("e")).setAttribute("v", "\xE9\x80 valor " + std::to_string(i));
  }
  std::vector<std::string> pieces;
  std::string reason;
  ASSERT_TRUE(detail::SerializeTo(
      RawDoc(doc), [&](std::string_view p) { pieces.emplace_back(p); }, reason));
  ASSERT_GE(pieces.size(), 2u);
  std::string joined;
  for (const auto& p : pieces) {
    EXPECT_EQ(p.size() % 2, 0u);
    joined += p;
  }
  std::string whole;
  ASSERT_TRUE(detail::Serialize(RawDoc(doc), whole, reason, true));
  EXPECT_EQ(joined, whole);
  EXPECT_EQ(joined.substr(0, 4), std::string("\xFF\xFE<\0", 4));
}

}  // namespace
}  // namespace velquior::xml
