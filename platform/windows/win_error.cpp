#include "platform/windows/win_error.h"

#include <windows.h>

#include <cerrno>
#include <string>

#include "platform/windows/utf16.h"

namespace velquior::platform {
namespace {

// 0 when no errno says the same.
int ErrnoOf(DWORD win32) {
  switch (win32) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_MOD_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE:
    case ERROR_PRIVILEGE_NOT_HELD:
      return EACCES;
    // Another program holds the file in a way that denies this use: the
    // caller tells the user whose it is.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
      return EBUSY;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
    case ERROR_NEGATIVE_SEEK:
      return EINVAL;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
      return EPIPE;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
      return ENOSYS;
    default:
      return 0;
  }
}

// The system's text in the user's language, without the closing full stop.
class Win32Category : public std::error_category {
 public:
  const char* name() const noexcept override { return "win32"; }
  std::string message(int code) const override {
    wchar_t* text = nullptr;
    const DWORD n =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring out = n > 0 ? std::wstring(text, n) : std::wstring();
    if (text != nullptr) ::LocalFree(text);
    while (!out.empty() && (out.back() == L'\r' || out.back() == L'\n' || out.back() == L' ' || out.back() == L'.')) {
      out.pop_back();
    }
    if (out.empty()) return "Windows error " + std::to_string(static_cast<unsigned>(code));
    return WideToUtf8(out);
  }
};

const Win32Category& Win32() {
  static const Win32Category category;
  return category;
}

}  // namespace

std::error_code FromWin32(unsigned long win32) {
  if (win32 == ERROR_SUCCESS) return {};
  if (const int err = ErrnoOf(win32)) return {err, std::generic_category()};
  return {static_cast<int>(win32), Win32()};
}

std::error_code LastWin32Error() { return FromWin32(::GetLastError()); }

int ErrnoOfWin32(unsigned long win32) {
  const int err = ErrnoOf(win32);
  return err != 0 ? err : EIO;
}

}  // namespace velquior::platform
