#include "export/named_by_child.h"

#include "export/element_items.h"
#include "export/kept_codes.h"
#include "xml/saga_names.h"

namespace velquior {

void WriteNamedByFirstChild(ExportContext& ctx, const catalog::TableSpec& layout, std::string_view path,
                            std::string_view element, const CodeRule& rule) {
  namespace f = catalog::f;
  catalog::RecreateTable(ctx.dir, layout);
  tables::Table table(ctx.dir, layout.name);
  codes::CodeAssigner codes(UsedCodes::Case::kInsensitive);
  ElementItems items(ctx.reporter, element);
  table.Open();

  xml::NodeList nodes = ctx.document.selectNodes(path);
  const ElementCodes kept(nodes, ctx.KeptOf(layout), layout, element, codes, ctx.reporter);
  for (long i = 0; i < nodes.length(); ++i) {
    xml::Node node = *nodes.item(i);
    items.Next();
    std::string id = items.Attribute(node, saga::kId);
    std::string name = items.FirstChildText(node);
    const KeptCode* old = kept.At(i);
    std::string code = old ? old->code : rule(codes, name);

    table.Append();
    table.SetText(f::kAbrev, code);
    table.SetText(f::kNombre, name);
    table.SetText(f::kIdSaga, id);
    table.Post();
  }
  table.Close();
}

}  // namespace velquior
