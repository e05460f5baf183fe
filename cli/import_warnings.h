#pragma once
// What a completed import wrote wrong, told on standard error so that a
// script sees it: the check's warnings about identifiers (codes written as
// themselves, empty or unknown ones), one line each.

#include <filesystem>
#include <iosfwd>

#include "check/finding.h"
#include "xml/document.h"

namespace velquior::cli {

// One "Aviso: " line per such warning of `report`, with its records.
void PrintImportWarnings(const check::Report& report, std::ostream& err);

// Checks the imported `document` against the tables of `work_dir` and prints
// the warnings. The import has completed by then: a check that cannot run
// is itself only a notice.
void WarnAfterImport(const xml::Document& document, const std::filesystem::path& work_dir, std::ostream& err);

}  // namespace velquior::cli
