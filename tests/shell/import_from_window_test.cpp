#include "shell/conversion_runs.h"

#include <gtest/gtest.h>

#include "tests/shell/fake_window.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

using testing::FakeWindow;

// The import as every window runs it: dialog, conversion, ending.
class ImportFromWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { session_.workspace.work_dir = tmp_.path(); }

  testing::TempDir tmp_;
  Session session_;
  FakeWindow fe_;
};

TEST_F(ImportFromWindowTest, MissingFileEnding) {
  fe_.choice = std::nullopt;
  session_.state.HostLaunched = true;
  session_.state.ResultCode = 7;
  EXPECT_EQ(ImportFromWindow(session_, fe_, fe_), Outcome::kMissingFile);
  EXPECT_EQ(session_.state.ResultCode, 0);  // not the export's -1
  EXPECT_EQ(fe_.calls, (std::vector<std::string>{"choose:", "message:No existe archivo", "close"}));
}

}  // namespace
}  // namespace velquior::shell
