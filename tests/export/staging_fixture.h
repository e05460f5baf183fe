#pragma once
// A work directory with an old set of tables, for the commit's tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "export/staging.h"
#include "tables/catalog.h"
#include "tests/test_util.h"

namespace velquior::testing {

// The old set as the host left it: a lower-case twin and an index, so that
// put-back is tested for every kind of file a commit takes away.
inline const std::vector<std::string> kOldFiles = {"ASIGNOMT.DBF",   "ASIGNOMT.MDX", "ASIGT.DBF", "AULAT.DBF",
                                                   "DIASHORAST.DBF", "GRUPOST.DBF",  "proft.dbf"};
// Moves a commit makes on that set: seven old files set aside, six new in.
constexpr int kMoves = 13;

class StagingCommit : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(work_);
    for (const auto& name : kOldFiles) WriteFile(work_ / name, "old " + name);
  }

  // A staging with all six new tables written.
 public:
  static void StageNewTables(const Staging& staging) {
    for (const auto* t : catalog::kExportTables) {
      WriteFile(staging.dir() / (std::string(t->name) + ".DBF"), "new " + std::string(t->name));
    }
  }

 protected:
  void ExpectOldSetWhole() {
    EXPECT_EQ(ListDir(work_), kOldFiles);  // nothing new, no staging folder
    for (const auto& name : kOldFiles) EXPECT_EQ(ReadFile(work_ / name), "old " + name) << name;
  }

  TempDir tmp_;
  std::filesystem::path work_ = tmp_ / "ZTEMP";
};

}  // namespace velquior::testing
