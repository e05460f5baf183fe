// The command-line converter as a user runs it: exit status, what it prints,
// and that a refused input leaves the work directory as it was.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>

#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ListDir;
using testing::ReadFile;
using testing::RunProgram;
using testing::RunResult;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

const std::string kConvert = VELQUIOR_CONVERT_BIN;
const fs::path kSaga = fs::path(VELQUIOR_TEST_FIXTURES) / "saga";
const fs::path kSample = fs::path(VELQUIOR_EXAMPLES) / "escuela.xml";

// As root every file is readable and every directory writable; the cases
// that need a refusal from the system run the converter as nobody instead.
RunResult Convert(const std::vector<std::string>& args, bool unprivileged = false) {
  if (unprivileged && ::geteuid() == 0) {
    std::vector<std::string> all = {"--reuid=65534", "--regid=65534", "--clear-groups", kConvert};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram("/usr/bin/setpriv", all, {"LC_ALL=C.UTF-8"});
  }
  return RunProgram(kConvert, args, {"LC_ALL=C.UTF-8"});
}

class CliConvert : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_);
    // Reachable by the unprivileged runs.
    ::chmod(tmp_.path().c_str(), 0755);
    ::chmod(work_.c_str(), 0777);
  }
  std::vector<std::string> Export(const fs::path& file) {
    return {"export", file.string(), "--workdir", work_.string()};
  }
  TempDir tmp_;
  fs::path work_ = tmp_ / "ZTEMP";
};

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

TEST_F(CliConvert, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  RunResult r = Convert(Export(kSaga / "outside-1252.xml"));
  ASSERT_EQ(r.status, 0) << r.err;
  r = Convert({"dump", (work_ / "ASIGNOMT.DBF").string(), "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"NOMBRE\": \"?\xC3\xB3"
                       "d? Krak\xC3\xB3w\""),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\"NOMBRE\": \"?? Kanji\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"NOMBRE\": \"\xC5\x92uvres \xE2\x82\xAC \xC5\xA0\""), std::string::npos) << r.out;
}

TEST_F(CliConvert, DumpShowsFieldsAndRecords) {
  ASSERT_EQ(Convert(Export(kSample)).status, 0);
  RunResult r = Convert({"dump", (work_ / "AULAT.DBF").string(), "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("{\"fields\": [{\"name\": \"ABREV\", \"type\": \"C\", \"width\": 10, \"decimals\": 0}, "
                        "{\"name\": \"NOMBRE\", \"type\": \"C\", \"width\": 80, \"decimals\": 0}, "
                        "{\"name\": \"EDIFICIO\", \"type\": \"C\", \"width\": 1, \"decimals\": 0}, "
                        "{\"name\": \"MAXALUM\", \"type\": \"N\", \"width\": 11, \"decimals\": 0}, ",
                        0),
            0u)
      << r.out;
  EXPECT_NE(r.out.find("{\"ABREV\": \"A1\", \"NOMBRE\": \"Aula 1\", \"EDIFICIO\": \"\", \"MAXALUM\": null, "
                       "\"IDSAGA\": \"L001\"}"),
            std::string::npos)
      << r.out;
  r = Convert({"dump", (work_ / "aulat.dbf").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("AULAT.DBF: 5 campos, 10 registros\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("Sal\xC3\xB3n de Actos"), std::string::npos);

  r = Convert({"dump", (work_ / "NADA.DBF").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("NADA.DBF"), std::string::npos) << r.err;
}

TEST_F(CliConvert, DumpOfATableCutShortShowsWhatIsThereAndSaysSo) {
  const fs::path file = fs::path(VELQUIOR_TEST_FIXTURES) / "dbf" / "count-too-big" / "SOLUC.DBF";
  RunResult r = Convert({"dump", file.string(), "--json"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "Aviso: SOLUC.DBF: la cabecera indica 1000 registros y el archivo solo tiene 13 completos; se muestran "
            "esos\n");
  EXPECT_NE(r.out.find("{\"CODGRUPO\": \"1A\""), std::string::npos) << r.out;
}

TEST_F(CliConvert, UsageHelpAndVersion) {
  RunResult r = Convert({});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "orden desconocida: '' (velquior-convert --help muestra el uso)\n");
  r = Convert({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Uso: velquior-convert export", 0), 0u);
  r = Convert({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "velquior-convert " VELQUIOR_VERSION "\n");
}

}  // namespace
}  // namespace velquior
