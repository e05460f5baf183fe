#include "common/files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/error.h"
#include "common/file_lock.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

using testing::ErrorOf;

// Killed saves leave ".escuela.xml.XXXXXX" beside the document; the next
// save of that document removes them, and nothing else.
TEST(FilesAtomicReplace, RemovesWhatDeadSavesOfTheSameFileLeft) {
  TempDir dir;
  const fs::path file = dir / "escuela.xml";
  struct Entry {
    std::string name;
    bool stays;
  } entries[] = {
      {".escuela.xml.a1B2c3", false},                                 // a dead save's temporary file
      {".escuela.xml.zzzzzz", false}, {".escuela.xml.LIVE00", true},  // a live save holds it
      {".escuela.xml.bak", true},                                     // not six letters or digits
      {".escuela.xml.a1B2c3d", true},                                 // seven
      {".escuela.xml.a1-2c3", true},                                  // not mkstemp's letters
      {"escuela.xml.a1B2c3", true},                                   // no leading dot
      {".otra.xml.a1B2c3", true},                                     // another file's
  };
  for (const auto& e : entries) WriteFile(dir / e.name, "x");
  fs::create_directory(dir / ".escuela.xml.FOLDER");  // only files go
  auto live = FileLock::TryLock(dir / ".escuela.xml.LIVE00", FileLock::Mode::kExclusive);
  ASSERT_TRUE(live);

  AtomicReplaceFile(file, "new");

  EXPECT_EQ(ReadFile(file), "new");
  std::vector<std::string> expected = {".escuela.xml.FOLDER", "escuela.xml"};
  for (const auto& e : entries) {
    if (e.stays) expected.push_back(e.name);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(testing::ListDir(dir.path()), expected);
}

// UTF-8 in, the same UTF-8 out, whole names and parts alike.
TEST(FilesUtf8Paths, TextAndPathTurnIntoEachOther) {
  const std::string texts[] = {"a.xml", "Horarios ñandú", "日本.xml", "escuela ŝ.xml", ""};
  for (const std::string& text : texts) {
    const fs::path path = PathFromUtf8(text);
    EXPECT_EQ(PathToUtf8(path), text);
    EXPECT_EQ(PathForMessage(path), text);
  }
  EXPECT_EQ((PathFromUtf8("ñ") / PathFromUtf8("日本.xml")).filename(), PathFromUtf8("日本.xml"));
}

// A file named in UTF-8 is found and read by that name.
TEST(FilesUtf8Paths, FindsAndReadsWhatANameInUtf8Names) {
  TempDir dir;
  WriteFile(dir.path() / PathFromUtf8("Año 日本.DBF"), "x");
  const auto found = FindFileNoCase(dir.path(), "aÑO 日本.dbf");
  EXPECT_FALSE(found) << "only ASCII letters fold";
  ASSERT_TRUE(FindFileNoCase(dir.path(), "AñO 日本.dbf"));
  EXPECT_EQ(ReadFileBytes(*FindFileNoCase(dir.path(), "AñO 日本.dbf")), "x");
}

TEST(FilesRead, NamesTheFileOnFailure) {
  TempDir dir;
  EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir / "nada.xml"); }),
            (dir / "nada.xml").string() + ": no se puede leer el archivo: No such file or directory");
  EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir.path()); }), dir.path().string() + ": es un directorio, no un archivo");
  WriteFile(dir / "a", std::string("x\0y", 3));
  EXPECT_EQ(ReadFileBytes(dir / "a"), std::string("x\0y", 3));
}

TEST(FilesLock, ExclusiveExcludesEverySecondHolder) {
  TempDir dir;
  WriteFile(dir / "T.DBF", "");
  auto shared1 = FileLock::TryLock(dir / "T.DBF", FileLock::Mode::kShared);
  auto shared2 = FileLock::TryLock(dir / "T.DBF", FileLock::Mode::kShared);
  EXPECT_TRUE(shared1 && shared2);
  EXPECT_FALSE(FileLock::TryLock(dir / "T.DBF", FileLock::Mode::kExclusive));
  shared1.reset();
  shared2.reset();
  auto exclusive = FileLock::TryLock(dir / "T.DBF", FileLock::Mode::kExclusive);
  EXPECT_TRUE(exclusive);
  EXPECT_FALSE(FileLock::TryLock(dir / "T.DBF", FileLock::Mode::kShared));
  EXPECT_TRUE(FileLock::TryLock(dir.path(), FileLock::Mode::kExclusive).has_value());  // directories too
}

}  // namespace
}  // namespace velquior
