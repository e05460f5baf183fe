#pragma once
// The export side of `check`: what a new export of the document would write
// and what it would change in the work directory's tables.

#include <filesystem>

#include "check/finding.h"
#include "xml/document.h"

namespace velquior::check {

// Runs the export in a private folder outside `work_dir` and reads
// `work_dir` without writing there. Raises Error when the dry run fails or a
// table of `work_dir` cannot be read.
void CheckExportSide(const xml::Document& doc, const std::filesystem::path& work_dir, Report& report);

}  // namespace velquior::check
