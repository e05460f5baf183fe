#include "platform/file_system.h"

#include <windows.h>

#include <string>

#include "platform/windows/random_name.h"
#include "platform/windows/win_error.h"

#undef MoveFile  // the system's macro for MoveFileW would rename the function below

namespace velquior::platform {

FileKind KindOf(const std::filesystem::path& path, bool follow_links) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::kMissing;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    if (!follow_links) return FileKind::kLink;
    // What the link leads to, if anything.
    HANDLE h = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FileKind::kMissing;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    if (!known) return FileKind::kMissing;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::kDirectory : FileKind::kRegular;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileKind::kDirectory;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return FileKind::kOther;
  // Devices (NUL, CON, COM1) answer with ordinary attributes: the open
  // handle's type tells them from files on a disk.
  HANDLE h = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FileKind::kRegular;  // held without sharing: still a file
  const DWORD type = ::GetFileType(h);
  ::CloseHandle(h);
  return type == FILE_TYPE_DISK ? FileKind::kRegular : FileKind::kOther;
}

// A directory's read-only mark only tells the desktop to look for its own
// settings there (special folders carry it): files are made in it all the same.
bool IsReadOnly(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// By trying: the access lists that decide are the system's to read.
std::error_code CheckWriteAccess(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastWin32Error();
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return std::make_error_code(std::errc::permission_denied);
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LastWin32Error();
    ::CloseHandle(h);
    return {};
  }
  // A file made and gone again: the directory's read-only mark means
  // nothing to the system, its access list everything.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path probe = path / (L".velquior-probe-" + RandomNameSuffix());
    HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      ::CloseHandle(h);
      return {};
    }
    const DWORD code = ::GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) return FromWin32(code);
  }
  return FromWin32(ERROR_FILE_EXISTS);
}

std::error_code FlushFile(const std::filesystem::path& path) {
  // Flushing needs the right to write.
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastWin32Error();
  std::error_code error;
  if (!::FlushFileBuffers(h)) error = LastWin32Error();
  ::CloseHandle(h);
  return error;
}

// The system keeps a directory's entries with the file operations
// themselves (and moves write through): nothing is left to flush.
void FlushDirectory(const std::filesystem::path& /*dir*/) {}

std::error_code MoveFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return LastWin32Error();
  }
  return {};
}

std::error_code MakeUniqueDirectory(const std::filesystem::path& dir, std::string_view prefix,
                                    std::filesystem::path& made) {
  const std::filesystem::path start = dir / std::filesystem::path(std::u8string(prefix.begin(), prefix.end()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path name = start.native() + RandomNameSuffix();
    if (::CreateDirectoryW(name.c_str(), nullptr)) {
      made = std::move(name);
      return {};
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return LastWin32Error();
  }
  return FromWin32(ERROR_ALREADY_EXISTS);
}

}  // namespace velquior::platform
