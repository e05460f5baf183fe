#pragma once
// Where a conversion works and what outlives it: the work directory with the
// host's tables, and the one process-wide document, which every run that
// finds its file replaces and which stays referenced after the run.

#include <filesystem>
#include <memory>

#include "xml/document.h"

namespace velquior {

struct Workspace {
  std::filesystem::path work_dir;
  std::unique_ptr<xml::Document> document;
};

}  // namespace velquior
