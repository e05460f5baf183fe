#pragma once
// The open file of a table: one handle, read and written at offsets,
// holding the table's advisory lock (taken without waiting: exclusive for a
// form component, shared for other handles). Locks belong to the open
// handle, so two handles of one process conflict like two programs do. The
// lock goes with the handle.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/open_file.h"

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
  TableFile(TableFile&& other) noexcept = default;
  TableFile& operator=(TableFile&& other) noexcept = default;
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;
  ~TableFile() = default;  // closing releases the lock

  bool is_open() const { return file_.is_open(); }
  // Empty when the file is open for writing, else the reason of that attempt.
  std::error_code write_error() const { return write_error_; }
  // Which handles of this process share a file.
  platform::FileId id() const { return id_; }
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
  platform::OpenFile file_;
  std::error_code write_error_;
  platform::FileId id_{};
  std::filesystem::path path_;
};

}  // namespace velquior::tables
