// The program's own case-insensitive comparison against Windows' own
// (CompareStringA, Spanish, NORM_IGNORECASE) over every pair of single
// Windows-1252 characters. The program keeps its own on every platform so
// that results never depend on it; this records where the two part ways.
#include <windows.h>

#include <cstdio>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "text/compare.h"

namespace velquior::text {
namespace {

using Pair = std::pair<int, int>;

bool WindowsEqualsNoCase(char a, char b) {
  const LCID spanish = MAKELCID(MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN), SORT_DEFAULT);
  return ::CompareStringA(spanish, NORM_IGNORECASE, &a, 1, &b, 1) == CSTR_EQUAL;
}

TEST(CompareNoCaseWindows, AgreesWithWindowsOnEveryPairOfLettersAndSigns) {
  std::set<Pair> only_ours;     // the program folds, Windows does not
  std::set<Pair> only_windows;  // Windows calls them equal, the program does not
  for (int a = 1; a < 256; ++a) {
    for (int b = a + 1; b < 256; ++b) {
      const char ca = static_cast<char>(a);
      const char cb = static_cast<char>(b);
      const bool ours = EqualsNoCase(std::string_view(&ca, 1), std::string_view(&cb, 1));
      const bool windows = WindowsEqualsNoCase(ca, cb);
      if (ours && !windows) only_ours.insert({a, b});
      if (windows && !ours) only_windows.insert({a, b});
    }
  }
  for (const auto& [a, b] : only_windows) std::printf("Windows only: 0x%02X 0x%02X\n", a, b);
  for (const auto& [a, b] : only_ours) std::printf("ours only: 0x%02X 0x%02X\n", a, b);

  // Every pair of letters the program folds, Windows folds too.
  EXPECT_TRUE(only_ours.empty());
}

}  // namespace
}  // namespace velquior::text
