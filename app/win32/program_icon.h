#pragma once
// The program's icon in the window's caption, the taskbar and Alt+Tab: icon
// resource 1 of the executable (packaging/windows/resources.rc.in), drawn
// from the size that fits the window's dpi, not scaled up from 16 pixels.

#include <windows.h>

namespace velquior::win32 {

constexpr int kProgramIconId = 1;

// The icon at the system's own sizes, shared and never destroyed: for a
// window class. Null when the executable carries none.
HICON SharedProgramIcon(bool small);

// Gives `window` the icon at the sizes for `dpi`, releasing the ones it set
// before; ReleaseProgramIcons on WM_DESTROY frees the last.
void SetProgramIcons(HWND window, int dpi);
void ReleaseProgramIcons(HWND window);

}  // namespace velquior::win32
