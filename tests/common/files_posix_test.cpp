// Replacing a file as POSIX keeps it: its mode bits, and write permission
// of the directory; names that differ only in case are different files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "common/error.h"
#include "common/files.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ErrorOf;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST(FilesAtomicReplace, ReplacesContentAndKeepsPermissions) {
  TempDir dir;
  fs::path file = dir / "escuela.xml";
  WriteFile(file, "old");
  ::chmod(file.c_str(), 0640);
  AtomicReplaceFile(file, "new content");
  EXPECT_EQ(ReadFile(file), "new content");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(testing::ListDir(dir.path()), std::vector<std::string>{"escuela.xml"});
}

TEST(FilesAtomicReplace, FailureLeavesTheOldFileAndNoLitter) {
  if (::geteuid() == 0) {
    // root writes anyway; the failure is made by a missing directory instead.
    TempDir dir;
    EXPECT_EQ(ErrorOf([&] {
                AtomicReplaceFile(dir / "missing" / "a.xml", "x");
              }).rfind((dir / "missing" / "a.xml").string() + ": no se puede escribir el archivo: ", 0),
              0u);
    return;
  }
  TempDir dir;
  fs::path file = dir / "escuela.xml";
  WriteFile(file, "old");
  ::chmod(dir.path().c_str(), 0555);
  std::string err = ErrorOf([&] { AtomicReplaceFile(file, "new"); });
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(err, file.string() + ": no se puede escribir el archivo: Permission denied");
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(testing::ListDir(dir.path()), std::vector<std::string>{"escuela.xml"});
}

TEST(FilesCaseVariants, FindsAndRemovesEveryLetterCase) {
  TempDir dir;
  WriteFile(dir / "soluc.dbf", "a");
  WriteFile(dir / "Soluc.Dbf", "b");
  WriteFile(dir / "SOLUC.MDX", "c");
  WriteFile(dir / "SOLUCX.DBF", "d");
  auto found = FindFileNoCase(dir.path(), "SOLUC.DBF");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->filename(), "Soluc.Dbf");  // first in sorted order
  WriteFile(dir / "SOLUC.DBF", "e");
  EXPECT_EQ(FindFileNoCase(dir.path(), "SOLUC.DBF")->filename(), "SOLUC.DBF");  // exact wins
  EXPECT_EQ(AllCaseVariants(dir.path(), "solUC.dbf").size(), 3u);
  RemoveCaseVariants(dir.path(), "SOLUC.DBF");
  EXPECT_EQ(testing::ListDir(dir.path()), (std::vector<std::string>{"SOLUC.MDX", "SOLUCX.DBF"}));
  EXPECT_FALSE(FindFileNoCase(dir.path(), "ASIGT.DBF"));
  EXPECT_FALSE(FindFileNoCase(dir / "missing", "ASIGT.DBF"));
}

// On POSIX a name is its bytes: those that are no UTF-8 come back as they
// went in, and parts join with "/".
TEST(FilesUtf8PathsPosix, BytesThatAreNoUtf8ComeBackWhole) {
  for (const std::string text : {"x\xFFy", "/srv/Horarios ñandú/日本.xml"}) {
    EXPECT_EQ(PathToUtf8(PathFromUtf8(text)), text);
    EXPECT_EQ(PathForMessage(PathFromUtf8(text)), text);
  }
  EXPECT_EQ(PathToUtf8(PathFromUtf8("/srv/ñ") / PathFromUtf8("ŝ.xml")), "/srv/ñ/ŝ.xml");
}

}  // namespace
}  // namespace velquior
