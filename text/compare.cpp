#include "text/compare.h"

#include <array>

namespace velquior::text {
namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 32);
  t[0x8A] = 0x9A;  // Š
  t[0x8C] = 0x9C;  // Œ
  t[0x8E] = 0x9E;  // Ž
  t[0x9F] = 0xFF;  // Ÿ
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) t[c] = static_cast<unsigned char>(c + 32);  // × has no lower case
  }
  return t;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

}  // namespace

char FoldCase(char c) { return static_cast<char>(kFold[static_cast<unsigned char>(c)]); }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

std::string FoldKey(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = FoldCase(c);
  return out;
}

}  // namespace velquior::text
