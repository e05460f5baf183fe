// libFuzzer target for the writer's numbers: whatever double, width and
// decimals, FormatFloat either refuses or gives text of exactly the width
// that the reader reads back as the same double (numbers are stored
// exactly). FormatInteger likewise.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <variant>

#include "common/error.h"
#include "tables/dbf_reader.h"
#include "tables/dbf_writer.h"

namespace {

namespace dbf = velquior::tables::dbf;

// The value the reader finds in a one-field N(width, decimals) record.
velquior::tables::Value ReadBack(const std::string& text, int width, int decimals) {
  dbf::Layout layout;
  layout.record_length = 1 + static_cast<std::size_t>(width);
  dbf::Field f;
  f.info = {"N", 'N', width, decimals};
  f.offset = 1;
  f.decoding = dbf::Decoding::kNumber;
  layout.fields.push_back(f);
  return dbf::DecodeValue(layout, " " + text, 0, "FUZZ.DBF", 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  double value;
  std::int64_t whole;
  std::memcpy(&value, data, 8);
  std::memcpy(&whole, data, 8);
  const int width = 1 + data[8] % 40;
  const int decimals = data[9] % 16;
  if (auto text = dbf::FormatFloat(value, width, decimals)) {
    if (static_cast<int>(text->size()) != width) __builtin_trap();
    auto back = ReadBack(*text, width, decimals);
    const double* d = std::get_if<double>(&back);
    const std::int64_t* i = std::get_if<std::int64_t>(&back);
    const double got = d ? *d : i ? static_cast<double>(*i) : -1.0;
    if ((!d && !i) || got != value) __builtin_trap();
    if (decimals > 0 && !d) __builtin_trap();  // N with decimals reads as a float
  }
  if (auto text = dbf::FormatInteger(whole, width)) {
    if (static_cast<int>(text->size()) != width) __builtin_trap();
    auto back = ReadBack(*text, width, 0);
    const std::int64_t* i = std::get_if<std::int64_t>(&back);
    if (i == nullptr || *i != whole) __builtin_trap();
  }
  return 0;
}
