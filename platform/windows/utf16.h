#pragma once
// UTF-8 and the UTF-16 of the Win32 "W" functions, for platform/windows.

#include <string>
#include <string_view>

namespace velquior::platform {

// Invalid sequences become U+FFFD either way.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace velquior::platform
