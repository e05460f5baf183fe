#pragma once
// The host's own failure for a result file it cannot write.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/error.h"
#include "shell/result_file.h"

namespace velquior::shell {

inline void ExpectUnableToWrite(const std::filesystem::path& ini) {
  try {
    WriteResultCode(ini, 1);
    ADD_FAILURE() << "no error for " << ini;
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), "Unable to write to " + std::filesystem::absolute(ini).string());
  }
}

}  // namespace velquior::shell
