#pragma once
// Writing one value into an INI file the way the platform's profile writer
// does: section and key matched without regard to ASCII case (the first of
// each wins), the value replaced in place, the section or key added where
// missing, and every other byte of the file kept as it was.

#include <filesystem>
#include <string>
#include <string_view>

namespace velquior::shell {

// `content` with `key` in `section` set to `value`. Lines end as the file's
// first line does (CRLF when the file has no line break yet). A new key goes
// after the last non-blank line of its section; a new section at the end.
std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value);

// The same on a file, created when missing and replaced atomically. Raises
// Error("Unable to write to <full name>") when the file cannot be read or
// written; the file is then left as it was.
void WriteIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key,
                   std::string_view value);

}  // namespace velquior::shell
