#pragma once
// `velquior-convert dump`: a table's fields and live records as the file
// holds them: every field (a repeated name gets "_2", "_3"...), text from
// the code page the table declares, a value that is not valid as its text,
// and of a file cut short the complete records, with a notice on `err`
// saying how many the header promised.

#include <filesystem>
#include <iosfwd>

namespace velquior::cli {

// A readable table: one line per field definition, then the records in
// aligned columns. UTF-8.
void DumpPlain(const std::filesystem::path& table_file, std::ostream& out, std::ostream& err);

// {"fields": [{"name", "type", "width", "decimals"}...], "records": [{FIELD: value}...]}
// Texts as UTF-8 strings without trailing blanks, numbers as numbers, blank
// values as null; deleted records left out.
void DumpJson(const std::filesystem::path& table_file, std::ostream& out, std::ostream& err);

}  // namespace velquior::cli
