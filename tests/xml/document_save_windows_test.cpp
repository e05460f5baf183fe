// Saving where Windows attributes and other programs' holds decide.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/test_util.h"
#include "tests/xml/save_error.h"
#include "tests/xml/xml_fixtures.h"
#include "xml/document.h"

namespace velquior::xml {
namespace {

using velquior::testing::ListDir;
using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::Utf8;
using velquior::testing::WriteFile;

using testing::Fixture;
using testing::SaveError;

TEST(XmlSave, FailuresNameTheFileAndLeaveItWhole) {
  TempDir dir;
  Document doc;
  ASSERT_TRUE(doc.loadXml("<document><groups/></document>").ok);
  const std::string original = ReadFile(Fixture("good/saga-utf-8.xml"));

  const auto read_only = dir / "solo-lectura.xml";
  WriteFile(read_only, original);
  ASSERT_TRUE(::SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(SaveError(doc, read_only),
            Utf8(read_only) + ": no se puede guardar el documento: el archivo es de solo lectura");
  EXPECT_EQ(ReadFile(read_only), original);
  EXPECT_NE(::GetFileAttributesW(read_only.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

  // A folder's read-only mark means nothing to the system: the save goes on.
  const auto marked = dir / "marcada";
  std::filesystem::create_directory(marked);
  WriteFile(marked / "saga.xml", original);
  ASSERT_TRUE(::SetFileAttributesW(marked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(SaveError(doc, marked / "saga.xml"), "(no error)");
  ::SetFileAttributesW(marked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ListDir(marked), std::vector<std::string>{"saga.xml"});

  const auto folder = dir / "carpeta.xml";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(SaveError(doc, folder), Utf8(folder) + ": es un directorio, no un archivo");
  EXPECT_TRUE(std::filesystem::is_directory(folder));

  const auto nowhere = dir / "no-existe" / "saga.xml";
  EXPECT_EQ(SaveError(doc, nowhere), Utf8(nowhere) + ": no se puede escribir el archivo: No such file or directory");

  // Another program holds it without sharing: it stays as it was.
  const auto held_file = dir / "retenida.xml";
  WriteFile(held_file, original);
  HANDLE held =
      ::CreateFileW(held_file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string held_error = SaveError(doc, held_file);
  ::CloseHandle(held);
  EXPECT_EQ(held_error.rfind(Utf8(held_file) + ": no se puede ", 0), 0u) << held_error;
  EXPECT_EQ(ReadFile(held_file), original);

  // A failed load leaves nothing to save: the file it came from stays.
  const auto target = dir / "saga.xml";
  WriteFile(target, original);
  Document failed;
  EXPECT_FALSE(failed.loadXml("<document>").ok);
  EXPECT_EQ(SaveError(failed, target), Utf8(target) + ": no se puede guardar el documento: no tiene elemento raíz");
  EXPECT_EQ(ReadFile(target), original);
  EXPECT_EQ(ListDir(dir.path()),
            (std::vector<std::string>{"carpeta.xml", "marcada", "retenida.xml", "saga.xml", "solo-lectura.xml"}));
  ::SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(XmlSave, KeepsAttributes) {
  TempDir dir;
  const auto file = dir / "oculta.xml";
  WriteFile(file, "<document/>");
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  Document doc;
  ASSERT_TRUE(doc.load(file).ok);
  doc.documentElement()->setAttribute("id", "x");
  doc.save(file);
  EXPECT_EQ(ReadFile(file), "<document id=\"x\"/>\n");
  EXPECT_EQ(::GetFileAttributesW(file.c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"oculta.xml"});
}

}  // namespace
}  // namespace velquior::xml
