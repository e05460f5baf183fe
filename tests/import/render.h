#pragma once
// A compact, readable picture of a document subtree for the import tests:
// name[attr=value,...](children...), texts in UTF-8.

#include <filesystem>
#include <string>

#include "xml/document.h"

namespace velquior::testing {

std::string Render(const xml::Node& n);

// The rendered time-tables of the saved `file`, or a note when the document
// does not hold exactly one time-tables child of its document element.
std::string RenderTimeTables(const std::filesystem::path& file);

}  // namespace velquior::testing
