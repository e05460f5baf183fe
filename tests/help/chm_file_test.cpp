// The built SAGA.chm read back through chmlib, and damaged copies of it.
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "help/chm_file.h"
#include "tests/test_util.h"

namespace velquior::help {
namespace {

namespace fs = std::filesystem;
using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

const fs::path kChm = VELQUIOR_HELP_CHM;

std::vector<std::string> Names(const std::vector<SitemapEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.name);
  return out;
}

TEST(BuiltHelpFile, ContextsMapToTheirTopics) {
  auto chm = ChmFile::Open(kChm);
  ASSERT_NE(chm, nullptr) << kChm;
  const struct {
    std::uint32_t context;
    const char* page;
  } cases[] = {{1, "/index.htm"}, {10, "/exportar.htm"}, {20, "/importar.htm"}, {30, "/mensajes.htm"}, {2, ""},
               {0, ""},           {0xFFFFFFFFu, ""}};
  for (const auto& c : cases) EXPECT_EQ(chm->TopicForContext(c.context), c.page) << c.context;
  EXPECT_EQ(chm->Contexts().size(), 4u);
  EXPECT_EQ(chm->DefaultTopic(), "/index.htm");
  EXPECT_EQ(chm->System().title, "Ayuda de Velquior");
}

TEST(BuiltHelpFile, ContentsAreTheTreeOfTheHhc) {
  auto chm = ChmFile::Open(kChm);
  ASSERT_NE(chm, nullptr);
  const std::vector<SitemapEntry> expected = {
      {"Ayuda de Velquior",
       "index.htm",
       {{"Exportar de SAGA a Zeltimor", "exportar.htm", {}},
        {"Importar de Zeltimor a SAGA", "importar.htm", {}},
        {"Arranque desde Zeltimor", "anfitrion.htm", {}}}},
      {"Mensajes y errores", "mensajes.htm", {}},
      {"El directorio de trabajo", "directorio.htm", {}},
      {"El historial y cómo deshacer una conversión", "historial.htm", {}},
  };
  EXPECT_EQ(chm->Contents(), expected);
}

TEST(BuiltHelpFile, IndexIsTheListOfTheHhk) {
  auto chm = ChmFile::Open(kChm);
  ASSERT_NE(chm, nullptr);
  const std::vector<SitemapEntry> index = chm->Index();
  const std::vector<std::string> expected = {"ASIGNOMT",
                                             "ASIGT",
                                             "AULAT",
                                             "Códigos de resultado",
                                             "Códigos que se conservan",
                                             "Deshacer",
                                             "DIASHORAST",
                                             "Directorio de trabajo",
                                             "Errores",
                                             "Exportar",
                                             "GRUPOST",
                                             "Historial",
                                             "Importar",
                                             "No existe archivo",
                                             "Proceso finalizado",
                                             "PROFT",
                                             "SOLUC",
                                             "time-tables",
                                             "Ventana principal",
                                             "Zeltimor.ini"};
  EXPECT_EQ(Names(index), expected);
  const int exportar = FindIndexEntry(index, "Exportar");
  ASSERT_GE(exportar, 0);
  EXPECT_EQ(chm->FindPage(index[static_cast<std::size_t>(exportar)].local), "/exportar.htm");
}

TEST(BuiltHelpFile, EveryPageLinkAndResourceIsInside) {
  auto chm = ChmFile::Open(kChm);
  ASSERT_NE(chm, nullptr);
  for (const char* page : {"/index.htm", "/exportar.htm", "/importar.htm", "/anfitrion.htm", "/mensajes.htm",
                           "/directorio.htm", "/historial.htm", "/estilo.css", "/logo.png"}) {
    const auto bytes = chm->Read(page);
    ASSERT_TRUE(bytes.has_value()) << page;
    EXPECT_FALSE(bytes->empty()) << page;
  }
  EXPECT_EQ(chm->Read("/logo.png")->substr(1, 3), "PNG");
  EXPECT_NE(chm->Read("/index.htm")->find("href=\"estilo.css\""), std::string::npos);
  EXPECT_FALSE(chm->Read("/nada.htm").has_value());
  EXPECT_FALSE(chm->Read("").has_value());
  EXPECT_FALSE(chm->Read(std::string(2000, 'a')).has_value());
  EXPECT_EQ(chm->FindPage("nada.htm"), "");
}

// The export stages its six tables and keeps the old ones on failure; the
// help must not promise the opposite.
TEST(BuiltHelpFile, ErrorsPageTellsThatAFailedExportKeepsThePreviousTables) {
  auto chm = ChmFile::Open(kChm);
  ASSERT_NE(chm, nullptr);
  const auto page = chm->Read("/mensajes.htm");
  ASSERT_TRUE(page.has_value());
  EXPECT_EQ(page->find("conservan su nuevo"), std::string::npos);
  EXPECT_NE(page->find("seis tablas anteriores quedan como estaban"), std::string::npos);
}

TEST(NoHelpFile, MissingOrForeignFilesDoNotOpen) {
  TempDir dir;
  WriteFile(dir / "texto.chm", "<html>no compilado</html>");
  WriteFile(dir / "vacio.chm", "");
  WriteFile(dir / "cabecera.chm", "ITSF");
  fs::create_directory(dir / "carpeta.chm");
  for (const char* name : {"no_existe.chm", "texto.chm", "vacio.chm", "cabecera.chm", "carpeta.chm"}) {
    EXPECT_EQ(ChmFile::Open(dir / name), nullptr) << name;
  }
}

// Whatever chmlib makes of a damaged file, every answer stays an answer.
void ReadEverything(const ChmFile& chm) {
  (void)chm.DefaultTopic();
  (void)chm.TopicForContext(1);
  (void)chm.Contents();
  (void)chm.Index();
  for (const char* page : {"/index.htm", "/exportar.htm", "/logo.png", "/#SYSTEM"}) (void)chm.Read(page);
}

void ReadEverything(const fs::path& path) {
  if (auto chm = ChmFile::Open(path)) ReadEverything(*chm);
}

TEST(DamagedHelpFile, TruncatedCopiesDoNotCrash) {
  const std::string bytes = ReadFile(kChm);
  TempDir dir;
  for (std::size_t size : {std::size_t{4}, std::size_t{0x38}, std::size_t{0x60}, std::size_t{512}, std::size_t{4096},
                           bytes.size() / 2, bytes.size() - 100, bytes.size() - 1}) {
    const fs::path cut = dir / ("corto" + std::to_string(size) + ".chm");
    WriteFile(cut, bytes.substr(0, size));
    ReadEverything(cut);
  }
  // Cut before its directory: no page can be found.
  WriteFile(dir / "cabeza.chm", bytes.substr(0, 0x60));
  auto head = ChmFile::Open(dir / "cabeza.chm");
  if (head) {
    EXPECT_EQ(head->DefaultTopic(), "");
    EXPECT_TRUE(head->Contents().empty());
  }
}

TEST(DamagedHelpFile, OverwrittenBytesDoNotCrash) {
  const std::string bytes = ReadFile(kChm);
  TempDir dir;
  std::mt19937 random(6);  // fixed: the same damage every run
  for (int round = 0; round < 40; ++round) {
    std::string damaged = bytes;
    const std::size_t at = 4 + random() % (damaged.size() - 68);
    for (std::size_t i = 0; i < 64; ++i) damaged[at + i] = static_cast<char>(random());
    const fs::path path = dir / ("danado" + std::to_string(round) + ".chm");
    WriteFile(path, damaged);
    ReadEverything(path);
  }
}

// Damage where chmlib trusts the file most: the headers, the directory and
// the decompressor's tables in the first pages.
TEST(DamagedHelpFile, DamagedHeadersOpenAsNothingOrStillAnswer) {
  const std::string bytes = ReadFile(kChm);
  TempDir dir;
  std::mt19937 random(61);
  int opened = 0;
  for (int round = 0; round < 150; ++round) {
    std::string damaged = bytes;
    for (int k = 0; k < 4; ++k) damaged[4 + random() % 0x1000] = static_cast<char>(random());
    const fs::path path = dir / "cabecera.chm";
    WriteFile(path, damaged);
    auto chm = ChmFile::Open(path);
    if (!chm) continue;
    ++opened;
    ReadEverything(*chm);
  }
  EXPECT_GT(opened, 0);  // most damage misses what matters
}

TEST(ObjectStream, OnlyCompleteWellFormedStreamsDecode) {
  const std::string good =
      ChmFile::EncodeObject("/index.htm", "<html>") + ChmFile::EncodeObject("/#IVB", "") + ChmFile::EndOfObjects();
  const auto objects = ChmFile::DecodeObjects(good);
  ASSERT_TRUE(objects.has_value());
  EXPECT_EQ(*objects, (ChmFile::Objects{{"/index.htm", "<html>"}, {"/#IVB", ""}}));
  const struct {
    const char* what;
    std::string stream;
  } damaged[] = {
      {"no end mark", good.substr(0, good.size() - 4)},
      {"cut inside a record", good.substr(0, 12)},
      {"bytes after the end", good + "x"},
      {"empty", ""},
      {"path longer than any", std::string("\xFF\xFF\x00\x00", 4) + std::string(70000, 'a')},
      {"size past the end", ChmFile::EncodeObject("/a", "bc").substr(0, 14) + std::string(8, '\x7F')},
  };
  for (const auto& d : damaged) EXPECT_FALSE(ChmFile::DecodeObjects(d.stream).has_value()) << d.what;
  EXPECT_EQ(ChmFile::DecodeObjects(ChmFile::EndOfObjects())->size(), 0u);
}

TEST(DamagedHelpFile, GarbageInTheInternalFilesLeavesThePages) {
  std::string garbage(300, '\0');
  std::mt19937 random(7);
  for (char& c : garbage) c = static_cast<char>(random());
  auto chm = ChmFile::FromObjects({{"/#IVB", garbage},
                                   {"/#STRINGS", garbage.substr(10)},
                                   {"/#SYSTEM", garbage.substr(20)},
                                   {"/Ayuda.hhc", garbage},
                                   {"/index.htm", "<html><body>inicio</body></html>"}});
  EXPECT_EQ(chm->TopicForContext(1), "");
  EXPECT_EQ(chm->DefaultTopic(), "/index.htm");
  EXPECT_TRUE(chm->Contents().empty());  // found by its extension, and nothing in it
  EXPECT_TRUE(chm->Index().empty());
}

std::string Le32(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
          static_cast<char>((v >> 24) & 0xFF)};
}

