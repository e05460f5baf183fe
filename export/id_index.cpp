#include "export/id_index.h"

#include "tables/catalog.h"

namespace velquior {

IdIndex::IdIndex(tables::Table& table, std::initializer_list<std::string_view> fields) {
  for (table.First(); !table.Eof(); table.Next()) {
    auto [it, inserted] = first_.try_emplace(table.AsText(catalog::f::kIdSaga));
    if (!inserted) continue;  // a later record with the same identifier is never found
    it->second.reserve(fields.size());
    for (std::string_view field : fields) it->second.push_back(table.AsText(field));
  }
}

const std::vector<std::string>* IdIndex::Find(const std::string& id) const {
  auto it = first_.find(id);
  return it == first_.end() ? nullptr : &it->second;
}

}  // namespace velquior
