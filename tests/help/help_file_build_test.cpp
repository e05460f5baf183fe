// The shipped SAGA.chm against the help compiler's own output: its context
// map names pages inside the file, nothing in it tells where it was built,
// and the bytes come out the same from any folder.
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "help/chm_file.h"
#include "help/chm_repack.h"
#include "help/compiler_variance.h"
#include "help/itsf_writer.h"
#include "tests/test_util.h"

namespace velquior::help {
namespace {

namespace fs = std::filesystem;
using velquior::testing::ReadFile;
using velquior::testing::RunProgram;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

const fs::path kShipped = VELQUIOR_HELP_CHM;
const fs::path kCompiled = VELQUIOR_HELP_COMPILED;
// Where the build step compiles: a folder whose path has the same length
// on every machine.
constexpr std::string_view kStagePrefix = "/tmp/velquior-help-";

std::string Utf16(std::string_view ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}

std::map<std::string, ChmEntry> ByName(const fs::path& path) {
  std::map<std::string, ChmEntry> out;
  for (ChmEntry& e : ReadChmEntries(path)) out.emplace(e.name, std::move(e));
  return out;
}

TEST(ShippedHelpFile, ContextMapNamesThePagesInsideTheFile) {
  auto chm = ChmFile::Open(kShipped);
  ASSERT_NE(chm, nullptr);
  const ContextMap expected = {{1, "index.htm"}, {10, "exportar.htm"}, {20, "importar.htm"}, {30, "mensajes.htm"}};
  EXPECT_EQ(chm->Contexts(), expected);
}

TEST(ShippedHelpFile, HoldsNoTraceOfTheBuildFolder) {
  const std::string raw = ReadFile(kShipped);
  const auto objects = ByName(kShipped);
  for (const std::string folder : {VELQUIOR_BINARY_DIR, VELQUIOR_SOURCE_DIR}) {
    for (const std::string& form : {folder, Utf16(folder)}) {
      EXPECT_EQ(raw.find(form), std::string::npos) << folder;
      for (const auto& [name, e] : objects) EXPECT_EQ(e.bytes.find(form), std::string::npos) << name;
    }
  }
  // The compiler's output did hold its folder: the check above can fail.
  EXPECT_NE(ByName(kCompiled).at("/#STRINGS").bytes.find(kStagePrefix), std::string::npos);
  EXPECT_EQ(raw.find(kStagePrefix), std::string::npos);
}

// Byte for byte the compiler's, but for the context strings and the bytes it
// varies from run to run (its clock, an uninitialised count).
TEST(ShippedHelpFile, EveryObjectIsTheCompilersButTheContextStrings) {
  const auto compiled = ByName(kCompiled);
  const auto shipped = ByName(kShipped);
  ASSERT_EQ(shipped.size(), compiled.size());
  for (const auto& [name, e] : compiled) {
    const auto it = shipped.find(name);
    ASSERT_NE(it, shipped.end()) << name;
    EXPECT_EQ(it->second.section, e.section) << name;
    if (name == "/#STRINGS") {
      EXPECT_EQ(it->second.bytes.size(), e.bytes.size());
    } else if (name != kLzxContent && name != kLzxResetTable) {
      EXPECT_EQ(it->second.bytes, WithoutCompilerVariance(name, e.bytes)) << name;
    }
  }
}

TEST(ShippedHelpFile, RepackingTheSameOutputGivesTheSameBytes) {
  // The staging folder is gone: each context string is matched by the page
  // it ends with.
  const std::string once = RepackChm(kCompiled, "");
  EXPECT_EQ(RepackChm(kCompiled, ""), once);
  EXPECT_EQ(ReadFile(kShipped), once);
}

// The build step itself, run twice: each time in a staging folder of its
// own, the same bytes.
TEST(HelpCompilation, TheBuildStepGivesTheSameBytesEveryTime) {
  TempDir dir;
  std::string pages;
  for (const char* page : {"SAGA.hhp", "SAGA.hhc", "SAGA.hhk", "estilo.css", "logo.png", "index.htm", "exportar.htm",
                           "importar.htm", "anfitrion.htm", "mensajes.htm", "directorio.htm", "historial.htm"}) {
    pages += (pages.empty() ? "" : ";") + (fs::path(VELQUIOR_HELP_PAGES) / page).string();
  }
  std::string shipped[2], compiled[2];
  for (int i = 0; i < 2; ++i) {
    const fs::path out = dir / ("SAGA" + std::to_string(i) + ".chm");
    const fs::path own = dir / ("compilado" + std::to_string(i) + ".chm");
    const auto run = RunProgram(
        VELQUIOR_CMAKE, {"-DCHMCMD=" VELQUIOR_CHMCMD, "-DCHM_FIX=" VELQUIOR_CHM_FIX_BIN, "-DSOURCES=" + pages,
                         "-DCOMPILED=" + own.string(), "-DOUTPUT=" + out.string(), "-P", VELQUIOR_COMPILE_HELP});
    ASSERT_EQ(run.status, 0) << run.err;
    shipped[i] = ReadFile(out);
    compiled[i] = ByName(own).at("/#STRINGS").bytes;
  }
  EXPECT_NE(compiled[0], compiled[1]);  // two folders
  EXPECT_EQ(shipped[0], shipped[1]);
  EXPECT_EQ(shipped[0], ReadFile(kShipped));
}

// Two staging folders (of equal length, as chmcmd's offsets depend on it)
// compiled and repacked: the compiler's outputs differ, the shipped bytes
// do not.
TEST(HelpCompilation, TwoFoldersGiveIdenticalBytes) {
  TempDir a, b;
  ASSERT_EQ(a.path().string().size(), b.path().string().size());
  std::string repacked[2];
  std::string strings[2];
  int i = 0;
  for (const TempDir* dir : {&a, &b}) {
    for (const auto& page : fs::directory_iterator(VELQUIOR_HELP_PAGES))
      fs::copy(page.path(), dir->path() / page.path().filename());
    // The compiler writes into the current folder.
    const auto run =
        RunProgram("/usr/bin/env", {"-C", dir->path().string(), VELQUIOR_CHMCMD, "--verbosity", "0", "SAGA.hhp"});
    ASSERT_EQ(run.status, 0) << run.err;
    strings[i] = ByName(dir->path() / "SAGA.chm").at("/#STRINGS").bytes;
    repacked[i] = RepackChm(dir->path() / "SAGA.chm", dir->path().string());
    EXPECT_EQ(repacked[i].find(dir->path().string()), std::string::npos);
    ++i;
  }
  EXPECT_NE(strings[0], strings[1]);
  EXPECT_EQ(repacked[0], repacked[1]);
}

// The build step: a bad input fails it with the reason and leaves no output.
TEST(HelpFixTool, FailsWithTheReasonAndWritesNothingOnBadInput) {
  TempDir dir;
  ItsfContents unknown_page;
  unknown_page.objects = {
      {kLzxControlData, 0, std::string("\x06\0\0\0LZXC\x02\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\0\0\0\0\0\0", 28), 0},
      {"/#IVB", 1, std::string("\x08\0\0\0\x01\0\0\0\x01\0\0\0", 12), 0},
      {"/#STRINGS", 1, std::string("\0/w/nada.htm\0", 13), 12},
      {"/index.htm", 1, "<html>", 32}};
  WriteFile(dir / "sin_pagina.chm", WriteItsf(unknown_page));
  WriteFile(dir / "texto.chm", "no es un archivo de ayuda");
  const struct {
    const char* input;
    const char* reason;
  } cases[] = {{"sin_pagina.chm", "names no page"}, {"texto.chm", "ITSF"}, {"no_existe.chm", "cannot read"}};
  for (const auto& c : cases) {
    const auto run = RunProgram(VELQUIOR_CHM_FIX_BIN, {(dir / c.input).string(), (dir / "salida.chm").string()});
    EXPECT_EQ(run.status, 1) << c.input;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.input << ": " << run.err;
    EXPECT_FALSE(fs::exists(dir / "salida.chm")) << c.input;
    EXPECT_FALSE(fs::exists(dir / "salida.chm.part")) << c.input;
  }
  const auto good = RunProgram(VELQUIOR_CHM_FIX_BIN, {kCompiled.string(), (dir / "salida.chm").string()});
  EXPECT_EQ(good.status, 0) << good.err;
  EXPECT_EQ(ReadFile(dir / "salida.chm"), ReadFile(kShipped));
}

}  // namespace
}  // namespace velquior::help
