#include "tests/import/table_maker.h"

#include "tables/catalog.h"

namespace velquior::testing {

void MakeTable(const std::filesystem::path& dir, std::string_view name, const std::vector<tables::FieldDef>& fields,
               const std::vector<std::vector<Cell>>& rows) {
  tables::Table t(dir, name);
  t.ClearFields();
  for (const auto& f : fields) t.AddField(f);
  t.CreateTable();
  t.Open();
  for (const auto& row : rows) {
    t.Append();
    for (std::size_t i = 0; i < row.size() && i < fields.size(); ++i) {
      if (const auto* s = std::get_if<std::string>(&row[i])) {
        t.SetText(fields[i].name, *s);
      } else if (const auto* d = std::get_if<double>(&row[i])) {
        t.SetFloat(fields[i].name, *d);
      }
    }
    t.Post();
  }
  t.Close();
}

void MakeSoluc(const std::filesystem::path& dir, const std::vector<SolucRow>& rows) {
  namespace f = catalog::f;
  using tables::FieldType;
  std::vector<tables::FieldDef> fields = {{f::kCodGrupo, FieldType::kText, 10}, {f::kProf, FieldType::kText, 10},
                                          {f::kAsig, FieldType::kText, 10},     {f::kAula, FieldType::kText, 10},
                                          {f::kDia, FieldType::kFloat},         {f::kHora, FieldType::kFloat},
                                          {f::kSesiones, FieldType::kFloat}};
  std::vector<std::vector<Cell>> cells;
  for (const auto& r : rows) cells.push_back({r.grupo, r.prof, r.asig, r.aula, r.dia, r.hora, r.sesiones});
  MakeTable(dir, catalog::kSoluc, fields, cells);
}

void MakeCatalogue(const std::filesystem::path& dir, std::string_view table, const std::vector<CatalogueRow>& rows) {
  namespace f = catalog::f;
  const catalog::TableSpec* layout = nullptr;
  for (const auto* s : {&catalog::kAsignomt, &catalog::kGrupost, &catalog::kProft, &catalog::kAulat}) {
    if (s->name == table) layout = s;
  }
  std::vector<tables::FieldDef> fields(layout->fields.begin(), layout->fields.end());
  std::vector<std::vector<Cell>> cells;
  for (const auto& r : rows) {
    std::vector<Cell> row(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i == 0) row[i] = r.key;  // COD or ABREV
      if (fields[i].name == f::kIdSaga) row[i] = r.idsaga;
      if (fields[i].name == f::kNombre) row[i] = r.name;
    }
    cells.push_back(std::move(row));
  }
  MakeTable(dir, layout->name, fields, cells);
}

}  // namespace velquior::testing
