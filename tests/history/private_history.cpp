// The suite's conversions, and the converters it starts, keep their history
// in a scratch folder of the suite's, never in the user's own.

#include <gtest/gtest.h>

#include <memory>

#include "tests/test_util.h"

namespace velquior::testing {
namespace {

class PrivateHistory : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempDir>();
    SetEnv("XDG_DATA_HOME", Utf8(folder_->path()));
    SetEnv("LOCALAPPDATA", Utf8(folder_->path()));
  }
  void TearDown() override { folder_.reset(); }

 private:
  std::unique_ptr<TempDir> folder_;
};

[[maybe_unused]] ::testing::Environment* const kPrivateHistory =
    ::testing::AddGlobalTestEnvironment(new PrivateHistory);

}  // namespace
}  // namespace velquior::testing
