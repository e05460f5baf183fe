#include "common/file_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior {

std::optional<FileLock> FileLock::TryLock(const std::filesystem::path& path, Mode mode) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    throw Error(Format(msg::kNoSePuedeLeer, {PathForMessage(path), std::strerror(errno)}));
  }
  int op = (mode == Mode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  while (::flock(fd, op) != 0) {
    if (errno == EINTR) continue;
    ::close(fd);
    return std::nullopt;
  }
  return FileLock(fd);
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace velquior
