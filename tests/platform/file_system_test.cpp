#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

#include "tests/test_util.h"

namespace velquior::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
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

TEST(PlatformFileSystem, MoveFileReplacesTheTargetOrSaysWhy) {
  TempDir dir;
  WriteFile(dir / "new", "new");
  WriteFile(dir / "old", "old");
  ASSERT_FALSE(MoveFile(dir / "new", dir / "old"));
  EXPECT_EQ(ReadFile(dir / "old"), "new");
  EXPECT_FALSE(fs::exists(dir / "new"));
  EXPECT_EQ(MoveFile(dir / "new", dir / "old"), std::errc::no_such_file_or_directory);
  EXPECT_EQ(ReadFile(dir / "old"), "new");
}

TEST(PlatformFileSystem, UniqueDirectoriesAreNewEachTime) {
  TempDir dir;
  fs::path first, second;
  ASSERT_FALSE(MakeUniqueDirectory(dir.path(), ".velquior-", first));
  ASSERT_FALSE(MakeUniqueDirectory(dir.path(), ".velquior-", second));
  EXPECT_NE(first, second);
  for (const fs::path& made : {first, second}) {
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_EQ(made.parent_path(), dir.path());
    EXPECT_EQ(made.filename().string().size(), std::string(".velquior-").size() + 6);
    EXPECT_TRUE(made.filename().string().starts_with(".velquior-"));
  }
  fs::path none;
  EXPECT_EQ(MakeUniqueDirectory(dir / "nada", ".velquior-", none), std::errc::no_such_file_or_directory);
  EXPECT_TRUE(none.empty());
}

TEST(PlatformFileSystem, FlushingNeedsTheFile) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  EXPECT_FALSE(FlushFile(dir / "a"));
  EXPECT_EQ(FlushFile(dir / "nada"), std::errc::no_such_file_or_directory);
  FlushDirectory(dir / "nada");  // best effort: no failure to report
}

}  // namespace
}  // namespace velquior::platform
