#include "shell/ini_file.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "shell/result_file.h"
#include "tests/shell/ini_cases.h"
#include "tests/shell/unable_to_write.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

TEST(IniFileTest, SetsTheValueKeepingEverythingElse) {
  for (const IniCase& c : kIniCases) {
    EXPECT_EQ(SetIniValue(c.before, "Transformadores", "Transformado", "1"), c.after) << c.name;
  }
}

TEST(IniFileTest, WritesTheResultCodeIntoAFile) {
  TempDir dir;
  const auto ini = dir / "Zeltimor.ini";
  WriteResultCode(ini, -1);
  EXPECT_EQ(ReadFile(ini), "[Transformadores]\r\nTransformado=-1\r\n");
  WriteFile(ini, "[Otra]\nA=1\n[Transformadores]\nTransformado=-1\n");
  WriteResultCode(ini, 1);
  EXPECT_EQ(ReadFile(ini), "[Otra]\nA=1\n[Transformadores]\nTransformado=1\n");
  WriteResultCode(ini, 0);
  EXPECT_EQ(ReadFile(ini), "[Otra]\nA=1\n[Transformadores]\nTransformado=0\n");
  // Nothing but the file itself is left in the directory.
  EXPECT_EQ(velquior::testing::ListDir(dir.path()), std::vector<std::string>{"Zeltimor.ini"});
}

TEST(IniFileTest, UnwritablePlacesRaiseUnableToWrite) {
  TempDir dir;
  ExpectUnableToWrite(dir / "missing" / "Zeltimor.ini");
  WriteFile(dir / "file", "x");
  ExpectUnableToWrite(dir / "file" / "Zeltimor.ini");
  std::filesystem::create_directory(dir / "Zeltimor.ini");
  ExpectUnableToWrite(dir / "Zeltimor.ini");
}

}  // namespace
}  // namespace velquior::shell
