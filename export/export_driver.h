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

}  // namespace velquior
