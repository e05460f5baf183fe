// The program's Windows-1252 handler, on every platform. The expected values
// are iconv's CP1252, as the Linux build read and wrote before it had its own.

#include <gtest/gtest.h>
#include <libxml/encoding.h>
#include <libxml/tree.h>

#include <string>

#include "text/encoding.h"
#include "xml/doc_state.h"
#include "xml/document.h"
#include "xml/windows_1252.h"

namespace velquior::xml {
namespace {

using detail::Utf8ToWindows1252;
using detail::Windows1252ToUtf8;

// iconv's characters for 0x80..0x9F; 0 where it refuses the byte.
constexpr char16_t kUpperControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t IconvChar(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kUpperControls[byte - 0x80] : byte; }
bool Refused(unsigned char byte) { return byte >= 0x80 && IconvChar(byte) == 0; }

struct Converted {
  int result;
  int read;
  std::string out;
};

Converted Convert(decltype(&Windows1252ToUtf8) convert, std::string_view in, int room = 64) {
  unsigned char out[64];
  int outlen = room, inlen = static_cast<int>(in.size());
  const int result = convert(out, &outlen, reinterpret_cast<const unsigned char*>(in.data()), &inlen);
  return {result, inlen, std::string(reinterpret_cast<char*>(out), static_cast<std::size_t>(outlen))};
}

TEST(Windows1252, EveryByteReadsAsIconvReadsIt) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const auto byte = static_cast<unsigned char>(b);
    const Converted c = Convert(Windows1252ToUtf8, std::string("a") + static_cast<char>(byte) + "z");
    if (Refused(byte)) {
      EXPECT_EQ(c.result, -2);
      EXPECT_EQ(c.read, 1);
      EXPECT_EQ(c.out, "a");
      continue;
    }
    std::string want = "a";
    text::AppendUtf8(want, IconvChar(byte));
    want += 'z';
    EXPECT_EQ(c.out, want);
    EXPECT_EQ(c.result, static_cast<int>(want.size()));
    EXPECT_EQ(c.read, 3);
    // And back to the same byte.
    EXPECT_EQ(Convert(Utf8ToWindows1252, want).out, std::string("a") + static_cast<char>(byte) + "z");
  }
}

TEST(Windows1252, WritingStopsAtWhatTheCodePageLacks) {
  struct Row {
    std::string_view utf8;
    int result;
    int read;
    std::string_view out;
  };
  const Row rows[] = {
      {"a\xC3\xA9\xE2\x82\xAC\xC5\x92\xCB\x9C\xC2\xA0\xC3\xBF", 7, 14, "a\xE9\x80\x8C\x98\xA0\xFF"},
      {"a\xC2\x80", -2, 1, "a"},  // U+0080..U+009F: no characters of the code page
      {"a\xC2\x81", -2, 1, "a"},
      {"a\xC2\x9D", -2, 1, "a"},
      {"a\xC2\x9F", -2, 1, "a"},
      {"a\xC4\x80", -2, 1, "a"},          // U+0100
      {"a\xE2\x98\x83", -2, 1, "a"},      // U+2603
      {"a\xF0\x9F\x98\x80", -2, 1, "a"},  // U+1F600
      {"\xFF", -2, 0, ""},                // not UTF-8
      {"\x80", -2, 0, ""},
      {"\xC0\x80", -2, 0, ""},  // longer than needed
      {"\xE0\x80\x80", -2, 0, ""},
      {"\xED\xA0\x80", -2, 0, ""},      // a surrogate
      {"\xF4\x90\x80\x80", -2, 0, ""},  // past U+10FFFF
      {"\xF8\x88\x80\x80\x80", -2, 0, ""},
      {"\xE2\x41", -2, 0, ""},    // not a continuation
      {"a\xE2\x82", -3, 1, "a"},  // cut by the end of the input
      {"\xF0\x9F", -3, 0, ""},
      {"\xFC\x84", -3, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(std::string(row.utf8)));
    const Converted c = Convert(Utf8ToWindows1252, row.utf8);
    EXPECT_EQ(c.result, row.result);
    EXPECT_EQ(c.read, row.read);
    EXPECT_EQ(c.out, row.out);
  }
}

TEST(Windows1252, AFullOutputStopsAtAWholeCharacter) {
  const Converted in = Convert(Windows1252ToUtf8, "a\x80", 3);
  EXPECT_EQ(in.result, -1);
  EXPECT_EQ(in.read, 1);
  EXPECT_EQ(in.out, "a");
  const Converted out = Convert(Utf8ToWindows1252, "\xC3\xA9\xC3\xA9", 1);
  EXPECT_EQ(out.result, -1);
  EXPECT_EQ(out.read, 2);
  EXPECT_EQ(out.out, "\xE9");
  // libxml2 starts a conversion without input.
  unsigned char buf[4];
  int outlen = 4, inlen = 0;
  EXPECT_EQ(Utf8ToWindows1252(buf, &outlen, nullptr, &inlen), 0);
  EXPECT_EQ(outlen, 0);
}

