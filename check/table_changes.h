#pragma once
// What a new export would change in the work directory's catalogues, matched
// record by record through IDSAGA (the k-th record of an identifier with the
// k-th), and which codes the current timetable (SOLUC) uses that it would
// change or remove. A catalogue the work directory lacks is not compared:
// the export would only create it, and listing every record says nothing.

#include <filesystem>

#include "check/dry_export.h"
#include "check/finding.h"

namespace velquior::check {

// Reads the work directory's tables with shared locks and writes nothing.
void AddTableChanges(const std::filesystem::path& work_dir, const DryExport& dry, Report& report);

}  // namespace velquior::check
