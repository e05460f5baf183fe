#pragma once
// Integers as file formats store them, little-endian unless the name says
// otherwise. Callers check the bounds; these only assemble and take apart.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velquior {

// The `bytes`-byte little-endian integer at `at`.
inline std::uint64_t GetLe(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) {
    v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)])) << (8 * i);
  }
  return v;
}
inline std::uint16_t Le16(std::string_view in, std::size_t at) { return static_cast<std::uint16_t>(GetLe(in, at, 2)); }
inline std::uint32_t Le32(std::string_view in, std::size_t at) { return static_cast<std::uint32_t>(GetLe(in, at, 4)); }
inline std::uint64_t Le64(std::string_view in, std::size_t at) { return GetLe(in, at, 8); }

// Big-endian, as a few dBASE field types store numbers.
inline std::uint32_t Be32(std::string_view in, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(in[at + i]);
  return v;
}
inline std::uint64_t Be64(std::string_view in, std::size_t at) {
  return (static_cast<std::uint64_t>(Be32(in, at)) << 32) | Be32(in, at + 4);
}

// Writes the low `bytes` bytes of `v`, little-endian, at `out`.
inline void SetLe(char* out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void SetLe(std::string& s, std::size_t at, std::uint64_t v, int bytes) { SetLe(s.data() + at, v, bytes); }

// Appends them.
inline void PutLe(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace velquior
