#include "text/compare.h"

#include <gtest/gtest.h>

#include <string>

#include "text/encoding.h"

namespace velquior::text {
namespace {

std::string A(const char* utf8) { return Utf8ToAnsi(utf8); }

TEST(CompareNoCase, LettersMatchTheirOtherCase) {
  const char* pairs[][2] = {{"JPL", "jpl"},
                            {"Aula", "aULA"},
                            {"É", "é"},
                            {"Ñ", "ñ"},
                            {"Š", "š"},
                            {"Œ", "œ"},
                            {"Ž", "ž"},
                            {"Ÿ", "ÿ"},
                            {"À", "à"},
                            {"Þ", "þ"},
                            {"Ð", "ð"},
                            {"Ø", "ø"},
                            {"ÁLGEBRA", "álgebra"},
                            {"Ética 1º", "éTICA 1º"}};
  for (auto& p : pairs) EXPECT_TRUE(EqualsNoCase(A(p[0]), A(p[1]))) << p[0] << " " << p[1];
}

TEST(CompareNoCase, NothingElseIsFolded) {
  const char* pairs[][2] = {{"e", "é"}, {"E", "É"},   {"n", "ñ"}, {"×", "÷"}, {"ss", "ß"}, {"ß", "SS"},
                            {"µ", "Μ"}, {"ª", "A"},   {"º", "O"}, {"ÿ", "y"}, {"1", "¹"},  {"AB", "AB "},
                            {"", " "},  {"a", "a\t"}, {"@", "`"}, {"[", "{"}};
  for (auto& p : pairs) EXPECT_FALSE(EqualsNoCase(A(p[0]), A(p[1]))) << p[0] << " " << p[1];
}

TEST(CompareNoCase, EveryByteFoldsOnlyWithItsPartner) {
  // The letters of the code page and their other case, and nothing more.
  int pairs = 0;
  for (int a = 0; a < 256; ++a) {
    for (int b = a + 1; b < 256; ++b) {
      std::string x(1, static_cast<char>(a)), y(1, static_cast<char>(b));
      bool equal = EqualsNoCase(x, y);
      EXPECT_EQ(equal, FoldKey(x) == FoldKey(y)) << a << " " << b;
      if (equal) ++pairs;
    }
  }
  EXPECT_EQ(pairs, 26 + 4 + 30);
}

}  // namespace
}  // namespace velquior::text
