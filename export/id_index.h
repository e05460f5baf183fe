#pragma once
// Look-up of a table's records by SAGA identifier. Gives what a scan from the
// first record would give, the first record in table order whose IDSAGA
// equals the identifier exactly (letter case and every character count), but
// reads the table once.

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tables/table.h"

namespace velquior {

class IdIndex {
 public:
  // Reads `fields` as text from every record of the open `table`.
  IdIndex(tables::Table& table, std::initializer_list<std::string_view> fields);

  // Those fields, in the order asked, of the first record with IDSAGA `id`;
  // nullptr when there is none.
  const std::vector<std::string>* Find(const std::string& id) const;

 private:
  std::unordered_map<std::string, std::vector<std::string>> first_;
};

}  // namespace velquior
