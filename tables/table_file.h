#pragma once
// The open file of a table: one descriptor, read and written with pread /
// pwrite, holding the table's advisory lock (flock, taken without waiting:
// LOCK_EX for a form component, LOCK_SH for other handles). flock locks
// belong to the open file, so two handles of one process conflict like two
// programs do. The lock goes with the descriptor.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace velquior::tables {

// A byte buffer that is not zero-filled first: the file's bytes go straight
// into fresh memory, which is what reading a large table costs.
struct Bytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
  std::string_view view() const { return {data.get(), size}; }
};

class TableFile {
 public:
  enum class Lock { kShared, kExclusive };

  // Opens `path` for reading and writing (reading only when writing is not
  // allowed) and locks it. Raises Error msg::kTablaEnUso with `label` when
  // another holder's lock conflicts, msg::kNoSePuedeLeer when it cannot be
  // opened.
  static TableFile Open(const std::filesystem::path& path, Lock lock, std::string_view label);

  TableFile() = default;
  TableFile(TableFile&& other) noexcept;
  TableFile& operator=(TableFile&& other) noexcept;
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;
  ~TableFile();

  bool is_open() const { return fd_ >= 0; }
  // 0 when the file is open for writing, else the errno of that attempt.
  int write_error() const { return write_errno_; }
  // Device and inode: which handles of this process share a file.
  std::pair<dev_t, ino_t> id() const { return id_; }
  const std::filesystem::path& path() const { return path_; }

  // The whole file. Raises msg::kNoSePuedeLeer.
  Bytes ReadAll() const;
  // Exactly `size` bytes at `offset`; false when the file is shorter.
  bool ReadAt(std::uint64_t offset, char* out, std::size_t size) const;
  // `parts` one after the other from `offset`, in one call where the system
  // allows. Raises msg::kNoSePuedeEscribir.
  void WriteAt(std::uint64_t offset, std::span<const std::string_view> parts) const;
  void Truncate(std::uint64_t size) const;
  std::uint64_t Size() const;
  void SyncData() const;
  void Close();

 private:
  int fd_ = -1;
  int write_errno_ = 0;
  std::pair<dev_t, ino_t> id_{};
  std::filesystem::path path_;
};

}  // namespace velquior::tables
