#pragma once
// What the main window owns for the conversions: the run state, the work
// directory and the one process-wide document, which every run replaces.

#include <filesystem>
#include <memory>

#include "export/run_state.h"
#include "xml/document.h"

namespace velquior {

struct Session {
  RunState state;
  std::filesystem::path work_dir;
  std::unique_ptr<xml::Document> document;
};

// How a conversion ended when it raised no error.
enum class RunOutcome { kCompleted, kMissingFile };

}  // namespace velquior
