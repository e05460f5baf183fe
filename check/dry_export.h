#pragma once
// The export run for real into a private folder outside the work directory,
// its tables read back and the folder removed: the codes the check reports
// are those a new export would write, by the export's own code path.

#include <array>
#include <string>
#include <vector>

#include "check/catalogues.h"
#include "xml/document.h"

namespace velquior::check {

// An element the export reported as lacking an item.
struct Missing {
  std::string_view element;  // saga:: names: static
  long position;
  std::string what;  // UTF-8
};

// One ASIGT record: what an assigned subject becomes.
struct AssignmentRecord {
  std::string subject, teacher, group, hours;  // CASIG, CPROF, CGRUP, HORAS
};

struct DryExport {
  std::vector<Missing> missing;               // each element and item once
  std::array<Catalogue, 4> catalogues;        // in the order of kCatalogues
  std::vector<AssignmentRecord> assignments;  // one per assigned subject, in document order
};

// Raises Error when the private folder cannot be made or the export fails.
DryExport RunDryExport(const xml::Document& doc);

}  // namespace velquior::check
