#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace velquior::platform {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void ThrowWrite(int err) { throw WriteFailed(err); }

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// ".escuela.xml.": a temporary file of a save is this and six letters or
// digits, as mkstemp makes them.
std::string TemporaryPrefix(const std::string& file_name) { return "." + file_name + "."; }

bool IsTemporaryOf(std::string_view entry, const std::string& prefix) {
  if (entry.size() != prefix.size() + 6 || !entry.starts_with(prefix)) return false;
  return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                     [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// Temporary files that killed saves of `file_name` left in `dir`. A live
// save holds a lock on its own, so only those nobody holds go.
void RemoveDeadTemporaries(const fs::path& dir, const std::string& file_name) {
  const std::string prefix = TemporaryPrefix(file_name);
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& entry = it->path();
    if (!IsTemporaryOf(entry.filename().string(), prefix)) continue;
    int fd = ::open(entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlink(entry.c_str());
    }
    ::close(fd);
  }
}

}  // namespace

void ReplaceFileAtomically(const fs::path& path, const std::function<void(const ByteSink&)>& produce) {
  fs::path dir = path.parent_path();
  if (dir.empty()) dir = ".";
  RemoveDeadTemporaries(dir, path.filename().string());
  const std::string tmpl = (dir / TemporaryPrefix(path.filename().string())).string() + "XXXXXX";
  int fd = -1;
  std::string name;
  // Held locked until the rename, so that another run's clean-up leaves it
  // alone. A clean-up may unlink it in the moment before the lock: then it
  // is made again.
  for (;;) {
    name = tmpl;
    fd = ::mkstemp(name.data());
    if (fd < 0) ThrowWrite(errno);
    struct stat st {};
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    if (::fstat(fd, &st) == 0 && st.st_nlink > 0) break;
    ::close(fd);
  }
  const fs::path tmp = name;
  auto discard = [&] {
    ::close(fd);
    ::unlink(tmp.c_str());
  };
  auto fail = [&](int err) {
    discard();
    ThrowWrite(err);
  };
  struct stat st {};
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0644 & ~mask;
  }
  if (::fchmod(fd, mode) != 0) fail(errno);
  try {
    produce([&](std::string_view piece) {
      if (!WriteAll(fd, piece)) ThrowWrite(errno);
    });
  } catch (...) {
    discard();
    throw;
  }
  if (::fsync(fd) != 0) fail(errno);
  if (::rename(tmp.c_str(), path.c_str()) != 0) fail(errno);
  ::close(fd);  // after fsync nothing is left for close to report
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

}  // namespace velquior::platform
