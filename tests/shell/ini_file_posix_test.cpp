// A result file in a folder that POSIX write bits close.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/shell/unable_to_write.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

TEST(IniFileTest, ReadOnlyDirectoryKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  TempDir dir;
  const auto sub = dir / "ro";
  std::filesystem::create_directory(sub);
  WriteFile(sub / "Zeltimor.ini", "[Transformadores]\nTransformado=0\n");
  ::chmod(sub.c_str(), 0555);
  ExpectUnableToWrite(sub / "Zeltimor.ini");
  EXPECT_EQ(ReadFile(sub / "Zeltimor.ini"), "[Transformadores]\nTransformado=0\n");
  ::chmod(sub.c_str(), 0755);
}

}  // namespace
}  // namespace velquior::shell
