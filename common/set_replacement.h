#pragma once
// A set of files in one directory replaced all or none: the new files are
// written into a staging folder inside the directory, the files they replace
// are set aside there, and a run killed half-way is undone by the next one
// that opens the same directory.
//
// While a SetReplacement lives it holds an exclusive lock on the directory
// (a second one fails at once) and on every file it was told to hold (a file
// held open elsewhere stops the run before anything is written).

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/file_lock.h"

namespace velquior {

class SetReplacement {
 public:
  // The caller's words for the files it replaces; each takes the file's
  // name first. `not_put_back` takes the folder and the reason.
  struct Words {
    std::string_view in_use;          // name
    std::string_view cannot_write;    // name, reason
    std::string_view cannot_replace;  // name, reason
    std::string_view not_put_back;    // folder, reason
    std::string_view missing_dir;     // directory
    std::string_view dir_in_use;      // directory
    std::string_view dir_not_writable;  // directory, reason
  };

  // One file of the set: `name` comes from the staging folder when
  // `write`, and every file of `replaced` (full names in the directory) is
  // set aside first. A change that neither writes nor replaces is nothing.
  struct Change {
    std::string name;
    bool write = true;
    std::vector<std::filesystem::path> replaced;
  };

  // Moves a file by name within one file system; the system's reason when
  // it cannot (platform::MoveFile).
  using MoveFile = std::function<std::error_code(const std::filesystem::path& from, const std::filesystem::path& to)>;
  static std::error_code RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);

  // Raises Error when the directory is missing, in use by another
  // replacement or not writable. Puts back the old files of a run that was
  // killed while it replaced them.
  SetReplacement(std::filesystem::path dir, const Words& words);
  ~SetReplacement();  // removes the staging folder unless it holds files it could not put back
  SetReplacement(const SetReplacement&) = delete;
  SetReplacement& operator=(const SetReplacement&) = delete;

  const std::filesystem::path& dir() const { return staging_; }
  const std::filesystem::path& target_dir() const { return dir_; }

  // Locks each existing file of `files` for replacing until the end of the
  // run; raises Error (`in_use`) when one is held elsewhere. The lock's
  // handle reads the file, which on Windows nothing else may do meanwhile.
  void Hold(std::span<const std::filesystem::path> files);
  const FileLock* HeldLock(const std::filesystem::path& file) const;

  // Raises Error (`cannot_replace`) when a file of `files` cannot be set
  // aside: a folder or something else in its place, or a read-only file.
  void CheckReplaceable(std::span<const std::filesystem::path> files) const;

  // Carries out every change, in order. All or nothing: the set-aside files
  // are put back when a move fails, which raises Error naming the change's
  // file and the reason. A single file replacing only itself is renamed
  // over the old one. Returns the full names written.
  std::vector<std::filesystem::path> Commit(std::span<const Change> changes, const MoveFile& move = RenameFile);

  // After a failed commit: old files could not be put back and wait in the
  // staging folder, which is then kept.
  bool HoldsOldFiles() const { return keep_; }

 private:
  std::filesystem::path dir_;
  Words words_;
  std::filesystem::path staging_;
  std::optional<FileLock> dir_lock_;
  std::vector<std::pair<std::filesystem::path, FileLock>> held_;
  std::optional<FileLock> live_lock_;  // on the folder's mark: this run lives
  bool keep_ = false;                  // old files are still inside: never remove it
};

}  // namespace velquior
