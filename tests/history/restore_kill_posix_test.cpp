// A restore killed by a signal at each move of its commit, in a forked
// child: the next run that opens the work directory finds the old set or
// the restored set, never a mix, and the history whole.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>

#include "common/files.h"
#include "common/messages.h"
#include "common/set_replacement.h"
#include "history/restore.h"
#include "history/sha256.h"
#include "history/store.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::Snapshot;
using testing::ReadFile;
using testing::WriteFile;
namespace fs = std::filesystem;

// Every kept copy still what its manifest says.
void ExpectEntriesWhole(const history::Store& store) {
  for (const auto& entry : store.List()) {
    for (const auto& file : entry.files) {
      if (!file.existed) continue;
      history::Sha256 hash;
      hash.Add(ReadFile(entry.folder / file.stored));
      EXPECT_EQ(hash.HexDigest(), file.sha256) << entry.folder;
    }
  }
}

TEST(HistoryRestore, AKilledRestoreLeavesTheOldSetOrTheRestoredOne) {
  // Before the run: two tables; the run replaced one and made another.
  const std::map<std::string, std::string> kept = {{"ASIGNOMT.DBF", "old subjects"}, {"ASIGNOMT.MDX", "old index"}};
  const std::map<std::string, std::string> now = {{"ASIGNOMT.DBF", "new subjects"}, {"PROFT.DBF", "new teachers"}};
  // Set aside ASIGNOMT.DBF and PROFT.DBF, then two files in.
  constexpr int kMoves = 4;
  for (int kill_at = 0; kill_at <= kMoves; ++kill_at) {
    SCOPED_TRACE(kill_at);
    testing::TempDir tmp;
    const fs::path work = tmp / "ZTEMP";
    fs::create_directory(work);
    for (const auto& [name, bytes] : kept) WriteFile(work / name, bytes);
    history::Store store(tmp / "historial");
    const history::Source files[] = {{work / "ASIGNOMT.DBF"}, {work / "ASIGNOMT.MDX"}, {work / "PROFT.DBF"}};
    history::PendingEntry(store, store.Record(history::Kind::kExport, tmp / "d.xml", work, files)).Keep();
    fs::remove(work / "ASIGNOMT.MDX");
    for (const auto& [name, bytes] : now) WriteFile(work / name, bytes);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int calls = 0;
      history::Restore(store, store.List().front(), [&](const fs::path& from, const fs::path& to) {
        if (calls++ == kill_at) ::_exit(9);
        return SetReplacement::RenameFile(from, to);
      });
      ::_exit(9);  // killed after the last move, before the folder goes
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 9);
    // The next run to open the work directory, as an export or a restore does.
    {
      const SetReplacement::Words words = {msg::kTablaEnUso, msg::kTablaNoSePuedeCrear,
                                           msg::kTablaNoSePuedeReemplazar, msg::kTablasNoRestauradas,
                                           msg::kSinDirectorioTrabajo, msg::kDirectorioTrabajoEnUso,
                                           msg::kDirectorioTrabajoNoEscribible};
      SetReplacement next(work, words);
    }
    EXPECT_EQ(Snapshot(work), kill_at < kMoves ? now : kept);
    ExpectEntriesWhole(store);
    // The restore's own entry, when it got that far, holds the state before it.
    const auto entries = store.List();
    ASSERT_GE(entries.size(), 1u);
    if (entries.size() == 2) {
      EXPECT_EQ(entries.front().kind, history::Kind::kRestore);
    }
  }
}

}  // namespace
}  // namespace velquior
