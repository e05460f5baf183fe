// Files another program holds, and names beyond the system's old length
// limit. The wait is shortened here; the converter's tests wait in full.
#include <windows.h>
#undef MoveFile  // the system's macro would rename platform::MoveFile

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "platform/file_system.h"
#include "platform/open_file.h"
#include "platform/windows/held_file.h"
#include "platform/windows/long_path.h"
#include "tests/platform/windows_test_dir.h"

namespace velquior::platform {
namespace {

using testing::GetBytes;
using testing::PutBytes;
using testing::WindowsTestDir;
using namespace std::chrono_literals;

// A file held for good fails each call as busy after the wait, naming the
// file even where the system says only "access denied" (a move over it);
// one refused for good (read-only) is not waited for.
TEST(PlatformHeldFile, WaitedForThenFailedAsBusyNamingTheFile) {
  const auto before = SetHeldFileWait(300ms);
  WindowsTestDir dir;
  const auto held = dir / L"HELD\u65e5.DBF";
  const auto other = dir / L"other.tmp";
  PutBytes(held, "old");
  PutBytes(other, "new");
  const std::function<std::error_code()> calls[] = {
      [&] { return MoveFile(other, held); },
      [&] { return MoveFile(held, other); },
      [&] {
        std::error_code error;
        OpenFile::Open(held, OpenFile::Access::kReadToReplace, error);
        return error;
      },
  };
  HANDLE h =
      ::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  for (const auto& call : calls) {
    const auto start = std::chrono::steady_clock::now();
    const std::error_code error = call();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 290ms);
    EXPECT_EQ(error, std::errc::device_or_resource_busy) << error.message();
    EXPECT_EQ(error.message(), "otro programa tiene abierto el archivo HELD\xE6\x97\xA5.DBF");
  }
  ::CloseHandle(h);
  EXPECT_EQ(GetBytes(held), "old");

  ASSERT_TRUE(::SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_READONLY));
  SetHeldFileWait(3s);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RetryWhileHeld(held, [] { return static_cast<unsigned long>(ERROR_ACCESS_DENIED); }),
            static_cast<unsigned long>(ERROR_ACCESS_DENIED));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  SetHeldFileWait(before);
}

TEST(PlatformLongPath, ExtendedFormOnlyBeyondTheLimit) {
  const std::wstring long_name(300, L'a');
  const struct {
    std::wstring given, expected;
  } cases[] = {
      {L"C:\\short\\file.xml", L"C:\\short\\file.xml"},
      {L"C:\\" + long_name, L"\\\\?\\C:\\" + long_name},
      {L"C:/dir/../" + long_name, L"\\\\?\\C:\\" + long_name},
      {L"\\\\server\\share\\" + long_name, L"\\\\?\\UNC\\server\\share\\" + long_name},
      {L"\\\\?\\C:\\" + long_name, L"\\\\?\\C:\\" + long_name},
  };
  for (const auto& c : cases) EXPECT_EQ(Win32Path(c.given), c.expected);
}

}  // namespace
}  // namespace velquior::platform
