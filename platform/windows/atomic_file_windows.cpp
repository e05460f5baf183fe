#include "platform/atomic_file.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/file_system.h"
#include "platform/windows/held_file.h"
#include "platform/windows/long_path.h"
#include "platform/windows/random_name.h"
#include "platform/windows/win_error.h"

namespace velquior::platform {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void ThrowWrite(DWORD win32) { throw WriteFailed(FromWin32(win32)); }

// The original's marks the replacement keeps. Read-only is put on only
// once the bytes are written, and taken off the original just for the move,
// which the system refuses over a read-only file: such a file is replaced
// and stays read-only, as on POSIX.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool SetAttributes(HANDLE h, DWORD attributes) {
  FILE_BASIC_INFO info{};  // times left as they are
  info.FileAttributes = attributes;
  return ::SetFileInformationByHandle(h, FileBasicInfo, &info, sizeof info);
}

// ReplaceFileW keeps the original's identity: its streams, access list,
// creation time. Where it cannot (a missing original, a volume or system
// without it), a plain move does, and its failure is the one that counts.
// An original that another program holds is found first: a replacement
// failing on it may leave copies of its own behind (Wine does), a move
// fails cleanly and is tried again.
DWORD ReplaceOrMove(const std::wstring& from, const std::wstring& to) {
  HANDLE original = ::CreateFileW(to.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (original == INVALID_HANDLE_VALUE) {
    if (::GetLastError() == ERROR_SHARING_VIOLATION) return ERROR_SHARING_VIOLATION;
  } else {
    ::CloseHandle(original);
  }
  if (original != INVALID_HANDLE_VALUE &&
      ::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                     nullptr, nullptr)) {
    return ERROR_SUCCESS;
  }
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return ERROR_SUCCESS;
  return ::GetLastError();
}

std::error_code MoveOver(const fs::path& from, const fs::path& to, DWORD original) {
  const std::wstring source = Win32Path(from);
  const std::wstring target = Win32Path(to);
  const bool read_only = original != INVALID_FILE_ATTRIBUTES && (original & FILE_ATTRIBUTE_READONLY) != 0;
  if (read_only && !::SetFileAttributesW(target.c_str(), original & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
    return LastWin32Error();
  }
  const std::error_code error = WithRetry(to, [&] { return ReplaceOrMove(source, target); });
  if (error && read_only) ::SetFileAttributesW(target.c_str(), original);
  return error;
}

// Ours, just closed: a scanner may be reading it.
void DeleteOwn(const fs::path& file) {
  const std::wstring name = Win32Path(file);
  RetryWhileHeld(file,
                 [&]() -> unsigned long { return ::DeleteFileW(name.c_str()) ? ERROR_SUCCESS : ::GetLastError(); });
}

bool WriteAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), DWORD{1} << 30));
    if (!::WriteFile(h, bytes.data(), want, &n, nullptr)) return false;
    bytes.remove_prefix(n);
  }
  return true;
}

// ".escuela.xml.": a temporary file of a save is this and six letters or
// digits.
std::wstring TemporaryPrefix(const fs::path& file_name) { return L"." + file_name.native() + L"."; }

bool IsTemporaryOf(std::wstring_view entry, std::wstring_view prefix) {
  if (entry.size() != prefix.size() + 6 || !entry.starts_with(prefix)) return false;
  return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(), [](wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
  });
}

// Temporary files that killed saves of `file_name` left in `dir`. A live
// save's file is open without leave to delete it, so only dead ones go.
void RemoveDeadTemporaries(const fs::path& dir, const fs::path& file_name) {
  const std::wstring prefix = TemporaryPrefix(file_name);
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(Win32Path(dir)), ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& entry = it->path();
    if (!IsTemporaryOf(entry.filename().native(), prefix)) continue;
    const std::wstring name = Win32Path(entry);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0) {
      continue;
    }
    // One killed after it was marked read-only loses the mark to go; a
    // live one keeps it.
    const bool read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (read_only) ::SetFileAttributesW(name.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    if (!::DeleteFileW(name.c_str()) && read_only) ::SetFileAttributesW(name.c_str(), attributes);
  }
}

}  // namespace

void ReplaceFileAtomically(const fs::path& path, const std::function<void(const ByteSink&)>& produce) {
  fs::path dir = path.parent_path();
  if (dir.empty()) dir = L".";
  RemoveDeadTemporaries(dir, path.filename());
  const DWORD original = ::GetFileAttributesW(Win32Path(path).c_str());
  const DWORD kept = original == INVALID_FILE_ATTRIBUTES ? 0 : original & kKeptAttributes;
  const DWORD attributes = kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
  const std::wstring prefix = (dir / TemporaryPrefix(path.filename())).native();
  // Shared for reading only, so that another run's clean-up cannot delete
  // it while it is written.
  HANDLE h = INVALID_HANDLE_VALUE;
  fs::path tmp;
  for (int attempt = 0; h == INVALID_HANDLE_VALUE; ++attempt) {
    tmp = prefix + RandomNameSuffix();
    h = ::CreateFileW(Win32Path(tmp).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD code = ::GetLastError();
      if ((code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) || attempt == 100) ThrowWrite(code);
    }
  }
  auto discard = [&] {
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    DeleteOwn(tmp);
  };
  auto fail = [&](DWORD code) {
    discard();
    ThrowWrite(code);
  };
  try {
    produce([&](std::string_view piece) {
      if (!WriteAll(h, piece)) ThrowWrite(::GetLastError());
    });
  } catch (...) {
    discard();
    throw;
  }
  if (!::FlushFileBuffers(h)) fail(::GetLastError());
  if (original != INVALID_FILE_ATTRIBUTES && (original & FILE_ATTRIBUTE_READONLY) != 0 &&
      !SetAttributes(h, kept | FILE_ATTRIBUTE_READONLY)) {
    fail(::GetLastError());
  }
  // A file open elsewhere without leave to delete cannot be moved: the
  // handle goes first.
  ::CloseHandle(h);
  h = INVALID_HANDLE_VALUE;
  if (const std::error_code error = MoveOver(tmp, path, original)) {
    ::SetFileAttributesW(Win32Path(tmp).c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file is not deleted
    discard();
    throw WriteFailed(error);
  }
  FlushDirectory(dir);
}

}  // namespace velquior::platform
