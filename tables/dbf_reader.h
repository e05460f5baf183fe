#pragma once
// Reading dBASE tables from bytes: a pure parser over a byte buffer, with a
// label (the file name) for its messages. The Table handle parses once on
// Open and decodes a field when it is read; ReadTable decodes everything.
//
// Every failure raises velquior::Error "LABEL: what is wrong" in Spanish; no
// input makes it read outside the buffer.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/dbf_format.h"
#include "tables/table.h"
#include "tables/value.h"
#include "text/encoding.h"

namespace velquior::tables::dbf {

// How a field's bytes turn into a Value.
enum class Decoding : std::uint8_t {
  kText,            // C, V: text in the table's code page, trailing blanks and NULs removed
  kNumber,          // N: decimal text; Integer when it has no fraction
  kFloatText,       // F: decimal text, always Float
  kDate,            // D: "YYYYMMDD"
  kLogical,         // L
  kInt32Le,         // I, + (dBASE IV/V, Visual FoxPro): little-endian two's complement
  kInt32Sortable,   // I, + (level 7): big-endian with the sign bit flipped; all zero is blank
  kDoubleLe,        // B (Visual FoxPro), O outside level 7: little-endian IEEE 754
  kDoubleSortable,  // O (level 7): big-endian, sign flipped (>= 0) or all bits inverted (< 0)
  kCurrency,        // Y: int64 little-endian in units of 1/10000
  kDateTimeLe,      // T, @ outside level 7: Julian day and milliseconds, little-endian int32s
  kTimestamp7,      // @ (level 7): big-endian double, milliseconds from 0001-01-01 less a day
  kMemo,            // M, G, P, B (dBASE), W, Q: the block number only; read as empty text
};

// True when the field holds text: AsInteger/AsFloat convert its text.
bool IsTextDecoding(Decoding d);

struct Field {
  FieldInfo info;          // name (Windows-1252), type letter, width, decimals
  std::size_t offset = 0;  // from the start of the record (its deletion flag is byte 0)
  Decoding decoding = Decoding::kText;
  int null_bit = -1;    // Visual FoxPro: bit of _NULLFLAGS that makes the value NULL
  int length_bit = -1;  // Visual FoxPro V: bit saying the last byte holds the length
};

struct Layout {
  std::uint8_t version = 0;
  Flavour flavour = Flavour::kDbase;
  std::uint8_t language_driver = 0;
  text::CodePage code_page = text::CodePage::kWindows1252;
  bool code_page_declared = false;
  std::uint8_t date[3] = {0, 0, 0};  // last update as stored (the year byte's base varies)
  std::uint32_t record_count = 0;     // as the header gives it, deleted records included
  std::size_t header_length = 0;
  std::size_t record_length = 0;
  std::vector<Field> fields;          // the visible ones, in stored order
  std::size_t null_flags_offset = 0;  // Visual FoxPro _NULLFLAGS, width 0 when absent
  std::size_t null_flags_width = 0;
};

struct ParsedTable {
  Layout layout;
  // Byte offset in the buffer of every live record, in stored order.
  std::vector<std::size_t> live;
};

// Parses header, field list and deletion flags. The records counted by the
// header must all be complete: a file cut short raises "la cabecera indica N
// registros y el archivo tiene M". A missing 0x1A and bytes after the last
// counted record are fine.
ParsedTable ParseTable(std::string_view bytes, std::string_view label);

// The value of field `index` in `record` (record_length bytes starting with
// the deletion flag). `record_number` (from 1, deleted records counted) only
// goes into the message of a value that is not valid.
Value DecodeValue(const Layout& layout, std::string_view record, std::size_t index, std::string_view label,
                  std::size_t record_number);

// The field named `name`: the first spelled exactly so, else the first equal
// without regard to ASCII case.
std::optional<std::size_t> FindField(const Layout& layout, std::string_view name);

// Code page of a language driver byte (and, for level 7, its name): 437,
// 850 and 1252 are known; 0 and unknown bytes read as Windows-1252.
text::CodePage CodePageOf(std::uint8_t language_driver, std::string_view driver_name, bool* declared);

// Everything decoded: what the dump command and the tests want.
struct TableContents {
  Layout layout;
  std::vector<FieldInfo> fields;
  std::vector<std::vector<Value>> records;  // live records, fields in order
};
TableContents ReadTable(std::string_view bytes, std::string_view label);
// Thin: the whole file, labelled with its file name.
TableContents ReadTable(const std::filesystem::path& path);

}  // namespace velquior::tables::dbf
