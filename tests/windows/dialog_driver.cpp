#include "dialog_driver.h"

#include "process_windows.h"

namespace velquior::e2e {
namespace {

constexpr int kFileNameCombo = 0x47C;  // cmb13, Explorer style
constexpr int kFileNameEdit = 0x480;   // edt1, classic style
constexpr int kMessageBoxText = 0xFFFF;

struct Collected {
  std::vector<HWND> windows;
  const wchar_t* class_name;
  DWORD pid;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto& collected = *reinterpret_cast<Collected*>(param);
  if (ClassName(window) == collected.class_name) collected.windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto& collected = *reinterpret_cast<Collected*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == collected.pid && IsWindowVisible(window)) collected.windows.push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* class_name) {
  Collected collected{{}, class_name, 0};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&collected));
  return collected.windows;
}

// The Edit inside a combo box or a combo box inside a ComboBoxEx.
HWND EditWithin(HWND control) {
  if (!control) return nullptr;
  if (ClassName(control) == L"Edit") return control;
  const auto edits = ChildrenOfClass(control, L"Edit");
  return edits.empty() ? nullptr : edits.front();
}

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

HWND AwaitWindow(DWORD pid, const std::wstring& caption, DWORD timeout_ms) {
  const double deadline = NowMs() + timeout_ms;
  while (NowMs() < deadline) {
    if (HWND found = FindTopLevelWindow(pid, caption)) {
      // Up, but its dialog procedure may still be filling it in.
      Sleep(200);
      return found;
    }
    Sleep(10);
  }
  return nullptr;
}

HWND FileNameBox(HWND dialog) {
  if (HWND edit = EditWithin(GetDlgItem(dialog, kFileNameCombo))) return edit;
  if (HWND edit = EditWithin(GetDlgItem(dialog, kFileNameEdit))) return edit;
  // A dialog of its own template: the only visible, enabled Edit.
  HWND only = nullptr;
  for (HWND edit : ChildrenOfClass(dialog, L"Edit")) {
    if (!IsWindowVisible(edit) || !IsWindowEnabled(edit)) continue;
    if (only) return nullptr;
    only = edit;
  }
  return only;
}

bool ChooseFile(HWND dialog, const std::wstring& file) {
  HWND box = FileNameBox(dialog);
  if (!box) return false;
  SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()), SMTO_ABORTIFHUNG, 5000, nullptr);
  if (WindowText(box) != file) return false;
  Press(dialog, IDOK);
  return true;
}

void PressCancel(HWND dialog) { Press(dialog, IDCANCEL); }

MessageBoxSeen ConfirmMessageBox(HWND box) {
  MessageBoxSeen seen;
  if (HWND text = GetDlgItem(box, kMessageBoxText)) seen.text = WindowText(text);
  int first_id = IDOK;
  bool first = true;
  for (HWND button : ChildrenOfClass(box, L"Button")) {
    if (!IsWindowVisible(button)) continue;
    seen.buttons.push_back(WindowText(button));
    if (first) first_id = GetDlgCtrlID(button);
    first = false;
  }
  Press(box, first_id);
  return seen;
}

std::vector<std::wstring> DescribeWindows(DWORD pid) {
  Collected collected{{}, nullptr, pid};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&collected));
  std::vector<std::wstring> described;
  for (HWND window : collected.windows) {
    std::wstring line = L"'" + WindowText(window) + L"' (" + ClassName(window) + L")";
    for (HWND text : ChildrenOfClass(window, L"Static")) {
      const std::wstring words = WindowText(text);
      if (!words.empty()) line += L" «" + words + L"»";
    }
    described.push_back(line);
  }
  return described;
}

}  // namespace velquior::e2e
