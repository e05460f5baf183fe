#include "export/export_driver.h"

#include <string>
#include <vector>

#include "common/messages.h"
#include "export/export_context.h"
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

RunOutcome MissingFile(Session& session, FrontEnd& fe) {
  fe.ShowMessage(msg::kNoExisteArchivo);
  if (session.state.HostLaunched) {
    session.state.ResultCode = -1;
    fe.CloseMainWindow();
  }
  return RunOutcome::kMissingFile;
}

}  // namespace

RunOutcome BExportarClick(Session& session, FrontEnd& fe) {
  RunState& state = session.state;
  if (auto chosen = fe.ChooseXmlFile(state.XmlFileName)) state.XmlFileName = *chosen;
  std::error_code ec;
  if (state.XmlFileName.empty() || !std::filesystem::exists(state.XmlFileName, ec)) {
    return MissingFile(session, fe);
  }

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
  state.ResultCode = 1;
  fe.ShowMessage(msg::kProcesoFinalizado);
  fe.DisableConversionButtons();
  if (state.HostLaunched) fe.CloseMainWindow();
  return RunOutcome::kCompleted;
}

}  // namespace velquior
