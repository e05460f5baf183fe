#pragma once
// Small pieces the dBASE reader's parts share (integers: common/bytes.h):
// showing bytes in messages, trimming pads. Callers check the bounds;
// these only assemble.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::tables::dbf::bytes {

inline std::uint8_t U8(std::string_view b, std::size_t at) { return static_cast<std::uint8_t>(b[at]); }

inline bool AllBytes(std::string_view b, char c) {
  for (char x : b) {
    if (x != c) return false;
  }
  return true;
}

inline std::string Hex(std::string_view b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : b) {
    auto c = static_cast<unsigned char>(ch);
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

inline std::string HexByte(std::uint8_t c) { return Hex(std::string_view(reinterpret_cast<const char*>(&c), 1)); }

inline std::string Num(std::uint64_t n) { return std::to_string(n); }

[[noreturn]] inline void Damaged(std::string_view label, const std::string& why) {
  throw Error(Format(msg::kTablaDanada, {label, why}));
}

// Blanks and NULs around a value.
inline bool IsPad(char c) { return c == ' ' || c == '\0'; }

inline std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsPad(s.back())) s.remove_suffix(1);
  return s;
}

inline std::string_view TrimBoth(std::string_view s) {
  while (!s.empty() && IsPad(s.front())) s.remove_prefix(1);
  return TrimRight(s);
}

}  // namespace velquior::tables::dbf::bytes
