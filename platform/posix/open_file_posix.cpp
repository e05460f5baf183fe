#include "platform/open_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>
#include <vector>

namespace velquior::platform {
namespace {

std::error_code LastError() { return {errno, std::system_category()}; }

}  // namespace

OpenFile OpenFile::Open(const std::filesystem::path& path, Access access, std::error_code& error) {
  int flags = O_CLOEXEC;
  switch (access) {
    case Access::kRead:
    case Access::kReadToReplace:  // renaming needs no right over the file here
      flags |= O_RDONLY;
      break;
    case Access::kReadWrite:
      flags |= O_RDWR;
      break;
    case Access::kReadNoWait:
      flags |= O_RDONLY | O_NONBLOCK;
      break;
  }
  const int fd = ::open(path.c_str(), flags);
  error = fd < 0 ? LastError() : std::error_code();
  return OpenFile(fd);
}

OpenFile::OpenFile(OpenFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

OpenFile::~OpenFile() { Close(); }

void OpenFile::Close() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

FileKind OpenFile::Kind(std::error_code& error) const {
  struct stat st {};
  if (::fstat(static_cast<int>(handle_), &st) != 0) {
    error = LastError();
    return FileKind::kMissing;
  }
  error.clear();
  if (S_ISREG(st.st_mode)) return FileKind::kRegular;
  if (S_ISDIR(st.st_mode)) return FileKind::kDirectory;
  return FileKind::kOther;
}

FileId OpenFile::Id(std::error_code& error) const {
  struct stat st {};
  if (::fstat(static_cast<int>(handle_), &st) != 0) {
    error = LastError();
    return {};
  }
  error.clear();
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::uint64_t OpenFile::Size(std::error_code& error) const {
  struct stat st {};
  if (::fstat(static_cast<int>(handle_), &st) != 0) {
    error = LastError();
    return 0;
  }
  error.clear();
  return static_cast<std::uint64_t>(st.st_size);
}

std::size_t OpenFile::Read(char* out, std::size_t size, std::error_code& error) const {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), out, size);
    if (n >= 0) {
      error.clear();
      return static_cast<std::size_t>(n);
    }
    if (errno != EINTR) {
      error = LastError();
      return 0;
    }
  }
}

std::size_t OpenFile::ReadAt(std::uint64_t offset, char* out, std::size_t size, std::error_code& error) const {
  std::size_t have = 0;
  error.clear();
  while (have < size) {
    const ssize_t n = ::pread(static_cast<int>(handle_), out + have, size - have, static_cast<off_t>(offset + have));
    if (n < 0) {
      if (errno == EINTR) continue;
      error = LastError();
      break;
    }
    if (n == 0) break;  // the end of the file
    have += static_cast<std::size_t>(n);
  }
  return have;
}

std::error_code OpenFile::WriteAt(std::uint64_t offset, std::span<const std::string_view> parts) const {
  std::vector<iovec> iov;
  for (auto p : parts) {
    if (!p.empty()) iov.push_back({const_cast<char*>(p.data()), p.size()});
  }
  std::size_t first = 0;
  while (first < iov.size()) {
    const std::size_t count = std::min<std::size_t>(iov.size() - first, IOV_MAX);
    const ssize_t n =
        ::pwritev(static_cast<int>(handle_), iov.data() + first, static_cast<int>(count), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    auto left = static_cast<std::size_t>(n);
    offset += left;
    while (first < iov.size() && left >= iov[first].iov_len) left -= iov[first++].iov_len;
    if (first < iov.size()) {
      iov[first].iov_base = static_cast<char*>(iov[first].iov_base) + left;
      iov[first].iov_len -= left;
    }
  }
  return {};
}

std::error_code OpenFile::Truncate(std::uint64_t size) const {
  while (::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) != 0) {
    if (errno != EINTR) return LastError();
  }
  return {};
}

std::error_code OpenFile::Sync(bool data_only) const {
  const int fd = static_cast<int>(handle_);
  if ((data_only ? ::fdatasync(fd) : ::fsync(fd)) != 0) return LastError();
  return {};
}

LockResult OpenFile::TryLock(LockMode mode, std::error_code& error) const {
  const int op = (mode == LockMode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  while (::flock(static_cast<int>(handle_), op) != 0) {
    if (errno == EINTR) continue;
    error = LastError();
    return errno == EWOULDBLOCK ? LockResult::kBusy : LockResult::kFailed;
  }
  error.clear();
  return LockResult::kLocked;
}

}  // namespace velquior::platform
