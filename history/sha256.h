#pragma once
// SHA-256 of a stream of bytes, for telling whether a kept copy is still
// the file it was.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velquior::history {

class Sha256 {
 public:
  Sha256();
  void Add(std::string_view bytes);
  // The digest in lower-case hexadecimal; the object is spent afterwards.
  std::string HexDigest();

 private:
  void Block(const unsigned char* block);

  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;  // bytes added
};

}  // namespace velquior::history
