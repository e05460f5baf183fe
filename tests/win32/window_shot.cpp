// Saves a picture of the Win32 main window as it opens, as a 24-bit BMP:
// velquior_win32_window_shot OUT.bmp [disabled]. Read from the screen under
// Wine, so it shows what the display shows (scripts/bmp_to_png.py turns it
// into the PNG of the documentation).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/win32/main_form.h"
#include "help/help_request.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: velquior_win32_window_shot OUT.bmp [disabled]\n");
    return 2;
  }
  SetProcessDPIAware();
  velquior::help::NoHelp help;
  velquior::win32::FormSetup setup;
  setup.help = &help;
  velquior::win32::MainForm form(std::move(setup));
  form.ShowForm();
  if (argc == 3) form.DisableConversionButtons();
  const DWORD until = GetTickCount() + 1000;
  while (GetTickCount() < until) {  // let it draw
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!form.PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    Sleep(20);
  }

  RECT client{};
  GetClientRect(form.Hwnd(), &client);
  POINT origin{0, 0};
  ClientToScreen(form.Hwnd(), &origin);
  const int width = client.right, height = client.bottom;
  const int stride = (width * 3 + 3) & ~3;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * height);
  FILE* out = std::fopen(argv[1], "wb");
  bool ok = out != nullptr;
  if (ok) {
    ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
         std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
         std::fwrite(bits, static_cast<std::size_t>(stride * height), 1, out) == 1;
    ok = std::fclose(out) == 0 && ok;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return ok ? 0 : 1;
}
