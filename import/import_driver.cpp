#include "import/import_driver.h"

#include <optional>

#include "common/format.h"
#include "common/messages.h"
#include "conversion/saga_file.h"
#include "import/sections.h"
#include "tables/form_tables.h"
#include "xml/saga_names.h"

namespace velquior {
namespace {

// Closes every component when the run ends, also on an error, so that no
// lock outlives the run.
struct CloseAll {
  tables::FormTables& t;
  ~CloseAll() {
    for (tables::Table* table : {&t.wwTableSoluc, &t.wwTableGrupos, &t.wwTableProfesor, &t.wwTableAulas,
                                 &t.wwTableNomAsg, &t.wwTableDiasHoras}) {
      try {
        table->Close();
      } catch (...) {
        // Closing a table only read cannot lose anything.
      }
    }
  }
};

// Removes every time-tables child of the document element, appends a new one
// last and gives its time-table, with its id and name set.
xml::Node NewTimeTable(xml::Document& doc) {
  xml::Node root = *doc.documentElement();
  while (auto old = root.selectSingleNode(saga::kTimeTables)) root.removeChild(*old);
  root.appendChild(doc.createElement(saga::kTimeTables));
  xml::Node time_tables = *root.selectSingleNode(saga::kTimeTables);
  xml::Node time_table = doc.createElement(saga::kTimeTable);
  time_table.setAttribute(saga::kId, Format(saga::kTimeTableIdFormat, {"1"}));
  time_table.setAttribute(saga::kName, saga::kTimeTableName);
  time_tables.appendChild(time_table);
  return time_table;
}

}  // namespace

Outcome RunImport(const std::filesystem::path& file, Workspace& workspace, Reporter& reporter,
                  ImportOptions options) {
  if (!SagaFileExists(file)) return Outcome::kMissingFile;

  workspace.document = LoadSagaFile(file, RootCheck::kAnyRoot);
  xml::Document& doc = *workspace.document;
  {
    Working working(reporter);
    xml::Node time_table = NewTimeTable(doc);
    {
      tables::FormTables t(workspace.work_dir);
      CloseAll close_all{t};

      t.wwTableDiasHoras.Open();
      EscribirDias(doc, time_table, t);
      t.wwTableDiasHoras.Close();

      t.wwTableGrupos.Open();
      t.wwTableSoluc.Open();
      EscribirGrupos(doc, time_table, t);

      t.wwTableProfesor.Open();
      EscribirMiembros(doc, time_table, t);
      t.wwTableProfesor.Close();
      t.wwTableSoluc.Open();

      t.wwTableNomAsg.Open();
      IndiceActividades activities = EscribirActividades(doc, time_table, t);
      t.wwTableNomAsg.Close();

      t.wwTableSoluc.Open();
      t.wwTableProfesor.Open();
      t.wwTableAulas.Open();
      t.wwTableNomAsg.Open();
      t.wwTableGrupos.Open();
      EscribirEntradas(doc, time_table, t, activities);
    }  // every table is closed before the save
    std::optional<history::PendingEntry> kept;
    if (options.history != nullptr) {
      const history::Source document[] = {{file}};
      kept.emplace(*options.history,
                   options.history->Record(history::Kind::kImport, file, workspace.work_dir, document));
    }
    doc.save(file);
    if (kept) kept->Keep();
  }
  return Outcome::kCompleted;
}

}  // namespace velquior
