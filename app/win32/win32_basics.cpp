#include "app/win32/win32_basics.h"

#include "platform/windows/utf16.h"

namespace velquior::win32 {

std::wstring Wide(std::string_view utf8) { return platform::Utf8ToWide(utf8); }

std::string Utf8(std::wstring_view wide) { return platform::WideToUtf8(wide); }

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

}  // namespace velquior::win32
