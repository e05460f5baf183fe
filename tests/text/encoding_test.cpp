#include "text/encoding.h"

#include <gtest/gtest.h>

namespace velquior::text {
namespace {

TEST(EncodingAnsi, RoundTripsEveryByteThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(one)), one) << b;
  }
}

TEST(EncodingAnsi, MapsTheCharactersOutsideLatin1) {
  struct Case {
    const char* utf8;
    const char* ansi;
  } cases[] = {
      {"\xE2\x82\xAC", "\x80"},   // €
      {"\xC5\xA0", "\x8A"},       // Š
      {"\xC5\x93", "\x9C"},       // œ
      {"\xC5\xB8", "\x9F"},       // Ÿ
      {"\xC3\xB1", "\xF1"},       // ñ
      {"\xC2\x80", "\x80"},       // C1 control: same byte
      {"\xC2\x9F", "\x9F"},       // C1 control: same byte
      {"\xE2\x98\x83", "?"},      // snowman: not in the code page
      {"\xF0\x9F\x98\x80", "?"},  // outside the BMP
      {"a\xFF"
       "b",
       "a?b"},            // malformed
      {"\xC3", "?"},      // truncated sequence
      {"\xC0\xAF", "?"},  // overlong
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi) << c.utf8;
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(AnsiToUtf8("Espa\xF1"
                       "a"),
            "Espa\xC3\xB1"
            "a");
}

TEST(EncodingCodePages, DosTablesGiveTheSameCharacters) {
  // "MUÑOZ", "EDUFÍS" and "1ºESO" as code page 850 stores them.
  EXPECT_EQ(ToAnsi("MU\xA5OZ", CodePage::kIbm850), "MU\xD1OZ");
  EXPECT_EQ(ToAnsi("EDUF\xD6S", CodePage::kIbm850), "EDUF\xCDS");
  EXPECT_EQ(ToAnsi("1\xA7"
                   "ESO",
                   CodePage::kIbm850),
            "1\xBA"
            "ESO");
  EXPECT_EQ(ToAnsi("\xA4", CodePage::kIbm437), "\xF1");
  // A box-drawing character has no Windows-1252 form.
  EXPECT_EQ(ToAnsi("\xC9", CodePage::kIbm437), "?");
  EXPECT_EQ(ToAnsi("\xC9", CodePage::kWindows1252), "\xC9");
}

}  // namespace
}  // namespace velquior::text
