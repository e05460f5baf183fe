#include "platform/environment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/platform/scoped_environment.h"

namespace velquior::platform {
namespace {

using testing::ScopedEnvironment;

TEST(PlatformEnvironment, EmptyVariablesCountAsUnset) {
  ScopedEnvironment env({{"VELQUIOR_PRUEBA", ""}});
  EXPECT_EQ(EnvironmentVariable("VELQUIOR_PRUEBA"), std::nullopt);
  ScopedEnvironment set({{"VELQUIOR_PRUEBA", "sí"}});
  EXPECT_EQ(EnvironmentVariable("VELQUIOR_PRUEBA"), "sí");
}

}  // namespace
}  // namespace velquior::platform
