// The commit of the six tables: all of them or none, also when a move fails
// half-way or the run is killed in the middle of it.
#include "export/staging.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/error.h"
#include "common/file_lock.h"
#include "tables/catalog.h"
#include "tests/export/staging_fixture.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ListDir;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;
using testing::kMoves;
using testing::kOldFiles;
using testing::StagingCommit;

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

// A staging folder whose run still lives (its mark locked, as a run from
// another session holds it) is left whole by the clean-up; once that run is
// gone, the next one removes it.
TEST_F(StagingCommit, TheCleanUpLeavesALiveRunsFolder) {
  const fs::path live = work_ / ".velquior-vivo01";
  fs::create_directory(live);
  WriteFile(live / "PROFT.DBF", "staged PROFT");
  WriteFile(live / "EN_CURSO", "");
  {
    auto mark = FileLock::TryLock(live / "EN_CURSO", FileLock::Mode::kExclusive);
    ASSERT_TRUE(mark);
    { Staging other(work_, catalog::kExportTables); }
    EXPECT_EQ(ReadFile(live / "PROFT.DBF"), "staged PROFT");
  }
  { Staging next(work_, catalog::kExportTables); }
  EXPECT_FALSE(fs::exists(live));
  ExpectOldSetWhole();
}

}  // namespace
}  // namespace velquior
