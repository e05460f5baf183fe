// A result file that another program holds without sharing it.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/shell/unable_to_write.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

TEST(IniFileTest, AFileHeldByAnotherProgramKeepsItsText) {
  TempDir dir;
  const auto ini = dir / "Zeltimor.ini";
  WriteFile(ini, "[Transformadores]\nTransformado=0\n");
  struct Hold {
    DWORD access;
    const char* what;
  } holds[] = {{GENERIC_READ, "reading"}, {GENERIC_READ | GENERIC_WRITE, "writing"}};
  for (const Hold& h : holds) {
    SCOPED_TRACE(h.what);
    HANDLE held = ::CreateFileW(ini.c_str(), h.access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ExpectUnableToWrite(ini);
    ::CloseHandle(held);
    EXPECT_EQ(ReadFile(ini), "[Transformadores]\nTransformado=0\n");
    EXPECT_EQ(velquior::testing::ListDir(dir.path()), std::vector<std::string>{"Zeltimor.ini"});
  }
}

}  // namespace
}  // namespace velquior::shell
