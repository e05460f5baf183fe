#pragma once
// Reading dBASE tables from bytes: the layout (dbf_layout.h) parsed once,
// values (dbf_values.h) decoded when read. The Table handle parses on Open
// and decodes a field when it is read; ReadTable decodes everything.
//
// Every failure raises velquior::Error "LABEL: what is wrong" in Spanish; no
// input makes it read outside the buffer.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "tables/dbf_layout.h"
#include "tables/dbf_values.h"
#include "tables/table.h"
#include "tables/value.h"

namespace velquior::tables::dbf {

// The field named `name`: the first spelled exactly so, else the first equal
// without regard to ASCII case.
std::optional<std::size_t> FindField(const Layout& layout, std::string_view name);

// How ReadTable reads. The defaults are the conversions' strict reading; the
// dump command shows a table as it is: the complete records of a file cut
// short, text as stored, a value that is not valid as its text.
struct ReadOptions {
  ShortFile short_file = ShortFile::kRefuse;
  ValueReading values;
};

// Everything decoded: what the dump command and the tests want.
struct TableContents {
  Layout layout;
  std::vector<FieldInfo> fields;
  std::uint32_t records_present = 0;        // complete records, deleted ones included
  std::vector<std::vector<Value>> records;  // live records, fields in order
};
TableContents ReadTable(std::string_view bytes, std::string_view label, const ReadOptions& options = {});
// Thin: the whole file, labelled with its file name.
TableContents ReadTable(const std::filesystem::path& path);

}  // namespace velquior::tables::dbf
