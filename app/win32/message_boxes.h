#pragma once
// The window's boxes: the plain message and the error, with one button
// "Aceptar", and the question, with three buttons whose texts the caller
// gives. All are titled "Velquior", say their buttons in Spanish whatever the
// language of Windows, on buttons sized for those words, and open centred on
// the screen.

#include <windows.h>

#include <array>
#include <string_view>

#include "shell/undo.h"

namespace velquior::win32 {

enum class BoxKind { kPlain, kError };

// MessageBoxW's style: no icon or the stop icon, one button, and task-modal
// when there is no owner.
UINT BoxStyle(BoxKind kind, bool has_owner);

// Shows the box and waits for it. `owner` may be null.
void ShowBox(HWND owner, std::string_view utf8_text, BoxKind kind);

// The question's style: three buttons, the first the default, the question
// icon, and task-modal when there is no owner.
UINT QuestionStyle(bool has_owner);

// Shows the question and waits for it. Returns 0, 1 or 2 for the button
// pressed; 2 also when the box is closed with Esc or its close box. `owner`
// may be null.
int AskBox(HWND owner, std::string_view utf8_text, const std::array<std::string_view, 3>& buttons);

// Shows a question with two buttons, `yes` the default, and waits for it;
// true for `yes`. Esc and the close box answer `no`.
bool ConfirmBox(HWND owner, std::string_view utf8_text, std::string_view yes, std::string_view no);

// The boxes of `velquior deshacer`, which has no main window.
class UndoBoxes : public shell::UndoBoxes {
 public:
  void ShowMessage(std::string_view utf8_text) override { ShowBox(nullptr, utf8_text, BoxKind::kPlain); }
  void ShowError(std::string_view utf8_text) override { ShowBox(nullptr, utf8_text, BoxKind::kError); }
  bool Confirm(std::string_view utf8_question, std::string_view yes, std::string_view no) override {
    return ConfirmBox(nullptr, utf8_question, yes, no);
  }
};

}  // namespace velquior::win32
