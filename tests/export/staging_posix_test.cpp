// A commit killed by a signal at each of its moves, in a forked child; a
// table that a folder replaces while the staging holds it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/error.h"

#include "export/staging.h"
#include "tables/catalog.h"
#include "tests/export/staging_fixture.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::kMoves;
using testing::ListDir;
using testing::ReadFile;
using testing::StagingCommit;
namespace fs = std::filesystem;

// A run killed at any move of its commit: the next run first puts the old
// set back, and nothing of the dead run is left.
TEST_F(StagingCommit, AKilledCommitIsUndoneByTheNextRun) {
  for (int kill_at = 0; kill_at <= kMoves; ++kill_at) {
    SCOPED_TRACE(kill_at);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int calls = 0;
      Staging staging(work_, catalog::kExportTables);
      StageNewTables(staging);
      staging.Commit([&](const fs::path& from, const fs::path& to) {
        if (calls++ == kill_at) ::_exit(9);
        return Staging::RenameFile(from, to);
      });
      ::_exit(9);  // killed after the last move, before the folder goes
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 9);
    if (kill_at < kMoves) {
      { Staging next(work_, catalog::kExportTables); }
      ExpectOldSetWhole();
    } else {
      // Every move was made: the new set stands and only the folder goes.
      { Staging next(work_, catalog::kExportTables); }
      EXPECT_EQ(ListDir(work_), (std::vector<std::string>{"ASIGNOMT.DBF", "ASIGT.DBF", "AULAT.DBF", "DIASHORAST.DBF",
                                                          "GRUPOST.DBF", "PROFT.DBF"}));
      EXPECT_EQ(ReadFile(work_ / "PROFT.DBF"), "new PROFT");
    }
  }
}

// The same checks again at commit time: the set may change while the
// builders run.
TEST_F(StagingCommit, AFolderThatAppearsDuringTheRunStopsTheCommit) {
  Staging staging(work_, catalog::kExportTables);
  StageNewTables(staging);
  fs::remove(work_ / "AULAT.DBF");
  fs::create_directory(work_ / "AULAT.DBF");
  try {
    staging.Commit();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), "AULAT.DBF: no se puede reemplazar la tabla: en su lugar hay una carpeta");
  }
  EXPECT_TRUE(fs::is_directory(work_ / "AULAT.DBF"));
  EXPECT_EQ(ReadFile(work_ / "proft.dbf"), "old proft.dbf");
}

}  // namespace
}  // namespace velquior