// A context names the page "/" + its string, letter case aside; a path of
// the build machine is not cut down to a page that happens to end it.
TEST(ContextTopics, TheStoredNameIsLookedUpExactly) {
  const std::string strings =
      std::string("\0index.htm\0/w/b/pages/index.htm\0AYUDA/Pagina.HTM\0index.htm#arriba\0pages/index.htm\0", 82);
  const std::string ivb =
      Le32(40) + Le32(1) + Le32(1) + Le32(2) + Le32(11) + Le32(3) + Le32(32) + Le32(4) + Le32(49) + Le32(5) + Le32(66);
  auto chm = ChmFile::FromObjects(
      {{"/#IVB", ivb}, {"/#STRINGS", strings}, {"/index.htm", "<html>"}, {"/ayuda/pagina.htm", "<html>"}});
  const struct {
    std::uint32_t context;
    const char* page;
  } cases[] = {{1, "/index.htm"}, {2, ""}, {3, "/ayuda/pagina.htm"}, {4, "/index.htm"}, {5, ""}, {6, ""}};
  for (const auto& c : cases) EXPECT_EQ(chm->TopicForContext(c.context), c.page) << c.context;
}

TEST(BuiltHelpFile, PageNamesIgnoreLetterCase) {
  auto chm = ChmFile::Open(kChm);
  ASSERT_NE(chm, nullptr);
  EXPECT_EQ(chm->FindPage("EXPORTAR.HTM"), "/exportar.htm");
  EXPECT_TRUE(chm->Contains("/Index.Htm"));
  EXPECT_EQ(chm->FindPage("/elsewhere/build/pages/importar.htm"), "");  // no trailing parts guessed
}

}  // namespace
}  // namespace velquior::help
