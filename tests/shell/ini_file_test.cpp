#include "shell/ini_file.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "shell/result_file.h"
#include "tests/shell/unable_to_write.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

TEST(IniFileTest, SetsTheValueKeepingEverythingElse) {
  const struct {
    const char* name;
    std::string before;
    std::string after;
  } cases[] = {
      {"empty file", "", "[Transformadores]\r\nTransformado=1\r\n"},
      {"replaced in place, CRLF", "[Transformadores]\r\nTransformado=0\r\n", "[Transformadores]\r\nTransformado=1\r\n"},
      {"replaced in place, LF", "[Transformadores]\nTransformado=-1\n", "[Transformadores]\nTransformado=1\n"},
      {"section and key in any case", "[TRANSFORMADORES]\r\ntransformado=7\r\n",
       "[TRANSFORMADORES]\r\ntransformado=1\r\n"},
      {"blanks around names and value kept", "  [ Transformadores ]  \n\tTransformado  =  42  \n",
       "  [ Transformadores ]  \n\tTransformado  =  1\n"},
      {"other sections, comments and keys untouched",
       "; Zeltimor\r\n[General]\r\nTransformado=9\r\n\r\n[Transformadores]\r\n;Transformado=5\r\n"
       "Otro=x\r\nTransformado=0\r\nMas=y\r\n\r\n[Fin]\r\nA=b\r\n",
       "; Zeltimor\r\n[General]\r\nTransformado=9\r\n\r\n[Transformadores]\r\n;Transformado=5\r\n"
       "Otro=x\r\nTransformado=1\r\nMas=y\r\n\r\n[Fin]\r\nA=b\r\n"},
      {"no trailing newline, key replaced", "[Transformadores]\nTransformado=0", "[Transformadores]\nTransformado=1"},
      {"no trailing newline, section appended", "[Otra]\r\nA=b",
       "[Otra]\r\nA=b\r\n[Transformadores]\r\nTransformado=1\r\n"},
      {"section appended in the file's line ending", "[Otra]\nA=b\n\n",
       "[Otra]\nA=b\n\n[Transformadores]\nTransformado=1\n"},
      {"key added after the last entry of its section", "[Transformadores]\r\nOtro=x\r\n\r\n[Fin]\r\n",
       "[Transformadores]\r\nOtro=x\r\nTransformado=1\r\n\r\n[Fin]\r\n"},
      {"key added to an empty section at the end", "[Transformadores]", "[Transformadores]\r\nTransformado=1\r\n"},
      {"first of duplicated sections and keys wins",
       "[transformadores]\nTransformado=2\nTransformado=3\n[Transformadores]\nTransformado=4\n",
       "[transformadores]\nTransformado=1\nTransformado=3\n[Transformadores]\nTransformado=4\n"},
      {"a key without '=' gets one", "[Transformadores]\nTransformado\n", "[Transformadores]\nTransformado=1\n"},
      {"a longer key is another key", "[Transformadores]\nTransformados=0\n",
       "[Transformadores]\nTransformados=0\nTransformado=1\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF[Transformadores]\r\nTransformado=0\r\n",
       "\xEF\xBB\xBF[Transformadores]\r\nTransformado=1\r\n"},
      {"odd bytes elsewhere kept", "[Otra]\r\nNombre=Jos\xE9\r\nRaro=a\rb\r\n",
       "[Otra]\r\nNombre=Jos\xE9\r\nRaro=a\rb\r\n[Transformadores]\r\nTransformado=1\r\n"},
  };
  for (const auto& c : cases) {
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
