#pragma once
// Answering the converter's own dialogs from another process, as a user
// would: the file dialog by its file-name box and its buttons, a message box
// by its only button. Every wait gives up after `timeout_ms`.

#include <windows.h>

#include <string>
#include <vector>

namespace velquior::e2e {

struct MessageBoxSeen {
  std::wstring text;
  std::vector<std::wstring> buttons;
};

// Waits for the visible window `caption` of `pid`; nullptr on timeout.
HWND AwaitWindow(DWORD pid, const std::wstring& caption, DWORD timeout_ms);

// The file-name box of an open dialog, classic or Explorer style.
HWND FileNameBox(HWND dialog);

// Types `file` into the dialog's file-name box and presses Open. False when
// the dialog has no such box.
bool ChooseFile(HWND dialog, const std::wstring& file);

void PressCancel(HWND dialog);

// Reads the box's text and buttons, then presses its first button.
MessageBoxSeen ConfirmMessageBox(HWND box);

// What the process shows besides: caption and text of each visible
// top-level window, for a failure's report.
std::vector<std::wstring> DescribeWindows(DWORD pid);

}  // namespace velquior::e2e
