#include "tables/key_index.h"

namespace velquior::tables {

KeyIndex::KeyIndex(Table& table, std::string_view key_field, std::initializer_list<std::string_view> fields) {
  for (table.First(); !table.Eof(); table.Next()) {
    std::string key = table.AsText(key_field);
    if (first_.contains(key)) continue;
    std::vector<std::string> values;
    values.reserve(fields.size());
    for (auto f : fields) values.push_back(table.AsText(f));
    first_.emplace(std::move(key), std::move(values));
  }
}

const std::vector<std::string>* KeyIndex::Find(const std::string& key) const {
  auto it = first_.find(key);
  return it == first_.end() ? nullptr : &it->second;
}

}  // namespace velquior::tables
