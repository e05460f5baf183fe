#pragma once
// Writes small tables for the import tests, as the host would fill them.

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "tables/table.h"

namespace velquior::testing {

using Cell = std::variant<std::monostate, std::string, double>;  // unset, text (Windows-1252), number

void MakeTable(const std::filesystem::path& dir, std::string_view name, const std::vector<tables::FieldDef>& fields,
               const std::vector<std::vector<Cell>>& rows);

// SOLUC with text codes and numeric DIA, HORA, SESIONES, each row
// {DIA, HORA, SESIONES, ASIG, CODGRUPO, PROF, AULA}.
struct SolucRow {
  double dia, hora, sesiones;
  std::string asig, grupo, prof, aula;
};
void MakeSoluc(const std::filesystem::path& dir, const std::vector<SolucRow>& rows);

// A catalogue (ASIGNOMT, GRUPOST, PROFT or AULAT) with its own fields, each
// row giving the key (COD or ABREV), the IDSAGA and, for ASIGNOMT, NOMBRE.
// Texts are Windows-1252.
struct CatalogueRow {
  CatalogueRow(std::string k, std::string id, std::string n = {})
      : key(std::move(k)), idsaga(std::move(id)), name(std::move(n)) {}
  std::string key, idsaga, name;
};
void MakeCatalogue(const std::filesystem::path& dir, std::string_view table, const std::vector<CatalogueRow>& rows);

}  // namespace velquior::testing
