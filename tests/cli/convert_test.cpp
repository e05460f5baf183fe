// The command-line converter as a user runs it: exit status and what it
// prints, the same on every platform.

#include <gtest/gtest.h>

#include "tests/cli/cli_convert.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::CliConvert;
using testing::Convert;
using testing::kSaga;
using testing::kSample;
using testing::RunResult;
namespace fs = std::filesystem;

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
