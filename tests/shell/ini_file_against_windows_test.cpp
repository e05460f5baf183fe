// The INI writer against the system's own profile writer on the same files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/ini_file.h"
#include "tests/shell/ini_cases.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

// Wine's profile writer is an approximation of the system's: where it is
// known to differ, the table says what it writes instead.
bool UnderWine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(IniFileAgainstWindowsTest, WritesWhatTheSystemWrites) {
  TempDir dir;
  const bool wine = UnderWine();
  int n = 0;
  for (const IniCase& c : kIniCases) {
    SCOPED_TRACE(c.name);
    // A name of its own per case: the system keeps profiles it has read.
    const std::string stem = std::to_string(n++);
    const auto ours = dir / (stem + "-nuestro.ini");
    const auto system = dir / (stem + "-sistema.ini");
    WriteFile(ours, c.before);
    WriteFile(system, c.before);
    WriteIniValue(ours, "Transformadores", "Transformado", "1");
    ASSERT_TRUE(::WritePrivateProfileStringW(L"Transformadores", L"Transformado", L"1", system.c_str()));
    EXPECT_EQ(ReadFile(ours), c.after);
    if (wine && c.wine_after != nullptr) {
      EXPECT_NE(std::string(c.wine_after), c.after) << "a known difference that is none";
      EXPECT_EQ(ReadFile(system), c.wine_after) << c.wine_reason;
    } else {
      EXPECT_EQ(ReadFile(system), c.after);
    }
  }
}

}  // namespace
}  // namespace velquior::shell
