// Links, devices and write bits as POSIX has them.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

#include "platform/file_system.h"
#include "tests/test_util.h"

namespace velquior::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;

TEST(PlatformFileSystem, KindOfFollowsLinksOnlyWhenAsked) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  fs::create_symlink(dir / "a", dir / "link");
  fs::create_symlink(dir / "nada", dir / "dangling");
  struct Case {
    fs::path path;
    bool follow;
    FileKind expected;
  };
  const Case cases[] = {
      {dir / "a", true, FileKind::kRegular},        {dir.path(), true, FileKind::kDirectory},
      {dir / "link", true, FileKind::kRegular},     {dir / "link", false, FileKind::kLink},
      {dir / "dangling", true, FileKind::kMissing}, {dir / "dangling", false, FileKind::kLink},
      {dir / "nada", false, FileKind::kMissing},    {"/dev/null", true, FileKind::kOther},
  };
  for (const Case& c : cases) EXPECT_EQ(KindOf(c.path, c.follow), c.expected) << c.path << " " << c.follow;
}

// No write bit for anyone means read-only, whoever runs the program.
TEST(PlatformFileSystem, ReadOnlyIsTheWriteBits) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  EXPECT_FALSE(IsReadOnly(dir / "a"));
  ::chmod((dir / "a").c_str(), 0444);
  EXPECT_TRUE(IsReadOnly(dir / "a"));
  ::chmod((dir / "a").c_str(), 0200);
  EXPECT_FALSE(IsReadOnly(dir / "a"));
  EXPECT_FALSE(IsReadOnly(dir / "nada"));
  EXPECT_FALSE(CheckWriteAccess(dir / "a"));
  EXPECT_EQ(CheckWriteAccess(dir / "nada"), std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace velquior::platform
