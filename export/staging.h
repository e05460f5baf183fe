#pragma once
// The export writes its six tables into a staging folder inside the work
// directory and moves them over the old ones only when all are complete, so
// that an error leaves the old set whole and the host never sees a mix.
//
// While a Staging lives it holds an exclusive lock on the work directory (a
// second converter fails at once) and on every existing table it will
// replace (a table held open elsewhere stops the run before anything is
// written).

#include <filesystem>
#include <span>
#include <vector>

#include "common/set_replacement.h"
#include "history/store.h"
#include "tables/catalog.h"

namespace velquior {

class Staging {
 public:
  using MoveFile = SetReplacement::MoveFile;
  static std::error_code RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    return SetReplacement::RenameFile(from, to);
  }

  // Raises Error when the work directory is missing, not writable, in use by
  // another conversion, or one of `tables` is held open elsewhere or cannot
  // be replaced (a folder in its place, a read-only file). Puts back the old
  // tables of a run that was killed while it replaced them.
  Staging(std::filesystem::path work_dir, std::span<const catalog::TableSpec* const> tables);

  const std::filesystem::path& dir() const { return set_.dir(); }

  // What a commit now would replace, for the history: every old file it
  // takes away (read through the locks held on them), and each new table's
  // name where no file has it yet.
  std::vector<history::Source> FilesToReplace() const;

  // Moves every table's .DBF into the work directory under its upper-case
  // name; the old file in every letter case and the old .MDX go. All or
  // nothing: the old files are set aside until every new table is in place,
  // and put back when a move fails, which raises Error naming the table and
  // the reason. Returns the full names written.
  std::vector<std::filesystem::path> Commit(const MoveFile& move = RenameFile);
  bool HoldsOldFiles() const { return set_.HoldsOldFiles(); }

 private:
  std::vector<std::filesystem::path> OldFilesOf(const catalog::TableSpec& t) const;

  std::filesystem::path work_dir_;
  std::vector<const catalog::TableSpec*> tables_;
  SetReplacement set_;
};

}  // namespace velquior
