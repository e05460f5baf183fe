#pragma once
// Look-up of a table's records by the text of a key field. Gives what a scan
// from the first record would give, the first record in table order whose key
// equals the text exactly (letter case and every character count), but reads
// the table once.

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tables/table.h"

namespace velquior::tables {

class KeyIndex {
 public:
  // Reads `key_field` and `fields` as text from every record of the open
  // `table`; moves its current record.
  KeyIndex(Table& table, std::string_view key_field, std::initializer_list<std::string_view> fields);

  // Those fields, in the order asked, of the first record whose key is
  // `key`; nullptr when there is none.
  const std::vector<std::string>* Find(const std::string& key) const;

 private:
  std::unordered_map<std::string, std::vector<std::string>> first_;
};

}  // namespace velquior::tables
