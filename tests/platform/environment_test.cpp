#include "platform/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/locale.h"

namespace velquior::platform {
namespace {

// Sets or clears variables for one test and puts the old values back.
class ScopedEnvironment {
 public:
  using Value = std::pair<std::string, std::optional<std::string>>;
  explicit ScopedEnvironment(std::initializer_list<Value> values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      Set(name, value);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) Set(name, value);
  }

 private:
  static void Set(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

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

TEST(PlatformEnvironment, EmptyVariablesCountAsUnset) {
  ScopedEnvironment env({{"VELQUIOR_PRUEBA", ""}});
  EXPECT_EQ(EnvironmentVariable("VELQUIOR_PRUEBA"), std::nullopt);
  ScopedEnvironment set({{"VELQUIOR_PRUEBA", "sí"}});
  EXPECT_EQ(EnvironmentVariable("VELQUIOR_PRUEBA"), "sí");
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
