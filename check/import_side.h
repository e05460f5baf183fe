#pragma once
// The import side of the check: what an import from the work directory's
// tables into `document` would stop at or write wrong, found without writing
// anything. Tables are opened for shared reading only.

#include <filesystem>

#include "check/finding.h"
#include "xml/document.h"

namespace velquior::check {

// Appends the import's findings (Side::kImport) to report.findings and fills
// report.import_counts with what a completed import would write. Without a
// SOLUC in `work_dir` it leaves report.import_checked false and finds
// nothing. A catalogue that cannot be read raises the engine's Error, as the
// import would.
void CheckImportSide(const xml::Document& document, const std::filesystem::path& work_dir, Report& report);

}  // namespace velquior::check
