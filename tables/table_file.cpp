#include "tables/table_file.h"

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::tables {
namespace {

using platform::OpenFile;

[[noreturn]] void ThrowRead(const std::filesystem::path& path, const std::error_code& error) {
  throw Error(Format(msg::kNoSePuedeLeer, {PathForMessage(path), error.message()}));
}

[[noreturn]] void ThrowWrite(const std::filesystem::path& path, const std::error_code& error) {
  throw Error(Format(msg::kNoSePuedeEscribir, {PathForMessage(path), error.message()}));
}

// Refusals that still let the file be read.
bool OnlyWritingRefused(const std::error_code& error) {
  return error == std::errc::permission_denied || error == std::errc::read_only_file_system ||
         error == std::errc::operation_not_permitted;
}

}  // namespace

TableFile TableFile::Open(const std::filesystem::path& path, Lock lock, std::string_view label) {
  TableFile f;
  f.path_ = path;
  std::error_code error;
  f.file_ = OpenFile::Open(path, OpenFile::Access::kReadWrite, error);
  // Another program holds it and lets nobody else open it (Windows).
  if (error == std::errc::device_or_resource_busy) throw Error(Format(msg::kTablaEnUso, {label}));
  if (error) {
    f.write_error_ = error;
    if (!OnlyWritingRefused(error)) ThrowRead(path, error);
    f.file_ = OpenFile::Open(path, OpenFile::Access::kRead, error);
    if (error) ThrowRead(path, error);
  }
  const platform::FileKind kind = f.file_.Kind(error);
  if (error) ThrowRead(path, error);
  if (kind == platform::FileKind::kDirectory) throw Error(Format(msg::kEsUnDirectorio, {PathForMessage(path)}));
  f.id_ = f.file_.Id(error);
  const auto mode = lock == Lock::kExclusive ? platform::LockMode::kExclusive : platform::LockMode::kShared;
  switch (f.file_.TryLock(mode, error)) {
    case platform::LockResult::kLocked:
      break;
    case platform::LockResult::kBusy:
      throw Error(Format(msg::kTablaEnUso, {label}));
    case platform::LockResult::kFailed:
      ThrowRead(path, error);
  }
  return f;
}

void TableFile::Close() { file_.Close(); }

std::uint64_t TableFile::Size() const {
  std::error_code error;
  const std::uint64_t size = file_.Size(error);
  if (error) ThrowRead(path_, error);
  return size;
}

Bytes TableFile::ReadAll() const {
  Bytes out;
  const std::uint64_t size = Size();
  out.data = std::make_unique_for_overwrite<char[]>(size);
  std::error_code error;
  out.size = file_.ReadAt(0, out.data.get(), size, error);  // shorter if it shrank a moment ago
  if (error) ThrowRead(path_, error);
  return out;
}

bool TableFile::ReadAt(std::uint64_t offset, char* out, std::size_t size) const {
  std::error_code error;
  const std::size_t have = file_.ReadAt(offset, out, size, error);
  if (error) ThrowRead(path_, error);
  return have == size;
}

void TableFile::WriteAt(std::uint64_t offset, std::span<const std::string_view> parts) const {
  if (write_error_) ThrowWrite(path_, write_error_);
  if (auto error = file_.WriteAt(offset, parts)) ThrowWrite(path_, error);
}

void TableFile::Truncate(std::uint64_t size) const {
  if (write_error_) ThrowWrite(path_, write_error_);
  if (auto error = file_.Truncate(size)) ThrowWrite(path_, error);
}

void TableFile::SyncData() const {
  // A file system that cannot flush this kind of file is not a failure.
  if (auto error = file_.Sync(true); error && error != std::errc::invalid_argument) ThrowWrite(path_, error);
}

}  // namespace velquior::tables
