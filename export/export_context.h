#pragma once
// What every export builder works with.

#include <filesystem>

#include "conversion/reporter.h"
#include "export/kept_codes.h"
#include "tables/form_tables.h"
#include "xml/document.h"

namespace velquior {

struct ExportContext {
  const xml::Document& document;    // the loaded SAGA document
  std::filesystem::path dir;        // where the tables are (re)created
  tables::FormTables& components;   // the form's components, on `dir`
  Reporter& reporter;               // hears of MissingItem and CodeNotKept
  const KeptCodes* kept = nullptr;  // the codes to keep; null: derive every code

  const KeptTable* KeptOf(const catalog::TableSpec& table) const { return kept ? kept->Of(table) : nullptr; }
};

// Each leaves its table closed, with one record per element (CrearDiasHoras:
// none). Errors of the table engine or the document propagate.
void CrearAsignaturas(ExportContext& ctx);
void CrearProfesores(ExportContext& ctx);
void CrearAulas(ExportContext& ctx);
void CrearGrupos(ExportContext& ctx);
void CrearAsignaciones(ExportContext& ctx);
void CrearDiasHoras(ExportContext& ctx);

}  // namespace velquior
