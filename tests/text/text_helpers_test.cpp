#include "text/text_helpers.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "text/encoding.h"

namespace velquior::text {
namespace {

std::string A(const char* utf8) { return Utf8ToAnsi(utf8); }

struct Case {
  const char* name;
  std::string (*fn)(std::string_view);
  std::string in;
  std::string out;
};

// Names the case, so CTest's test names are readable and the same in every build.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::string Tail1(std::string_view s) { return TailChars(s, 1); }
std::string Tail5(std::string_view s) { return TailChars(s, 5); }
std::string Head6(std::string_view s) { return HeadChars(s, 6); }

class TextHelpersExamples : public ::testing::TestWithParam<Case> {};

TEST_P(TextHelpersExamples, GiveTheirResult) {
  const Case& c = GetParam();
  EXPECT_EQ(c.fn(c.in), c.out) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, TextHelpersExamples,
    ::testing::Values(Case{"trim both", TrimBoth, "  Aula 3  ", "Aula 3"},
                      Case{"upper accented", UpperLetters, A("Educación Física"), "EF"},
                      Case{"upper accented capital dropped", UpperLetters, A("ÁLGEBRA II"), "LGEBRAII"},
                      Case{"after blanks", LettersAfterBlanks, "Lengua Castellana y Literatura", "CyL"},
                      Case{"after two blanks and trailing", LettersAfterBlanks, "Taller  de 2 horas ", " d2h"},
                      Case{"after blanks none", LettersAfterBlanks, A("Música"), ""},
                      Case{"tail 1", Tail1, A("1º ESO A"), "A"}, Case{"head 6", Head6, A("Matemáticas"), A("Matemá")},
                      Case{"tail longer than text", Tail5, "AB", "AB"}));

INSTANTIATE_TEST_SUITE_P(EdgeCases, TextHelpersExamples,
                         ::testing::Values(Case{"trim empty", TrimBoth, "", ""},
                                           Case{"trim only blanks", TrimBoth, "    ", ""},
                                           Case{"leading only blanks", TrimLeading, "   ", ""},
                                           Case{"trailing only blanks", TrimTrailing, "   ", ""},
                                           Case{"leading keeps trailing", TrimLeading, "  a b  ", "a b  "},
                                           Case{"trailing keeps leading", TrimTrailing, "  a b  ", "  a b"},
                                           Case{"tab is no blank", TrimBoth, " a \t", "a \t"},
                                           Case{"tab first is no blank", TrimBoth, "\t a ", "\t a"},
                                           Case{"nbsp is no blank", TrimBoth, " a\xA0", "a\xA0"},
                                           Case{"line break is no blank", TrimTrailing, "a \n", "a \n"},
                                           Case{"upper empty", UpperLetters, "", ""},
                                           Case{"upper bounds", UpperLetters, "@AZ[`az{", "AZ"},
                                           Case{"upper high bytes", UpperLetters, "\xC1\xC9\xD1\xC7\x8A\xDE", ""},
                                           Case{"upper keeps order", UpperLetters, "x1Y2z3W", "YW"},
                                           Case{"after blanks empty", LettersAfterBlanks, "", ""},
                                           Case{"first char never taken", LettersAfterBlanks, "Abc", ""},
                                           Case{"leading blank takes next", LettersAfterBlanks, " Abc", "A"},
                                           Case{"lone blank", LettersAfterBlanks, " ", ""},
                                           Case{"three blanks", LettersAfterBlanks, "a   b", "  b"},
                                           Case{"digits and signs", LettersAfterBlanks, "x 1 - \xC9", "1-\xC9"},
                                           Case{"tab not a blank", LettersAfterBlanks, "a\tb c", "c"}));

TEST(TextHelpersCounts, HeadAndTailAtTheirLimits) {
  struct Row {
    std::ptrdiff_t n;
    const char* head;
    const char* tail;
  };
  const Row rows[] = {{-5, "", ""},        {-1, "", ""},          {0, "", ""},           {1, "a", "e"},
                      {4, "abcd", "bcde"}, {5, "abcde", "abcde"}, {6, "abcde", "abcde"}, {1000000, "abcde", "abcde"}};
  for (const Row& r : rows) {
    EXPECT_EQ(HeadChars("abcde", r.n), r.head) << r.n;
    EXPECT_EQ(TailChars("abcde", r.n), r.tail) << r.n;
  }
  EXPECT_EQ(HeadChars("", 3), "");
  EXPECT_EQ(TailChars("", 3), "");
}

TEST(TextHelpersBytes, HighBytesAndNulAreOrdinaryCharacters) {
  const std::string s("\xFF\0 \x80", 4);
  EXPECT_EQ(HeadChars(s, 2), std::string("\xFF\0", 2));
  EXPECT_EQ(TailChars(s, 1), "\x80");
  EXPECT_EQ(LettersAfterBlanks(s), "\x80");
  EXPECT_EQ(TrimBoth(std::string(" \0 ", 3)), std::string("\0", 1));
}

}  // namespace
}  // namespace velquior::text
