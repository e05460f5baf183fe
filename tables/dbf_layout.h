#pragma once
// The layout of a dBASE table read from its bytes: header, field list and
// where every record starts. A pure parser over a byte buffer, with a label
// (the file name) for its messages; values are decoded in dbf_values.h.
//
// Every failure raises velquior::Error "LABEL: what is wrong" in Spanish; no
// input makes it read outside the buffer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tables/dbf_format.h"
#include "tables/table.h"
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

struct Field {
  FieldInfo info;           // name (Windows-1252), type letter, width, decimals
  std::string stored_name;  // the name's bytes in the table's code page
  std::size_t offset = 0;   // from the start of the record (its deletion flag is byte 0)
  Decoding decoding = Decoding::kText;
  int null_bit = -1;    // Visual FoxPro: bit of _NULLFLAGS that makes the value NULL
  int length_bit = -1;  // Visual FoxPro V: bit saying the last byte holds the length
};

struct Layout {
  std::uint8_t version = 0;
  Flavour flavour = Flavour::kDbase;
  std::uint8_t language_driver = 0;
  text::CodePage code_page = text::CodePage::kWindows1252;  // what the conversions read
  bool code_page_declared = false;
  int declared_code_page = 0;        // the number the table declares (1251, 866...), 0 for none
  std::uint8_t date[3] = {0, 0, 0};  // last update as stored (the year byte's base varies)
  std::uint32_t record_count = 0;    // as the header gives it, deleted records included
  std::size_t header_length = 0;
  std::size_t record_length = 0;
  std::vector<Field> fields;          // the visible ones, in stored order
  std::size_t null_flags_offset = 0;  // Visual FoxPro _NULLFLAGS, width 0 when absent
  std::size_t null_flags_width = 0;
};

struct ParsedTable {
  Layout layout;
  std::uint32_t records_present = 0;  // the header's count, or fewer for a file cut short
  // Byte offset in the buffer of every live record, in stored order.
  std::vector<std::size_t> live;
};

// What to do with a file that holds fewer complete records than its header
// counts: refuse it (the conversions must not work from part of a table), or
// take the complete ones (showing a table as it is).
enum class ShortFile { kRefuse, kReadPresent };

// Parses header, field list and deletion flags. With ShortFile::kRefuse the
// records counted by the header must all be complete: a file cut short raises
// "la cabecera indica N registros y el archivo tiene M". A missing 0x1A and
// bytes after the last counted record are fine.
ParsedTable ParseTable(std::string_view bytes, std::string_view label, ShortFile short_file = ShortFile::kRefuse);

// Code page of a language driver byte (and, for level 7, its name) for the
// conversions: 437, 850 and 1252 are known; 0 and every other byte read as
// Windows-1252.
text::CodePage CodePageOf(std::uint8_t language_driver, std::string_view driver_name, bool* declared);

// The code page number a language driver byte (or a level 7 driver name)
// declares: 1252, 850, 1251, 936... 0 when it declares none we know.
int DeclaredCodePage(std::uint8_t language_driver, std::string_view driver_name);

}  // namespace velquior::tables::dbf
