#pragma once
// Little-endian integers and ASCII letter case, as the help file's
// structures store and compare them. Callers check the bounds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velquior::help {

inline std::uint64_t GetLe(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) {
    v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)])) << (8 * i);
  }
  return v;
}
inline std::uint32_t Le32(std::string_view in, std::size_t at) { return static_cast<std::uint32_t>(GetLe(in, at, 4)); }
inline std::uint16_t Le16(std::string_view in, std::size_t at) { return static_cast<std::uint16_t>(GetLe(in, at, 2)); }

inline void PutLe(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void SetLe(std::string& s, std::size_t at, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline char LowerAsciiChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerAsciiChar(c);
  return out;
}

}  // namespace velquior::help
