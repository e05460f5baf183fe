#pragma once
// Files that another program holds for a moment. Antivirus scanners open
// each file as it is closed, so a rename, delete or open right after fails
// with a sharing violation or access denied for a few milliseconds: every
// such call in platform/windows is tried again for a while before it fails.

#include <chrono>
#include <filesystem>
#include <functional>
#include <system_error>

namespace velquior::platform {

// How long a held file is waited for in all (about two seconds); tests
// shorten it. Returns the previous wait.
std::chrono::milliseconds SetHeldFileWait(std::chrono::milliseconds total);

// Calls `attempt` (a Win32 error code, 0 for done) again, with growing
// pauses, while it fails as it does when `file` is held, until the wait is
// over. Returns the last attempt's code.
unsigned long RetryWhileHeld(const std::filesystem::path& file, const std::function<unsigned long()>& attempt);

// The error for `win32` from a call on `file`. When another program still
// holds the file, a reason in Spanish naming the file and, where the system
// can tell, the programs that hold it; it compares equal to
// std::errc::device_or_resource_busy. Otherwise FromWin32(win32).
std::error_code FileError(unsigned long win32, const std::filesystem::path& file);

// Whether another program holds `file` without leave to rename or delete it.
bool HeldByAnother(const std::filesystem::path& file);

// RetryWhileHeld, then FileError of what remains (empty on success).
std::error_code WithRetry(const std::filesystem::path& file, const std::function<unsigned long()>& attempt);

}  // namespace velquior::platform
