// The table handle: the whole file read into memory at Open and parsed
// once, fields decoded when read. Appended records are built in a batch
// buffer and written a batch at a time; the buffer is then reused, so
// writing a large table never holds it all in memory.
//
// The state machine follows the host's data sets: Append starts a record,
// Set* fill it, Post stores it and makes it current. A modified record still
// pending is posted by Append, First and Next (an untouched one is dropped);
// Close and destruction drop it. After the last record Next sets Eof and
// leaves the current record where it was.

#include "tables/table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

#include "common/error.h"
#include "common/file_lock.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "tables/dbf_format.h"
#include "tables/dbf_reader.h"
#include "tables/dbf_writer.h"
#include "tables/table_file.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior::tables {
namespace fs = std::filesystem;
namespace {

// A handle that may hold posted records not yet in its file.
class Buffered {
 public:
  virtual void FlushLocked() = 0;

 protected:
  ~Buffered() = default;
};

// Every open handle of the process by file, so that a handle about to read a
// file first has the others write what they hold. The mutex also guards
// every handle's batch while it is posted to or written.
std::mutex g_mutex;
std::multimap<platform::FileId, Buffered*> g_open;

void FlushOthersLocked(platform::FileId id, const Buffered* self) {
  auto [first, last] = g_open.equal_range(id);
  for (auto it = first; it != last; ++it) {
    if (it->second != self) it->second->FlushLocked();
  }
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

// "soluc", "SOLUC.DBF" and "soluc.dbf" all name SOLUC.DBF.
std::string DataFileName(std::string_view name) {
  constexpr std::string_view kExt = ".DBF";
  if (name.size() >= kExt.size() && EqualsNoCaseAscii(name.substr(name.size() - kExt.size()), kExt)) {
    name.remove_suffix(kExt.size());
  }
  return UpperAscii(name) + std::string(kExt);
}

std::uint32_t U32Le(const char* p) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  return v;
}

std::string ValueText(const Value& v) {
  struct Visitor {
    std::string operator()(const Null&) const { return {}; }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(std::int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const { return text::FormatShortest(d, text::DecimalSeparator()); }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
  };
  return std::visit(Visitor{}, v);
}

}  // namespace

struct Table::Impl final : Buffered {
  fs::path dir;
  std::string file_name;  // "SOLUC.DBF"
  std::string component;  // "wwTableSoluc", or empty
  std::vector<dbf::NewField> defs;

  // ---- While open ----
  //
  // Records are numbered from 0 in stored order, deleted ones included:
  //   [0, base_count)     read at Open, in `image`;
  //   [base_count, flushed)  appended and written: on disk only (`window`
  //                          keeps the last batch written, or one read back);
  //   [flushed, stored)   posted, in `batch`, written at the next flush;
  //   stored              the record being appended, in `batch` too.
  bool active = false;
  TableFile file;
  Bytes image;  // the file as read
  dbf::Layout layout;
  std::vector<FieldInfo> infos;
  std::optional<std::string> not_writable;
  std::uint32_t base_count = 0;
  std::uint32_t flushed = 0;  // = the file's header count
  std::uint32_t stored = 0;
  std::size_t batch_records = 1;
  std::unique_ptr<char[]> batch;
  mutable std::unique_ptr<char[]> window;
  mutable std::uint32_t window_first = 0;
  mutable std::uint32_t window_count = 0;
  std::vector<std::uint32_t> live;  // number of every live record
  bool trimmed = false;             // bytes after the records cut from the file
  bool wrote = false;
  std::size_t cursor = 0;
  bool eof = true;
  bool appending = false;  // the record `stored` is being filled
  bool modified = false;

  // Field names as callers pass them (mostly the same constants): the last
  // exact match of a name's characters, by where they are.
  struct CachedName {
    const char* data = nullptr;
    std::size_t size = 0;
    std::size_t index = 0;
  };
  mutable std::array<CachedName, 64> names{};

  [[noreturn]] void FieldMissing(std::string_view name) const {
    std::string m = Format(msg::kCampoNoEncontrado, {text::AnsiToUtf8(name)});
    if (!component.empty()) m = component + ": " + m;
    throw Error(m);
  }

  void CheckActive() const {
    if (!active) throw Error(Format(msg::kTablaNoAbierta, {file_name}));
  }

  std::size_t FieldIndex(std::string_view name) const {
    CheckActive();
    CachedName& c = names[((reinterpret_cast<std::uintptr_t>(name.data()) >> 3) ^ name.size()) % names.size()];
    if (c.data == name.data() && c.size == name.size() && layout.fields[c.index].info.name == name) return c.index;
    auto i = dbf::FindField(layout, name);
    if (!i) FieldMissing(name);
    if (layout.fields[*i].info.name == name) c = {name.data(), name.size(), *i};
    return *i;
  }

  // ---- Records ----

  char* BatchSlot(std::uint32_t number) const {
    return batch.get() + static_cast<std::size_t>(number - flushed) * layout.record_length;
  }

