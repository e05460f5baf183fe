// The commit of the six tables: all of them or none, also when a move fails
// half-way or the run is killed in the middle of it.
#include "export/staging.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "common/error.h"
#include "tables/catalog.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ListDir;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

// The old set as the host left it: a lower-case twin and an index, so that
// put-back is tested for every kind of file a commit takes away.
const std::vector<std::string> kOldFiles = {"ASIGNOMT.DBF",   "ASIGNOMT.MDX", "ASIGT.DBF", "AULAT.DBF",
                                            "DIASHORAST.DBF", "GRUPOST.DBF",  "proft.dbf"};
// Moves a commit makes on that set: seven old files set aside, six new in.
constexpr int kMoves = 13;

class StagingCommit : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_);
    for (const auto& name : kOldFiles) WriteFile(work_ / name, "old " + name);
  }

  // A staging with all six new tables written.
  static void StageNewTables(const Staging& staging) {
    for (const auto* t : catalog::kExportTables) {
      WriteFile(staging.dir() / (std::string(t->name) + ".DBF"), "new " + std::string(t->name));
    }
  }

  void ExpectOldSetWhole() {
    EXPECT_EQ(ListDir(work_), kOldFiles);  // nothing new, no staging folder
    for (const auto& name : kOldFiles) EXPECT_EQ(ReadFile(work_ / name), "old " + name) << name;
  }

  TempDir tmp_;
  fs::path work_ = tmp_ / "ZTEMP";
};

TEST_F(StagingCommit, AFailedMoveAtAnyPointPutsEveryOldFileBack) {
  for (int fail_at = 0; fail_at < kMoves; ++fail_at) {
    SCOPED_TRACE(fail_at);
    int calls = 0;
    std::string message;
    {
      Staging staging(work_, catalog::kExportTables);
      StageNewTables(staging);
      try {
        staging.Commit([&](const fs::path& from, const fs::path& to) {
          return calls++ == fail_at ? std::make_error_code(std::errc::permission_denied)
                                    : Staging::RenameFile(from, to);
        });
      } catch (const Error& e) {
        message = std::string(e.message());
      }
    }
    EXPECT_NE(message.find(": no se puede reemplazar la tabla: Permission denied"), std::string::npos) << message;
    ExpectOldSetWhole();
  }
}

TEST_F(StagingCommit, TheFailingTableIsNamed) {
  Staging staging(work_, catalog::kExportTables);
  StageNewTables(staging);
  auto fail_on = [](std::string_view name) {
    return [name](const fs::path& from, const fs::path& to) {
      return to.filename() == name ? std::make_error_code(std::errc::device_or_resource_busy)
                                   : Staging::RenameFile(from, to);
    };
  };
  try {
    staging.Commit(fail_on("DIASHORAST.DBF"));
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), "DIASHORAST.DBF: no se puede reemplazar la tabla: Device or resource busy");
  }
}

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

TEST_F(StagingCommit, AnOldTableThatCannotGoStopsTheRunBeforeAnythingIsWritten) {
  struct Case {
    std::string what;
    std::function<void(const fs::path&)> plant;
    std::string error;
  } cases[] = {
      {"a folder in the table's place",
       [](const fs::path& w) {
         fs::remove(w / "DIASHORAST.DBF");
         fs::create_directory(w / "DIASHORAST.DBF");
       },
       "DIASHORAST.DBF: no se puede reemplazar la tabla: en su lugar hay una carpeta"},
      {"a folder in the index's place",
       [](const fs::path& w) {
         fs::remove(w / "ASIGNOMT.MDX");
         fs::create_directory(w / "ASIGNOMT.MDX");
         WriteFile(w / "ASIGNOMT.MDX" / "nota.txt", "mine");
       },
       "ASIGNOMT.MDX: no se puede reemplazar la tabla: en su lugar hay una carpeta"},
      {"a read-only table", [](const fs::path& w) { fs::permissions(w / "GRUPOST.DBF", fs::perms::owner_read); },
       "GRUPOST.DBF: no se puede reemplazar la tabla: el archivo es de solo lectura"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir tmp;
    const fs::path work = tmp / "ZTEMP";
    fs::create_directory(work);
    for (const auto& name : kOldFiles) WriteFile(work / name, "old " + name);
    c.plant(work);
    const auto before = ListDir(work);
    try {
      Staging staging(work, catalog::kExportTables);
      FAIL() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.message(), c.error);
    }
    EXPECT_EQ(ListDir(work), before);
    for (const auto& name : before) {
      if (fs::is_regular_file(work / name)) {
        EXPECT_EQ(ReadFile(work / name), "old " + name);
      }
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
