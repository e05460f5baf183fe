#pragma once
// The four catalogue tables as the check compares them: a record per SAGA
// element, in document order, keyed for SOLUC by its code and for SAGA by
// its IDSAGA. Texts are Windows-1252, as the table gives them back.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/used_codes.h"
#include "tables/catalog.h"
#include "xml/saga_names.h"

namespace velquior::check {

struct CatalogueKind {
  const catalog::TableSpec* table;
  std::string_view element;      // the SAGA element each record comes from
  std::string_view path;         // where the document holds those elements
  bool named_by_child;           // named by its first child node, else by "name"
  std::string_view code_field;   // what SOLUC names a record by
  std::string_view name_field;   // what people know it by
  std::string_view soluc_field;  // where SOLUC names it
  UsedCodes::Case rule;          // how the export tells codes apart
};

enum CatalogueIndex : std::size_t { kSubjects, kTeachers, kRooms, kGroups };
inline constexpr std::array<CatalogueKind, 4> kCatalogues{{
    {&catalog::kAsignomt, saga::kSubject, saga::kSubjectsPath, false, catalog::f::kCod, catalog::f::kNombre,
     catalog::f::kAsig, UsedCodes::Case::kSensitive},
    {&catalog::kProft, saga::kTeacher, saga::kTeachersPath, true, catalog::f::kAbrev, catalog::f::kNombre,
     catalog::f::kProf, UsedCodes::Case::kInsensitive},
    {&catalog::kAulat, saga::kLocation, saga::kLocationsPath, true, catalog::f::kAbrev, catalog::f::kNombre,
     catalog::f::kAula, UsedCodes::Case::kInsensitive},
    {&catalog::kGrupost, saga::kGroup, saga::kGroupsPath, false, catalog::f::kAbrev, catalog::f::kDescrip,
     catalog::f::kCodGrupo, UsedCodes::Case::kInsensitive},
}};

struct CatalogueRecord {
  std::string code, name, id;
};
using Catalogue = std::vector<CatalogueRecord>;

// The kind's table in `dir`, every live record in stored order; nothing when
// `dir` holds no such table. Errors of the table engine propagate.
std::optional<Catalogue> ReadCatalogue(const std::filesystem::path& dir, const CatalogueKind& kind);

// Whether `dir` holds a table of that name, in any letter case.
bool HasTable(const std::filesystem::path& dir, std::string_view name);

}  // namespace velquior::check
