// The decimal separator on Windows: the user's regional settings decide,
// and the locale variables a POSIX shell would pass mean nothing.
#include <gtest/gtest.h>

#include "tests/platform/scoped_environment.h"
#include "text/numbers.h"

namespace velquior::text {
namespace {

TEST(NumbersEnvironment, SeparatorFollowsTheRegionalSettingsNotTheLocaleVariables) {
  char own = 0;
  {
    testing::ScopedEnvironment none({{"LC_ALL", std::nullopt}, {"LC_NUMERIC", std::nullopt}, {"LANG", std::nullopt}});
    own = DecimalSeparatorFromEnvironment();
  }
  EXPECT_TRUE(own == '.' || own == ',') << own;
  for (const char* lc_all : {"es_ES.UTF-8", "de_DE", "en_US.UTF-8", "C"}) {
    testing::ScopedEnvironment env({{"LC_ALL", lc_all}});
    EXPECT_EQ(DecimalSeparatorFromEnvironment(), own) << lc_all;
  }
  // Formatting never follows the process locale.
  EXPECT_EQ(FormatShortest(2.5, '.'), "2.5");
}

}  // namespace
}  // namespace velquior::text
