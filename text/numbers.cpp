#include "text/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"
#include "platform/locale.h"
#include "text/encoding.h"

namespace velquior::text {
namespace {

char g_separator = '.';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Languages whose usual decimal separator is a comma, for locales that are
// named in the environment but not installed on this machine.
bool LanguageUsesComma(std::string_view name) {
  static constexpr std::string_view kComma[] = {"es", "ca", "gl", "eu", "fr", "de", "it", "pt", "nl", "da", "sv",
                                                "nb", "nn", "no", "fi", "pl", "cs", "sk", "sl", "hr", "sr", "bs",
                                                "ro", "hu", "bg", "ru", "uk", "el", "tr", "lt", "lv", "et", "is",
                                                "id", "vi", "be", "mk", "sq", "af", "az", "kk", "ky", "uz", "mn"};
  std::string_view lang = name.substr(0, name.find_first_of("_-.@"));
  for (auto l : kComma) {
    if (lang == l) return true;
  }
  return false;
}

// Position of the first significant digit of a normalised number text
// ("-0.00123e5"), as the power of ten it stands for, plus one: > 0 for
// values of at least 1. Only called for out-of-range texts, which have one.
long DecimalMagnitude(std::string_view normal) {
  long exponent = 0;
  if (auto e = normal.find('e'); e != std::string_view::npos) {
    std::string_view digits = normal.substr(e + 1);
    bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    for (char c : digits) exponent = std::min<long>(exponent * 10 + (c - '0'), 100000000L);
    if (negative) exponent = -exponent;
    normal = normal.substr(0, e);
  }
  long position = 0;  // digits before the point, counted from the first significant one
  bool seen_point = false, significant = false;
  for (char c : normal) {
    if (c == '.') {
      seen_point = true;
    } else if (IsDigit(c)) {
      if (c != '0') significant = true;
      if (!seen_point && significant) ++position;
      if (seen_point && !significant) --position;
      if (significant && seen_point) break;
    }
  }
  return exponent + position;
}

// Shortest round-trip digits and decimal exponent of a finite non-zero value.
struct Shortest {
  std::string digits;  // no leading or trailing zeros
  int exponent;        // value = 0.d1d2... x 10^exponent ... written as d1.d2... e(exponent)
  bool negative;
};

Shortest ShortestDigits(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  std::string_view s(buf, ec == std::errc() ? static_cast<std::size_t>(end - buf) : 0);
  Shortest out{{}, 0, false};
  if (!s.empty() && s[0] == '-') {
    out.negative = true;
    s.remove_prefix(1);
  }
  auto e = s.find('e');
  for (char c : s.substr(0, e)) {
    if (c != '.') out.digits += c;
  }
  while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
  std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), out.exponent);
  return out;
}

}  // namespace

char DecimalSeparator() { return g_separator; }
void SetDecimalSeparator(char separator) { g_separator = separator; }

char DecimalSeparatorFromEnvironment() {
  const std::string name = platform::NumericLocaleName();
  if (name.empty()) return '.';
  if (auto separator = platform::LocaleDecimalSeparator(name)) return *separator;
  return LanguageUsesComma(name) ? ',' : '.';
}

std::optional<double> ParseFloat(std::string_view s, char separator) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  std::string normal;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') normal += '-';
    ++i;
  }
  bool digits = false, seen_sep = false;
  while (i < n) {
    if (IsDigit(s[i])) {
      digits = true;
      normal += s[i];
    } else if (s[i] == separator && !seen_sep) {
      seen_sep = true;
      normal += '.';
    } else {
      break;
    }
    ++i;
  }
  if (!digits) return std::nullopt;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) normal += s[i++];
    bool exp_digits = false;
    while (i < n && IsDigit(s[i])) {
      normal += s[i++];
      exp_digits = true;
    }
    if (!exp_digits) return std::nullopt;
  }
  while (i < n && s[i] == ' ') ++i;
  if (i != n) return std::nullopt;
  double value = 0;
  auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small is zero; too large is no value.
    if (DecimalMagnitude(normal) > 0) return std::nullopt;
    return 0.0;
  }
  if (ec != std::errc() || ptr != normal.data() + normal.size()) return std::nullopt;
  return value;
}

std::optional<std::int32_t> ParseInt(std::string_view s) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return std::nullopt;
  std::uint64_t value = 0;
  for (; i < n; ++i) {
    int d = hex ? HexValue(s[i]) : (IsDigit(s[i]) ? s[i] - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    auto bits = static_cast<std::uint32_t>(value);
    auto v = static_cast<std::int32_t>(bits);
    return negative ? static_cast<std::int32_t>(0u - bits) : v;
  }
  if (negative) {
    if (value > 2147483648ull) return std::nullopt;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
  }
  if (value > 2147483647ull) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::string_view ansi_text) {
  if (auto v = ParseInt(ansi_text)) return *v;
  throw Error(Format(msg::kEnteroNoValido, {AnsiToUtf8(ansi_text)}));
}

double StrToFloat(std::string_view ansi_text) {
  if (auto v = ParseFloat(ansi_text, g_separator)) return *v;
  throw Error(Format(msg::kFlotanteNoValido, {AnsiToUtf8(ansi_text)}));
}

std::string FormatShortest(double value, char separator) {
  if (value == 0) return "0";  // also -0
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  Shortest d = ShortestDigits(value);
  std::string out = d.negative ? "-" : "";
  const int n = static_cast<int>(d.digits.size());
  if (d.exponent < -5 || d.exponent >= 15) {
    // Far from 1: scientific, as the general format writes it.
    out += d.digits[0];
    if (n > 1) out += separator + d.digits.substr(1);
    out += d.exponent < 0 ? "E-" : "E+";
    out += std::to_string(std::abs(d.exponent));
  } else if (d.exponent < 0) {
    out += "0";
    out += separator;
    out += std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
  } else if (n <= d.exponent + 1) {
    out += d.digits + std::string(static_cast<std::size_t>(d.exponent + 1 - n), '0');
  } else {
    out += d.digits.substr(0, static_cast<std::size_t>(d.exponent) + 1) + separator +
           d.digits.substr(static_cast<std::size_t>(d.exponent) + 1);
  }
  return out;
}

std::string FormatGeneral(double value, int digits, char separator) {
  if (value == 0) return "0";
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
  std::string out(buf, ec == std::errc() ? end : buf);
  std::string exponent;
  if (auto e = out.find('e'); e != std::string::npos) {
    exponent = "E" + out.substr(e + 1);
    out.resize(e);
  }
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  for (char& c : out) {
    if (c == '.') c = separator;
  }
  return out + exponent;
}

std::int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
  if (r >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(r);
}

}  // namespace velquior::text
