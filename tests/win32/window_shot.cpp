// Saves a picture of the Win32 main window as it opens, or of its message
// box, as a 24-bit BMP: velquior_win32_window_shot OUT.bmp [disabled|box].
// Read from the screen under Wine, so it shows what the display shows
// (scripts/bmp_to_png.py turns it into the PNG of the documentation).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/win32/main_form.h"
#include "app/win32/message_boxes.h"
#include "help/help_request.h"

namespace {

// The screen's pixels in `area` (screen coordinates), written to `path`.
bool SaveScreenArea(const RECT& area, const char* path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  const int stride = (width * 3 + 3) & ~3;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * height);
  FILE* out = std::fopen(path, "wb");
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
  return ok;
}

const char* box_shot = nullptr;
bool box_saved = false;

// Once the box has drawn itself: its picture, then its button pressed.
void CALLBACK ShootBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", nullptr);
  if (box == nullptr || !IsWindowVisible(box)) return;
  KillTimer(nullptr, timer);
  UpdateWindow(box);
  RECT r{};
  GetWindowRect(box, &r);
  box_saved = SaveScreenArea(r, box_shot);
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[2] : "";
  if ((argc != 2 && argc != 3) || (argc == 3 && mode != "disabled" && mode != "box")) {
    std::fprintf(stderr, "usage: velquior_win32_window_shot OUT.bmp [disabled|box]\n");
    return 2;
  }
  SetProcessDPIAware();
  if (mode == "box") {
    box_shot = argv[1];
    SetTimer(nullptr, 0, 500, ShootBox);
    velquior::win32::ShowBox(nullptr, "Proceso finalizado", velquior::win32::BoxKind::kPlain);
    return box_saved ? 0 : 1;
  }
  velquior::help::NoHelp help;
  velquior::win32::FormSetup setup;
  setup.help = &help;
  velquior::win32::MainForm form(std::move(setup));
  form.ShowForm();
  if (mode == "disabled") form.DisableConversionButtons();
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
  return SaveScreenArea({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom}, argv[1]) ? 0 : 1;
}
