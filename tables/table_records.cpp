// The records of an open table: those read at Open stay in the file's image;
// appended ones are built in a batch buffer and written a batch at a time,
// then the buffer is reused, so writing a large table never holds it all in
// memory.

#include <algorithm>
#include <cstring>
#include <mutex>

#include "common/bytes.h"
#include "common/files.h"
#include "tables/table_impl.h"

namespace velquior::tables {

std::string_view Table::Impl::RecordAt(std::uint32_t number) const {
  const std::size_t rl = layout.record_length;
  if (number < base_count) return {image.data.get() + layout.header_length + number * rl, rl};
  if (number >= flushed) return {BatchSlot(number), rl};
  if (number < window_first || number >= window_first + window_count) {
    // Appended and written since Open: read back a batch of them.
    if (!window) window = std::make_unique_for_overwrite<char[]>(batch_records * rl);
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(batch_records, flushed - number));
    const std::uint64_t at = layout.header_length + static_cast<std::uint64_t>(number) * rl;
    window_count = 0;
    if (!file.ReadAt(at, window.get(), n * rl)) {
      throw Error(Format(msg::kTablaDanada, {file_name, msg::why::kCambiadaFuera}));
    }
    window_first = number;
    window_count = n;
  }
  return {window.get() + static_cast<std::size_t>(number - window_first) * rl, rl};
}

std::string_view Table::Impl::CurrentRecord(std::size_t* number) const {
  if (appending) {
    *number = static_cast<std::size_t>(stored) + 1;
    return RecordAt(stored);
  }
  if (live.empty()) throw Error(Format(msg::kTablaSinRegistro, {file_name}));
  *number = static_cast<std::size_t>(live[cursor]) + 1;
  return RecordAt(live[cursor]);
}

void Table::Impl::FlushLocked() {
  if (!active || stored == flushed) return;
  char count[4];
  if (!file.ReadAt(dbf::kRecordCountAt, count, sizeof count) || Le32({count, sizeof count}, 0) != flushed) {
    throw Error(Format(msg::kTablaDanada, {file_name, msg::why::kCambiadaFuera}));
  }
  static constexpr char kEof = static_cast<char>(dbf::kEndOfFile);
  const std::size_t rl = layout.record_length;
  const std::string_view parts[] = {{batch.get(), static_cast<std::size_t>(stored - flushed) * rl}, {&kEof, 1}};
  file.WriteAt(layout.header_length + static_cast<std::uint64_t>(flushed) * rl, parts);
  if (!trimmed) {
    // Whatever followed the records (another writer's bytes after its 0x1A).
    const std::uint64_t end = layout.header_length + static_cast<std::uint64_t>(stored) * rl + 1;
    if (file.Size() > end) file.Truncate(end);
    trimmed = true;
  }
  const auto stamp = dbf::HeaderStamp(dbf::Today(), stored);
  const std::string_view header[] = {{stamp.data(), stamp.size()}};
  file.WriteAt(dbf::kDateAt, header);

  // The batch just written becomes the window (the current record is
  // usually in it); the old window's memory takes the next batch. A
  // pending record moves to the front of the new batch.
  if (!window) window = std::make_unique_for_overwrite<char[]>(batch_records * rl);
  std::swap(batch, window);
  window_first = flushed;
  window_count = stored - flushed;
  if (appending) std::memcpy(batch.get(), window.get() + window_count * rl, rl);
  flushed = stored;
  wrote = true;
}

void Table::Impl::Append() {
  CheckActive();
  if (appending && modified) Post();
  if (not_writable) throw Error(Format(msg::kTablaDanada, {file_name, *not_writable}));
  if (file.write_error()) {
    throw Error(Format(msg::kNoSePuedeEscribir, {PathForMessage(file.path()), file.write_error().message()}));
  }
  if (stored == UINT32_MAX) throw Error(Format(msg::kTablaDanada, {file_name, msg::why::kSinSitio}));
  {
    std::lock_guard<std::mutex> lock(OpenTablesMutex());
    if (!batch) batch = std::make_unique_for_overwrite<char[]>(batch_records * layout.record_length);
    // Full when the flush of the last Post failed: it is tried again, and
    // the record is not started unless there is room for it.
    if (stored - flushed >= batch_records) FlushLocked();
  }
  char* slot = BatchSlot(stored);
  std::memset(slot, ' ', layout.record_length);
  slot[0] = static_cast<char>(dbf::kLiveFlag);
  appending = true;
  modified = false;
}

void Table::Impl::Post() {
  CheckActive();
  if (!appending) return;
  {
    std::lock_guard<std::mutex> lock(OpenTablesMutex());
    ++stored;
    appending = modified = false;
    if (stored - flushed >= batch_records) FlushLocked();
  }
  live.push_back(stored - 1);
  cursor = live.size() - 1;
  eof = false;
}

void Table::Impl::LeavePending() {
  if (!appending) return;
  if (modified) {
    Post();
  } else {
    appending = false;
  }
}

}  // namespace velquior::tables
