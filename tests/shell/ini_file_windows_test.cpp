// A result file that another program holds without sharing it.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "shell/result_file.h"
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

// As a scanner holds a file just written: the result is waited for, not lost.
TEST(IniFileTest, AFileHeldForAMomentIsWrittenAfterIt) {
  TempDir dir;
  const auto ini = dir / "Zeltimor.ini";
  WriteFile(ini, "[Transformadores]\r\nTransformado=1\r\n");
  HANDLE held = ::CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread release([held] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::CloseHandle(held);
  });
  WriteResultCode(ini, 0);
  release.join();
  EXPECT_EQ(ReadFile(ini), "[Transformadores]\r\nTransformado=0\r\n");
  EXPECT_EQ(velquior::testing::ListDir(dir.path()), std::vector<std::string>{"Zeltimor.ini"});
}

}  // namespace
}  // namespace velquior::shell
