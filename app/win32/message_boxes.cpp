#include "app/win32/message_boxes.h"

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

#include "app/win32/win32_basics.h"
#include "common/messages.h"

namespace velquior::win32 {
namespace {

// The box being opened on this thread: its hook, and its buttons' ids and
// the texts they take.
thread_local HHOOK box_hook = nullptr;
thread_local const std::vector<std::pair<int, std::wstring>>* box_buttons = nullptr;

void CentreOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK CollectButton(HWND child, LPARAM buttons) {
  wchar_t class_name[16] = {};
  GetClassNameW(child, class_name, 16);
  // The box itself is not yet visible: the button's own style says.
  if (_wcsicmp(class_name, L"Button") == 0 && (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0) {
    reinterpret_cast<std::vector<HWND>*>(buttons)->push_back(child);
  }
  return TRUE;
}

// Dialog units of `box` (its font's) in pixels.
SIZE DialogUnits(HWND box, int x, int y) {
  RECT r{0, 0, x, y};
  MapDialogRect(box, &r);
  return {r.right, r.bottom};
}

int TextWidth(HWND button) {
  HDC dc = GetDC(button);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
  const std::wstring text = WindowText(button);
  RECT r{};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(button, dc);
  return r.right - r.left;
}

// The box sized its buttons for the system's own words, which may be
// shorter than ours. Sized again as the system sizes a dialog's buttons: all
// alike, at least 50 dialog units wide and the longest text with a margin on
// each side; the row stays centred, and the box widens if it must.
void FitButtonsToText(HWND box) {
  std::vector<HWND> buttons;
  EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&buttons));
  if (buttons.empty()) return;
  std::vector<RECT> at(buttons.size());
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    GetWindowRect(buttons[i], &at[i]);
    MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&at[i]), 2);
  }
  std::vector<std::size_t> order(buttons.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return at[a].left < at[b].left; });

  const SIZE margin = DialogUnits(box, 6, 0), least = DialogUnits(box, 50, 0), edge = DialogUnits(box, 7, 0);
  int width = static_cast<int>(least.cx);
  for (HWND button : buttons) width = std::max(width, TextWidth(button) + 2 * static_cast<int>(margin.cx));
  const int n = static_cast<int>(buttons.size());
  const int gap = n > 1 ? std::max<int>(at[order[1]].left - at[order[0]].right, static_cast<int>(DialogUnits(box, 4, 0).cx)) : 0;
  const int row = n * width + (n - 1) * gap;

  RECT client{};
  GetClientRect(box, &client);
  if (const int missing = row + 2 * static_cast<int>(edge.cx) - client.right; missing > 0) {
    RECT frame{};
    GetWindowRect(box, &frame);
    SetWindowPos(box, nullptr, 0, 0, frame.right - frame.left + missing, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    client.right += missing;
  }
  int left = (client.right - row) / 2;
  for (std::size_t i : order) {
    SetWindowPos(buttons[i], nullptr, left, at[i].top, width, at[i].bottom - at[i].top, SWP_NOZORDER | SWP_NOACTIVATE);
    left += width + gap;
  }
}

// The box's own procedure, while ours stands in front of it.
thread_local WNDPROC box_proc = nullptr;

// Once the system has laid the box out: our words on its buttons (the
// system's own would follow the language of Windows), a size for them, and
// the box in the centre of the screen.
LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  WNDPROC proc = box_proc;
  const LRESULT result = CallWindowProcW(proc, box, message, wparam, lparam);
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    if (box_buttons != nullptr) {
      for (const auto& [id, text] : *box_buttons) SetDlgItemTextW(box, id, text.c_str());
    }
    FitButtonsToText(box);
    CentreOnScreen(box);
  }
  return result;
}

// The box as it is created, before its layout: ours stands in front of its
// procedure until the layout is done.
LRESULT CALLBACK BoxHook(int code, WPARAM wparam, LPARAM lparam) {
  HHOOK hook = box_hook;
  if (code == HCBT_CREATEWND) {
    HWND box = reinterpret_cast<HWND>(wparam);
    wchar_t class_name[16] = {};
    GetClassNameW(box, class_name, 16);
    if (std::wstring_view(class_name) == L"#32770") {
      box_proc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProc)));
      UnhookWindowsHookEx(hook);
      box_hook = nullptr;
    }
  }
  return CallNextHookEx(hook, code, wparam, lparam);
}

}  // namespace

UINT BoxStyle(BoxKind kind, bool has_owner) {
  UINT style = MB_OK | (kind == BoxKind::kError ? MB_ICONSTOP : 0u);
  return has_owner ? style | MB_APPLMODAL : style | MB_TASKMODAL;
}

namespace {

// MessageBoxW with our texts on its buttons; what it returns.
int Show(HWND owner, std::string_view utf8_text, UINT style, const std::vector<std::pair<int, std::wstring>>& buttons) {
  box_buttons = &buttons;
  if (box_hook != nullptr) UnhookWindowsHookEx(box_hook);
  box_hook = SetWindowsHookExW(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
  const int pressed = MessageBoxW(owner, Wide(utf8_text).c_str(), Wide(msg::kTituloAplicacion).c_str(), style);
  if (box_hook != nullptr) {  // no box was made
    UnhookWindowsHookEx(box_hook);
    box_hook = nullptr;
  }
  box_buttons = nullptr;
  return pressed;
}

HWND VisibleOrNone(HWND owner) { return owner != nullptr && IsWindow(owner) && IsWindowVisible(owner) ? owner : nullptr; }

}  // namespace

void ShowBox(HWND owner, std::string_view utf8_text, BoxKind kind) {
  owner = VisibleOrNone(owner);
  Show(owner, utf8_text, BoxStyle(kind, owner != nullptr), {{IDOK, Wide(msg::kBotonAceptar)}});
}

UINT QuestionStyle(bool has_owner) {
  const UINT style = MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1;
  return has_owner ? style | MB_APPLMODAL : style | MB_TASKMODAL;
}

int AskBox(HWND owner, std::string_view utf8_text, const std::array<std::string_view, 3>& buttons) {
  owner = VisibleOrNone(owner);
  const int pressed = Show(owner, utf8_text, QuestionStyle(owner != nullptr),
                           {{IDYES, Wide(buttons[0])}, {IDNO, Wide(buttons[1])}, {IDCANCEL, Wide(buttons[2])}});
  return pressed == IDYES ? 0 : pressed == IDNO ? 1 : 2;
}

bool ConfirmBox(HWND owner, std::string_view utf8_text, std::string_view yes, std::string_view no) {
  owner = VisibleOrNone(owner);
  UINT style = MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1;
  style |= owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
  return Show(owner, utf8_text, style, {{IDOK, Wide(yes)}, {IDCANCEL, Wide(no)}}) == IDOK;
}

}  // namespace velquior::win32
