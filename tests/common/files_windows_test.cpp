// Replacing a file as Windows keeps it: its attributes, and another
// program's hold on it.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/error.h"
#include "common/files.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ErrorOf;
using testing::ReadFile;
using testing::TempDir;
using testing::Utf8;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST(FilesAtomicReplace, ReplacesContentAndKeepsAttributes) {
  const DWORD kept[] = {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
                        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE};
  for (DWORD attributes : kept) {
    SCOPED_TRACE(attributes);
    TempDir dir;
    const fs::path file = dir / "escuela.xml";
    WriteFile(file, "old");
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), attributes));
    AtomicReplaceFile(file, "new content");
    EXPECT_EQ(ReadFile(file), "new content");
    EXPECT_EQ(::GetFileAttributesW(file.c_str()), attributes);
    EXPECT_EQ(testing::ListDir(dir.path()), std::vector<std::string>{"escuela.xml"});
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// Another program holds the file without sharing it (Windows refuses the
// replacement as access denied), or the folder is gone.
TEST(FilesAtomicReplace, FailureLeavesTheOldFileAndNoLitter) {
  TempDir dir;
  const fs::path file = dir / "escuela.xml";
  WriteFile(file, "old");
  HANDLE held = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string err = ErrorOf([&] { AtomicReplaceFile(file, "new"); });
  ::CloseHandle(held);
  EXPECT_EQ(err, Utf8(file) + ": no se puede escribir el archivo: otro programa tiene abierto el archivo escuela.xml");
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(testing::ListDir(dir.path()), std::vector<std::string>{"escuela.xml"});

  EXPECT_EQ(ErrorOf([&] { AtomicReplaceFile(dir / "missing" / "a.xml", "x"); }),
            Utf8(dir / "missing" / "a.xml") + ": no se puede escribir el archivo: No such file or directory");
}

// One file whatever the case of its name: found and removed under the name
// it has on disk.
TEST(FilesCaseVariants, FindsAndRemovesTheOneFileOfAnyCase) {
  TempDir dir;
  WriteFile(dir / "Soluc.Dbf", "b");
  WriteFile(dir / "SOLUC.MDX", "c");
  WriteFile(dir / "SOLUCX.DBF", "d");
  for (const char* name : {"SOLUC.DBF", "soluc.dbf", "Soluc.Dbf"}) {
    auto found = FindFileNoCase(dir.path(), name);
    ASSERT_TRUE(found) << name;
    EXPECT_EQ(found->filename(), "Soluc.Dbf") << name;
  }
  EXPECT_EQ(AllCaseVariants(dir.path(), "solUC.dbf").size(), 1u);
  RemoveCaseVariants(dir.path(), "SOLUC.DBF");
  EXPECT_EQ(testing::ListDir(dir.path()), (std::vector<std::string>{"SOLUC.MDX", "SOLUCX.DBF"}));
  EXPECT_FALSE(FindFileNoCase(dir.path(), "ASIGT.DBF"));
}

}  // namespace
}  // namespace velquior
