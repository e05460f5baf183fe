#include "app/win32/question_box.h"

#include <algorithm>
#include <string>

#include "app/win32/win32_basics.h"
#include "common/messages.h"

namespace velquior::win32 {
namespace {

constexpr int kButtonIds[] = {IDYES, IDNO, IDCANCEL};

// The box being opened on this thread: its hook and the texts it takes.
thread_local HHOOK question_hook = nullptr;
thread_local const std::array<std::wstring, 3>* question_texts = nullptr;

int TextWidth(HWND button, const std::wstring& text) {
  HDC dc = GetDC(button);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(button, dc);
  return size.cx;
}

// The system sized the buttons for its own words: they widen, each by as
// much as the longest of ours needs, and the box with them.
void FitButtons(HWND box) {
  const int margin = MulDiv(GetSystemMetrics(SM_CXEDGE), 6, 1);
  int needed = 0, width = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    HWND button = GetDlgItem(box, kButtonIds[i]);
    RECT r{};
    GetWindowRect(button, &r);
    width = std::max(width, static_cast<int>(r.right - r.left));
    needed = std::max(needed, TextWidth(button, (*question_texts)[i]) + 2 * margin);
  }
  const int grow = needed - width;
  if (grow <= 0) return;
  RECT box_rect{};
  GetWindowRect(box, &box_rect);
  SetWindowPos(box, nullptr, 0, 0, box_rect.right - box_rect.left + 3 * grow, box_rect.bottom - box_rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (std::size_t i = 0; i < 3; ++i) {
    HWND button = GetDlgItem(box, kButtonIds[i]);
    RECT r{};
    GetWindowRect(button, &r);
    MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(button, nullptr, r.left + static_cast<int>(i) * grow, r.top, needed, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CentreOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The box is built but not yet seen: its buttons get their texts and room
// for them, and it moves to the centre of the screen.
LRESULT CALLBACK QuestionHook(int code, WPARAM wparam, LPARAM lparam) {
  HHOOK hook = question_hook;
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wparam);
    wchar_t class_name[16] = {};
    GetClassNameW(box, class_name, 16);
    if (std::wstring_view(class_name) == L"#32770") {
      for (std::size_t i = 0; i < 3; ++i) SetDlgItemTextW(box, kButtonIds[i], (*question_texts)[i].c_str());
      FitButtons(box);
      CentreOnScreen(box);
      UnhookWindowsHookEx(hook);
      question_hook = nullptr;
    }
  }
  return CallNextHookEx(hook, code, wparam, lparam);
}

}  // namespace

UINT QuestionStyle(bool has_owner) {
  const UINT style = MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1;
  return has_owner ? style | MB_APPLMODAL : style | MB_TASKMODAL;
}

int AskBox(HWND owner, std::string_view utf8_text, const std::array<std::string_view, 3>& buttons) {
  if (owner != nullptr && !(IsWindow(owner) && IsWindowVisible(owner))) owner = nullptr;
  const std::array<std::wstring, 3> texts{Wide(buttons[0]), Wide(buttons[1]), Wide(buttons[2])};
  question_texts = &texts;
  if (question_hook != nullptr) UnhookWindowsHookEx(question_hook);
  question_hook = SetWindowsHookExW(WH_CBT, QuestionHook, nullptr, GetCurrentThreadId());
  const int pressed = MessageBoxW(owner, Wide(utf8_text).c_str(), Wide(msg::kTituloAplicacion).c_str(),
                                  QuestionStyle(owner != nullptr));
  if (question_hook != nullptr) {  // the box never activated
    UnhookWindowsHookEx(question_hook);
    question_hook = nullptr;
  }
  question_texts = nullptr;
  return pressed == IDYES ? 0 : pressed == IDNO ? 1 : 2;
}

}  // namespace velquior::win32
