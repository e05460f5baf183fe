#pragma once
// The SAGA-to-timetable conversion, written once for every front end.

#include <filesystem>

#include "conversion/outcome.h"
#include "conversion/reporter.h"
#include "conversion/workspace.h"

namespace velquior {

// Loads `file` into the workspace's document and re-creates the six tables in
// its work directory; kMissingFile, with nothing touched, when no such file
// exists. Errors propagate as Error; no table is then changed.
Outcome RunExport(const std::filesystem::path& file, Workspace& workspace, Reporter& reporter);

// The six tables of `document`, as RunExport stages them, written straight
// into `dir` (an existing table there is re-created); the elements lacking
// an item go to `reporter`. For a dry run in a folder of the caller's.
void BuildExportTables(const xml::Document& document, const std::filesystem::path& dir, Reporter& reporter);

}  // namespace velquior
