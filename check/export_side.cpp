#include "check/export_side.h"

#include "check/document_findings.h"
#include "check/dry_export.h"
#include "check/table_changes.h"

namespace velquior::check {

void CheckExportSide(const xml::Document& doc, const std::filesystem::path& work_dir, Report& report) {
  const DryExport dry = RunDryExport(doc);
  AddDocumentFindings(doc, dry, report);
  AddCodeFindings(doc, dry, report);
  AddTableChanges(work_dir, dry, report);
}

}  // namespace velquior::check
