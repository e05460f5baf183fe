// The bundled sample school exported end to end, every table read back by an
// independent reader (python3-dbfread) and compared field by field.

#include <gtest/gtest.h>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/test_util.h"

namespace velquior {
namespace {

using nlohmann::json;
using testing::RunProgram;
using testing::TempDir;
namespace fs = std::filesystem;

const char* const kTables[] = {"ASIGNOMT.DBF", "PROFT.DBF", "AULAT.DBF", "GRUPOST.DBF", "ASIGT.DBF", "DIASHORAST.DBF"};

json ReadBack(const fs::path& work) {
  std::vector<std::string> args = {VELQUIOR_DBFREAD_SCRIPT};
  for (const char* t : kTables) args.push_back((work / t).string());
  auto r = RunProgram("/usr/bin/python3", args);
  EXPECT_EQ(r.status, 0) << r.err << "(needs python3-dbfread)";
  return json::parse(r.out);
}

TEST(ExportSampleSchool, IndependentReaderSeesExactlyTheExpectedTables) {
  std::ifstream in(fs::path(VELQUIOR_TEST_FIXTURES) / "export" / "escuela.json");
  const json expected = json::parse(in);
  // The hours "2.5" of the sample convert under either decimal separator.
  for (const char* separator : {".", ","}) {
    TempDir tmp;
    auto r = RunProgram(VELQUIOR_CONVERT_BIN, {"export", (fs::path(VELQUIOR_EXAMPLES) / "escuela.xml").string(),
                                               "--workdir", tmp.path().string(), "--decimal-separator", separator});
    ASSERT_EQ(r.status, 0) << r.err;
    const json got = ReadBack(tmp.path());
    for (const char* t : kTables) {
      SCOPED_TRACE(std::string(t) + " with separator " + separator);
      ASSERT_TRUE(got.contains(t));
      EXPECT_EQ(got[t]["fields"], expected[t]["fields"]);
      const auto& want = expected[t]["records"];
      const auto& have = got[t]["records"];
      ASSERT_EQ(have.size(), want.size());
      for (std::size_t i = 0; i < want.size(); ++i) {
        for (std::size_t k = 0; k < want[i].size(); ++k) {
          EXPECT_EQ(have[i][k], want[i][k])
              << "record " << i + 1 << ", field " << expected[t]["fields"][k]["name"].get<std::string>();
        }
      }
      EXPECT_EQ(got[t]["deleted"], 0);
    }
  }
}

}  // namespace
}  // namespace velquior
