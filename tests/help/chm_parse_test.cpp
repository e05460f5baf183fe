// The parsers of a .chm's internal files, over good and damaged bytes.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "help/chm_parse.h"

namespace velquior::help {
namespace {

std::string Le32(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
          static_cast<char>((v >> 24) & 0xFF)};
}

std::string Ivb(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs, std::uint32_t declared) {
  std::string out = Le32(declared);
  for (const auto& [context, offset] : pairs) out += Le32(context) + Le32(offset);
  return out;
}

const std::string kStrings = std::string("\0/b/index.htm\0/b/exportar.htm\0Exportar\0", 39);

TEST(ContextMap, ReadsPairsAndSurvivesGarbage) {
  const struct {
    const char* what;
    std::string ivb;
    std::string strings;
    ContextMap expected;
  } cases[] = {
      {"two entries", Ivb({{1, 1}, {10, 14}}, 16), kStrings, {{1, "/b/index.htm"}, {10, "/b/exportar.htm"}}},
      {"first of a number wins", Ivb({{1, 1}, {1, 14}}, 16), kStrings, {{1, "/b/index.htm"}}},
      {"size larger than the data", Ivb({{1, 1}}, 0xFFFFFFF0u), kStrings, {{1, "/b/index.htm"}}},
      {"size smaller than the data", Ivb({{1, 1}, {10, 14}}, 8), kStrings, {{1, "/b/index.htm"}}},
      {"offset past the strings", Ivb({{1, 1000}, {10, 14}}, 16), kStrings, {{10, "/b/exportar.htm"}}},
      {"offset at the last byte", Ivb({{1, 38}}, 8), kStrings, {}},
      {"unterminated string", Ivb({{1, 0}}, 8), std::string("xyz", 3), {{1, "xyz"}}},
      {"half a pair", Ivb({{1, 1}}, 16).substr(0, 10), kStrings, {}},
      {"too short", "\x10\x00", kStrings, {}},
      {"empty", "", "", {}},
      {"no strings", Ivb({{1, 0}}, 8), "", {}},
      {"garbage", std::string(40, '\xFF'), kStrings, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseContextMap(c.ivb, c.strings), c.expected) << c.what;
}

std::string Entry(std::uint16_t code, const std::string& data) {
  return std::string{static_cast<char>(code & 0xFF), static_cast<char>(code >> 8),
                     static_cast<char>(data.size() & 0xFF), static_cast<char>(data.size() >> 8)} +
         data;
}

TEST(SystemFile, ReadsTheNamedFilesAndStopsAtDamage) {
  const std::string good = Le32(3) + Entry(10, std::string(4, '\0')) + Entry(2, std::string("index.htm\0", 10)) +
                           Entry(3, std::string("Ayuda\0", 6)) + Entry(0, std::string("SAGA.hhc\0", 9)) +
                           Entry(1, std::string("SAGA.hhk\0", 9));
  const ChmSystem all = ParseSystem(good);
  EXPECT_EQ(all.default_topic, "index.htm");
  EXPECT_EQ(all.title, "Ayuda");
  EXPECT_EQ(all.contents_file, "SAGA.hhc");
  EXPECT_EQ(all.index_file, "SAGA.hhk");

  // Cut inside the title's data: what came before stands, nothing after.
  const ChmSystem cut = ParseSystem(good.substr(0, 4 + 8 + 14 + 6));
  EXPECT_EQ(cut.default_topic, "index.htm");
  EXPECT_EQ(cut.title, "");
  EXPECT_EQ(cut.contents_file, "");
  // A length past the end.
  const ChmSystem huge = ParseSystem(Le32(3) + std::string("\x02\x00\xFF\xFF"
                                                           "abc",
                                                           7));
  EXPECT_EQ(huge.default_topic, "");
  EXPECT_EQ(ParseSystem("").title, "");
  EXPECT_EQ(ParseSystem(std::string(3000, '\x01')).contents_file, "");  // code 0x101, length 0x101, over and over
}

TEST(Sitemap, BuildsTheTreeOfAContentsFile) {
  const std::string hhc = R"(<HTML><BODY>
<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT>
<UL>
  <LI> <OBJECT type="text/sitemap"><param name="Name" value="Ayuda &amp; m&aacute;s">
       <param name="Local" value="index.htm"></OBJECT>
  <UL>
    <LI><object TYPE='text/sitemap'><PARAM NAME=Name VALUE="Exportar &#233;&#xE9;"><param name="Local" value="exportar.htm#tablas"></object>
    <!-- <LI><OBJECT type="text/sitemap"><param name="Name" value="oculto"></OBJECT> -->
  </UL>
  <LI> <OBJECT type="text/sitemap"><param name="Name" value="Mensajes"><param name="Local" value="mensajes.htm"></OBJECT>
</UL></BODY></HTML>)";
  const std::vector<SitemapEntry> expected = {
      {"Ayuda & m&aacute;s", "index.htm", {{"Exportar \xC3\xA9\xC3\xA9", "exportar.htm#tablas", {}}}},
      {"Mensajes", "mensajes.htm", {}},
  };
  EXPECT_EQ(ParseSitemap(hhc), expected);
}

std::string Deep(int levels) {
  std::string s;
  for (int i = 0; i < levels; ++i) s += R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="x"></OBJECT>)";
  return s;
}

