// AULAT, the rooms: one record per location element, named by its first
// child node, with a code unique regardless of letter case.

#include "export/codes.h"
#include "export/element_items.h"
#include "export/export_context.h"
#include "tables/catalog.h"
#include "xml/saga_names.h"

namespace velquior {

void CrearAulas(ExportContext& ctx) {
  namespace f = catalog::f;
  catalog::RecreateTable(ctx.dir, catalog::kAulat);
  tables::Table table(ctx.dir, catalog::kAulat.name);
  codes::CodeAssigner codes(UsedCodes::Case::kInsensitive);
  ElementItems items(ctx.front_end, saga::kLocation);
  table.Open();

  xml::NodeList locations = ctx.document.selectNodes(saga::kLocationsPath);
  for (long i = 0; i < locations.length(); ++i) {
    xml::Node node = *locations.item(i);
    items.Next();
    std::string id = items.Attribute(node, saga::kId);
    std::string name = items.FirstChildText(node);
    std::string code = codes.Room(codes::RoomBase(name));

    table.Append();
    table.SetText(f::kAbrev, code);
    table.SetText(f::kNombre, name);
    table.SetText(f::kIdSaga, id);
    table.Post();
  }
  table.Close();
}

}  // namespace velquior
