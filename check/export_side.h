#pragma once
// The export side of `check`: what a new export of the document would write
// and what it would change in the work directory's tables.

#include <filesystem>
#include <string>
#include <vector>

#include "check/finding.h"
#include "xml/document.h"

namespace velquior::check {

// Runs the export in a private folder outside `work_dir` and reads
// `work_dir` without writing there. With `keep_codes`, the export keeps the
// codes of the work directory's tables, and what it still changes is what
// is reported. Raises Error when the dry run fails; a table of `work_dir`
// that cannot be read is a finding.
void CheckExportSide(const xml::Document& doc, const std::filesystem::path& work_dir, Report& report,
                     bool keep_codes = false);

// Whether an export of `file` could change codes the current timetable
// uses, found at once: `file` exists and `work_dir` holds SOLUC and a
// catalogue.
bool CodesMayBeAtStake(const std::filesystem::path& file, const std::filesystem::path& work_dir);

// The codes the current timetable (SOLUC) uses that an export of `file`
// without keeping would change or remove: the records of check's
// timetable_code_changed, in report order; nothing, without loading the
// document, unless CodesMayBeAtStake. Raises Error as the export would on
// a document it refuses.
std::vector<Concerned> CodesAtStake(const std::filesystem::path& file, const std::filesystem::path& work_dir);

// One such record for people (UTF-8), the same in the window and on the
// command line.
std::string CodeAtStakeLine(const Concerned& record);

}  // namespace velquior::check
