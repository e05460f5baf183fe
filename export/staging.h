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
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "common/file_lock.h"
#include "tables/catalog.h"

namespace velquior {

class Staging {
 public:
  // Moves a file by name within one file system; the system's reason when
  // it cannot (platform::MoveFile).
  using MoveFile = std::function<std::error_code(const std::filesystem::path& from, const std::filesystem::path& to)>;
  static std::error_code RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);

  // Raises Error when the work directory is missing, not writable, in use by
  // another conversion, or one of `tables` is held open elsewhere or cannot
  // be replaced (a folder in its place, a read-only file). Puts back the old
  // tables of a run that was killed while it replaced them.
  Staging(std::filesystem::path work_dir, std::span<const catalog::TableSpec* const> tables);
  ~Staging();  // removes the staging folder unless it holds tables it could not put back
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;

  const std::filesystem::path& dir() const { return staging_; }

  // Moves every table's .DBF into the work directory under its upper-case
  // name; the old file in every letter case and the old .MDX go. All or
  // nothing: the old files are set aside until every new table is in place,
  // and put back when a move fails, which raises Error naming the table and
  // the reason. Returns the full names written.
  std::vector<std::filesystem::path> Commit(const MoveFile& move = RenameFile);

 private:
  std::filesystem::path work_dir_;
  std::vector<const catalog::TableSpec*> tables_;
  std::filesystem::path staging_;
  std::optional<FileLock> dir_lock_;
  std::vector<FileLock> table_locks_;
  std::optional<FileLock> live_lock_;  // on the folder's mark: this run lives
  bool keep_ = false;                  // old tables are still inside: never remove it
};

}  // namespace velquior
