#include "platform/windows/held_file.h"

#include <windows.h>
// windows.h first: the header below takes its types from it.
#include <restartmanager.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "platform/windows/long_path.h"
#include "platform/windows/utf16.h"
#include "platform/windows/win_error.h"

namespace velquior::platform {
namespace fs = std::filesystem;
namespace {

std::atomic<long long> g_wait_ms{2000};

// Access denied is also how a file with a delete pending answers, and a
// scanner's handle can leave one so; but a read-only file or a directory
// refuses for good, and is not waited for.
bool MayBeHeld(DWORD code, const fs::path& file) {
  if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) return true;
  if (code != ERROR_ACCESS_DENIED) return false;
  const DWORD attributes = ::GetFileAttributesW(Win32Path(file).c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ||
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

// The Restart Manager's entries, looked up when first needed: without them
// (older systems, Wine) the holder goes unnamed.
using StartSession = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR[]);
using RegisterResources = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR[], UINT, RM_UNIQUE_PROCESS[], UINT, LPCWSTR[]);
using GetList = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO[], LPDWORD);
using EndSession = DWORD(WINAPI*)(DWORD);

struct RestartManager {
  StartSession start = nullptr;
  RegisterResources register_resources = nullptr;
  GetList get_list = nullptr;
  EndSession end = nullptr;
};

template <typename Entry>
Entry Find(HMODULE module, const char* name) {
  // GetProcAddress's generic pointer to the entry's real type.
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

const RestartManager& Rm() {
  static const RestartManager rm = [] {
    RestartManager r;
    HMODULE module = ::LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return r;
    r.start = Find<StartSession>(module, "RmStartSession");
    r.register_resources = Find<RegisterResources>(module, "RmRegisterResources");
    r.get_list = Find<GetList>(module, "RmGetList");
    r.end = Find<EndSession>(module, "RmEndSession");
    return r;
  }();
  return rm;
}

// "Bloc de notas (proceso 1234)", one per program that holds `file`.
std::string Holders(const fs::path& file) {
  const RestartManager& rm = Rm();
  if (!rm.start || !rm.register_resources || !rm.get_list || !rm.end) return {};
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (rm.start(&session, 0, key) != ERROR_SUCCESS) return {};
  std::vector<RM_PROCESS_INFO> found;
  const std::wstring name = Win32Path(fs::absolute(file));
  LPCWSTR names[] = {name.c_str()};
  if (rm.register_resources(session, 1, names, 0, nullptr, 0, nullptr) == ERROR_SUCCESS) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      UINT needed = 0;
      UINT count = static_cast<UINT>(found.size());
      DWORD reasons = 0;
      const DWORD result = rm.get_list(session, &needed, &count, found.data(), &reasons);
      if (result == ERROR_MORE_DATA) {
        found.resize(needed);
        continue;
      }
      found.resize(result == ERROR_SUCCESS ? std::min<std::size_t>(count, found.size()) : 0);
      break;
    }
  }
  rm.end(session);
  std::string out;
  for (const RM_PROCESS_INFO& p : found) {
    if (!out.empty()) out += ", ";
    out += WideToUtf8(p.strAppName) + " (proceso " + std::to_string(p.Process.dwProcessId) + ")";
  }
  return out;
}

// The reasons of held files, each kept under a number the error code
// carries; the oldest make room after a while, long after any caller has
// shown its message.
class HeldCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "held-file"; }
  // Codes start at 1: an error code of 0 is no error.
  std::string message(int code) const override {
    std::lock_guard guard(mutex_);
    return reasons_[static_cast<std::size_t>(code - 1) % reasons_.size()];
  }
  std::error_condition default_error_condition(int) const noexcept override {
    return std::errc::device_or_resource_busy;
  }
  int Keep(std::string reason) const {
    std::lock_guard guard(mutex_);
    const std::size_t slot = next_++ % reasons_.size();
    reasons_[slot] = std::move(reason);
    return static_cast<int>(slot) + 1;
  }

 private:
  mutable std::mutex mutex_;
  mutable std::array<std::string, 64> reasons_;
  mutable std::size_t next_ = 0;
};

const HeldCategory& Held() {
  static const HeldCategory category;
  return category;
}

}  // namespace

std::chrono::milliseconds SetHeldFileWait(std::chrono::milliseconds total) {
  return std::chrono::milliseconds(g_wait_ms.exchange(total.count()));
}

unsigned long RetryWhileHeld(const fs::path& file, const std::function<unsigned long()>& attempt) {
  const ULONGLONG start = ::GetTickCount64();
  const auto wait = static_cast<ULONGLONG>(std::max<long long>(g_wait_ms.load(), 0));
  DWORD pause = 10;
  for (;;) {
    const DWORD code = attempt();
    if (code == ERROR_SUCCESS || !MayBeHeld(code, file)) return code;
    const ULONGLONG spent = ::GetTickCount64() - start;
    if (spent >= wait) return code;
    ::Sleep(static_cast<DWORD>(std::min<ULONGLONG>(pause, wait - spent)));
    pause = std::min<DWORD>(pause * 2, 400);
  }
}

// Asking leave to delete the file is refused for sharing.
bool HeldByAnother(const fs::path& file) {
  HANDLE h = ::CreateFileW(Win32Path(file).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    ::CloseHandle(h);
    return false;
  }
  return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::error_code FileError(unsigned long win32, const fs::path& file) {
  if (!MayBeHeld(win32, file)) return FromWin32(win32);
  const std::string holders = Holders(file);
  if (holders.empty() && win32 == ERROR_ACCESS_DENIED && !HeldByAnother(file)) return FromWin32(win32);
  const std::string name = WideToUtf8(file.filename().native());
  std::string reason = holders.empty() ? "otro programa tiene abierto el archivo " + name
                                       : "el archivo " + name + " lo tiene abierto " + holders;
  return {Held().Keep(std::move(reason)), Held()};
}

std::error_code WithRetry(const fs::path& file, const std::function<unsigned long()>& attempt) {
  const DWORD code = RetryWhileHeld(file, attempt);
  return code == ERROR_SUCCESS ? std::error_code() : FileError(code, file);
}

}  // namespace velquior::platform
