// The converter's dialogs without the converter, for the tools of the
// end-to-end test to be tried on their own: `dialog_standin CONVERSION
// HANDLE` puts a window inside HANDLE, asks for the file in "Archivo XML",
// says whether it exists in a "Velquior" box (opening in
// %VELQUIOR_WORKDIR%\saga when set) and ends with 1 when it does,
// else 0. No conversion, no Zeltimor.ini.

#include <windows.h>
#include <commdlg.h>

#include <cwchar>
#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 3) return 2;
  HWND host = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(argv[2], nullptr, 16)));
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"VelquiorStandIn";
  RegisterClassW(&window_class);
  HWND form = CreateWindowW(L"VelquiorStandIn", L"Exportar e importar datos entre Zeltimor y SAGA", WS_CHILD, 0, 0,
                            632, 266, IsWindow(host) ? host : HWND_MESSAGE, nullptr, instance, nullptr);

  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW open = {};
  open.lStructSize = sizeof open;
  open.hwndOwner = nullptr;  // ours sits in another process's window
  open.lpstrFilter = L"XML\0*.xml\0";
  open.lpstrFile = file;
  open.nMaxFile = MAX_PATH;
  open.lpstrTitle = L"Archivo XML";
  // Where the converter's dialog opens, so that both list the same folder.
  wchar_t work_dir[MAX_PATH] = {};
  std::wstring saga;
  if (GetEnvironmentVariableW(L"VELQUIOR_WORKDIR", work_dir, MAX_PATH) > 0) {
    saga = std::wstring(work_dir) + L"\\saga";
    open.lpstrInitialDir = saga.c_str();
  }
  open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
  const bool chosen = GetOpenFileNameW(&open) != 0;
  MessageBoxW(nullptr, chosen ? L"Proceso finalizado" : L"No existe archivo", L"Velquior", MB_OK);
  if (form) DestroyWindow(form);
  return chosen ? 1 : 0;
}
