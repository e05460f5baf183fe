#pragma once
// Helpers of the table engine's tests: hand-made dBASE files of every
// flavour, byte surgery for damaged copies, and the shared fixtures.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tables/value.h"

namespace velquior::testing::dbf {

// The folder of the independent writers' tables (tests/fixtures/dbf-writers).
std::filesystem::path WritersDbfDir();

struct FieldSpec {
  std::string name;
  char type = 'C';
  int width = 1;
  int decimals = 0;
  std::uint8_t flags = 0;  // Visual FoxPro descriptor byte 18
};

struct TableSpec {
  std::uint8_t version = 0x03;
  std::uint8_t language_driver = 0x57;
  std::string driver_name;  // level 7 only (bytes 32-63)
  std::vector<FieldSpec> fields;
  std::vector<std::string> records;  // each one complete: flag byte and fields
  bool eof_marker = true;
  std::size_t backlink = 0;                   // bytes between the terminator and the records (VFP: 263)
  std::uint32_t count_override = 0xFFFFFFFF;  // header record count, else records.size()
};

// The bytes of a table as `layout` says, laid out for its version (level 7
// for 0x04/0x8C). Fields are not checked: any bytes can be made.
std::string MakeTable(const TableSpec& layout);

// Record bytes: live flag then the pieces.
std::string LiveRecord(std::initializer_list<std::string_view> pieces);
std::string DeletedRecord(std::initializer_list<std::string_view> pieces);

// Little-endian and big-endian pieces.
std::string Le32(std::uint32_t v);
std::string Le64(std::uint64_t v);
std::string Be32(std::uint32_t v);
std::string Be64(std::uint64_t v);
std::string LeDouble(double v);
// dBASE 7: I with the sign bit flipped; O sign-flipped or inverted.
std::string Sortable32(std::int32_t v);
std::string SortableDouble(double v);

// Damage.
void PutLe16(std::string& bytes, std::size_t at, std::uint16_t v);
void PutLe32(std::string& bytes, std::size_t at, std::uint32_t v);
std::string Garbage(std::uint32_t seed, std::size_t size);

// Text padded with blanks (or cut) to `width`.
std::string Padded(std::string_view s, std::size_t width);
std::string RightAligned(std::string_view s, std::size_t width);

// A readable form of a Value for failure messages.
std::string Show(const tables::Value& v);

}  // namespace velquior::testing::dbf
