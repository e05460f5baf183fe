// libFuzzer target for the dBASE reader: any bytes either parse, or raise
// velquior::Error; nothing reads outside the buffer (AddressSanitizer) or
// hits undefined behaviour (UBSan). Every field of every live record is
// decoded, as a caller reading the whole table would.
//
//   build-fuzz/fuzz/dbf_reader_fuzz -dict=fuzz/dbf.dict corpus/ tests/fixtures/dbf-writers/*/

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/error.h"
#include "tables/dbf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace dbf = velquior::tables::dbf;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const dbf::ParsedTable parsed = dbf::ParseTable(bytes, "FUZZ.DBF");
    const dbf::Layout& layout = parsed.layout;
    for (std::size_t at : parsed.live) {
      if (at > size || layout.record_length > size - at) __builtin_trap();  // a record outside the file
      const std::string_view record = bytes.substr(at, layout.record_length);
      for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        try {
          (void)dbf::DecodeValue(layout, record, i, "FUZZ.DBF", 1);
        } catch (const velquior::Error&) {
        }
        if (dbf::FindField(layout, layout.fields[i].info.name) > i) __builtin_trap();
      }
    }
  } catch (const velquior::Error&) {
  }
  return 0;
}
