#include "export/hours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace velquior {
namespace {

TEST(BuilderHoursText, ConvertsUnderEitherSeparator) {
  struct Row {
    const char* text;
    std::optional<double> value;
  };
  const Row rows[] = {
      {"", std::nullopt},
      {"4", 4},
      {"2.5", 2.5},
      {"2,5", 2.5},
      {"16", 16},
      {"0", 0},
      {" 3 ", 3},
      {"-2.5", -2.5},
      {"+1", 1},
      {"1e1", 10},
      {"1E+1", 10},
      {"2.5e-1", 0.25},
      {".5", 0.5},
      {"5.", 5},
      // Not a plain decimal number: 1.
      {"abc", 1},
      {"1.2.3", 1},
      {"1,000.5", 1},
      {"inf", 1},
      {"nan", 1},
      {"0x10", 1},
      {"4h", 1},
      {"1e", 1},
      {"\t4", 1},
      {".", 1},
      {"-", 1},
      {"1e999", 1},
      {" ", 1},
  };
  for (char separator : {'.', ','}) {
    for (const Row& r : rows) {
      EXPECT_EQ(HoursFromText(r.text, separator), r.value) << '"' << r.text << "\" with " << separator;
    }
  }
}

TEST(BuilderSessions, PatternByCeiling) {
  struct Row {
    double hours;
    std::string pattern;
  };
  const std::string t13(13, '1');
  const Row rows[] = {
      {0, ""},
      {-2.5, ""},
      {-0.5, ""},
      {0.1, "1"},
      {1, "1"},
      {2.5, "111"},
      {4, "1111"},
      {13, t13},
      {13.2, "1" + t13},
      {14, "1" + t13},
      {15, "2" + t13},
      {16, "3" + t13},
      {23, "10" + t13},
      {2147483647.0, "2147483634" + t13},
      // Beyond a 32-bit ceiling there is no pattern.
      {2147483647.5, ""},
      {1e300, ""},
      {-1e300, ""},
      {std::numeric_limits<double>::infinity(), ""},
      {std::nan(""), ""},
  };
  for (const Row& r : rows) EXPECT_EQ(SessionPattern(r.hours), r.pattern) << r.hours;
}

}  // namespace
}  // namespace velquior
