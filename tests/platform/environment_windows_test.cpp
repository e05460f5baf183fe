// What the process learns from Windows: its variables, regional settings,
// code pages, in UTF-16 turned UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/code_pages.h"
#include "platform/environment.h"
#include "platform/locale.h"

namespace velquior::platform {
namespace {

// Sets or clears one variable for a test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t old[1024];
    const DWORD n = ::GetEnvironmentVariableW(name, old, 1024);
    if (n > 0 && n < 1024) old_ = std::wstring(old, n);
    ::SetEnvironmentVariableW(name, value);
  }
  ~ScopedVariable() { ::SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> old_;
};

TEST(PlatformEnvironmentWindows, WorkDirDefaultsToTheDriveOfTheTimetables) {
  {
    ScopedVariable unset(L"VELQUIOR_WORKDIR", nullptr);
    EXPECT_EQ(DefaultWorkDir(), std::filesystem::path(L"C:\\ZTEMP"));
  }
  ScopedVariable set(L"VELQUIOR_WORKDIR", L"D:\\Horarios \u015d\u65e5");
  EXPECT_EQ(DefaultWorkDir(), std::filesystem::path(L"D:\\Horarios \u015d\u65e5"));
  EXPECT_EQ(EnvironmentVariable("VELQUIOR_WORKDIR"), "D:\\Horarios \xC5\x9D\xE6\x97\xA5");
}

TEST(PlatformEnvironmentWindows, VariablesOfAnyLengthAndEmptyOnes) {
  const std::wstring long_value(5000, L'\u00e1');
  ScopedVariable long_one(L"VELQUIOR_PRUEBA", long_value.c_str());
  const auto value = EnvironmentVariable("VELQUIOR_PRUEBA");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->size(), 10000u);
  ScopedVariable empty(L"VELQUIOR_PRUEBA", L"");
  EXPECT_EQ(EnvironmentVariable("VELQUIOR_PRUEBA"), std::nullopt);
}

TEST(PlatformEnvironmentWindows, ExecutablePathIsThisProgram) {
  const std::filesystem::path exe = ExecutablePath();
  EXPECT_TRUE(exe.is_absolute());
  EXPECT_EQ(exe.extension(), ".exe");
}

// The user's regional settings decide, not LANG or LC_ALL.
TEST(PlatformLocaleWindows, SeparatorFromTheUsersSettings) {
  const std::string name = NumericLocaleName();
  EXPECT_FALSE(name.empty());
  EXPECT_NE(LocaleDecimalSeparator(name), std::nullopt) << name;
  struct Case {
    const char* name;
    std::optional<char> separator;
  };
  const Case cases[] = {{"es-ES", ','}, {"de-DE", ','}, {"en-US", '.'}, {"ja-JP", '.'}, {"xx-NOPE", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(LocaleDecimalSeparator(c.name), c.separator) << c.name;
}

TEST(PlatformCodePagesWindows, ConvertsOrReplacesByteByByte) {
  struct Case {
    int code_page;
    std::string bytes;
    std::optional<std::string> utf8;
  };
  const Case cases[] = {
      {1250, "\xE8", "\xC4\x8D"},           // č
      {866, "\x8F", "\xD0\x9F"},            // П
      {936, "a\xC4\xE3", "a\xE4\xBD\xA0"},  // 你
      {936, "a\xC4", "a\xEF\xBF\xBD"},      // a character cut short
      {1250, "", ""},
      {12345, "x", std::nullopt},
      {0, "x", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(SystemCodePageToUtf8(c.bytes, c.code_page), c.utf8) << c.code_page;
}

}  // namespace
}  // namespace velquior::platform
