#pragma once
// An open file of the platform: read and written at offsets, sized, cut,
// flushed, and locked for the whole file. Failures come back as the system's
// error codes; the callers turn them into the program's messages.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>

namespace velquior::platform {

enum class FileKind { kMissing, kRegular, kDirectory, kLink, kOther };

// Which open handles, of this process or any other, are the same file.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  auto operator<=>(const FileId&) const =
      default;  // NOLINT(modernize-use-nullptr): tidy misreads the synthesized compare
};

enum class LockMode { kShared, kExclusive };
enum class LockResult { kLocked, kBusy, kFailed };

class OpenFile {
 public:
  enum class Access {
    kRead,
    kReadWrite,
    kReadNoWait,  // a FIFO or device opens without waiting for a writer
    // Read, for a file the caller will rename or delete: where the system
    // lets a holder refuse that, such a holder makes the open fail now.
    kReadToReplace,
  };

  // A closed handle and the reason when `path` cannot be opened. A
  // directory opens for reading (to be locked or flushed). A file another
  // program holds for a moment is waited for (on Windows, about two seconds).
  static OpenFile Open(const std::filesystem::path& path, Access access, std::error_code& error);

  OpenFile() = default;
  OpenFile(OpenFile&& other) noexcept;
  OpenFile& operator=(OpenFile&& other) noexcept;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile();  // closing releases the lock

  bool is_open() const { return handle_ >= 0; }
  void Close();

  // kMissing when the file cannot be examined (`error` says why).
  FileKind Kind(std::error_code& error) const;
  FileId Id(std::error_code& error) const;
  std::uint64_t Size(std::error_code& error) const;

  // Up to `size` bytes from the current position; 0 at the end.
  std::size_t Read(char* out, std::size_t size, std::error_code& error) const;
  // Up to `size` bytes at `offset`, fewer only at the end.
  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t size, std::error_code& error) const;
  // `parts` one after the other from `offset`, whole, in as few calls as the
  // system allows.
  std::error_code WriteAt(std::uint64_t offset, std::span<const std::string_view> parts) const;
  std::error_code Truncate(std::uint64_t size) const;
  // On disk: `data_only` leaves out times and other bookkeeping.
  std::error_code Sync(bool data_only = false) const;

  // Advisory lock on the whole file, taken without waiting. Locks belong to
  // the open handle: two handles of one process conflict like two programs.
  LockResult TryLock(LockMode mode, std::error_code& error) const;

 private:
  explicit OpenFile(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = -1;  // a descriptor or a system handle
};

}  // namespace velquior::platform
