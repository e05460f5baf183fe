#pragma once
// A field's value from the bytes of one record, decoded when it is read.

#include <cstddef>
#include <string_view>

#include "tables/dbf_layout.h"
#include "tables/value.h"

namespace velquior::tables::dbf {

// True when the field holds text: AsInteger/AsFloat convert its text.
bool IsTextDecoding(Decoding d);

// How DecodeValue reads. The conversions take the defaults; showing a table
// as it is takes the other two.
struct ValueReading {
  bool stored_text = false;      // text left in the table's code page, else Windows-1252
  bool invalid_as_text = false;  // a value that is not valid reads as its text, else an error
};

// The value of field `index` in `record` (record_length bytes starting with
// the deletion flag). `record_number` (from 1, deleted records counted) only
// goes into the message of a value that is not valid: "el registro N tiene
// en el campo F un valor no válido: '...'". With invalid_as_text that value
// reads as its trimmed text instead (binary ones in hexadecimal).
Value DecodeValue(const Layout& layout, std::string_view record, std::size_t index, std::string_view label,
                  std::size_t record_number, ValueReading how = {});

}  // namespace velquior::tables::dbf
