#pragma once
// The command-line converter run as a user runs it, on a scratch work
// directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/convert_program.h"
#include "tests/test_util.h"

namespace velquior::testing {

inline const std::filesystem::path kSaga = std::filesystem::path(VELQUIOR_TEST_FIXTURES) / "saga";
inline const std::filesystem::path kSample = std::filesystem::path(VELQUIOR_EXAMPLES) / "escuela.xml";

// The converter with `args`; `unprivileged` runs it as a user without
// rights over others' files, where the platform has one to switch to.
RunResult Convert(const std::vector<std::string>& args, bool unprivileged = false);

// Lets the unprivileged runs reach the scratch folders.
void OpenToEveryone(const std::filesystem::path& tmp, const std::filesystem::path& work);

class CliConvert : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(work_);
    OpenToEveryone(tmp_.path(), work_);
  }
  std::vector<std::string> Export(const std::filesystem::path& file) {
    return {"export", Utf8(file), "--workdir", Utf8(work_)};
  }
  TempDir tmp_;
  std::filesystem::path work_ = tmp_ / "ZTEMP";
};

}  // namespace velquior::testing
