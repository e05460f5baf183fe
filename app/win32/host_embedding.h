#pragma once
// A host launch places the main window inside the host's window, given its
// handle: a borderless child at the same centring position, counted from the
// host's client area.

#include <windows.h>

#include <cstdint>

namespace velquior::win32 {

// The centring formula: the screen's size less the window's own, halved.
POINT CentredPosition(SIZE own);

// The window the host's handle names; null when it names none.
HWND HostWindow(std::uint32_t handle);

// Before the window exists: this thread takes the DPI awareness of the
// host's window, so that Windows neither rescales our child nor resets it
// when it is parented, and all sizes below count in the host's terms.
// Returns the host's dpi; 0 when the handle names no window or the system
// cannot tell (before Windows 10), which leaves the thread as it was.
int AdoptHostDpi(std::uint32_t handle);

// Makes `self` a WS_CHILD of the host's window, without caption or frame,
// its client area unchanged. False, with `self` untouched, when the handle
// names no window (or names `self` or one of its own) or the system refuses
// the new parent.
bool EmbedInto(HWND self, std::uint32_t handle);

}  // namespace velquior::win32
