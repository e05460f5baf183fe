// The environment as Windows shows it: the timetabling program's folder on
// drive C, and the user's regional settings rather than locale variables.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/environment.h"
#include "platform/locale.h"
#include "tests/platform/scoped_environment.h"

namespace velquior::platform {
namespace {

using testing::ScopedEnvironment;

TEST(PlatformEnvironment, DefaultWorkDirIsZtempOnDriveC) {
  struct Case {
    std::optional<std::string> workdir, wine;
    std::wstring expected;
  };
  const Case cases[] = {
      {"D:\\Horarios\\ZTEMP", std::nullopt, L"D:\\Horarios\\ZTEMP"},
      {"", std::nullopt, L"C:\\ZTEMP"},
      {std::nullopt, std::nullopt, L"C:\\ZTEMP"},
      {std::nullopt, "Z:\\opt\\wine", L"C:\\ZTEMP"},  // a Wine prefix means nothing here
  };
  for (const Case& c : cases) {
    ScopedEnvironment env({{"VELQUIOR_WORKDIR", c.workdir}, {"WINEPREFIX", c.wine}});
    EXPECT_EQ(DefaultWorkDir(), std::filesystem::path(c.expected)) << c.workdir.value_or("(unset)");
  }
}

TEST(PlatformEnvironment, ExecutablePathIsThisProgram) {
  const std::filesystem::path exe = ExecutablePath();
  EXPECT_TRUE(exe.is_absolute());
  EXPECT_TRUE(exe.has_root_name()) << exe;  // a drive letter
  EXPECT_EQ(exe.filename(), "velquior_tests.exe");
}

TEST(PlatformLocale, LocaleVariablesDoNotNameTheSettings) {
  const std::string own = NumericLocaleName();
  EXPECT_FALSE(own.empty());
  for (const char* all : {"es_ES.UTF-8", "de_DE", "C"}) {
    ScopedEnvironment env({{"LC_ALL", all}, {"LC_NUMERIC", all}, {"LANG", all}});
    EXPECT_EQ(NumericLocaleName(), own) << all;
  }
}

TEST(PlatformLocale, SeparatorOfKnownAndUnknownSettings) {
  struct Case {
    const char* name;
    std::optional<char> expected;
  };
  const Case cases[] = {
      {"es-ES", ','}, {"de-DE", ','}, {"en-US", '.'}, {"en-GB", '.'}, {"xx-NOPE", std::nullopt}, {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(LocaleDecimalSeparator(c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace velquior::platform
