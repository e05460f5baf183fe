#pragma once
// The window's question: a box titled "Velquior" with the question icon and
// three buttons whose texts the caller gives (Spanish, whatever the language
// of Windows), the first the default, opened centred on the screen.

#include <windows.h>

#include <array>
#include <string_view>

namespace velquior::win32 {

// MessageBoxW's style: three buttons, the first the default, the question
// icon, and task-modal when there is no owner.
UINT QuestionStyle(bool has_owner);

// Shows the box and waits for it. Returns 0, 1 or 2 for the button pressed;
// 2 also when the box is closed with Esc or its close box. `owner` may be null.
int AskBox(HWND owner, std::string_view utf8_text, const std::array<std::string_view, 3>& buttons);

}  // namespace velquior::win32
