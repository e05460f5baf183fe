// Saving where POSIX permissions and links decide.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/test_util.h"
#include "tests/xml/save_error.h"
#include "tests/xml/xml_fixtures.h"
#include "xml/document.h"

namespace velquior::xml {
namespace {

using velquior::testing::ListDir;
using velquior::testing::ReadFile;
using velquior::testing::TempDir;
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
  std::filesystem::permissions(read_only, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  EXPECT_EQ(SaveError(doc, read_only),
            read_only.string() + ": no se puede guardar el documento: el archivo es de solo lectura");
  EXPECT_EQ(ReadFile(read_only), original);

  const auto locked = dir / "bloqueada";
  std::filesystem::create_directory(locked);
  WriteFile(locked / "saga.xml", original);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(SaveError(doc, locked / "saga.xml"), (locked / "saga.xml").string() +
                                                     ": no se puede guardar el documento: el directorio " +
                                                     locked.string() + " es de solo lectura");
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadFile(locked / "saga.xml"), original);
  EXPECT_EQ(ListDir(locked), std::vector<std::string>{"saga.xml"});

  const auto folder = dir / "carpeta.xml";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(SaveError(doc, folder), folder.string() + ": es un directorio, no un archivo");
  EXPECT_TRUE(std::filesystem::is_directory(folder));

  const auto nowhere = dir / "no-existe" / "saga.xml";
  EXPECT_EQ(SaveError(doc, nowhere), nowhere.string() + ": no se puede escribir el archivo: No such file or directory");

  // A failed load leaves nothing to save: the file it came from stays.
  const auto target = dir / "saga.xml";
  WriteFile(target, original);
  Document failed;
  EXPECT_FALSE(failed.loadXml("<document>").ok);
  EXPECT_EQ(SaveError(failed, target), target.string() + ": no se puede guardar el documento: no tiene elemento raíz");
  EXPECT_EQ(ReadFile(target), original);
  EXPECT_EQ(ListDir(dir.path()),
            (std::vector<std::string>{"bloqueada", "carpeta.xml", "saga.xml", "solo-lectura.xml"}));
}

TEST(XmlSave, KeepsPermissionsAndLinks) {
  TempDir dir;
  const auto real = dir / "real.xml";
  WriteFile(real, "<document/>");
  std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  std::filesystem::create_symlink("real.xml", dir / "enlace.xml");
  Document doc;
  ASSERT_TRUE(doc.load(dir / "enlace.xml").ok);
  doc.documentElement()->setAttribute("id", "x");
  doc.save(dir / "enlace.xml");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "enlace.xml"));
  EXPECT_EQ(ReadFile(real), "<document id=\"x\"/>\n");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace velquior::xml
