#include "app/win32/message_boxes.h"

#include "app/win32/win32_basics.h"
#include "common/messages.h"

namespace velquior::win32 {
namespace {

// The hook of the box being opened on this thread.
thread_local HHOOK box_hook = nullptr;

void CentreOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The box is built but not yet seen: its button gets the Spanish word (the
// system's own would follow the language of Windows) and it moves to the
// centre of the screen.
LRESULT CALLBACK BoxHook(int code, WPARAM wparam, LPARAM lparam) {
  HHOOK hook = box_hook;
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wparam);
    wchar_t class_name[16] = {};
    GetClassNameW(box, class_name, 16);
    if (std::wstring_view(class_name) == L"#32770") {
      SetDlgItemTextW(box, IDOK, Wide(msg::kBotonAceptar).c_str());
      CentreOnScreen(box);
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

void ShowBox(HWND owner, std::string_view utf8_text, BoxKind kind) {
  if (owner != nullptr && !(IsWindow(owner) && IsWindowVisible(owner))) owner = nullptr;
  if (box_hook != nullptr) UnhookWindowsHookEx(box_hook);
  box_hook = SetWindowsHookExW(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
  MessageBoxW(owner, Wide(utf8_text).c_str(), Wide(msg::kTituloAplicacion).c_str(), BoxStyle(kind, owner != nullptr));
  if (box_hook != nullptr) {  // the box never activated
    UnhookWindowsHookEx(box_hook);
    box_hook = nullptr;
  }
}

}  // namespace velquior::win32
