#pragma once
// The state of a table handle while it lives, shared by its parts:
// table_open.cpp (opening, closing, creating), table_records.cpp (the
// records in memory and on disk, appending), table_fields.cpp (reading and
// setting fields by name).
//
// The state machine follows the host's data sets: Append starts a record,
// Set* fill it, Post stores it and makes it current. A modified record still
// pending is posted by Append, First and Next (an untouched one is dropped);
// Close and destruction drop it. After the last record Next sets Eof and
// leaves the current record where it was.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"
#include "tables/dbf_format.h"
#include "tables/dbf_reader.h"
#include "tables/dbf_writer.h"
#include "tables/open_tables.h"
#include "tables/table.h"
#include "tables/table_file.h"

namespace velquior::tables {

struct Table::Impl final : BufferedHandle {
  std::filesystem::path dir;
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

  // ---- Opening and closing (table_open.cpp) ----

  void Open();
  void Close();
  void CreateTable();

  void CheckActive() const {
    if (!active) throw Error(Format(msg::kTablaNoAbierta, {file_name}));
  }

  // ---- Records (table_records.cpp) ----

  char* BatchSlot(std::uint32_t number) const {
    return batch.get() + static_cast<std::size_t>(number - flushed) * layout.record_length;
  }
  std::string_view RecordAt(std::uint32_t number) const;
  std::string_view CurrentRecord(std::size_t* number) const;

  // Writes the posted records of the batch and a new 0x1A after them, then
  // the header's count and date: the file is a complete table before,
  // between and after these writes. OpenTablesMutex() held.
  void FlushLocked() override;
  void Append();
  void Post();
  // What the host's data sets do with a pending record before moving.
  void LeavePending();

  // ---- Fields (table_fields.cpp) ----

  [[noreturn]] void FieldMissing(std::string_view name) const;
  // Per field access, so kept inline: the name cache answers most calls.
  std::size_t FieldIndex(std::string_view name) const {
    CheckActive();
    CachedName& c = names[((reinterpret_cast<std::uintptr_t>(name.data()) >> 3) ^ name.size()) % names.size()];
    if (c.data == name.data() && c.size == name.size() && layout.fields[c.index].info.name == name) return c.index;
    auto i = dbf::FindField(layout, name);
    if (!i) FieldMissing(name);
    if (layout.fields[*i].info.name == name) c = {name.data(), name.size(), *i};
    return *i;
  }
  Value Decode(std::size_t index) const;
  std::string AsText(std::string_view field) const;
  std::int32_t AsInteger(std::string_view field) const;
  double AsFloat(std::string_view field) const;

  [[noreturn]] void DoesNotFit(std::string_view shown_value, std::size_t index) const;
  char* PendingField(std::size_t index, std::size_t* width) {
    if (!appending) throw Error(Format(msg::kTablaSinRegistro, {file_name}));
    const dbf::Field& f = layout.fields[index];
    *width = static_cast<std::size_t>(f.info.width);
    modified = true;
    return BatchSlot(stored) + f.offset;
  }
  void Put(std::size_t index, const std::optional<std::string>& formatted, std::string_view shown_value);
  void PutBlank(std::size_t index);
  void PutText(std::size_t index, std::string_view ansi);
  void SetText(std::string_view field, std::string_view value);
  void SetFloat(std::string_view field, double value);
};

}  // namespace velquior::tables
