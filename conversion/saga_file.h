#pragma once
// Loading the chosen SAGA document, for both conversions.

#include <filesystem>
#include <memory>

#include "xml/document.h"

namespace velquior {

// Whether a file of that name exists; an empty name never does.
bool SagaFileExists(const std::filesystem::path& file);

enum class RootCheck { kAnyRoot, kSagaRoot };

// Loads `file`; raises Error naming the file and the reason when it does not
// load as an XML document, has no document element, or (kSagaRoot) its
// document element is not `document`. Nothing is written either way.
std::unique_ptr<xml::Document> LoadSagaFile(const std::filesystem::path& file, RootCheck check);

}  // namespace velquior