  std::string_view RecordAt(std::uint32_t number) const {
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

  std::string_view CurrentRecord(std::size_t* number) const {
    if (appending) {
      *number = static_cast<std::size_t>(stored) + 1;
      return RecordAt(stored);
    }
    if (live.empty()) throw Error(Format(msg::kTablaSinRegistro, {file_name}));
    *number = static_cast<std::size_t>(live[cursor]) + 1;
    return RecordAt(live[cursor]);
  }

  Value Decode(std::size_t index) const {
    std::size_t number = 0;
    std::string_view record = CurrentRecord(&number);
    return dbf::DecodeValue(layout, record, index, file_name, number);
  }

  // ---- Setting fields of the pending record ----

  [[noreturn]] void DoesNotFit(std::string_view shown_value, std::size_t index) const {
    throw Error(Format(msg::kValorNoCabe, {file_name, shown_value, text::AnsiToUtf8(layout.fields[index].info.name)}));
  }

  char* PendingField(std::size_t index, std::size_t* width) {
    if (!appending) throw Error(Format(msg::kTablaSinRegistro, {file_name}));
    const dbf::Field& f = layout.fields[index];
    *width = static_cast<std::size_t>(f.info.width);
    modified = true;
    return BatchSlot(stored) + f.offset;
  }

  void Put(std::size_t index, const std::optional<std::string>& formatted, std::string_view shown_value) {
    if (!formatted) DoesNotFit(shown_value, index);
    std::size_t width = 0;
    char* out = PendingField(index, &width);
    std::memcpy(out, formatted->data(), width);
  }

  void PutBlank(std::size_t index) {
    std::size_t width = 0;
    char* out = PendingField(index, &width);
    std::memset(out, ' ', width);
  }

  void PutText(std::size_t index, std::string_view ansi) {
    std::size_t width = 0;
    char* out = PendingField(index, &width);
    dbf::PutText(out, width, ansi, layout.code_page);
  }

  void SetText(std::string_view field, std::string_view value) {
    const std::size_t i = FieldIndex(field);
    const dbf::Field& f = layout.fields[i];
    switch (dbf::KindOf(f)) {
      case dbf::WriteKind::kText:
        return PutText(i, value);
      case dbf::WriteKind::kInteger:
        if (value.empty()) return PutBlank(i);
        return Put(i, dbf::FormatInteger(text::StrToInt(value), f.info.width), text::AnsiToUtf8(value));
      case dbf::WriteKind::kFloat:
        if (value.empty()) return PutBlank(i);
        return Put(i, dbf::FormatFloat(text::StrToFloat(value), f.info.width, f.info.decimals),
                   text::AnsiToUtf8(value));
    }
  }

  void SetFloat(std::string_view field, double value) {
    const std::size_t i = FieldIndex(field);
    const dbf::Field& f = layout.fields[i];
    switch (dbf::KindOf(f)) {
      case dbf::WriteKind::kText:
        return PutText(i, text::FormatShortest(value, text::DecimalSeparator()));
      case dbf::WriteKind::kInteger: {
        const double r = std::nearbyint(value);  // halves to even
        if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0) {
          DoesNotFit(text::FormatShortest(value, text::DecimalSeparator()), i);
        }
        return Put(i, dbf::FormatInteger(text::RoundHalfEven(value), f.info.width),
                   text::FormatShortest(value, text::DecimalSeparator()));
      }
      case dbf::WriteKind::kFloat: {
        auto formatted = dbf::FormatFloat(value, f.info.width, f.info.decimals);
        if (!formatted) DoesNotFit(text::FormatShortest(value, text::DecimalSeparator()), i);
        return Put(i, formatted, {});
      }
    }
  }

  // ---- Reading fields ----

  std::int32_t AsInteger(std::string_view field) const {
    const std::size_t i = FieldIndex(field);
    Value v = Decode(i);
    if (dbf::IsTextDecoding(layout.fields[i].decoding)) return text::StrToInt(ValueText(v));
    if (auto* n = std::get_if<std::int64_t>(&v)) {
      if (*n < INT32_MIN || *n > INT32_MAX) throw Error(Format(msg::kEnteroNoValido, {std::to_string(*n)}));
      return static_cast<std::int32_t>(*n);
    }
    if (auto* d = std::get_if<double>(&v)) return text::RoundHalfEven(*d);
    if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    return 0;  // blank number
  }

  double AsFloat(std::string_view field) const {
    const std::size_t i = FieldIndex(field);
    Value v = Decode(i);
    if (dbf::IsTextDecoding(layout.fields[i].decoding)) return text::StrToFloat(ValueText(v));
    if (auto* n = std::get_if<std::int64_t>(&v)) return static_cast<double>(*n);
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    return 0;  // blank number
  }

  // ---- Opening and closing ----

