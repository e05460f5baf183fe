// Answers one dialog of a running converter, for the end-to-end test:
//   velquior_dialog_driver abrir PID FILE   types FILE into "Archivo XML", Open
//   velquior_dialog_driver cancelar PID     "Archivo XML", Cancel
//   velquior_dialog_driver aviso PID        the "Velquior" box: prints
//                                           "texto ..." and "botones a|b",
//                                           presses its button
// Exits 1, describing what the process shows, when the dialog does not come.

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "dialog_driver.h"
#include "process_windows.h"

using namespace velquior::e2e;

namespace {

constexpr DWORD kTimeoutMs = 30000;

int NotFound(DWORD pid, const wchar_t* caption) {
  std::printf("sin-ventana %s\n", Utf8(caption).c_str());
  for (const auto& line : DescribeWindows(pid)) std::printf("visible %s\n", Utf8(line).c_str());
  return 1;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);  // LF line ends: a Linux script reads the report
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 3) {
    std::fprintf(stderr, "usage: velquior_dialog_driver abrir|cancelar|aviso PID [FILE]\n");
    return 2;
  }
  const std::wstring action = argv[1];
  const DWORD pid = std::wcstoul(argv[2], nullptr, 10);
  if (action == L"abrir" || action == L"cancelar") {
    HWND dialog = AwaitWindow(pid, L"Archivo XML", kTimeoutMs);
    if (!dialog) return NotFound(pid, L"Archivo XML");
    if (action == L"cancelar") {
      PressCancel(dialog);
      return 0;
    }
    if (argc < 4) return 2;
    if (!ChooseFile(dialog, argv[3])) {
      std::printf("sin-casilla-de-nombre\n");
      return 1;
    }
    return 0;
  }
  if (action == L"aviso") {
    HWND box = AwaitWindow(pid, L"Velquior", kTimeoutMs);
    if (!box) return NotFound(pid, L"Velquior");
    const MessageBoxSeen seen = ConfirmMessageBox(box);
    std::wstring buttons;
    for (const auto& button : seen.buttons) buttons += (buttons.empty() ? L"" : L"|") + button;
    std::printf("texto %s\nbotones %s\n", Utf8(seen.text).c_str(), Utf8(buttons).c_str());
    return 0;
  }
  return 2;
}
