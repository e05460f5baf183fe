// The environment as POSIX shows it: the Wine prefix decides the default
// work directory, and the locale variables name the numeric settings.
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

TEST(PlatformEnvironment, DefaultWorkDirRules) {
  struct Case {
    std::optional<std::string> workdir, wine, home;
    std::string expected;
  };
  const Case cases[] = {
      {"/srv/ztemp", "/opt/wine", "/home/ana", "/srv/ztemp"},
      {"", "/opt/wine", "/home/ana", "/opt/wine/drive_c/ZTEMP"},
      {std::nullopt, "/opt/wine", "/home/ana", "/opt/wine/drive_c/ZTEMP"},
      {std::nullopt, "", "/home/ana", "/home/ana/.wine/drive_c/ZTEMP"},
      {std::nullopt, std::nullopt, "/home/ana", "/home/ana/.wine/drive_c/ZTEMP"},
      {std::nullopt, std::nullopt, std::nullopt, ".wine/drive_c/ZTEMP"},
  };
  for (const Case& c : cases) {
    ScopedEnvironment env({{"VELQUIOR_WORKDIR", c.workdir}, {"WINEPREFIX", c.wine}, {"HOME", c.home}});
    EXPECT_EQ(DefaultWorkDir(), std::filesystem::path(c.expected));
  }
}

TEST(PlatformEnvironment, ExecutablePathIsThisProgram) {
  const std::filesystem::path exe = ExecutablePath();
  EXPECT_TRUE(exe.is_absolute());
  EXPECT_EQ(exe.filename(), "velquior_tests");
}

TEST(PlatformLocale, NumericSettingsNameByPrecedence) {
  struct Case {
    std::optional<std::string> all, numeric, lang;
    std::string expected;
  };
  const Case cases[] = {
      {"es_ES.UTF-8", "de_DE", "en_US", "es_ES.UTF-8"},
      {"", "de_DE", "en_US", "de_DE"},
      {std::nullopt, std::nullopt, "en_US", "en_US"},
      {std::nullopt, std::nullopt, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    ScopedEnvironment env({{"LC_ALL", c.all}, {"LC_NUMERIC", c.numeric}, {"LANG", c.lang}});
    EXPECT_EQ(NumericLocaleName(), c.expected);
  }
}

TEST(PlatformLocale, SeparatorOfKnownAndUnknownSettings) {
  EXPECT_EQ(LocaleDecimalSeparator("C"), '.');
  EXPECT_EQ(LocaleDecimalSeparator("C.UTF-8"), '.');
  EXPECT_EQ(LocaleDecimalSeparator("xx_NOPE.nada"), std::nullopt);
}

}  // namespace
}  // namespace velquior::platform
