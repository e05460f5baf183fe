#pragma once
// The export run for real into a private folder outside the work directory,
// its tables read back and the folder removed: the codes the check reports
// are those a new export would write, by the export's own code path.

#include <array>
#include <string>
#include <vector>

#include "check/catalogues.h"
#include "conversion/reporter.h"
#include "export/kept_codes.h"
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
  std::vector<CodeNotKept> not_kept;          // elements that could not keep their code
  std::array<Catalogue, 4> catalogues;        // in the order of kCatalogues
  std::vector<AssignmentRecord> assignments;  // one per assigned subject, in document order
};

// Raises Error when the private folder cannot be made or the export fails.
// `kept` (may be null): the codes the export keeps.
DryExport RunDryExport(const xml::Document& doc, const KeptCodes* kept = nullptr);

}  // namespace velquior::check
