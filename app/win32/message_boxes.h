#pragma once
// The window's two boxes: the plain message and the error. Both are titled
// "Velquior", have one button reading "Aceptar" whatever the language of
// Windows, and open centred on the screen.

#include <windows.h>

#include <string_view>

namespace velquior::win32 {

enum class BoxKind { kPlain, kError };

// MessageBoxW's style: no icon or the stop icon, one button, and task-modal
// when there is no owner.
UINT BoxStyle(BoxKind kind, bool has_owner);

// Shows the box and waits for it. `owner` may be null.
void ShowBox(HWND owner, std::string_view utf8_text, BoxKind kind);

}  // namespace velquior::win32
