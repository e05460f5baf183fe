#include "platform/code_pages.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/windows/utf16.h"

namespace velquior::platform {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// MultiByteToWideChar of `bytes`; false when a byte starts no character.
bool ToWide(std::string_view bytes, UINT code_page, DWORD flags, std::wstring& out) {
  const int in = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(code_page, flags, bytes.data(), in, nullptr, 0);
  if (n <= 0) return false;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(n));
  ::MultiByteToWideChar(code_page, flags, bytes.data(), in, out.data() + at, n);
  return true;
}

// A character at a time, as the strict conversion refused the whole: one
// replacement for a byte that starts none, and on with the next byte.
void ToWideByCharacter(std::string_view bytes, UINT code_page, std::wstring& out) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const bool lead = ::IsDBCSLeadByteEx(code_page, static_cast<BYTE>(bytes[i])) && i + 1 < bytes.size();
    if (lead && ToWide(bytes.substr(i, 2), code_page, MB_ERR_INVALID_CHARS, out)) {
      i += 2;
    } else if (!lead && ToWide(bytes.substr(i, 1), code_page, MB_ERR_INVALID_CHARS, out)) {
      ++i;
    } else {
      out += kReplacement;
      ++i;
    }
  }
}

}  // namespace

std::optional<std::string> SystemCodePageToUtf8(std::string_view bytes, int code_page) {
  if (code_page <= 0 || !::IsValidCodePage(static_cast<UINT>(code_page))) return std::nullopt;
  const auto cp = static_cast<UINT>(code_page);
  std::wstring wide;
  for (std::size_t at = 0; at < bytes.size();) {
    // Pieces the functions take; a double-byte character is not cut.
    std::size_t take = std::min<std::size_t>(bytes.size() - at, INT_MAX / 2);
    if (at + take < bytes.size() && ::IsDBCSLeadByteEx(cp, static_cast<BYTE>(bytes[at + take - 1]))) --take;
    const std::string_view piece = bytes.substr(at, take);
    if (!ToWide(piece, cp, MB_ERR_INVALID_CHARS, wide)) {
      if (::GetLastError() == ERROR_INVALID_FLAGS) {
        // A code page that takes no strictness (the stateful ones): as it converts.
        if (!ToWide(piece, cp, 0, wide)) return std::nullopt;
      } else {
        ToWideByCharacter(piece, cp, wide);
      }
    }
    at += take;
  }
  // Windows gives a byte that a single-byte code page leaves undefined the
  // C1 control of its own number (1251's 0x98 as U+0098); it forms no
  // character, as the POSIX converter says: a replacement.
  CPINFO info{};
  if (::GetCPInfo(cp, &info) && info.MaxCharSize == 1 && wide.size() == bytes.size()) {
    for (std::size_t i = 0; i < wide.size(); ++i) {
      if (static_cast<unsigned char>(bytes[i]) >= 0x80 && wide[i] >= 0x80 && wide[i] <= 0x9F) wide[i] = kReplacement;
    }
  }
  return WideToUtf8(wide);
}

}  // namespace velquior::platform
