#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/test_util.h"

namespace velquior::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

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
