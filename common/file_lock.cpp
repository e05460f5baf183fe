#include "common/file_lock.h"

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior {

std::optional<FileLock> FileLock::TryLock(const std::filesystem::path& path, Mode mode) {
  return Take(path, mode, platform::OpenFile::Access::kRead);
}

std::optional<FileLock> FileLock::TryLockToReplace(const std::filesystem::path& path) {
  return Take(path, Mode::kExclusive, platform::OpenFile::Access::kReadToReplace);
}

bool FileLock::OwnerIsGone(const std::filesystem::path& mark) {
  std::error_code ec;
  if (!std::filesystem::exists(mark, ec)) return !ec;
  try {
    return TryLock(mark, Mode::kExclusive).has_value();
  } catch (const Error&) {
    return false;  // not known to be gone: left alone
  }
}

std::optional<FileLock> FileLock::Take(const std::filesystem::path& path, Mode mode,
                                       platform::OpenFile::Access access) {
  std::error_code error;
  platform::OpenFile file = platform::OpenFile::Open(path, access, error);
  // Held by another program that denies others any use (Windows): in use.
  if (error == std::errc::device_or_resource_busy) return std::nullopt;
  if (error) throw Error(Format(msg::kNoSePuedeLeer, {PathForMessage(path), error.message()}));
  const auto lock = mode == Mode::kExclusive ? platform::LockMode::kExclusive : platform::LockMode::kShared;
  if (file.TryLock(lock, error) != platform::LockResult::kLocked) return std::nullopt;
  return FileLock(std::move(file));
}

}  // namespace velquior
