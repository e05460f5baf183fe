#include "platform/file_system.h"

#include <windows.h>

#include <string>

#include "platform/windows/held_file.h"
#include "platform/windows/long_path.h"
#include "platform/windows/random_name.h"
#include "platform/windows/win_error.h"

#undef MoveFile  // the system's macro for MoveFileW would rename the function below

namespace velquior::platform {
namespace {

// An existing file opened to write, sharing everything, waiting out a
// program that holds it for a moment.
std::error_code OpenToWrite(const std::filesystem::path& path, HANDLE& h) {
  return WithRetry(path, [&]() -> unsigned long {
    h = ::CreateFileW(Win32Path(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
  });
}

}  // namespace

FileKind KindOf(const std::filesystem::path& given, bool follow_links) {
  const std::wstring path = Win32Path(given);
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
  const DWORD attributes = ::GetFileAttributesW(Win32Path(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// By trying: the access lists that decide are the system's to read.
std::error_code CheckWriteAccess(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(Win32Path(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastWin32Error();
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return std::make_error_code(std::errc::permission_denied);
    HANDLE h = INVALID_HANDLE_VALUE;
    if (auto error = OpenToWrite(path, h)) return error;
    ::CloseHandle(h);
    return {};
  }
  // A file made and gone again: the directory's read-only mark means
  // nothing to the system, its access list everything.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path probe = path / (L".velquior-probe-" + RandomNameSuffix());
    HANDLE h = ::CreateFileW(Win32Path(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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
  HANDLE h = INVALID_HANDLE_VALUE;
  if (auto error = OpenToWrite(path, h)) return error;
  std::error_code error;
  if (!::FlushFileBuffers(h)) error = LastWin32Error();
  ::CloseHandle(h);
  return error;
}

// NTFS flushes a directory opened for writing; file systems that cannot
// (FAT, network shares, older systems) refuse, which is no failure here.
void FlushDirectory(const std::filesystem::path& dir) {
  HANDLE h = ::CreateFileW(Win32Path(dir).c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  ::FlushFileBuffers(h);
  ::CloseHandle(h);
}

std::error_code MoveFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  const std::wstring source = Win32Path(from);
  const std::wstring target = Win32Path(to);
  const bool replacing = ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
  const DWORD code = RetryWhileHeld(replacing ? to : from, [&]() -> unsigned long {
    if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return ERROR_SUCCESS;
    }
    return ::GetLastError();
  });
  if (code == ERROR_SUCCESS) return {};
  // Named after the one a holder keeps.
  return FileError(code, !replacing || HeldByAnother(from) ? from : to);
}

// The user's own data folder already keeps others out; its children
// inherit that.
std::error_code MakePrivateDirectories(const std::filesystem::path& dir) {
  std::filesystem::path made;
  for (const auto& part : dir) {
    made /= part;
    if (!made.has_relative_path()) continue;  // the drive or the root
    if (!::CreateDirectoryW(Win32Path(made).c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
      return LastWin32Error();
    }
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return ec ? ec : FromWin32(ERROR_DIRECTORY);
  return {};
}

std::error_code MakeUniqueDirectory(const std::filesystem::path& dir, std::string_view prefix,
                                    std::filesystem::path& made) {
  const std::filesystem::path start = dir / std::filesystem::path(std::u8string(prefix.begin(), prefix.end()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path name = start.native() + RandomNameSuffix();
    if (::CreateDirectoryW(Win32Path(name).c_str(), nullptr)) {
      made = std::move(name);
      return {};
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return LastWin32Error();
  }
  return FromWin32(ERROR_ALREADY_EXISTS);
}

}  // namespace velquior::platform
