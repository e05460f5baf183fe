#include "export/export_driver.h"

#include <string>
#include <vector>

#include "export/export_context.h"
#include "export/run_endings.h"
#include "export/saga_file.h"
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

RunOutcome BExportarClick(Session& session, FrontEnd& fe) {
  RunState& state = session.state;
  // A missing file in host mode tells the host -1, unlike the import.
  if (!ChooseExistingFile(state, fe)) return MissingFileEnding(state, fe, -1);

  session.document = LoadSagaFile(state.XmlFileName, RootCheck::kSagaRoot);
  {
    BusyCursor busy(fe);
    Staging staging(session.work_dir, catalog::kExportTables);
    tables::FormTables components(staging.dir());
    ExportContext ctx{*session.document, staging.dir(), components, fe};
    for (auto build : kBuilders) build(ctx);
    std::vector<std::string> names;
    for (const auto& written : staging.Commit()) names.push_back(written.string());
    fe.ReportTablesWritten(names);
  }
  return CompletedEnding(state, fe);
}

}  // namespace velquior
