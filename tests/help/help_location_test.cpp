// The help file of an installed window: prefix/bin/velquior finds
// prefix/share/velquior/SAGA.chm, and a copy beside the program wins.
#include <gtest/gtest.h>

#include "help/help_location.h"
#include "tests/test_util.h"

namespace velquior::help {
namespace {

TEST(HelpLocation, BesideTheProgramElseInTheDataFolder) {
  const struct {
    bool beside, installed;
    const char* found_in;
  } cases[] = {
      {true, true, "bin/"},
      {false, true, "share/velquior/"},
      {false, false, "bin/"},  // missing in both: looked for beside the program, as before
  };
  for (const auto& c : cases) {
    testing::TempDir prefix;
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share/velquior");
    if (c.beside) testing::WriteFile(prefix / "bin/SAGA.chm", "ITSF");
    if (c.installed) testing::WriteFile(prefix / "share/velquior/SAGA.chm", "ITSF");
    const std::string root = testing::Utf8(prefix.path()) + "/";
    EXPECT_EQ(HelpDirectory(root + "bin/", "SAGA.chm"), root + c.found_in) << c.found_in;
  }
  EXPECT_EQ(HelpDirectory("", "SAGA.chm"), "");
}

}  // namespace
}  // namespace velquior::help
