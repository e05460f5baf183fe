#pragma once
// The timetable-to-SAGA conversion, written once for every front end.

#include <filesystem>

#include "conversion/outcome.h"
#include "conversion/reporter.h"
#include "conversion/workspace.h"
#include "history/store.h"

namespace velquior {

// Loads `file` into the workspace's document, replaces its time-tables
// element by the timetable of the work directory's tables and saves it over
// `file`; kMissingFile, with nothing touched, when no such file exists. On
// any error the file stays byte for byte as it was, and the history too.
struct ImportOptions {
  // Keeps the document as it was, just before it is replaced; none when null.
  history::Store* history = nullptr;
};

Outcome RunImport(const std::filesystem::path& file, Workspace& workspace, Reporter& reporter,
                  ImportOptions options = {});

}  // namespace velquior
