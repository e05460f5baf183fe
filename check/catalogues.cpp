#include "check/catalogues.h"

#include "common/files.h"
#include "tables/table.h"

namespace velquior::check {

bool HasTable(const std::filesystem::path& dir, std::string_view name) {
  return FindFileNoCase(dir, std::string(name) + std::string(catalog::kDataExtension)).has_value();
}

std::optional<Catalogue> ReadCatalogue(const std::filesystem::path& dir, const CatalogueKind& kind) {
  if (!HasTable(dir, kind.table->name)) return std::nullopt;
  tables::Table table(dir, kind.table->name);
  table.Open();
  Catalogue records;
  for (table.First(); !table.Eof(); table.Next()) {
    records.push_back(
        {table.AsText(kind.code_field), table.AsText(kind.name_field), table.AsText(catalog::f::kIdSaga)});
  }
  table.Close();
  return records;
}

}  // namespace velquior::check
