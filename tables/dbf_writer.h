#pragma once
// Writing dBASE III PLUS tables: the empty table's bytes, the header stamp
// rewritten after every batch of records, and the encoding of values into a
// record. Pure functions over bytes; the Table handle does the file I/O.
//
// Numbers always use a point, whatever the locale or the process separator.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/dbf_reader.h"
#include "tables/table.h"
#include "text/encoding.h"

namespace velquior::tables::dbf {

struct Date {
  int year = 1900;
  int month = 1;
  int day = 1;
};

// Today in local time, for the header's last-update date.
Date Today();

// A field as it is about to be created (its own copy of the name).
struct NewField {
  std::string name;
  FieldType type = FieldType::kText;
  int width = 0;  // text only
};

// The stored field of a definition: C(width), N(11,0) or N(19,4).
FieldInfo StoredField(const NewField& field);

// The bytes of the empty table: header, descriptors, 0x0D, 0x1A. Raises
// Error(msg::kTablaNoSePuedeCrear) with `label` when dBASE III PLUS cannot
// hold the definition (no fields, bad or repeated names, widths, too long).
std::string EmptyTable(const std::vector<NewField>& fields, Date date, std::string_view label);

// Header bytes 1-7: the last-update date (year - 1900, month, day) and the
// record count, little-endian.
std::array<char, 7> HeaderStamp(Date date, std::uint32_t record_count);

// How a stored field takes values from the callers: C as text, N and F
// without decimals as whole numbers, N and F with decimals as numbers.
enum class WriteKind { kText, kInteger, kFloat };
WriteKind KindOf(const Field& field);

// Why records cannot be appended to a table of this layout (UTF-8), or
// nullopt when they can: only dBASE III-style tables whose fields are all
// C, N or F are written to.
std::optional<std::string> WhyNotWritable(const Layout& layout);

// A blank record: live flag and blanks.
std::string BlankRecord(const Layout& layout);

// Right-aligned decimal text of `value` for N(width, decimals), or nullopt
// when no exact form fits: fixed with exactly `decimals` decimals when that
// is exact, else the shortest round-trip text in fixed, else in exponent
// notation. Not finite: nullopt.
std::optional<std::string> FormatFloat(double value, int width, int decimals);
// Right-aligned whole number, or nullopt when wider than `width`.
std::optional<std::string> FormatInteger(std::int64_t value, int width);

// `ansi` (Windows-1252) in code page `to`, cut to `width` characters and
// padded with blanks, into out[0, width).
void PutText(char* out, std::size_t width, std::string_view ansi, text::CodePage to);

}  // namespace velquior::tables::dbf
