#pragma once
// Text in any code page a table may declare, to UTF-8, for showing a table
// as it is stored. The conversions never come here: they read Windows-1252
// (encoding.h). Code pages other than Windows-1252 go through the system's
// converter, behind platform/code_pages.h.

#include <optional>
#include <string>
#include <string_view>

namespace velquior::text {

// Bytes in `code_page` (a Windows or IBM number: 1250, 866, 936...) to
// UTF-8. Windows-1252 and 0 (none declared) by the program's own table; a
// code page the system cannot convert reads as Windows-1252 too. Bytes that
// form no character become U+FFFD.
std::string CodePageToUtf8(std::string_view bytes, int code_page);

// The system's converter alone: nullopt when it lacks `code_page`.
std::optional<std::string> SystemCodePageToUtf8(std::string_view bytes, int code_page);

}  // namespace velquior::text
