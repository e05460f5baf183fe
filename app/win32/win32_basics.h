#pragma once
// Small helpers every part of the Win32 window uses: UTF-8 texts as the "W"
// functions want them, and pixels at 96 dpi scaled to the monitor's.

#include <windows.h>

#include <string>
#include <string_view>

#include "shell/form_layout.h"

namespace velquior::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The screen's logical dots per inch (96 unless the user scaled the display).
int ScreenDpi();

inline int Scale(int value_at_96, int dpi) { return MulDiv(value_at_96, dpi, 96); }

inline RECT ScaleRect(const shell::Rect& r, int dpi) {
  const int left = Scale(r.left, dpi), top = Scale(r.top, dpi);
  return {left, top, left + Scale(r.width, dpi), top + Scale(r.height, dpi)};
}

inline COLORREF ToColorRef(shell::Rgb c) { return RGB(c.r, c.g, c.b); }

// The text of a window (a control's caption), in UTF-16.
std::wstring WindowText(HWND hwnd);

// Draws through a bitmap of the area's size, then copies it to `target` in
// one go, so that nothing flickers. `draw(memory_dc, width, height)`.
template <typename Draw>
void OffScreen(HDC target, const RECT& area, Draw draw) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  HDC memory = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory, width, height);
  BitBlt(target, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

}  // namespace velquior::win32
