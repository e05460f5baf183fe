#pragma once
// Advisory whole-file locks (flock), taken without waiting. They keep two
// converters, or a converter and an open table, from writing beside each
// other. Directories can be locked too.

#include <filesystem>
#include <optional>

namespace velquior {

class FileLock {
 public:
  enum class Mode { kShared, kExclusive };

  // nullopt when another holder has a conflicting lock. Raises Error when the
  // file cannot be opened.
  static std::optional<FileLock> TryLock(const std::filesystem::path& path, Mode mode);

  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

 private:
  explicit FileLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace velquior
