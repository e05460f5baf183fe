// Kinds of file and the read-only attribute as Windows has them.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "tests/test_util.h"

namespace velquior::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;

TEST(PlatformFileSystem, KindOfFilesAndFolders) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  struct Case {
    fs::path path;
    FileKind expected;
  };
  const Case cases[] = {
      {dir / "a", FileKind::kRegular},       {dir.path(), FileKind::kDirectory}, {dir / "nada", FileKind::kMissing},
      {dir / "a" / "b", FileKind::kMissing}, {L"NUL", FileKind::kOther},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KindOf(c.path, true), c.expected) << c.path;
    EXPECT_EQ(KindOf(c.path, false), c.expected) << c.path;
  }
}

// The read-only attribute of a file; a folder's means nothing to writers.
TEST(PlatformFileSystem, ReadOnlyIsTheAttribute) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  EXPECT_FALSE(IsReadOnly(dir / "a"));
  ASSERT_TRUE(::SetFileAttributesW((dir / "a").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(IsReadOnly(dir / "a"));
  EXPECT_EQ(CheckWriteAccess(dir / "a"), std::errc::permission_denied);
  ASSERT_TRUE(::SetFileAttributesW((dir / "a").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_FALSE(IsReadOnly(dir / "a"));
  EXPECT_FALSE(CheckWriteAccess(dir / "a"));

  ASSERT_TRUE(::SetFileAttributesW(dir.path().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(IsReadOnly(dir.path()));
  EXPECT_FALSE(CheckWriteAccess(dir.path()));
  ::SetFileAttributesW(dir.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(testing::ListDir(dir.path()), std::vector<std::string>{"a"});  // the probe is gone

  EXPECT_FALSE(IsReadOnly(dir / "nada"));
  EXPECT_EQ(CheckWriteAccess(dir / "nada"), std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace velquior::platform
