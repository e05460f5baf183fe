#include "tables/catalog.h"

#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/file_lock.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::catalog {

void RecreateTable(const std::filesystem::path& dir, const TableSpec& layout) {
  const std::string data_name = std::string(layout.name) + std::string(kDataExtension);
  const std::string index_name = std::string(layout.name) + std::string(kIndexExtension);

  // A table held open (by a component of this process or another program)
  // is not deleted from under its holder: the same refusal as opening it.
  {
    std::vector<FileLock> held;  // until the files are gone
    for (const auto& old : AllCaseVariants(dir, data_name)) {
      std::optional<FileLock> lock;
      try {
        lock = FileLock::TryLock(old, FileLock::Mode::kExclusive);
      } catch (const Error&) {
        continue;  // unreadable: nothing of ours holds it; deleting decides
      }
      if (!lock) throw Error(Format(msg::kTablaEnUso, {data_name}));
      held.push_back(std::move(*lock));
    }
    RemoveCaseVariants(dir, data_name);
    RemoveCaseVariants(dir, index_name);
  }

  tables::Table table(dir, layout.name);
  table.ClearFields();
  for (const auto& field : layout.fields) table.AddField(field);
  table.CreateTable();
}

}  // namespace velquior::catalog
