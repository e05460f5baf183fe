#pragma once
// Which encoding each string carries, for the whole program:
//
//  - std::string holding a data text (names, codes, field values, identifiers,
//    anything read from a table or the SAGA document) is Windows-1252, one byte
//    per character, positions counted from 1 as the conversions count them.
//    This is the only form the core computes on.
//  - Messages for the user (Error::message, common/messages.h) are UTF-8.
//  - Paths are std::filesystem::path in the platform's native form.
//  - libxml2, the terminal and the window take and give UTF-8; the conversion
//    happens at those edges only, through the functions below.
//  - Table files store text in the code page named by their language driver
//    byte; the table engine converts it to Windows-1252 on reading.

#include <cstdint>
#include <string>
#include <string_view>

namespace velquior::text {

enum class CodePage { kWindows1252, kIbm850, kIbm437 };

// Windows-1252 to UTF-8. Never fails: every byte has a character.
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 to Windows-1252. A character the code page cannot hold becomes "?";
// U+0080..U+009F become the byte of the same value (documents declared
// ISO-8859-1 carry them where their writer meant Windows-1252). Malformed
// UTF-8 gives one "?" per bad sequence.
std::string Utf8ToAnsi(std::string_view utf8);

// The Windows-1252 byte of a code point, or -1 when the code page lacks it.
int AnsiFromCodePoint(char32_t cp);
char32_t CodePointFromAnsi(unsigned char byte);

// Appends one code point as UTF-8; surrogates and values past U+10FFFF as
// U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// Text bytes of a table in `from` to Windows-1252.
std::string ToAnsi(std::string_view bytes, CodePage from);

}  // namespace velquior::text
