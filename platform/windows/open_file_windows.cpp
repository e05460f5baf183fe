#include "platform/open_file.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/windows/held_file.h"
#include "platform/windows/long_path.h"
#include "platform/windows/win_error.h"

namespace velquior::platform {
namespace {

HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// Byte-range locks are mandatory: a locked byte cannot be read through
// another handle. So the lock is on one byte no file reaches.
constexpr DWORD kLockOffsetLow = 0;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

// One call's most; larger transfers loop.
constexpr DWORD kMaxTransfer = DWORD{1} << 30;

// What a handle holds: the lock's mode and, for a directory, which cannot
// be byte-range locked, what stands for its lock: a lock file inside it, or
// a named object where no file can be made.
struct HeldLock {
  LockMode mode;
  HANDLE directory_lock = nullptr;
  bool lock_file = false;
};

// In the directory it locks: byte-range locks on one file are seen by every
// session of the machine (and every client of a shared folder), where a named
// object is seen only by its session. Never removed, as removing a lock file
// races with whoever has just opened it.
constexpr wchar_t kLockFileName[] = L".velquior.lock";

std::mutex g_locks_mutex;
std::map<std::intptr_t, HeldLock>& Locks() {
  static std::map<std::intptr_t, HeldLock> locks;
  return locks;
}

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}

void Unlock(HANDLE file, const HeldLock& held) {
  if (held.directory_lock != nullptr) {
    if (held.lock_file) {
      OVERLAPPED o = At(0);
      ::UnlockFileEx(held.directory_lock, 0, 1, 0, &o);
    }
    ::CloseHandle(held.directory_lock);
  } else {
    OVERLAPPED o = At((std::uint64_t{kLockOffsetHigh} << 32) | kLockOffsetLow);
    ::UnlockFileEx(file, 0, 1, 0, &o);
  }
}

bool GetInfo(HANDLE h, BY_HANDLE_FILE_INFORMATION& info, std::error_code& error) {
  if (!::GetFileInformationByHandle(h, &info)) {
    error = LastWin32Error();
    return false;
  }
  error.clear();
  return true;
}

// A directory where no lock file can be made (none can be written there
// either, so the run fails soon after): an object named after its identity,
// which exists while its holder keeps it.
LockResult LockDirectoryByName(HANDLE dir, HANDLE& object, std::error_code& error) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetInfo(dir, info, error)) return LockResult::kFailed;
  wchar_t name[64];
  ::swprintf(name, 64, L"Global\\velquior-lock-%08lx-%08lx%08lx", info.dwVolumeSerialNumber, info.nFileIndexHigh,
             info.nFileIndexLow);
  HANDLE h = ::CreateEventW(nullptr, TRUE, FALSE, name);
  if (h == nullptr) {
    error = LastWin32Error();
    return ::GetLastError() == ERROR_ACCESS_DENIED ? LockResult::kBusy : LockResult::kFailed;  // another user's
  }
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(h);
    error = FromWin32(ERROR_LOCK_VIOLATION);
    return LockResult::kBusy;
  }
  object = h;
  return LockResult::kLocked;
}

// The directory's path from its handle, as the system names it.
std::filesystem::path PathOf(HANDLE dir) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetFinalPathNameByHandleW(dir, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(n);
  }
}

// The lock of a directory: an exclusive lock on byte 0 of its lock file,
// which only this program opens and which holds no data. Shared is taken as
// exclusive: no caller shares a directory.
LockResult LockDirectory(HANDLE dir, HeldLock& held, std::error_code& error) {
  const std::filesystem::path dir_path = PathOf(dir);
  HANDLE file = INVALID_HANDLE_VALUE;
  if (!dir_path.empty()) {
    // Every sharing allowed and no deletion asked for: nothing that holds
    // the file keeps this open from succeeding.
    file = ::CreateFileW(Win32Path(dir_path / kLockFileName).c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_HIDDEN, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) {
    held.lock_file = false;
    return LockDirectoryByName(dir, held.directory_lock, error);
  }
  OVERLAPPED o = At(0);
  if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o)) {
    const DWORD code = ::GetLastError();
    ::CloseHandle(file);
    error = FromWin32(code);
    return code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING ? LockResult::kBusy : LockResult::kFailed;
  }
  error.clear();
  held.directory_lock = file;
  held.lock_file = true;
  return LockResult::kLocked;
}

}  // namespace

OpenFile OpenFile::Open(const std::filesystem::path& path, Access access, std::error_code& error) {
  DWORD rights = GENERIC_READ;
  if (access == Access::kReadWrite) rights |= GENERIC_WRITE;
  const std::wstring name = Win32Path(path);
  // Asked for, so that a holder that does not let the file go is found now;
  // a read-only file, which the callers refuse to replace, gets no leave.
  if (access == Access::kReadToReplace) {
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) rights |= DELETE;
  }
  // The read-only attribute refuses writing to everybody, as Windows does;
  // Wine run as root would otherwise let it pass.
  if (access == Access::kReadWrite) {
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      error = std::make_error_code(std::errc::permission_denied);
      return OpenFile();
    }
  }
  // Every sharing allowed: files held open are renamed and deleted by an
  // export's commit, as POSIX allows. Backup semantics open directories.
  HANDLE h = INVALID_HANDLE_VALUE;
  error = WithRetry(path, [&]() -> unsigned long {
    h = ::CreateFileW(name.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return h == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
  });
  if (error) return OpenFile();
  return OpenFile(reinterpret_cast<std::intptr_t>(h));
}

