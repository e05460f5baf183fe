#pragma once
// What the document shows about a new export, before any table is compared:
// elements lacking an item, identifiers used twice within a kind, assigned
// identifiers that name nothing, and codes the export had to number or cut.

#include "check/dry_export.h"
#include "check/finding.h"
#include "xml/document.h"

namespace velquior::check {

// Missing items, repeated identifiers, unknown assigned identifiers.
void AddDocumentFindings(const xml::Document& doc, const DryExport& dry, Report& report);

// Codes with a counter for a homonym, codes cut at 10 characters; an
// element holding the code `kept` (may be null) gave it is neither.
void AddCodeFindings(const xml::Document& doc, const DryExport& dry, Report& report, const KeptCodes* kept = nullptr);

}  // namespace velquior::check
