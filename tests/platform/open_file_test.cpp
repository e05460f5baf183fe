#include "platform/open_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_util.h"

namespace velquior::platform {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

OpenFile OpenOrFail(const std::filesystem::path& path, OpenFile::Access access) {
  std::error_code error;
  OpenFile f = OpenFile::Open(path, access, error);
  EXPECT_FALSE(error) << error.message();
  return f;
}

TEST(PlatformOpenFile, MissingFileGivesTheSystemsReason) {
  TempDir dir;
  std::error_code error;
  OpenFile f = OpenFile::Open(dir / "nada", OpenFile::Access::kRead, error);
  EXPECT_FALSE(f.is_open());
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

TEST(PlatformOpenFile, KindsOfWhatOpens) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  std::error_code error;
  EXPECT_EQ(OpenOrFail(dir / "a", OpenFile::Access::kRead).Kind(error), FileKind::kRegular);
  EXPECT_EQ(OpenOrFail(dir.path(), OpenFile::Access::kRead).Kind(error), FileKind::kDirectory);
  EXPECT_EQ(OpenOrFail("/dev/null", OpenFile::Access::kReadNoWait).Kind(error), FileKind::kOther);
}

TEST(PlatformOpenFile, ReadAtStopsAtTheEnd) {
  TempDir dir;
  WriteFile(dir / "a", "0123456789");
  OpenFile f = OpenOrFail(dir / "a", OpenFile::Access::kRead);
  char buf[8] = {};
  std::error_code error;
  EXPECT_EQ(f.ReadAt(6, buf, sizeof buf, error), 4u);
  EXPECT_EQ(std::string(buf, 4), "6789");
  EXPECT_EQ(f.ReadAt(10, buf, sizeof buf, error), 0u);
  EXPECT_FALSE(error);
}

// More pieces than one system call takes, and empty ones among them.
TEST(PlatformOpenFile, WriteAtWritesEveryPartInOrder) {
  TempDir dir;
  WriteFile(dir / "a", "HEADER");
  OpenFile f = OpenOrFail(dir / "a", OpenFile::Access::kReadWrite);
  std::vector<std::string> texts;
  std::string expected = "HEA";
  for (int i = 0; i < 3000; ++i) {
    texts.push_back(i % 3 == 0 ? "" : std::to_string(i) + ",");
    expected += texts.back();
  }
  std::vector<std::string_view> parts(texts.begin(), texts.end());
  ASSERT_FALSE(f.WriteAt(3, parts));
  EXPECT_EQ(ReadFile(dir / "a"), expected);
  ASSERT_FALSE(f.Truncate(5));
  std::error_code error;
  EXPECT_EQ(f.Size(error), 5u);
  EXPECT_FALSE(f.Sync(true));
}

TEST(PlatformOpenFile, WritingAFileOpenForReadingFails) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  OpenFile f = OpenOrFail(dir / "a", OpenFile::Access::kRead);
  const std::string_view part = "y";
  EXPECT_TRUE(f.WriteAt(0, {&part, 1}));
  EXPECT_EQ(ReadFile(dir / "a"), "x");
}

TEST(PlatformOpenFile, LocksConflictBetweenHandlesAndGoWithTheHandle) {
  TempDir dir;
  WriteFile(dir / "T.DBF", "x");
  struct Case {
    LockMode first, second;
    LockResult expected;
  };
  const Case cases[] = {
      {LockMode::kShared, LockMode::kShared, LockResult::kLocked},
      {LockMode::kShared, LockMode::kExclusive, LockResult::kBusy},
      {LockMode::kExclusive, LockMode::kShared, LockResult::kBusy},
      {LockMode::kExclusive, LockMode::kExclusive, LockResult::kBusy},
  };
  for (const Case& c : cases) {
    std::error_code error;
    OpenFile a = OpenOrFail(dir / "T.DBF", OpenFile::Access::kRead);
    OpenFile b = OpenOrFail(dir / "T.DBF", OpenFile::Access::kRead);
    ASSERT_EQ(a.TryLock(c.first, error), LockResult::kLocked);
    EXPECT_EQ(b.TryLock(c.second, error), c.expected);
    OpenFile moved = std::move(a);  // the lock moves with the handle
    EXPECT_EQ(b.TryLock(c.second, error), c.expected);
    moved.Close();
    EXPECT_EQ(b.TryLock(c.second, error), LockResult::kLocked);
  }
}

TEST(PlatformOpenFile, TwoHandlesOfOneFileHaveOneId) {
  TempDir dir;
  WriteFile(dir / "a", "x");
  WriteFile(dir / "b", "x");
  std::error_code error;
  const FileId a1 = OpenOrFail(dir / "a", OpenFile::Access::kRead).Id(error);
  const FileId a2 = OpenOrFail(dir / "a", OpenFile::Access::kReadWrite).Id(error);
  const FileId b = OpenOrFail(dir / "b", OpenFile::Access::kRead).Id(error);
  EXPECT_EQ(a1, a2);
  EXPECT_NE(a1, b);
}

}  // namespace
}  // namespace velquior::platform
