// The command-line converter where POSIX decides: write bits and an
// unprivileged user, paths with slashes, the Wine prefix's ZTEMP.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>

#include "tests/cli/cli_convert.h"
#include "tests/test_util.h"

namespace velquior::testing {

// As root every file is readable and every directory writable; the cases
// that need a refusal from the system run the converter as nobody instead.
RunResult Convert(const std::vector<std::string>& args, bool unprivileged) {
  if (unprivileged && ::geteuid() == 0) {
    std::vector<std::string> all = {"--reuid=65534", "--regid=65534", "--clear-groups", kConvert};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram("/usr/bin/setpriv", all, {"LC_ALL=C.UTF-8"});
  }
  return RunProgram(kConvert, args, {"LC_ALL=C.UTF-8"});
}

// Reachable by the unprivileged runs.
void OpenToEveryone(const std::filesystem::path& tmp, const std::filesystem::path& work) {
  ::chmod(tmp.c_str(), 0755);
  ::chmod(work.c_str(), 0777);
}

}  // namespace velquior::testing

namespace velquior {
namespace {

using testing::CliConvert;
using testing::Convert;
using testing::kConvert;
using testing::kSaga;
using testing::kSample;
using testing::ListDir;
using testing::ReadFile;
using testing::RunProgram;
using testing::RunResult;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST_F(CliConvert, ExportsTheSampleSchoolAndSaysWhatItWrote) {
  RunResult r = Convert(Export(kSample));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string w = work_.string() + "/";
  EXPECT_NE(r.out.find(w + "ASIGNOMT.DBF: 22 registros\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(w + "PROFT.DBF: 25 registros\n"), std::string::npos);
  EXPECT_NE(r.out.find(w + "AULAT.DBF: 10 registros\n"), std::string::npos);
  EXPECT_NE(r.out.find(w + "GRUPOST.DBF: 12 registros\n"), std::string::npos);
  EXPECT_NE(r.out.find(w + "DIASHORAST.DBF: 0 registros\n"), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("Proceso finalizado\n"));
  EXPECT_EQ(ListDir(work_), (std::vector<std::string>{"ASIGNOMT.DBF", "ASIGT.DBF", "AULAT.DBF", "DIASHORAST.DBF",
                                                      "GRUPOST.DBF", "PROFT.DBF"}));
}

TEST_F(CliConvert, RefusedInputsLeaveTheWorkDirectoryAsItWas) {
  WriteFile(work_ / "ASIGNOMT.DBF", "the host's table");
  fs::create_directory(tmp_ / "carpeta.xml");
  fs::path unreadable = tmp_ / "cerrado.xml";
  fs::copy_file(kSample, unreadable);
  ::chmod(unreadable.c_str(), 0);

  struct Case {
    fs::path file;
    bool unprivileged;
    int status;
    std::string err_prefix;  // standard error begins with this
  } cases[] = {
      {tmp_ / "no-existe.xml", false, 3, ""},
      {tmp_ / "carpeta.xml", false, 1, (tmp_ / "carpeta.xml").string() + " no es un documento XML válido: "},
      {kSaga / "empty.xml", false, 1, (kSaga / "empty.xml").string() + " no es un documento XML válido: "},
      {kSaga / "not-xml.xml", false, 1, (kSaga / "not-xml.xml").string() + " no es un documento XML válido: "},
      {kSaga / "truncated.xml", false, 1, (kSaga / "truncated.xml").string() + " no es un documento XML válido: "},
      {kSaga / "other-root.xml", false, 1,
       (kSaga / "other-root.xml").string() +
           " no es un documento SAGA: el elemento raíz es 'escuela' y debe ser 'document'\n"},
      {kSaga / "billion-laughs.xml", false, 1,
       (kSaga / "billion-laughs.xml").string() + " no es un documento XML válido: "},
      {unreadable, true, 1, unreadable.string() + " no es un documento XML válido: "},
  };
  for (const auto& c : cases) {
    auto start = std::chrono::steady_clock::now();
    RunResult r = Convert(Export(c.file), c.unprivileged);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.status, c.status) << c.file << "\n" << r.err;
    if (c.status == 3) {
      EXPECT_EQ(r.out, "No existe archivo\n");
    } else {
      EXPECT_EQ(r.err.rfind(c.err_prefix, 0), 0u) << r.err;
      EXPECT_EQ(r.out, "");
    }
    EXPECT_LT(took, std::chrono::seconds(5)) << c.file;
    EXPECT_EQ(ListDir(work_), std::vector<std::string>{"ASIGNOMT.DBF"});
    EXPECT_EQ(ReadFile(work_ / "ASIGNOMT.DBF"), "the host's table");
  }
}

TEST_F(CliConvert, WorkDirectoryThatIsMissingOrReadOnly) {
  RunResult r = Convert({"export", kSample.string(), "--workdir", (tmp_ / "NADA").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No existe el directorio de trabajo " + (tmp_ / "NADA").string() + ".\n");
  EXPECT_FALSE(fs::exists(tmp_ / "NADA"));

  WriteFile(work_ / "PROFT.DBF", "old");
  ::chmod(work_.c_str(), 0555);
  r = Convert(Export(kSample), /*unprivileged=*/true);
  ::chmod(work_.c_str(), 0777);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No se puede escribir en el directorio de trabajo " + work_.string() + ": Permission denied.\n");
  EXPECT_EQ(ListDir(work_), std::vector<std::string>{"PROFT.DBF"});
}

TEST_F(CliConvert, WorkDirectoryFromTheEnvironment) {
  RunResult r =
      RunProgram(kConvert, {"export", kSample.string()}, {"VELQUIOR_WORKDIR=" + work_.string(), "LC_ALL=C.UTF-8"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ListDir(work_).size(), 6u);

  fs::create_directories(tmp_ / "wine" / "drive_c" / "ZTEMP");
  r = RunProgram(kConvert, {"export", kSample.string()},
                 {"VELQUIOR_WORKDIR=", "WINEPREFIX=" + (tmp_ / "wine").string(), "LC_ALL=C.UTF-8"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ListDir(tmp_ / "wine" / "drive_c" / "ZTEMP").size(), 6u);
}

}  // namespace
}  // namespace velquior
