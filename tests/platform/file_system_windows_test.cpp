// The read-only attribute and atomic replacement as Windows has them.
#include <windows.h>
#undef MoveFile  // the system's macro would rename platform::MoveFile

#include <gtest/gtest.h>

#include <string>

#include "platform/atomic_file.h"
#include "platform/file_system.h"
#include "tests/platform/windows_test_dir.h"

namespace velquior::platform {
namespace {

namespace fs = std::filesystem;
using testing::GetBytes;
using testing::PutBytes;
using testing::WindowsTestDir;

void Replace(const fs::path& path, const std::string& bytes) {
  ReplaceFileAtomically(path, [&](const ByteSink& sink) { sink(bytes); });
}

TEST(PlatformFileSystemWindows, ReadOnlyIsTheAttributeOfFilesOnly) {
  WindowsTestDir dir;
  const auto file = dir / L"R\u65e5.xml";
  PutBytes(file, "x");
  EXPECT_FALSE(IsReadOnly(file));
  EXPECT_FALSE(CheckWriteAccess(file));
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(IsReadOnly(file));
  EXPECT_EQ(CheckWriteAccess(file), std::errc::permission_denied);
  // Special folders carry the mark and take new files all the same.
  ASSERT_TRUE(::SetFileAttributesW(dir.path().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(IsReadOnly(dir.path()));
  EXPECT_FALSE(CheckWriteAccess(dir.path()));
  ::SetFileAttributesW(dir.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(IsReadOnly(dir / L"nada"));
  EXPECT_EQ(CheckWriteAccess(dir / L"nada"), std::errc::no_such_file_or_directory);
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename(), file.filename()) << "the write probe is left behind";
  }
}

TEST(PlatformFileSystemWindows, ReplacementKeepsTheOriginalsAttributes) {
  WindowsTestDir dir;
  struct Case {
    DWORD before;  // 0: no file yet
    DWORD kept;
  };
  const Case cases[] = {
      {0, 0},
      {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
      {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY},
      {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
  };
  int n = 0;
  for (const Case& c : cases) {
    const auto file = dir / (L"doc\u015d" + std::to_wstring(n++) + L".xml");
    if (c.before != 0) {
      PutBytes(file, "old");
      ASSERT_TRUE(::SetFileAttributesW(file.c_str(), c.before));
    }
    Replace(file, "new");
    EXPECT_EQ(GetBytes(file), "new");
    const DWORD after = ::GetFileAttributesW(file.c_str());
    EXPECT_EQ(after & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), c.kept) << c.before;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4) << "temporaries left";
}

TEST(PlatformFileSystemWindows, AFailedReplacementLeavesTheTargetAndNoTemporary) {
  WindowsTestDir dir;
  const auto file = dir / L"\u65e5\u672c.xml";
  PutBytes(file, "old");
  EXPECT_THROW(ReplaceFileAtomically(file,
                                     [](const ByteSink& sink) {
                                       sink("half");
                                       throw WriteFailed(ENOSPC);
                                     }),
               WriteFailed);
  EXPECT_EQ(GetBytes(file), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  try {
    Replace(dir / L"nada" / L"x.xml", "new");
    ADD_FAILURE() << "no error";
  } catch (const WriteFailed& e) {
    EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
  }
}

// Only dead temporaries go: a live save keeps its file open without leave
// to delete it.
TEST(PlatformFileSystemWindows, CleanUpSparesALiveSavesTemporary) {
  WindowsTestDir dir;
  const auto file = dir / L"doc.xml";
  const auto dead = dir / L".doc.xml.AbC123";
  const auto live = dir / L".doc.xml.LiVe99";
  const auto other = dir / L".doc.xml.toolong";
  PutBytes(dead, "dead");
  PutBytes(other, "other");
  HANDLE h = ::CreateFileW(live.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  Replace(file, "new");
  EXPECT_EQ(KindOf(dead), FileKind::kMissing);
  EXPECT_EQ(KindOf(live), FileKind::kRegular);
  EXPECT_EQ(KindOf(other), FileKind::kRegular);
  ::CloseHandle(h);
}

TEST(PlatformFileSystemWindows, MovesAndFlushesByWideNames) {
  WindowsTestDir dir;
  const auto from = dir / L"\u015d-new";
  const auto to = dir / L"\u65e5-old";
  PutBytes(from, "new");
  PutBytes(to, "old");
  EXPECT_FALSE(FlushFile(from));
  ASSERT_FALSE(MoveFile(from, to));
  EXPECT_EQ(GetBytes(to), "new");
  EXPECT_EQ(MoveFile(from, to), std::errc::no_such_file_or_directory);
  EXPECT_EQ(FlushFile(from), std::errc::no_such_file_or_directory);
  fs::path made;
  ASSERT_FALSE(MakeUniqueDirectory(dir.path(), "\u00f1-", made));
  EXPECT_EQ(KindOf(made), FileKind::kDirectory);
  EXPECT_EQ(made.filename().native().size(), 2u + 6);
  EXPECT_EQ(made.filename().native()[0], L'\u00f1');
}

}  // namespace
}  // namespace velquior::platform
