// A stand-in for the timetabling program under Wine: opens its own window,
// starts the converter as `velquior CONVERSION HANDLE` with that window's
// handle in hexadecimal (or the handle given), and reports on standard
// output, one "key value" line each, as things happen:
//   host HANDLE         its window, in hexadecimal
//   converter PID       the converter's process id
//   embedded CAPTION    a window of the converter seen inside the host's
//   placed L T W H DPI  where the embedded window sat when the awaited one
//                       showed, in the host's client area, and the host's dpi
//   shown MS            the awaited window visible, ms after CreateProcess
//   destroyed           the host's window destroyed (host lost)
//   ended               the converter ended by the host once the window showed
//   finished CODE       the converter's exit code
//   timeout             the converter outlived the time limit and was ended
// Watching stays in this thread, which also pumps the host window's
// messages: the converter's parenting sends messages to it.
//
//   velquior_e2e_host EXE CONVERSION [--handle HEX] [--await CAPTION]
//                     [--destroy-when-shown MS] [--end-when-shown] [--timeout MS]
//                     [--dpi-aware] [--bare] [--local-app-data DIR]
// --dpi-aware: a host that scales itself with the system's dpi.
// --bare: the converter gets the conversion word alone, no handle.
// --local-app-data: the converter's %LOCALAPPDATA% (its history's folder).

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "process_windows.h"

using namespace velquior::e2e;

namespace {

struct Options {
  std::wstring exe;
  std::wstring conversion;
  std::wstring handle;  // empty: our own
  std::wstring await = L"Archivo XML";
  long destroy_after_shown_ms = -1;  // negative: keep the window
  bool end_when_shown = false;  // for timing the start alone
  bool dpi_aware = false;
  bool bare = false;
  std::wstring local_app_data;
  long timeout_ms = 60000;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  if (argc < 3) return false;
  options.exe = argv[1];
  options.conversion = argv[2];
  for (int i = 3; i < argc; ++i) {
    const std::wstring flag = argv[i];
    if (flag == L"--end-when-shown") {
      options.end_when_shown = true;
      continue;
    }
    if (flag == L"--dpi-aware") {
      options.dpi_aware = true;
      continue;
    }
    if (flag == L"--bare") {
      options.bare = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const wchar_t* value = argv[++i];
    if (flag == L"--handle") options.handle = value;
    else if (flag == L"--await") options.await = value;
    else if (flag == L"--destroy-when-shown") options.destroy_after_shown_ms = std::wcstol(value, nullptr, 10);
    else if (flag == L"--timeout") options.timeout_ms = std::wcstol(value, nullptr, 10);
    else if (flag == L"--local-app-data") options.local_app_data = value;
    else return false;
  }
  return true;
}

void Report(const char* key, const std::string& value) {
  std::printf("%s %s\n", key, value.c_str());
  std::fflush(stdout);
}

HWND OpenHostWindow() {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = L"VelquiorE2EHost";
  RegisterClassW(&window_class);
  HWND window = CreateWindowW(L"VelquiorE2EHost", L"Zeltimor host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              1024, 768, nullptr, nullptr, window_class.hInstance, nullptr);
  if (window) ShowWindow(window, SW_SHOWNORMAL);
  return window;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);  // LF line ends: a Linux script reads the report
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Options options;
  if (!argv || !ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: velquior_e2e_host EXE CONVERSION [--handle HEX] [--await CAPTION] "
                 "[--destroy-when-shown MS] [--end-when-shown] [--timeout MS] [--dpi-aware] [--bare] "
                 "[--local-app-data DIR]\n");
    return 2;
  }
  if (options.dpi_aware) SetProcessDPIAware();
  HWND host = OpenHostWindow();
  if (!host) return 3;
  PumpMessages();
  wchar_t own[32];
  std::swprintf(own, 32, L"%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(host)));
  Report("host", Utf8(own));

  const std::wstring handle = options.handle.empty() ? std::wstring(own) : options.handle;
  std::wstring command_line = L"\"" + options.exe + L"\" " + options.conversion;
  if (!options.bare) command_line += L" " + handle;
  if (!options.local_app_data.empty()) SetEnvironmentVariableW(L"LOCALAPPDATA", options.local_app_data.c_str());
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const double started = NowMs();
  if (!CreateProcessW(options.exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                      nullptr, &startup, &process)) {
    std::fprintf(stderr, "CreateProcessW failed: %lu\n", GetLastError());
    return 3;
  }
  CloseHandle(process.hThread);
  Report("converter", std::to_string(process.dwProcessId));

  bool embedded = false;
  HWND embedded_window = nullptr;
  double shown_at = -1;
  bool destroyed = false;
  for (;;) {
    // Short waits: the window of the converter inside ours may last only
    // moments, and the time to the awaited window is what the benchmark reads.
    const DWORD wait = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1, QS_ALLINPUT);
    PumpMessages();
    if (wait == WAIT_OBJECT_0) break;
    if (!embedded && !destroyed) {
      if (HWND inner = FindDescendantOf(host, process.dwProcessId)) {
        embedded = true;
        // The embedded window may be a frame around the captioned one.
        HWND top = inner;
        while (GetParent(top) && GetParent(top) != host) top = GetParent(top);
        Report("embedded", Utf8(WindowText(top)));
        embedded_window = top;
      }
    }
    const double now = NowMs();
    if (shown_at < 0 && FindTopLevelWindow(process.dwProcessId, options.await)) {
      shown_at = now;
      char ms[32];
      std::snprintf(ms, sizeof ms, "%.1f", now - started);
      Report("shown", ms);
      if (embedded_window != nullptr && IsWindow(embedded_window)) {
        RECT r{};
        GetWindowRect(embedded_window, &r);
        MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&r), 2);
        HDC dc = GetDC(host);
        const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
        ReleaseDC(host, dc);
        Report("placed", std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
                             " " + std::to_string(r.bottom - r.top) + " " + std::to_string(dpi));
      }
      if (options.end_when_shown) {
        TerminateProcess(process.hProcess, 0);
        Report("ended", "");
      }
    }
    if (!destroyed && shown_at >= 0 && options.destroy_after_shown_ms >= 0 &&
        now - shown_at >= static_cast<double>(options.destroy_after_shown_ms)) {
      destroyed = true;
      DestroyWindow(host);
      Report("destroyed", "");
    }
    if (now - started > static_cast<double>(options.timeout_ms)) {
      TerminateProcess(process.hProcess, 259);
      WaitForSingleObject(process.hProcess, 5000);
      Report("timeout", "");
      return 1;
    }
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  Report("finished", std::to_string(static_cast<long>(code)));
  CloseHandle(process.hProcess);
  if (!destroyed) DestroyWindow(host);
  return 0;
}
