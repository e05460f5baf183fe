#pragma once
// The main window's table components: one handle per host table, each opened
// for exclusive use, named after the component for its error messages.

#include <filesystem>

#include "tables/catalog.h"
#include "tables/table.h"

namespace velquior::tables {

struct FormTables {
  explicit FormTables(const std::filesystem::path& dir)
      : wwTableNomAsg(dir, catalog::kAsignomt.name, std::string(catalog::kWwTableNomAsg)),
        wwTableProfesor(dir, catalog::kProft.name, std::string(catalog::kWwTableProfesor)),
        wwTableAulas(dir, catalog::kAulat.name, std::string(catalog::kWwTableAulas)),
        wwTableGrupos(dir, catalog::kGrupost.name, std::string(catalog::kWwTableGrupos)),
        wwTableDiasHoras(dir, catalog::kDiasHorast.name, std::string(catalog::kWwTableDiasHoras)),
        wwTableSoluc(dir, catalog::kSoluc, std::string(catalog::kWwTableSoluc)) {}

  Table wwTableNomAsg;
  Table wwTableProfesor;
  Table wwTableAulas;
  Table wwTableGrupos;
  Table wwTableDiasHoras;
  Table wwTableSoluc;
};

}  // namespace velquior::tables
