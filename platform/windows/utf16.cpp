#include "platform/windows/utf16.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace velquior::platform {

// Both in pieces of at most INT_MAX units, the functions' limit; a piece of
// UTF-8 never ends inside a character.
std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring out;
  while (!utf8.empty()) {
    std::size_t take = std::min<std::size_t>(utf8.size(), INT_MAX / 2);
    while (take < utf8.size() && take > 0 && (static_cast<unsigned char>(utf8[take]) & 0xC0) == 0x80) --take;
    const int in = static_cast<int>(take);
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, nullptr, 0);
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, out.data() + at, n);
    utf8.remove_prefix(take);
  }
  return out;
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string out;
  while (!wide.empty()) {
    std::size_t take = std::min<std::size_t>(wide.size(), INT_MAX / 4);
    if (take < wide.size() && wide[take - 1] >= 0xD800 && wide[take - 1] <= 0xDBFF) --take;  // a pair stays whole
    const int in = static_cast<int>(take);
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), in, nullptr, 0, nullptr, nullptr);
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), in, out.data() + at, n, nullptr, nullptr);
    wide.remove_prefix(take);
  }
  return out;
}

}  // namespace velquior::platform
