#pragma once
// Text in a code page of the system's converter, to UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace velquior::platform {

// Bytes in `code_page` (a Windows or IBM number: 1250, 866, 936...) to
// UTF-8; a byte that starts no character, or a sequence cut short, becomes
// one U+FFFD and the next byte goes on. nullopt when the system lacks the
// code page.
std::optional<std::string> SystemCodePageToUtf8(std::string_view bytes, int code_page);

}  // namespace velquior::platform
