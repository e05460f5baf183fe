#pragma once
// Advisory whole-file locks, taken without waiting. They keep two
// converters, or a converter and an open table, from writing beside each
// other. Directories can be locked too.

#include <filesystem>
#include <optional>
#include <utility>

#include "platform/open_file.h"

namespace velquior {

class FileLock {
 public:
  enum class Mode { kShared, kExclusive };

  // nullopt when another holder has a conflicting lock or keeps the file
  // from being opened at all. Raises Error when it cannot be opened otherwise.
  static std::optional<FileLock> TryLock(const std::filesystem::path& path, Mode mode);
  // The same for a file the caller will then rename or delete: a holder
  // that would refuse that counts as a conflicting one.
  static std::optional<FileLock> TryLockToReplace(const std::filesystem::path& path);

  // Whether the run that made `mark` (a file it holds locked while it
  // lives) is gone: the mark can be locked, or it was never made (a run
  // killed at once). False when that cannot be known.
  static bool OwnerIsGone(const std::filesystem::path& mark);

  // The locked file, open for reading: where locks are enforced (Windows)
  // the only way to read it while the lock is held.
  const platform::OpenFile& file() const { return file_; }

 private:
  explicit FileLock(platform::OpenFile file) : file_(std::move(file)) {}
  static std::optional<FileLock> Take(const std::filesystem::path& path, Mode mode, platform::OpenFile::Access access);
  platform::OpenFile file_;  // closing it releases the lock
};

}  // namespace velquior
