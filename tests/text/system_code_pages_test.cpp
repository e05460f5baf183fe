// Tables' text in the code pages of other scripts, shown as UTF-8.

#include <gtest/gtest.h>

#include "text/system_code_pages.h"

namespace velquior::text {
namespace {

TEST(SystemCodePages, TextOfEveryDeclaredCodePageToUtf8) {
  struct Case {
    int code_page;
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {1251, "\xcf\xf0\xe8 1", "\xD0\x9F\xD1\x80\xD0\xB8 1"},  // При
      {866, "\x8f\xe0\xa8", "\xD0\x9F\xD1\x80\xD0\xB8"},       // При
      {852, "\xa5\x9f", "\xC4\x85\xC4\x8D"},                   // ąč
      {1250, "\xb9\x8a", "\xC4\x85\xC5\xA0"},                  // ąŠ
      {874, "\xa1", "\xE0\xB8\x81"},                           // ก
      {936, "\xd6\xd0x",
       "\xE4\xB8\xAD"
       "x"},                                                   // 中, two bytes
      {936, "a\xd6", "a\xEF\xBF\xBD"},                         // a character cut short
      {850, "\xa5\xb0", "\xC3\x91\xE2\x96\x91"},               // Ñ and a box drawing character
      {1252, "\x80\x81\xd1", "\xE2\x82\xAC\xC2\x81\xC3\x91"},  // the program's own table
      {0, "\xd1", "\xC3\x91"},                                 // none declared: Windows-1252
      {12345, "\xd1", "\xC3\x91"},                             // unknown to the system: Windows-1252
      {1251, "plain", "plain"},
      {1251, "", ""},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(CodePageToUtf8(k.bytes, k.code_page), k.utf8) << k.code_page << " " << k.bytes;
  }
  EXPECT_EQ(SystemCodePageToUtf8("x", 12345), std::nullopt);
  EXPECT_EQ(SystemCodePageToUtf8("x", 0), std::nullopt);
  EXPECT_EQ(SystemCodePageToUtf8("\xcf", 1251), "\xD0\x9F");
}

TEST(SystemCodePages, BytesThatFormNoCharacterBecomeReplacements) {
  // 0x98 is undefined in Windows-1251; a long run crosses the converter's buffer.
  const std::string bytes = "a\x98" + std::string(1000, '\xe0') + "\x98";
  std::string want = "a\xEF\xBF\xBD";
  for (int i = 0; i < 1000; ++i) want += "\xD0\xB0";  // а
  want += "\xEF\xBF\xBD";
  EXPECT_EQ(CodePageToUtf8(bytes, 1251), want);
}

}  // namespace
}  // namespace velquior::text
