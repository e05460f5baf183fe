#include "text/encoding.h"

#include <array>

#include "text/code_pages.h"

namespace velquior::text {
namespace {

// Reverse map of the 1252 upper half for the 27 characters outside Latin-1.
struct Reverse {
  std::array<std::pair<char16_t, unsigned char>, 128> entries{};
  int count = 0;
  constexpr Reverse() {
    for (int i = 0; i < 128; ++i) {
      char16_t u = detail::kCp1252[i];
      if (u >= 0x100) entries[count++] = {u, static_cast<unsigned char>(0x80 + i)};
    }
  }
};
constexpr Reverse kReverse;

// Decodes one UTF-8 sequence at s[i]; advances i. Returns U+FFFD on error.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra;
  char32_t cp;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    cp = b0 & 0x07;
  } else {
    return 0xFFFD;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size()) return 0xFFFD;
    auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
  return cp;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char32_t CodePointFromAnsi(unsigned char byte) { return byte < 0x80 ? byte : detail::kCp1252[byte - 0x80]; }

int AnsiFromCodePoint(char32_t cp) {
  if (cp < 0x100) return static_cast<int>(cp);  // ASCII, C1 (same byte) and Latin-1
  for (int i = 0; i < kReverse.count; ++i) {
    if (kReverse.entries[i].first == cp) return kReverse.entries[i].second;
  }
  return -1;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 4);
  for (char c : ansi) AppendUtf8(out, CodePointFromAnsi(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    int byte = AnsiFromCodePoint(NextCodePoint(utf8, i));
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

std::string ToAnsi(std::string_view bytes, CodePage from) {
  if (from == CodePage::kWindows1252) return std::string(bytes);
  const char16_t* table = from == CodePage::kIbm850 ? detail::kCp850 : detail::kCp437;
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
      continue;
    }
    int byte = AnsiFromCodePoint(table[b - 0x80]);
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

}  // namespace velquior::text
