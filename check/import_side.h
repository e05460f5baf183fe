#pragma once
// The import side of `check`: what an import of the work directory's
// timetable into the document would write, and what would stop it.

#include <filesystem>

#include "check/finding.h"
#include "xml/document.h"

namespace velquior::check {

// Reads `work_dir` without writing there and never changes `doc`.
void CheckImportSide(const xml::Document& doc, const std::filesystem::path& work_dir, Report& report);

}  // namespace velquior::check
