// A conversion's hold on a work directory from one Windows session, for the
// test of two sessions (two_sessions.sh).
//   session_lock_holder hold DIR STOP_FILE  takes the directory's lock as a
//       conversion does, says "held", keeps it until STOP_FILE exists
//       (a minute at most); meanwhile a named object marks this session
//   session_lock_holder probe   0 when this session sees that object

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/file_lock.h"

namespace {

constexpr wchar_t kSessionMark[] = L"Local\\velquior-test-session-mark";

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"probe" && argc == 2) {
    HANDLE mark = ::OpenEventW(SYNCHRONIZE, FALSE, kSessionMark);
    if (mark == nullptr) return 1;
    ::CloseHandle(mark);
    return 0;
  }
  if (mode != L"hold" || argc != 4) {
    std::fputs("usage: session_lock_holder hold DIR STOP_FILE | probe\n", stderr);
    return 2;
  }
  HANDLE mark = ::CreateEventW(nullptr, TRUE, FALSE, kSessionMark);
  auto lock = velquior::FileLock::TryLock(argv[2], velquior::FileLock::Mode::kExclusive);
  if (!lock) {
    std::puts("busy");
    return 1;
  }
  std::puts("held");
  std::fflush(stdout);
  const std::filesystem::path stop = argv[3];
  for (int i = 0; i < 1200 && !std::filesystem::exists(stop); ++i) ::Sleep(50);
  if (mark != nullptr) ::CloseHandle(mark);
  return 0;
}
