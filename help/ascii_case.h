#pragma once
// ASCII letter case, as the help file's names compare.

#include <string>
#include <string_view>

namespace velquior::help {

inline char LowerAsciiChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerAsciiChar(c);
  return out;
}

}  // namespace velquior::help