TEST(Sitemap, DamagedInputGivesWhatCanBeRead) {
  const struct {
    const char* what;
    std::string html;
    std::size_t roots;
  } cases[] = {
      {"no lists at all", R"(<OBJECT type="text/sitemap"><param name="Name" value="A"></OBJECT>)", 1},
      {"closing lists too often",
       R"(</UL></UL><UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A"></OBJECT></UL></UL>)", 1},
      {"unterminated tag", R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A)", 0},
      {"unterminated quote", R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A></OBJECT>)", 1},
      {"object never closed", R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A">)", 0},
      {"nested deeper than any help", Deep(5000), 1},
      {"binary garbage", std::string("\x00<\xFF>\x01<<UL>>&#99999999999;&", 26), 0},
      {"empty", "", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseSitemap(c.html).size(), c.roots) << c.what;
}

TEST(IndexLookup, ExactFirstThenPrefixIgnoringCase) {
  const std::vector<SitemapEntry> index = {{"ASIGNOMT", "exportar.htm", {}},
                                           {"Exportar", "exportar.htm", {}},
                                           {"Exportar tablas", "x.htm", {}},
                                           {"Importar", "importar.htm", {}},
                                           {"Zeltimor.ini", "anfitrion.htm", {}}};
  const struct {
    const char* keyword;
    int position;
  } cases[] = {{"Exportar", 1}, {"exportar", 1}, {"EXPORTAR TABLAS", 2}, {"Imp", 3}, {"zeltimor", 4},
               {"Nada", -1},    {"", -1}};
  for (const auto& c : cases) EXPECT_EQ(FindIndexEntry(index, c.keyword), c.position) << c.keyword;
}

TEST(TopicNameSplit, FileAndPage) {
  const struct {
    const char* name;
    const char* file;
    const char* page;
  } cases[] = {
      {"/h/SAGA.chm::/intro.htm", "/h/SAGA.chm", "/intro.htm"},
      {"/h/SAGA.chm::intro.htm", "/h/SAGA.chm", "/intro.htm"},
      {"/h/SAGA.chm", "/h/SAGA.chm", ""},
      {"C:\\h\\SAGA.chm::/a/b.htm#x", "C:\\h\\SAGA.chm", "/a/b.htm#x"},
  };
  for (const auto& c : cases) {
    const auto [file, page] = SplitTopicName(c.name);
    EXPECT_EQ(file, c.file) << c.name;
    EXPECT_EQ(page, c.page) << c.name;
  }
}

// A stored name is one path inside the file: no directories are guessed off.
TEST(PageNames, StoredNamesAreOnePathInsideTheFile) {
  const struct {
    const char* stored;
    const char* path;
  } cases[] = {
      {"index.htm", "/index.htm"},
      {"/index.htm#arriba", "/index.htm"},
      {"/build/help/pages/index.htm", "/build/help/pages/index.htm"},
      {"C:\\ayuda\\index.htm", "/C:/ayuda/index.htm"},
      {"sub/", "/sub/"},
      {"#solo", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PagePath(c.stored), c.path) << c.stored;
}

}  // namespace
}  // namespace velquior::help