  void Open() {
    if (active) return;
    std::error_code ec;
    std::optional<fs::path> found;
    if (fs::is_directory(dir, ec)) found = FindFileNoCase(dir, file_name);
    if (!found) throw Error(Format(msg::kTablaNoExiste, {file_name, PathForMessage(dir)}));

    TableFile f = TableFile::Open(*found, component.empty() ? TableFile::Lock::kShared : TableFile::Lock::kExclusive,
                                  file_name);
    {
      std::lock_guard<std::mutex> lock(g_mutex);
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
    std::lock_guard<std::mutex> lock(g_mutex);
    image = std::move(bytes);
    g_open.emplace(file.id(), this);
    active = true;
  }

  void Close() {
    if (!active) return;
    appending = modified = false;  // a pending record is dropped
    std::exception_ptr error;
    try {
      std::lock_guard<std::mutex> lock(g_mutex);
      FlushLocked();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    auto [first, last] = g_open.equal_range(file.id());
    for (auto it = first; it != last; ++it) {
      if (it->second == this) {
        g_open.erase(it);
        break;
      }
    }
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

  // ---- Writing ----

  // Writes the posted records of the batch and a new 0x1A after them, then
  // the header's count and date: the file is a complete table before,
  // between and after these writes. g_mutex held.
  void FlushLocked() override {
    if (!active || stored == flushed) return;
    char count[4];
    if (!file.ReadAt(dbf::kRecordCountAt, count, sizeof count) || U32Le(count) != flushed) {
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

  void Append() {
    CheckActive();
    if (appending && modified) Post();
    if (not_writable) throw Error(Format(msg::kTablaDanada, {file_name, *not_writable}));
    if (file.write_error()) {
      throw Error(Format(msg::kNoSePuedeEscribir, {PathForMessage(file.path()), file.write_error().message()}));
    }
    if (stored == UINT32_MAX) throw Error(Format(msg::kTablaDanada, {file_name, msg::why::kSinSitio}));
    {
      std::lock_guard<std::mutex> lock(g_mutex);
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

  void Post() {
    CheckActive();
    if (!appending) return;
    {
      std::lock_guard<std::mutex> lock(g_mutex);
      ++stored;
      appending = modified = false;
      if (stored - flushed >= batch_records) FlushLocked();
    }
    live.push_back(stored - 1);
    cursor = live.size() - 1;
    eof = false;
  }

  // What the host's data sets do with a pending record before moving.
  void LeavePending() {
    if (!appending) return;
    if (modified) {
      Post();
    } else {
      appending = false;
    }
  }

  // ---- Creation ----

  void CreateTable() {
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
    try {
      AtomicReplaceFile(target, bytes);
    } catch (const Error& e) {
      throw Error(Format(msg::kTablaNoSePuedeCrear, {file_name, e.message()}));
    }
  }
};

Table::Table(fs::path dir, std::string_view name, std::string component) : impl_(std::make_unique<Impl>()) {
  impl_->dir = std::move(dir);
  impl_->file_name = DataFileName(name);
  impl_->component = std::move(component);
}

Table::~Table() {
  if (!impl_) return;
  try {
    impl_->Close();
  } catch (...) {  // a destructor cannot report; Close() does
  }
}

void Table::ClearFields() { impl_->defs.clear(); }

void Table::AddField(const FieldDef& field) {
  impl_->defs.push_back({std::string(field.name), field.type, field.width});
}

void Table::CreateTable() { impl_->CreateTable(); }
void Table::Open() { impl_->Open(); }
void Table::Close() { impl_->Close(); }
bool Table::Active() const { return impl_->active; }
void Table::Append() { impl_->Append(); }
void Table::SetText(std::string_view field, std::string_view ansi_value) { impl_->SetText(field, ansi_value); }
void Table::SetFloat(std::string_view field, double value) { impl_->SetFloat(field, value); }
void Table::Post() { impl_->Post(); }

void Table::First() {
  impl_->CheckActive();
  impl_->LeavePending();
  impl_->cursor = 0;
  impl_->eof = impl_->live.empty();
}

void Table::Next() {
  impl_->CheckActive();
  impl_->LeavePending();
  if (impl_->cursor + 1 < impl_->live.size()) {
    ++impl_->cursor;
    impl_->eof = false;
  } else {
    impl_->eof = true;
  }
}

bool Table::Eof() const { return !impl_->active || impl_->eof; }

std::string Table::AsText(std::string_view field) const {
  const std::size_t i = impl_->FieldIndex(field);
  return ValueText(impl_->Decode(i));
}

std::int32_t Table::AsInteger(std::string_view field) const { return impl_->AsInteger(field); }
double Table::AsFloat(std::string_view field) const { return impl_->AsFloat(field); }

Value Table::AsValue(std::string_view field) const {
  const std::size_t i = impl_->FieldIndex(field);
  return impl_->Decode(i);
}

const std::vector<FieldInfo>& Table::Fields() const {
  static const std::vector<FieldInfo> kNone;
  return impl_->active ? impl_->infos : kNone;
}

std::size_t Table::RecordCount() const { return impl_->active ? impl_->live.size() : 0; }
std::string Table::FileName() const { return impl_->file_name; }
const fs::path& Table::Directory() const { return impl_->dir; }

}  // namespace velquior::tables
