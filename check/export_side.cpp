#include "check/export_side.h"

#include <optional>

#include "check/catalogues.h"
#include "check/document_findings.h"
#include "check/dry_export.h"
#include "check/kinds.h"
#include "check/table_changes.h"
#include "common/format.h"
#include "common/messages.h"
#include "conversion/saga_file.h"
#include "export/kept_codes.h"

namespace velquior::check {
namespace {

// The elements that kept no code, by table; a whole table that could not
// be read is table_unreadable's.
void AddNotKept(const DryExport& dry, Report& report) {
  for (const CatalogueKind& kind : kCatalogues) {
    Finding f{kinds::kCodeNotKept, Severity::kWarning, Side::kExport, {}, {}};
    for (const CodeNotKept& n : dry.not_kept) {
      if (n.table != kind.table->name || n.element.empty()) continue;
      f.records.push_back(
          {std::string(n.element), n.position, n.id, {}, Format(msg::kCheckNoConservaDetalle, {n.code, n.why})});
    }
    if (f.records.empty()) continue;
    f.summary = Format(msg::kCheckNoConserva, {std::string(kind.table->name), std::to_string(f.records.size())});
    report.findings.push_back(std::move(f));
  }
}

}  // namespace

void CheckExportSide(const xml::Document& doc, const std::filesystem::path& work_dir, Report& report, bool keep_codes) {
  std::optional<KeptCodes> kept;
  Reporter quiet;  // an unreadable table comes back as table_unreadable
  if (keep_codes) kept = ReadKeptCodes(work_dir, quiet);
  const DryExport dry = RunDryExport(doc, kept ? &*kept : nullptr);
  AddDocumentFindings(doc, dry, report);
  AddCodeFindings(doc, dry, report, kept ? &*kept : nullptr);
  AddNotKept(dry, report);
  AddTableChanges(work_dir, dry, report);
}

bool CodesMayBeAtStake(const std::filesystem::path& file, const std::filesystem::path& work_dir) {
  if (!SagaFileExists(file) || !HasTable(work_dir, catalog::kSoluc)) return false;
  for (const CatalogueKind& kind : kCatalogues) {
    if (HasTable(work_dir, kind.table->name)) return true;
  }
  return false;
}

std::vector<Concerned> CodesAtStake(const std::filesystem::path& file, const std::filesystem::path& work_dir) {
  if (!CodesMayBeAtStake(file, work_dir)) return {};
  const auto doc = LoadSagaFile(file, RootCheck::kSagaRoot);
  Report report;
  AddTableChanges(work_dir, RunDryExport(*doc), report);
  std::vector<Concerned> out;
  for (Finding& f : report.findings) {
    if (f.kind != kinds::kTimetableCodeChanged) continue;
    for (Concerned& c : f.records) out.push_back(std::move(c));
  }
  return out;
}

std::string CodeAtStakeLine(const Concerned& record) {
  return Format(msg::kCodigoDelHorario, {record.where, record.name, record.id, record.detail});
}

}  // namespace velquior::check
