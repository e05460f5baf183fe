#pragma once
// `velquior-convert dump`: a table's fields and live records as the engine
// reads them.

#include <filesystem>
#include <iosfwd>

namespace velquior::cli {

// A readable table: one line per field definition, then the records in
// aligned columns. UTF-8.
void DumpPlain(const std::filesystem::path& table_file, std::ostream& out);

// {"fields": [{"name", "type", "width", "decimals"}...], "records": [{FIELD: value}...]}
// Texts as UTF-8 strings without trailing blanks, numbers as numbers, blank
// values as null; deleted records left out.
void DumpJson(const std::filesystem::path& table_file, std::ostream& out);

}  // namespace velquior::cli
