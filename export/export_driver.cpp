#include "export/export_driver.h"

#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/files.h"
#include "conversion/saga_file.h"
#include "export/export_context.h"
#include "export/staging.h"
#include "tables/catalog.h"
#include "tables/form_tables.h"

namespace velquior {
namespace {

// The builders in the order the tables depend on each other: the
// assignments look up codes in the four tables written before them.
constexpr void (*kBuilders[])(ExportContext&) = {
    CrearAsignaturas, CrearProfesores, CrearAulas, CrearGrupos, CrearAsignaciones, CrearDiasHoras,
};
static_assert(std::size(kBuilders) == catalog::kExportTables.size());

}  // namespace

void BuildExportTables(const xml::Document& document, const std::filesystem::path& dir, Reporter& reporter,
                       const KeptCodes* kept) {
  tables::FormTables components(dir);
  ExportContext ctx{document, dir, components, reporter, kept};
  for (auto build : kBuilders) build(ctx);
}

Outcome RunExport(const std::filesystem::path& file, Workspace& workspace, Reporter& reporter, ExportOptions options) {
  if (!SagaFileExists(file)) return Outcome::kMissingFile;

  workspace.document = LoadSagaFile(file, RootCheck::kSagaRoot);
  Working working(reporter);
  // Read before the staging locks the old tables for replacing, which keeps
  // even this process from reading them.
  std::optional<KeptCodes> kept;
  if (options.keep_codes) kept = ReadKeptCodes(workspace.work_dir, reporter);
  Staging staging(workspace.work_dir, catalog::kExportTables);
  BuildExportTables(*workspace.document, staging.dir(), reporter, kept ? &*kept : nullptr);
  std::optional<history::PendingEntry> replaced;
  if (options.history != nullptr) {
    replaced.emplace(*options.history,
                 options.history->Record(history::Kind::kExport, file, workspace.work_dir, staging.FilesToReplace()));
  }
  std::vector<std::string> names;
  try {
    for (const auto& written : staging.Commit()) names.push_back(PathToUtf8(written));
  } catch (const Error&) {
    // A commit that could not put everything back keeps its copy too.
    if (replaced && staging.HoldsOldFiles()) replaced->Keep();
    throw;
  }
  if (replaced) replaced->Keep();
  reporter.ReportTablesWritten(names);
  return Outcome::kCompleted;
}

}  // namespace velquior
