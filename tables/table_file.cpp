#include "tables/table_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::tables {
namespace {

[[noreturn]] void ThrowRead(const std::filesystem::path& path, int err) {
  throw Error(Format(msg::kNoSePuedeLeer, {PathForMessage(path), std::strerror(err)}));
}

[[noreturn]] void ThrowWrite(const std::filesystem::path& path, int err) {
  throw Error(Format(msg::kNoSePuedeEscribir, {PathForMessage(path), std::strerror(err)}));
}

}  // namespace

TableFile TableFile::Open(const std::filesystem::path& path, Lock lock, std::string_view label) {
  TableFile f;
  f.path_ = path;
  f.fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (f.fd_ < 0) {
    f.write_errno_ = errno;
    if (errno != EACCES && errno != EROFS && errno != EPERM) ThrowRead(path, errno);
    f.fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (f.fd_ < 0) ThrowRead(path, errno);
  }
  struct stat st {};
  if (::fstat(f.fd_, &st) != 0) ThrowRead(path, errno);
  if (S_ISDIR(st.st_mode)) throw Error(Format(msg::kEsUnDirectorio, {PathForMessage(path)}));
  f.id_ = {st.st_dev, st.st_ino};
  const int op = (lock == Lock::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  while (::flock(f.fd_, op) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) throw Error(Format(msg::kTablaEnUso, {label}));
    ThrowRead(path, errno);
  }
  return f;
}

TableFile::TableFile(TableFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      write_errno_(other.write_errno_),
      id_(other.id_),
      path_(std::move(other.path_)) {}

TableFile& TableFile::operator=(TableFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    write_errno_ = other.write_errno_;
    id_ = other.id_;
    path_ = std::move(other.path_);
  }
  return *this;
}

TableFile::~TableFile() { Close(); }

void TableFile::Close() {
  if (fd_ >= 0) ::close(fd_);  // releases the lock
  fd_ = -1;
}

std::uint64_t TableFile::Size() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) ThrowRead(path_, errno);
  return static_cast<std::uint64_t>(st.st_size);
}

Bytes TableFile::ReadAll() const {
  Bytes out;
  const std::uint64_t size = Size();
  out.data = std::make_unique_for_overwrite<char[]>(size);
  while (out.size < size) {
    ssize_t n = ::pread(fd_, out.data.get() + out.size, size - out.size, static_cast<off_t>(out.size));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowRead(path_, errno);
    }
    if (n == 0) break;  // shorter than it was a moment ago
    out.size += static_cast<std::size_t>(n);
  }
  return out;
}

bool TableFile::ReadAt(std::uint64_t offset, char* out, std::size_t size) const {
  std::size_t have = 0;
  while (have < size) {
    ssize_t n = ::pread(fd_, out + have, size - have, static_cast<off_t>(offset + have));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowRead(path_, errno);
    }
    if (n == 0) return false;
    have += static_cast<std::size_t>(n);
  }
  return true;
}

void TableFile::WriteAt(std::uint64_t offset, std::span<const std::string_view> parts) const {
  if (write_errno_ != 0) ThrowWrite(path_, write_errno_);
  std::vector<iovec> iov;
  for (auto p : parts) {
    if (!p.empty()) iov.push_back({const_cast<char*>(p.data()), p.size()});
  }
  std::size_t first = 0;
  while (first < iov.size()) {
    const std::size_t count = std::min<std::size_t>(iov.size() - first, IOV_MAX);
    ssize_t n = ::pwritev(fd_, iov.data() + first, static_cast<int>(count), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowWrite(path_, errno);
    }
    auto left = static_cast<std::size_t>(n);
    offset += left;
    while (first < iov.size() && left >= iov[first].iov_len) left -= iov[first++].iov_len;
    if (first < iov.size()) {
      iov[first].iov_base = static_cast<char*>(iov[first].iov_base) + left;
      iov[first].iov_len -= left;
    }
  }
}

void TableFile::Truncate(std::uint64_t size) const {
  if (write_errno_ != 0) ThrowWrite(path_, write_errno_);
  while (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
    if (errno != EINTR) ThrowWrite(path_, errno);
  }
}

void TableFile::SyncData() const {
  if (::fdatasync(fd_) != 0 && errno != EINVAL) ThrowWrite(path_, errno);
}

}  // namespace velquior::tables
