// `velquior-convert check` as a user runs it: exit statuses, the JSON report,
// and that it writes nothing.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_convert.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::CliConvert;
using testing::Convert;
using testing::kSample;
using testing::RunResult;
using testing::Utf8;
namespace fs = std::filesystem;

class CliCheck : public CliConvert {
 protected:
  std::vector<std::string> Check(const fs::path& file, bool json = false) {
    std::vector<std::string> args = {"check", Utf8(file), "--workdir", Utf8(work_)};
    if (json) args.push_back("--json");
    return args;
  }
  fs::path Written(const std::string& name, const std::string& bytes) {
    const fs::path p = tmp_ / name;
    testing::WriteFile(p, bytes);
    return p;
  }
};

TEST_F(CliCheck, ExitStatuses) {
  ASSERT_EQ(Convert(Export(kSample)).status, 0);
  const fs::path twice = Written("repetido.xml",
                                 "<document><teachers><teacher id=\"t1\">Ana</teacher>"
                                 "<teacher id=\"t1\">Eva</teacher></teachers></document>");
  const fs::path other = Written("otro.xml", "<horario/>");
  const struct {
    const char* reason;
    std::vector<std::string> args;
    int status;
  } rows[] = {
      {"the sample after its export: notes only", Check(kSample), 0},
      {"a warning: an id used twice", Check(twice), 4},
      {"no such file", Check(tmp_ / "nada.xml"), 1},
      {"not a SAGA document", Check(other), 1},
      {"no work directory", {"check", Utf8(kSample), "--workdir", Utf8(tmp_ / "nada")}, 1},
      {"no file named", {"check"}, 2},
      {"an option check does not take", {"check", Utf8(kSample), "--verbose"}, 2},
  };
  for (const auto& row : rows) {
    const RunResult r = Convert(row.args);
    EXPECT_EQ(r.status, row.status) << row.reason << "\n" << r.out << r.err;
    if (row.status == 1) {
      EXPECT_FALSE(r.err.empty()) << row.reason;
    }
  }
}

TEST_F(CliCheck, JsonCarriesEveryFindingAndWritesNothing) {
  ASSERT_EQ(Convert(Export(kSample)).status, 0);
  std::string bytes = testing::ReadFile(kSample);
  bytes.insert(bytes.find("<teacher id=\"5002000\">"), "<teacher id=\"5002999\">Julia Pascual Lorenzo</teacher>");
  const fs::path homonym = Written("homonimo.xml", bytes);
  const auto names = testing::ListDir(work_);
  std::vector<std::string> before;
  for (const auto& n : names) before.push_back(testing::ReadFile(work_ / n));

  const RunResult r = Convert(Check(homonym, true));
  EXPECT_EQ(r.status, 0) << r.err;  // no timetable yet: the changes are notes
  const auto report = nlohmann::json::parse(r.out);
  EXPECT_EQ(report["status"], 0);
  std::vector<std::string> kinds;
  for (const auto& f : report["findings"]) {
    kinds.push_back(f["kind"]);
    EXPECT_EQ(f["side"], "export");
    EXPECT_FALSE(f["records"].empty());
  }
  EXPECT_NE(std::find(kinds.begin(), kinds.end(), "code_changed"), kinds.end()) << r.out;
  EXPECT_NE(std::find(kinds.begin(), kinds.end(), "record_added"), kinds.end()) << r.out;

  const RunResult text = Convert(Check(homonym));
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("'JPL' pasa a 'JPL1'"), std::string::npos) << text.out;

  EXPECT_EQ(testing::ListDir(work_), names);
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(testing::ReadFile(work_ / names[i]), before[i]) << names[i];
  EXPECT_EQ(testing::ReadFile(homonym), bytes);
}

}  // namespace
}  // namespace velquior
