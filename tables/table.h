#pragma once
// A table handle of the dBASE engine: the operations the conversions use, in
// their calling order. One handle names a directory and a table; the file is
// found in the directory without regard to letter case ("soluc.dbf" is
// SOLUC), and a created table gets the upper-case name.
//
// Failures raise velquior::Error with a message that names the table's file.
// Texts in and out are Windows-1252 (text/encoding.h); stored text in another
// code page is converted on reading.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/value.h"

namespace velquior::tables {

enum class FieldType { kText, kInteger, kFloat };

// A field as defined for creation. `width` counts only for text.
struct FieldDef {
  std::string_view name;
  FieldType type;
  int width = 0;
};

// A field as the file stores it.
struct FieldInfo {
  std::string name;
  char type = 'C';  // dBASE type letter
  int width = 0;
  int decimals = 0;
};

class Table {
 public:
  // `name` with or without ".DBF" means the same file. `component` is the
  // name of a form component ("wwTableSoluc"): it opens for exclusive use and
  // prefixes its field errors with "wwTableSoluc: ".
  Table(std::filesystem::path dir, std::string_view name, std::string component = {});
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Definition and creation. CreateTable writes the empty table, replacing a
  // file of that name; the handle stays closed.
  void ClearFields();
  void AddField(const FieldDef& field);
  void CreateTable();

  // Opening an open table or closing a closed one does nothing and keeps the
  // current record. A component takes an exclusive lock on the file; other
  // handles a shared one. Either fails at once if the other kind is held.
  void Open();
  void Close();
  bool Active() const;

  // Writing: Append starts an empty record, Set* fill it by field name, Post
  // stores it. A text longer than its field is cut to the width. Posted
  // records reach the file in 64 KiB batches, each followed by the header's
  // count and date, so the file is always a complete table; Close, the
  // destructor and another handle opening the file write what is pending.
  void Append();
  void SetText(std::string_view field, std::string_view ansi_value);
  void SetFloat(std::string_view field, double value);
  void Post();

  // Reading in stored order; deleted records are skipped. On an empty table
  // Eof holds at once.
  void First();
  void Next();
  bool Eof() const;

  // Field values of the current record (or of the record being appended).
  // AsText: no trailing blanks; numbers in shortest form with the process
  // decimal separator; a blank number reads as the empty text.
  // AsInteger / AsFloat: a blank number reads as 0; a float is rounded half
  // to even; a text field converts its text or raises the conversion error.
  std::string AsText(std::string_view field) const;
  std::int32_t AsInteger(std::string_view field) const;
  double AsFloat(std::string_view field) const;
  Value AsValue(std::string_view field) const;

  const std::vector<FieldInfo>& Fields() const;  // of the open table
  // The current record's number as the host shows it: from 1, deleted
  // records counted; 0 when there is no current record.
  std::size_t RecordNumber() const;
  std::size_t RecordCount() const;               // live records of the open table
  std::string FileName() const;                  // "SOLUC.DBF", for messages
  const std::filesystem::path& Directory() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace velquior::tables
