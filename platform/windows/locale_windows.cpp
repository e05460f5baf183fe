#include "platform/locale.h"

#include <windows.h>

#include "platform/windows/utf16.h"

namespace velquior::platform {

// The user's regional settings decide; LC_ALL and LANG mean nothing here.
std::string NumericLocaleName() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  if (::GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) == 0) return {};
  return WideToUtf8(name);
}

std::optional<char> LocaleDecimalSeparator(const std::string& name) {
  const std::wstring wide = Utf8ToWide(name);
  wchar_t separator[8] = {};
  if (name.empty() || ::GetLocaleInfoEx(wide.c_str(), LOCALE_SDECIMAL, separator, 8) == 0) return std::nullopt;
  if (separator[0] == L'\0' || separator[1] != L'\0') return '.';
  if (separator[0] < 0x80) return static_cast<char>(separator[0]);
  // One byte of Windows-1252, the tables' code page, or none.
  char byte = 0;
  BOOL lossy = FALSE;
  if (::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, separator, 1, &byte, 1, nullptr, &lossy) != 1 || lossy) {
    return '.';
  }
  return byte;
}

}  // namespace velquior::platform
