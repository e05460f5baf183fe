#include "text/system_code_pages.h"

#include "platform/code_pages.h"
#include "text/encoding.h"

namespace velquior::text {

std::optional<std::string> SystemCodePageToUtf8(std::string_view bytes, int code_page) {
  return platform::SystemCodePageToUtf8(bytes, code_page);
}

std::string CodePageToUtf8(std::string_view bytes, int code_page) {
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(bytes);  // the same in every code page a table declares
  if (code_page != 1252 && code_page != 0) {
    if (auto utf8 = SystemCodePageToUtf8(bytes, code_page)) return *utf8;
  }
  return AnsiToUtf8(bytes);
}

}  // namespace velquior::text
