#include "text/text_helpers.h"

namespace velquior::text {
namespace {

constexpr char kBlank = ' ';

std::string_view WithoutTrailing(std::string_view s) {
  std::size_t end = s.find_last_not_of(kBlank);
  return end == std::string_view::npos ? std::string_view() : s.substr(0, end + 1);
}

std::string_view WithoutLeading(std::string_view s) {
  std::size_t begin = s.find_first_not_of(kBlank);
  return begin == std::string_view::npos ? std::string_view() : s.substr(begin);
}

}  // namespace

std::string TrimBoth(std::string_view s) { return std::string(WithoutLeading(WithoutTrailing(s))); }
std::string TrimLeading(std::string_view s) { return std::string(WithoutLeading(s)); }
std::string TrimTrailing(std::string_view s) { return std::string(WithoutTrailing(s)); }

std::string TailChars(std::string_view s, std::ptrdiff_t n) {
  if (n <= 0) return {};
  auto count = static_cast<std::size_t>(n);
  return count >= s.size() ? std::string(s) : std::string(s.substr(s.size() - count));
}

std::string HeadChars(std::string_view s, std::ptrdiff_t n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, static_cast<std::size_t>(n)));
}

std::string UpperLetters(std::string_view s) {
  std::string out;
  for (char c : s) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') out += c;
  }
  return out;
}

std::string LettersAfterBlanks(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    if (s[i] == kBlank) out += s[i + 1];
  }
  return out;
}

}  // namespace velquior::text
