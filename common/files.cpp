#include "common/files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior {
namespace fs = std::filesystem;
namespace {

std::string SystemReason(int err) { return std::strerror(err); }

[[noreturn]] void ThrowWrite(const fs::path& path, int err) {
  throw Error(Format(msg::kNoSePuedeEscribir, {PathForMessage(path), SystemReason(err)}));
}

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

}  // namespace

std::string PathForMessage(const fs::path& path) { return path.string(); }

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string ReadFileBytes(const fs::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    throw Error(Format(msg::kNoSePuedeLeer, {PathForMessage(path), SystemReason(errno)}));
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw Error(Format(msg::kEsUnDirectorio, {PathForMessage(path)}));
  }
  std::string out;
  if (st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      throw Error(Format(msg::kNoSePuedeLeer, {PathForMessage(path), SystemReason(err)}));
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return out;
}

void AtomicReplaceFile(const fs::path& path, std::string_view bytes) {
  AtomicReplaceFile(path, [bytes](const ByteSink& sink) { sink(bytes); });
}

void AtomicReplaceFile(const fs::path& path, const std::function<void(const ByteSink&)>& produce) {
  fs::path dir = path.parent_path();
  if (dir.empty()) dir = ".";
  std::string tmpl = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) ThrowWrite(path, errno);
  const fs::path tmp = tmpl;
  auto discard = [&] {
    ::close(fd);
    ::unlink(tmp.c_str());
  };
  auto fail = [&](int err) {
    discard();
    ThrowWrite(path, err);
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
      if (!WriteAll(fd, piece)) ThrowWrite(path, errno);
    });
  } catch (...) {
    discard();
    throw;
  }
  if (::fsync(fd) != 0) fail(errno);
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    ThrowWrite(path, err);
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    ThrowWrite(path, err);
  }
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

std::vector<fs::path> AllCaseVariants(const fs::path& dir, std::string_view name) {
  std::vector<fs::path> out;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsNoCaseAscii(it->path().filename().string(), name)) out.push_back(it->path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::optional<fs::path> FindFileNoCase(const fs::path& dir, std::string_view name) {
  std::error_code ec;
  fs::path exact = dir / std::string(name);
  if (fs::exists(exact, ec)) return exact;
  auto all = AllCaseVariants(dir, name);
  if (all.empty()) return std::nullopt;
  return all.front();
}

void RemoveCaseVariants(const fs::path& dir, std::string_view name) {
  for (const auto& p : AllCaseVariants(dir, name)) {
    std::error_code ec;
    fs::remove(p, ec);
  }
}

}  // namespace velquior
