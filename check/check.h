#pragma once
// `velquior-convert check`: both conversions looked at before they run.

#include <filesystem>

#include "check/finding.h"

namespace velquior::check {

// Everything found about `file` and the tables in `work_dir`, export side
// first. Reads both and writes neither. Raises Error, with the converter's
// usual messages, when the file is missing or not a SAGA document, the work
// directory is missing, or a table cannot be read.
Report CheckAll(const std::filesystem::path& file, const std::filesystem::path& work_dir);

}  // namespace velquior::check
