// The decimal separator from the locale variables, as POSIX names the
// regional settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "text/numbers.h"

namespace velquior::text {
namespace {

TEST(NumbersEnvironment, SeparatorFollowsTheRegionalSettingsWithoutTouchingTheLocale) {
  struct Case {
    const char* lc_all;
    char want;
  } cases[] = {{"es_ES.UTF-8", ','}, {"de_DE", ','}, {"en_US.UTF-8", '.'}, {"C", '.'}, {"C.UTF-8", '.'}};
  const char* saved = std::getenv("LC_ALL");
  std::string saved_value = saved ? saved : "";
  for (const auto& c : cases) {
    setenv("LC_ALL", c.lc_all, 1);
    EXPECT_EQ(DecimalSeparatorFromEnvironment(), c.want) << c.lc_all;
  }
  if (saved) {
    setenv("LC_ALL", saved_value.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
  // Formatting never follows the process locale.
  EXPECT_EQ(FormatShortest(2.5, '.'), "2.5");
}

}  // namespace
}  // namespace velquior::text
