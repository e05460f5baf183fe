// What the Windows side of OpenFile must do differently: mandatory
// byte-range locks, directory locks, share modes, wide names.
#include <windows.h>
#undef MoveFile  // the system's macro would rename platform::MoveFile

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/open_file.h"
#include "tests/platform/windows_test_dir.h"

namespace velquior::platform {
namespace {

using testing::GetBytes;
using testing::PutBytes;
using testing::WindowsTestDir;

OpenFile OpenOrFail(const std::filesystem::path& path, OpenFile::Access access) {
  std::error_code error;
  OpenFile f = OpenFile::Open(path, access, error);
  EXPECT_FALSE(error) << error.message();
  return f;
}

// A lock blocks other locks, never reads or writes: the host program reads
// tables that a converter holds locked.
TEST(PlatformOpenFileWindows, LocksConflictButLeaveTheBytesUsable) {
  WindowsTestDir dir;
  const auto table = dir / L"T\u65e5.DBF";
  PutBytes(table, "0123456789");
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
    OpenFile a = OpenOrFail(table, OpenFile::Access::kRead);
    OpenFile b = OpenOrFail(table, OpenFile::Access::kReadWrite);
    ASSERT_EQ(a.TryLock(c.first, error), LockResult::kLocked);
    EXPECT_EQ(a.TryLock(c.first, error), LockResult::kLocked) << "again on the same handle";
    EXPECT_EQ(b.TryLock(c.second, error), c.expected);
    char buf[10] = {};
    EXPECT_EQ(b.ReadAt(0, buf, 10, error), 10u);
    EXPECT_EQ(std::string(buf, 10), "0123456789");
    const std::string_view part = "X";
    EXPECT_FALSE(b.WriteAt(0, {&part, 1}));
    EXPECT_EQ(GetBytes(table), "X123456789");
    PutBytes(table, "0123456789");
    a.Close();
    EXPECT_EQ(b.TryLock(c.second, error), LockResult::kLocked);
  }
}

TEST(PlatformOpenFileWindows, ADirectoryLockIsHeldOnceAndGoesWithItsHandle) {
  WindowsTestDir dir;
  std::error_code error;
  OpenFile first = OpenOrFail(dir.path(), OpenFile::Access::kRead);
  OpenFile second = OpenOrFail(dir.path(), OpenFile::Access::kRead);
  EXPECT_EQ(first.Kind(error), FileKind::kDirectory);
  ASSERT_EQ(first.TryLock(LockMode::kExclusive, error), LockResult::kLocked);
  EXPECT_EQ(first.TryLock(LockMode::kExclusive, error), LockResult::kLocked);
  EXPECT_EQ(second.TryLock(LockMode::kExclusive, error), LockResult::kBusy);
  EXPECT_EQ(second.TryLock(LockMode::kShared, error), LockResult::kBusy);  // shared counts as exclusive
  OpenFile moved = std::move(first);
  EXPECT_EQ(second.TryLock(LockMode::kExclusive, error), LockResult::kBusy);
  moved.Close();
  EXPECT_EQ(second.TryLock(LockMode::kExclusive, error), LockResult::kLocked);
}

// The host program opens its tables denying others: that is "in use", not
// an unreadable file.
TEST(PlatformOpenFileWindows, AHolderThatSharesNothingMakesTheFileBusy) {
  WindowsTestDir dir;
  const auto table = dir / L"ASIGT.DBF";
  PutBytes(table, "x");
  HANDLE holder = ::CreateFileW(table.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  for (auto access : {OpenFile::Access::kRead, OpenFile::Access::kReadWrite}) {
    std::error_code error;
    OpenFile f = OpenFile::Open(table, access, error);
    EXPECT_FALSE(f.is_open());
    EXPECT_EQ(error, std::errc::device_or_resource_busy);
  }
  ::CloseHandle(holder);
}

// The export's commit moves and deletes tables it holds open and locked.
TEST(PlatformOpenFileWindows, AFileHeldOpenIsRenamedAndDeleted) {
  WindowsTestDir dir;
  const auto table = dir / L"PROF\u015d.DBF";
  PutBytes(table, "old");
  std::error_code error;
  OpenFile held = OpenOrFail(table, OpenFile::Access::kReadWrite);
  ASSERT_EQ(held.TryLock(LockMode::kExclusive, error), LockResult::kLocked);
  ASSERT_FALSE(MoveFile(table, dir / L"aside.DBF"));
  EXPECT_EQ(KindOf(table), FileKind::kMissing);
  EXPECT_EQ(GetBytes(dir / L"aside.DBF"), "old");
  EXPECT_TRUE(::DeleteFileW((dir / L"aside.DBF").c_str()));
  PutBytes(table, "new");  // the name is free again
  EXPECT_EQ(GetBytes(table), "new");
}

TEST(PlatformOpenFileWindows, WhatOpensAndWhatDoesNot) {
  WindowsTestDir dir;
  PutBytes(dir / L"a", "0123");
  std::error_code error;
  EXPECT_EQ(OpenOrFail(L"NUL", OpenFile::Access::kReadNoWait).Kind(error), FileKind::kOther);
  const std::filesystem::path drive_letter = std::filesystem::absolute(dir / L"a");
  ASSERT_EQ(drive_letter.root_name().native().size(), 2u);  // "C:"
  OpenFile a = OpenOrFail(drive_letter, OpenFile::Access::kRead);
  EXPECT_EQ(a.Size(error), 4u);
  EXPECT_EQ(a.Id(error), OpenOrFail(dir / L"a", OpenFile::Access::kReadWrite).Id(error));
  OpenFile missing = OpenFile::Open(dir / L"nada" / L"a", OpenFile::Access::kRead, error);
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(error.message(), std::generic_category().message(ENOENT));
}

}  // namespace
}  // namespace velquior::platform
