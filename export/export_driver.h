#pragma once
// The SAGA-to-timetable conversion, written once for every front end.

#include <filesystem>

#include "conversion/outcome.h"
#include "conversion/reporter.h"
#include "conversion/workspace.h"
#include "export/kept_codes.h"
#include "history/store.h"

namespace velquior {

struct ExportOptions {
  // Elements whose SAGA identifier has a record in the work directory's
  // tables keep that record's code (export/kept_codes.h).
  bool keep_codes = false;
  // Keeps what the export replaces, just before replacing it; none when null.
  history::Store* history = nullptr;
};

// Loads `file` into the workspace's document and re-creates the six tables in
// its work directory; kMissingFile, with nothing touched, when no such file
// exists. Errors propagate as Error; no table is then changed.
Outcome RunExport(const std::filesystem::path& file, Workspace& workspace, Reporter& reporter,
                  ExportOptions options = {});

// The six tables of `document`, as RunExport stages them, written straight
// into `dir` (an existing table there is re-created); the elements lacking
// an item go to `reporter`; `kept` (may be null) are the codes to keep. For
// a dry run in a folder of the caller's.
void BuildExportTables(const xml::Document& document, const std::filesystem::path& dir, Reporter& reporter,
                       const KeptCodes* kept = nullptr);

}  // namespace velquior
