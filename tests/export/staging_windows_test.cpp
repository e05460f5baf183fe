// A commit whose process dies at each of its moves: this test program runs
// again as the child, which ends itself abruptly at the chosen move, as a
// killed converter would, holding its locks and open files until the system
// takes them back.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/error.h"
#include "export/staging.h"
#include "platform/environment.h"
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

constexpr const char* kWorkVariable = "VELQUIOR_STAGING_CHILD_WORK";
constexpr const char* kKillVariable = "VELQUIOR_STAGING_CHILD_KILL_AT";

[[noreturn]] void DieAbruptly() {
  ::TerminateProcess(::GetCurrentProcess(), 9);
  std::abort();  // not reached
}

// The child's side, run only by AKilledCommitIsUndoneByTheNextRun.
TEST(StagingCommitChild, DISABLED_DiesAtTheChosenMove) {
  const auto work = platform::EnvironmentVariable(kWorkVariable);
  const auto kill_at = platform::EnvironmentVariable(kKillVariable);
  if (!work || !kill_at) GTEST_SKIP() << "runs as the child of StagingCommit.AKilledCommitIsUndoneByTheNextRun";
  const int at = std::stoi(*kill_at);
  int calls = 0;
  Staging staging(fs::u8path(*work), catalog::kExportTables);
  StagingCommit::StageNewTables(staging);
  staging.Commit([&](const fs::path& from, const fs::path& to) {
    if (calls++ == at) DieAbruptly();
    return Staging::RenameFile(from, to);
  });
  DieAbruptly();  // killed after the last move, before the folder goes
}

TEST_F(StagingCommit, AKilledCommitIsUndoneByTheNextRun) {
  const std::string self = testing::Utf8(platform::ExecutablePath());
  ASSERT_FALSE(self.empty());
  for (int kill_at = 0; kill_at <= kMoves; ++kill_at) {
    SCOPED_TRACE(kill_at);
    const auto r = testing::RunProgram(
        self, {"--gtest_filter=StagingCommitChild.DISABLED_DiesAtTheChosenMove", "--gtest_also_run_disabled_tests"},
        {std::string(kWorkVariable) + "=" + testing::Utf8(work_),
         std::string(kKillVariable) + "=" + std::to_string(kill_at)});
    ASSERT_EQ(r.status, 9) << r.out << r.err;
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

// A scanner opens the old table just set aside as the commit fails: the
// move back waits for it instead of leaving the tables mixed.
TEST_F(StagingCommit, APutBackWaitsForAFileHeldForAMoment) {
  HANDLE held = INVALID_HANDLE_VALUE;
  std::thread release;
  int calls = 0;
  {
    Staging staging(work_, catalog::kExportTables);
    StagingCommit::StageNewTables(staging);
    try {
      staging.Commit([&](const fs::path& from, const fs::path& to) -> std::error_code {
        if (calls++ < 3) return Staging::RenameFile(from, to);
        // An index set aside, open without leave to move it, for 300 ms.
        held = ::CreateFileW((staging.dir() / "ANTERIORES" / "ASIGNOMT.MDX").c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        release = std::thread([&held] {
          std::this_thread::sleep_for(std::chrono::milliseconds(300));
          ::CloseHandle(held);
        });
        return std::make_error_code(std::errc::io_error);
      });
      ADD_FAILURE() << "the commit did not fail";
    } catch (const Error& e) {
      EXPECT_TRUE(std::string(e.message()).starts_with("PROFT.DBF: no se puede reemplazar la tabla: ")) << e.message();
    }
    if (release.joinable()) release.join();
  }
  EXPECT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(calls, 4);
  ExpectOldSetWhole();
}

TEST_F(StagingCommit, AFolderThatAppearsDuringTheRunStopsTheCommit) {
  GTEST_SKIP() << "needs POSIX unlink of a table the staging holds open; on Windows its name stays taken until the "
                  "holder lets go, so no folder can take its place";
}

}  // namespace
}  // namespace velquior