OpenFile::OpenFile(OpenFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

OpenFile::~OpenFile() { Close(); }

void OpenFile::Close() {
  if (handle_ < 0) return;
  {
    std::lock_guard guard(g_locks_mutex);
    if (auto it = Locks().find(handle_); it != Locks().end()) {
      // At once: the system frees a closed handle's locks only some time later.
      Unlock(AsHandle(handle_), it->second);
      Locks().erase(it);
    }
  }
  ::CloseHandle(AsHandle(handle_));
  handle_ = -1;
}

FileKind OpenFile::Kind(std::error_code& error) const {
  const DWORD type = ::GetFileType(AsHandle(handle_));
  if (type != FILE_TYPE_DISK) {
    if (type == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR) {
      error = LastWin32Error();
      return FileKind::kMissing;
    }
    error.clear();
    return FileKind::kOther;  // a device or a pipe
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetInfo(AsHandle(handle_), info, error)) return FileKind::kMissing;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::kDirectory : FileKind::kRegular;
}

FileId OpenFile::Id(std::error_code& error) const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetInfo(AsHandle(handle_), info, error)) return {};
  return {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::uint64_t OpenFile::Size(std::error_code& error) const {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(AsHandle(handle_), &size)) {
    error = LastWin32Error();
    return 0;
  }
  error.clear();
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t OpenFile::Read(char* out, std::size_t size, std::error_code& error) const {
  DWORD n = 0;
  if (!::ReadFile(AsHandle(handle_), out, static_cast<DWORD>(std::min<std::size_t>(size, kMaxTransfer)), &n, nullptr)) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) {  // a pipe's writer is gone: its end
      error.clear();
      return 0;
    }
    error = FromWin32(code);
    return 0;
  }
  error.clear();
  return n;
}

// Positioned reads and writes on a handle opened for synchronous use also
// move its file position; Read is not mixed with them by any caller.
std::size_t OpenFile::ReadAt(std::uint64_t offset, char* out, std::size_t size, std::error_code& error) const {
  std::size_t have = 0;
  error.clear();
  while (have < size) {
    OVERLAPPED o = At(offset + have);
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - have, kMaxTransfer));
    if (!::ReadFile(AsHandle(handle_), out + have, want, &n, &o)) {
      if (::GetLastError() != ERROR_HANDLE_EOF) error = LastWin32Error();
      break;
    }
    if (n == 0) break;  // the end of the file
    have += n;
  }
  return have;
}

namespace {

std::error_code WriteWhole(HANDLE h, std::uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    OVERLAPPED o = At(offset);
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kMaxTransfer));
    if (!::WriteFile(h, bytes.data(), want, &n, &o)) return LastWin32Error();
    if (n == 0) return FromWin32(ERROR_WRITE_FAULT);
    offset += n;
    bytes.remove_prefix(n);
  }
  return {};
}

}  // namespace

// Small parts are gathered into one buffer: no gathering write takes them
// on a handle like this one.
std::error_code OpenFile::WriteAt(std::uint64_t offset, std::span<const std::string_view> parts) const {
  constexpr std::size_t kGather = std::size_t{1} << 20;
  std::string gathered;
  auto flush = [&]() -> std::error_code {
    std::error_code error = WriteWhole(AsHandle(handle_), offset, gathered);
    offset += gathered.size();
    gathered.clear();
    return error;
  };
  for (std::string_view part : parts) {
    if (gathered.size() + part.size() > kGather) {
      if (auto error = flush()) return error;
    }
    if (part.size() >= kGather) {
      if (auto error = WriteWhole(AsHandle(handle_), offset, part)) return error;
      offset += part.size();
    } else {
      gathered.append(part);
    }
  }
  return flush();
}

std::error_code OpenFile::Truncate(std::uint64_t size) const {
  FILE_END_OF_FILE_INFO info{};
  info.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  if (!::SetFileInformationByHandle(AsHandle(handle_), FileEndOfFileInfo, &info, sizeof info)) return LastWin32Error();
  return {};
}

// The system flushes data and bookkeeping together.
std::error_code OpenFile::Sync(bool /*data_only*/) const {
  if (!::FlushFileBuffers(AsHandle(handle_))) return LastWin32Error();
  return {};
}

LockResult OpenFile::TryLock(LockMode mode, std::error_code& error) const {
  error.clear();
  HANDLE h = AsHandle(handle_);
  std::lock_guard guard(g_locks_mutex);
  auto held = Locks().find(handle_);
  if (held != Locks().end()) {
    // Held already: kept, or changed as flock changes it (let go, then taken
    // anew, so that it may be lost on the way).
    if (held->second.mode == mode || held->second.directory_lock != nullptr) return LockResult::kLocked;
    Unlock(h, held->second);
    Locks().erase(held);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetInfo(h, info, error)) return LockResult::kFailed;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    HeldLock lock{mode};
    const LockResult result = LockDirectory(h, lock, error);
    if (result == LockResult::kLocked) Locks().emplace(handle_, lock);
    return result;
  }
  DWORD flags = LOCKFILE_FAIL_IMMEDIATELY;
  if (mode == LockMode::kExclusive) flags |= LOCKFILE_EXCLUSIVE_LOCK;
  OVERLAPPED o = At((std::uint64_t{kLockOffsetHigh} << 32) | kLockOffsetLow);
  if (!::LockFileEx(h, flags, 0, 1, 0, &o)) {
    const DWORD code = ::GetLastError();
    error = FromWin32(code);
    return code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING ? LockResult::kBusy : LockResult::kFailed;
  }
  Locks().emplace(handle_, HeldLock{mode});
  return LockResult::kLocked;
}

}  // namespace velquior::platform
