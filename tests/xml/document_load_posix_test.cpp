// Documents that POSIX keeps from being read: a named pipe among them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/test_util.h"
#include "xml/document.h"

namespace velquior::xml {
namespace {

using velquior::testing::TempDir;
using velquior::testing::WriteFile;

TEST(XmlLoadBad, FilesThatCannotBeReadGiveTheirReason) {
  TempDir dir;
  std::filesystem::create_directory(dir / "carpeta.xml");
  ASSERT_EQ(::mkfifo((dir / "tuberia.xml").c_str(), 0644), 0);
  WriteFile(dir / "no-es-carpeta", "x");
  const std::pair<std::filesystem::path, const char*> rows[] = {
      {dir / "no-existe.xml", "el archivo no existe"},
      {dir / "no-es-carpeta" / "doc.xml", "el archivo no existe"},
      {dir / "carpeta.xml", "es un directorio, no un archivo"},
      {dir / "tuberia.xml", "no es un archivo normal"},
  };
  for (const auto& [path, reason] : rows) {
    SCOPED_TRACE(path.string());
    Document doc;
    LoadResult r = doc.load(path);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, 0);
    EXPECT_EQ(r.reason, reason);
    EXPECT_FALSE(doc.documentElement().has_value());
  }
}

}  // namespace
}  // namespace velquior::xml
