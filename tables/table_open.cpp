// Opening reads the whole file into memory and parses it once; closing
// writes what is pending. Creation replaces the file with an empty table.

#include <algorithm>
#include <exception>
#include <mutex>

#include "common/file_lock.h"
#include "common/files.h"
#include "tables/table_impl.h"

namespace velquior::tables {
namespace fs = std::filesystem;

void Table::Impl::Open() {
  if (active) return;
  std::error_code ec;
  std::optional<fs::path> found;
  if (fs::is_directory(dir, ec)) found = FindFileNoCase(dir, file_name);
  if (!found) throw Error(Format(msg::kTablaNoExiste, {file_name, PathForMessage(dir)}));

  TableFile f =
      TableFile::Open(*found, component.empty() ? TableFile::Lock::kShared : TableFile::Lock::kExclusive, file_name);
  {
    std::lock_guard<std::mutex> lock(OpenTablesMutex());
    FlushOthersLocked(f.id(), this);
  }
  Bytes bytes = f.ReadAll();
  dbf::ParsedTable parsed = dbf::ParseTable(bytes.view(), file_name);

  layout = std::move(parsed.layout);
  live.clear();
  live.reserve(parsed.live.size());
  for (std::size_t at : parsed.live) {
    live.push_back(static_cast<std::uint32_t>((at - layout.header_length) / layout.record_length));
  }
  infos.clear();
  for (const auto& field : layout.fields) infos.push_back(field.info);
  names = {};
  not_writable = dbf::WhyNotWritable(layout);
  base_count = flushed = stored = layout.record_count;
  batch_records = std::max<std::size_t>(1, dbf::kFlushBytes / layout.record_length);
  window_first = window_count = 0;
  trimmed = wrote = false;
  cursor = 0;
  eof = live.empty();
  appending = modified = false;
  file = std::move(f);
  std::lock_guard<std::mutex> lock(OpenTablesMutex());
  image = std::move(bytes);
  RegisterOpenLocked(file.id(), this);
  active = true;
}

void Table::Impl::Close() {
  if (!active) return;
  appending = modified = false;  // a pending record is dropped
  std::exception_ptr error;
  try {
    std::lock_guard<std::mutex> lock(OpenTablesMutex());
    FlushLocked();
  } catch (...) {
    error = std::current_exception();
  }
  std::lock_guard<std::mutex> lock(OpenTablesMutex());
  UnregisterOpenLocked(file.id(), this);
  file.Close();
  active = false;
  image = {};
  batch.reset();
  window.reset();
  window_count = 0;
  live = {};
  infos.clear();
  layout = {};
  eof = true;
  if (error) std::rethrow_exception(error);
}

void Table::Impl::CreateTable() {
  if (active) Close();
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) {
    throw Error(
        Format(msg::kTablaNoSePuedeCrear, {file_name, Format(msg::why::kSinDirectorio, {PathForMessage(dir)})}));
  }
  const std::string bytes = dbf::EmptyTable(defs, dbf::Today(), file_name);
  const fs::path target = dir / file_name;
  // Replacing a table that a handle or another program holds open would
  // write beside it: refuse, as opening would.
  std::optional<FileLock> guard;
  if (fs::exists(target, ec)) {
    bool in_use = false;
    try {
      guard = FileLock::TryLock(target, FileLock::Mode::kExclusive);
      in_use = !guard;
    } catch (const Error&) {
      // Unreadable: no handle of ours holds it; the replacement decides.
    }
    if (in_use) throw Error(Format(msg::kTablaEnUso, {file_name}));
  }
  // Let go before the replacement: Windows refuses to move a file over one
  // that any handle, this one too, holds open.
  guard.reset();
  try {
    AtomicReplaceFile(target, bytes);
  } catch (const Error& e) {
    throw Error(Format(msg::kTablaNoSePuedeCrear, {file_name, e.message()}));
  }
}

}  // namespace velquior::tables
