#pragma once
// Pure functions that clean names read from the SAGA document and pick their
// characters for codes. Windows-1252 bytes, one byte per character. The blank
// is the space character alone: tabs, line breaks and non-breaking spaces are
// never blanks. None keeps state or fails on any input.

#include <cstddef>
#include <string>
#include <string_view>

namespace velquior::text {

// Without leading and/or trailing blanks; all blanks give the empty text.
std::string TrimBoth(std::string_view s);
std::string TrimLeading(std::string_view s);
std::string TrimTrailing(std::string_view s);

// The last / first n characters; the whole text when n is at least its
// length, the empty text when n is 0 or less.
std::string TailChars(std::string_view s, std::ptrdiff_t n);
std::string HeadChars(std::string_view s, std::ptrdiff_t n);

// The characters of codes 65 to 90 (A to Z), in order; accented capitals are
// not among them.
std::string UpperLetters(std::string_view s);

// For each blank that has a character after it, that character (whatever it
// is, another blank included), in order.
std::string LettersAfterBlanks(std::string_view s);

}  // namespace velquior::text
