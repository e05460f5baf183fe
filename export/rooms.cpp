// AULAT, the rooms: one record per location element, named by its first
// child node, with a code unique regardless of letter case.

#include "export/named_by_child.h"
#include "xml/saga_names.h"

namespace velquior {

void CrearAulas(ExportContext& ctx) {
  WriteNamedByFirstChild(ctx, catalog::kAulat, saga::kLocationsPath, saga::kLocation,
                         [](codes::CodeAssigner& c, std::string_view name) { return c.Room(codes::RoomBase(name)); });
}

}  // namespace velquior
