// Documents that Windows keeps from being read: a device, a file another
// program holds without sharing it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/test_util.h"
#include "xml/document.h"

namespace velquior::xml {
namespace {

using velquior::testing::TempDir;
using velquior::testing::WriteFile;

TEST(XmlLoadBad, FilesThatCannotBeReadGiveTheirReason) {
  TempDir dir;
  std::filesystem::create_directory(dir / "carpeta.xml");
  WriteFile(dir / "no-es-carpeta", "x");
  WriteFile(dir / "retenido.xml", "<document/>");
  HANDLE held = ::CreateFileW((dir / "retenido.xml").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::pair<std::filesystem::path, std::string> rows[] = {
      {dir / "no-existe.xml", "el archivo no existe"},
      {dir / "no-es-carpeta" / "doc.xml", "el archivo no existe"},
      {dir / "carpeta.xml", "es un directorio, no un archivo"},
      {L"NUL", "no es un archivo normal"},
      {dir / "retenido.xml", "no se puede leer el archivo: otro programa tiene abierto el archivo retenido.xml"},
  };
  for (const auto& [path, reason] : rows) {
    SCOPED_TRACE(velquior::testing::Utf8(path));
    Document doc;
    LoadResult r = doc.load(path);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, 0);
    EXPECT_EQ(r.reason, reason);
    EXPECT_FALSE(doc.documentElement().has_value());
  }
  ::CloseHandle(held);
}

}  // namespace
}  // namespace velquior::xml
