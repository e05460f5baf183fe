#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace velquior::platform {
namespace {

std::error_code LastError() { return {errno, std::system_category()}; }

}  // namespace

FileKind KindOf(const std::filesystem::path& path, bool follow_links) {
  struct stat st {};
  if ((follow_links ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) return FileKind::kMissing;
  if (S_ISREG(st.st_mode)) return FileKind::kRegular;
  if (S_ISDIR(st.st_mode)) return FileKind::kDirectory;
  if (S_ISLNK(st.st_mode)) return FileKind::kLink;
  return FileKind::kOther;
}

bool IsReadOnly(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

std::error_code CheckWriteAccess(const std::filesystem::path& path) {
  return ::access(path.c_str(), W_OK) == 0 ? std::error_code() : LastError();
}

std::error_code FlushFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return LastError();
  std::error_code error;
  if (::fsync(fd) != 0) error = LastError();
  ::close(fd);
  return error;
}

void FlushDirectory(const std::filesystem::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

std::error_code MoveFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code MakePrivateDirectories(const std::filesystem::path& dir) {
  std::filesystem::path made;
  for (const auto& part : dir) {
    made /= part;
    if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return LastError();
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return ec ? ec : std::make_error_code(std::errc::not_a_directory);
  return {};
}

std::error_code MakeUniqueDirectory(const std::filesystem::path& dir, std::string_view prefix,
                                    std::filesystem::path& made) {
  std::string name = (dir / (std::string(prefix) + "XXXXXX")).string();
  if (::mkdtemp(name.data()) == nullptr) return LastError();
  made = name;
  return {};
}

}  // namespace velquior::platform
