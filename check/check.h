#pragma once
// `velquior-convert check`: both conversions looked at before they run.

#include <filesystem>

#include "check/finding.h"

namespace velquior::check {

// Everything found about `file` and the tables in `work_dir`, export side
// first. Reads both and writes neither. Raises Error, with the converter's
// usual messages, when the file is missing or not a SAGA document, the work
// directory is missing, or a table the import side needs cannot be read.
// With `keep_codes`, the export side is that of an export keeping codes.
Report CheckAll(const std::filesystem::path& file, const std::filesystem::path& work_dir, bool keep_codes = false);

}  // namespace velquior::check