TEST(Windows1252, EveryNameIconvKnowsReachesTheOwnHandler) {
  for (const char* name :
       {"windows-1252", "WINDOWS-1252", "Windows-1252", "cp1252", "CP1252", "Cp1252", "MS-ANSI", "ms-ansi"}) {
    SCOPED_TRACE(name);
    Document doc;
    const xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(name);
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(handler->input, &Windows1252ToUtf8);
    EXPECT_EQ(handler->output, &Utf8ToWindows1252);
    const std::string declaration = std::string("<?xml version=\"1.0\" encoding=\"") + name + "\"?>\n";
    const std::string body = "<a v=\"\x80\xE9\">\x8A\xFF&#256;&#129;</a>\n";
    ASSERT_TRUE(doc.loadXml(declaration + body).ok);
    EXPECT_EQ(doc.documentElement()->text(), "\x8A\xFF?\x81");
    std::string libxml, reason;
    ASSERT_TRUE(detail::Serialize(doc.documentElement()->raw()->doc, libxml, reason, true)) << reason;
    EXPECT_EQ(libxml, declaration + "<a v=\"\x80\xE9\">\x8A\xFF&#256;&#129;</a>\n");
    const LoadResult bad = doc.loadXml(declaration + "<a>\x9D</a>");
    EXPECT_EQ(bad.line, 2);
    EXPECT_EQ(bad.reason, "el texto no se puede leer en la codificación declarada (bytes 0x9D 0x3C 0x2F 0x61)");
  }
}

// Each place a character can stand, written by both writers.
TEST(Windows1252, CharactersOutsideTheCodePageBecomeReferencesEverywhere) {
  // Tag characters too, which iconv dropped without a word.
  const std::pair<char32_t, std::string_view> rows[] = {
      {0xE9, "\xE9"},         {0x20AC, "\x80"},         {0x178, "\x9F"},        {0x80, "&#128;"},
      {0x81, "&#129;"},       {0x9D, "&#157;"},         {0x9F, "&#159;"},       {0x100, "&#256;"},
      {0x2603, "&#9731;"},    {0xFFFD, "&#65533;"},     {0x1F600, "&#128512;"}, {0xE0001, "&#917505;"},
      {0xE007F, "&#917631;"}, {0x10FFFF, "&#1114111;"},
  };
  for (const auto& [cp, written] : rows) {
    SCOPED_TRACE(static_cast<unsigned long>(cp));
    std::string c;
    text::AppendUtf8(c, cp);
    Document doc;
    ASSERT_TRUE(doc.loadXml("<!DOCTYPE a [<!ENTITY e \"" + c + "\">]>\n<!--" + c + "-->\n<a v=\"" + c + "\">" + c +
                            "<!--" + c + "--><?p " + c + "?><![CDATA[" + c + "]]>&e;</a>")
                    .ok);
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>";
    _xmlDoc* raw = doc.documentElement()->raw()->doc;
    detail::StateOf(raw).form = detail::ReadSourceForm(declaration);
    const std::string r(written);
    const std::string want = declaration + "\n<!DOCTYPE a [\n<!ENTITY e \"" + r + "\">\n]>\n<!--" + r + "-->\n<a v=\"" +
                             r + "\">" + r + "<!--" + r + "--><?p " + r + "?><![CDATA[" + r + "]]>&e;</a>\n";
    for (bool libxml_only : {false, true}) {
      std::string bytes, reason;
      ASSERT_TRUE(detail::Serialize(raw, bytes, reason, libxml_only)) << reason;
      EXPECT_EQ(bytes, want) << libxml_only;
    }
  }
}

TEST(Windows1252, ADocumentSavesToTheBytesItAlwaysHad) {
  const std::string source =
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
      "<!DOCTYPE document [<!ENTITY centro \"IES Jes\xFAs Mar\xED"
      "a \x80\">]>\n"
      "<!-- Exportaci\xF3n \x93SAGA\x94 -->\n"
      "<document centro=\"&centro;\"><teachers><teacher id=\"t1\" name=\"Jos\xE9 Mu\xF1oz \x80\">Espa\xF1ol \x80 "
      "&centro; \x8A\x9F\xFF &#256;&#x2603;&#128512;</teacher></teachers><notes><![CDATA[\xE7\x80]]></notes>"
      "</document>\n";
  // As the Linux build saved it through iconv.
  const std::string saved =
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
      "<!DOCTYPE document [\n"
      "<!ENTITY centro \"IES Jes\xFAs Mar\xED"
      "a \x80\">\n"
      "]>\n"
      "<!-- Exportaci\xF3n \x93SAGA\x94 -->\n"
      "<document centro=\"&centro;\">\n"
      "  <teachers>\n"
      "    <teacher id=\"t1\" name=\"Jos\xE9 Mu\xF1oz \x80\">Espa\xF1ol \x80 &centro; \x8A\x9F\xFF "
      "&#256;&#9731;&#128512;</teacher>\n"
      "  </teachers>\n"
      "  <notes><![CDATA[\xE7\x80]]></notes>\n"
      "</document>\n";
  Document doc;
  ASSERT_TRUE(doc.loadXml(source).ok);
  EXPECT_EQ(doc.saveToString(), saved);
  std::string libxml, reason;
  ASSERT_TRUE(detail::Serialize(doc.documentElement()->raw()->doc, libxml, reason, true)) << reason;
  EXPECT_EQ(libxml, saved);
  Document again;
  ASSERT_TRUE(again.loadXml(saved).ok);
  EXPECT_EQ(again.saveToString(), saved);
}

}  // namespace
}  // namespace velquior::xml
