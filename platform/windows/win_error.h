#pragma once
// Win32 error numbers as std::error_code, for the files of platform/windows.

#include <system_error>

namespace velquior::platform {

// `win32` (a GetLastError value) as the errno of the same meaning in the
// generic category, so that messages and std::errc comparisons read as on
// POSIX; a code without one stays a Win32 code whose message is the system's
// text.
std::error_code FromWin32(unsigned long win32);

// FromWin32(GetLastError()).
std::error_code LastWin32Error();

// The errno of FromWin32(win32), or EIO when it has none.
int ErrnoOfWin32(unsigned long win32);

}  // namespace velquior::platform
