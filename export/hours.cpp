#include "export/hours.h"

#include <cmath>

#include "text/numbers.h"

namespace velquior {
namespace {

constexpr long long kSingleSessionsMax = 13;
constexpr double kCeilingMin = -2147483648.0;
constexpr double kCeilingMax = 2147483647.0;

}  // namespace

std::optional<double> HoursFromText(std::string_view hours_text, char separator) {
  if (hours_text.empty()) return std::nullopt;
  std::string normal(hours_text);
  for (char& c : normal) {
    if (c == '.' || c == ',') c = separator;
  }
  return text::ParseFloat(normal, separator).value_or(1.0);
}

std::string SessionPattern(double hours) {
  double ceiling = std::ceil(hours);
  if (!(ceiling >= kCeilingMin && ceiling <= kCeilingMax)) return {};  // NaN fails too
  auto n = static_cast<long long>(ceiling);
  if (n <= 0) return {};
  if (n <= kSingleSessionsMax) return std::string(static_cast<std::size_t>(n), '1');
  return std::to_string(n - kSingleSessionsMax) + std::string(kSingleSessionsMax, '1');
}

}  // namespace velquior
