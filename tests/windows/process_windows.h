#pragma once
// Finding another process's windows from a test program under Wine or
// Windows: by process id, never by a shared handle, since the process under
// test makes its windows on its own schedule.

#include <windows.h>

#include <string>

namespace velquior::e2e {

// A visible top-level window of `pid` whose caption is exactly `caption`;
// nullptr when there is none yet.
HWND FindTopLevelWindow(DWORD pid, const std::wstring& caption);

// A window of `pid` among the descendants of `parent`: the embedding seen
// from the host's side. nullptr when none is there.
HWND FindDescendantOf(HWND parent, DWORD pid);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// Milliseconds on a monotonic clock.
double NowMs();

// UTF-8 for the report; the test scripts read it on Linux.
std::string Utf8(const std::wstring& text);
std::wstring Wide(const char* utf8);

}  // namespace velquior::e2e
