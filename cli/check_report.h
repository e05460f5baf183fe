#pragma once
// The check's report as the command line shows it. Findings come grouped:
// by side (export first), then by severity (errors first), then by kind in
// the order found, each with the records it concerns. UTF-8.

#include <filesystem>
#include <iosfwd>

#include "check/finding.h"

namespace velquior::cli {

// For people: a heading per side, a line per finding, an indented line per
// record, and a closing count of errors, warnings and notes.
void WriteCheckText(const check::Report& report, const std::filesystem::path& file,
                    const std::filesystem::path& work_dir, std::ostream& out);

// For scripts, one object:
// {"file", "work_dir", "status": the exit status, "findings": [{"kind",
//  "severity": "error"|"warning"|"note", "side": "export"|"import", "summary",
//  "records": [{"where", "position" (null: none), "id", "name", "detail"}]}],
//  "import_checked", "import_counts": {"inputs", "activities", "groups",
//  "members"} or null when no timetable was checked}
void WriteCheckJson(const check::Report& report, const std::filesystem::path& file,
                    const std::filesystem::path& work_dir, std::ostream& out);

}  // namespace velquior::cli
