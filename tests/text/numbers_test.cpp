#include "text/numbers.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>

#include "common/error.h"

namespace velquior::text {
namespace {

struct FloatCase {
  const char* text;
  char sep;
  std::optional<double> want;
};

// Names the case by its text, so CTest's test names are readable and the
// same in every build (the default names print the pointers' bytes).
void PrintTo(const FloatCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(std::string(c.text)) << " sep '" << c.sep << "'";
}

class NumbersParseFloat : public ::testing::TestWithParam<FloatCase> {};

TEST_P(NumbersParseFloat, ReadsExactlyTheStrictGrammar) {
  const auto& c = GetParam();
  auto got = ParseFloat(c.text, c.sep);
  ASSERT_EQ(got.has_value(), c.want.has_value()) << "'" << c.text << "'";
  if (c.want) {
    EXPECT_DOUBLE_EQ(*got, *c.want) << "'" << c.text << "'";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, NumbersParseFloat,
                         ::testing::Values(FloatCase{"4", '.', 4}, FloatCase{"2.5", '.', 2.5},
                                           FloatCase{"2,5", ',', 2.5}, FloatCase{"2,5", '.', std::nullopt},
                                           FloatCase{"2.5", ',', std::nullopt}, FloatCase{"  -1.5  ", '.', -1.5},
                                           FloatCase{"+3", '.', 3}, FloatCase{".5", '.', 0.5}, FloatCase{"5.", '.', 5},
                                           FloatCase{"1e3", '.', 1000}, FloatCase{"1E-2", '.', 0.01},
                                           FloatCase{"2,5e+1", ',', 25}, FloatCase{"", '.', std::nullopt},
                                           FloatCase{"   ", '.', std::nullopt}, FloatCase{".", '.', std::nullopt},
                                           FloatCase{"1.2.3", '.', std::nullopt}, FloatCase{"1e", '.', std::nullopt},
                                           FloatCase{"inf", '.', std::nullopt}, FloatCase{"nan", '.', std::nullopt},
                                           FloatCase{"0x10", '.', std::nullopt}, FloatCase{"4h", '.', std::nullopt},
                                           FloatCase{"1e999", '.', std::nullopt},
                                           FloatCase{"0.001e312", '.', std::nullopt}, FloatCase{"12345e-330", '.', 0.0},
                                           FloatCase{"\t4", '.', std::nullopt}, FloatCase{"- 4", '.', std::nullopt},
                                           FloatCase{"1e-999", '.', 0.0}));

struct IntCase {
  const char* text;
  std::optional<std::int32_t> want;
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << ::testing::PrintToString(std::string(c.text)); }

class NumbersParseInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(NumbersParseInt, ReadsDecimalAndHexadecimal) {
  const auto& c = GetParam();
  EXPECT_EQ(ParseInt(c.text), c.want) << "'" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(Cases, NumbersParseInt,
                         ::testing::Values(IntCase{"0", 0}, IntCase{"7", 7}, IntCase{" 1", 1}, IntCase{"01", 1},
                                           IntCase{"-12", -12}, IntCase{"+5", 5}, IntCase{"2147483647", 2147483647},
                                           IntCase{"2147483648", std::nullopt}, IntCase{"-2147483648", INT32_MIN},
                                           IntCase{"$1A2B3C", 0x1A2B3C}, IntCase{"$ff", 255}, IntCase{"0x10", 16},
                                           IntCase{"$FFFFFFFF", -1}, IntCase{"$100000000", std::nullopt},
                                           IntCase{"$xyz", std::nullopt}, IntCase{"$", std::nullopt},
                                           IntCase{"", std::nullopt}, IntCase{"1 ", std::nullopt},
                                           IntCase{"1.0", std::nullopt}, IntCase{"abc", std::nullopt}));

TEST(NumbersConversionErrors, CarryTheTextInTheMessage) {
  SetDecimalSeparator('.');
  auto message = [](auto fn) {
    try {
      fn();
    } catch (const Error& e) {
      return std::string(e.message());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([] { StrToInt("$xyz"); }), "'$xyz' no es un valor entero válido");
  EXPECT_EQ(message([] { StrToInt(""); }), "'' no es un valor entero válido");
  // The text is Windows-1252 inside and shown as UTF-8.
  EXPECT_EQ(message([] { StrToFloat("\xBD"); }), "'\xC2\xBD' no es un valor punto flotante válido");
  EXPECT_EQ(message([] { StrToFloat("2,5"); }), "'2,5' no es un valor punto flotante válido");
  SetDecimalSeparator(',');
  EXPECT_DOUBLE_EQ(StrToFloat("2,5"), 2.5);
  SetDecimalSeparator('.');
}

TEST(NumbersFormat, ShortestAndGeneral) {
  EXPECT_EQ(FormatShortest(3.0, ','), "3");
  EXPECT_EQ(FormatShortest(2.5, ','), "2,5");
  EXPECT_EQ(FormatShortest(-0.0, '.'), "0");
  EXPECT_EQ(FormatShortest(0.1 + 0.2, '.'), "0.30000000000000004");
  EXPECT_EQ(FormatShortest(100000, '.'), "100000");
  EXPECT_EQ(FormatShortest(-16, '.'), "-16");
  EXPECT_EQ(FormatShortest(0.00001, ','), "0,00001");
  EXPECT_EQ(FormatShortest(1.5e-7, ','), "1,5E-7");
  EXPECT_EQ(FormatShortest(1e20, '.'), "1E+20");
  EXPECT_EQ(FormatShortest(123456789012345.0, '.'), "123456789012345");
  EXPECT_EQ(FormatShortest(1e15, '.'), "1E+15");
  EXPECT_EQ(FormatShortest(1234.5678, '.'), "1234.5678");
  for (double v : {0.1, 2.0 / 3, 1e-300, 6.02214076e23, -1234.5678, 4294967296.5}) {
    EXPECT_EQ(*ParseFloat(FormatShortest(v, '.'), '.'), v) << v;  // reads back exactly
  }
  EXPECT_EQ(FormatGeneral(0.1 + 0.2, 15, '.'), "0.3");
  EXPECT_EQ(FormatGeneral(1.5, 15, ','), "1,5");
  EXPECT_EQ(FormatGeneral(-1, 15, ','), "-1");
  EXPECT_EQ(FormatGeneral(40, 15, ','), "40");
  EXPECT_EQ(FormatGeneral(1e20, 15, '.'), "1E+20");
}

TEST(NumbersRounding, HalvesGoToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
  EXPECT_EQ(RoundHalfEven(1e12), INT32_MAX);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

}  // namespace
}  // namespace velquior::text
