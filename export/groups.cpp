// GRUPOST, the groups: one record per group element, its name split into
// level, course and letter, with a code unique regardless of letter case.

#include "export/codes.h"
#include "export/element_items.h"
#include "export/export_context.h"
#include "export/kept_codes.h"
#include "tables/catalog.h"
#include "text/text_helpers.h"
#include "xml/saga_names.h"

namespace velquior {

void CrearGrupos(ExportContext& ctx) {
  namespace f = catalog::f;
  catalog::RecreateTable(ctx.dir, catalog::kGrupost);
  tables::Table table(ctx.dir, catalog::kGrupost.name);
  codes::CodeAssigner codes(UsedCodes::Case::kInsensitive);
  ElementItems items(ctx.reporter, saga::kGroup);
  table.Open();

  xml::NodeList groups = ctx.document.selectNodes(saga::kGroupsPath);
  const ElementCodes kept(groups, ctx.KeptOf(catalog::kGrupost), catalog::kGrupost, saga::kGroup, codes, ctx.reporter);
  for (long i = 0; i < groups.length(); ++i) {
    xml::Node node = *groups.item(i);
    items.Next();
    std::string id = items.Attribute(node, saga::kId);
    std::string shift = text::TailChars(items.Attribute(node, saga::kRegim), 1);
    std::string name = items.Attribute(node, saga::kName);
    std::string description = name + " (" + items.FirstChildText(node) + ")";
    codes::GroupName parts = codes::SplitGroupName(name);
    const KeptCode* old = kept.At(i);
    std::string code = old ? old->code : codes.Plain(codes::GroupBase(parts));

    table.Append();
    table.SetText(f::kAbrev, code);
    table.SetText(f::kTurno, shift);
    table.SetText(f::kNivel, parts.level);
    table.SetText(f::kCurso, parts.course);
    table.SetText(f::kGrupo, parts.letter);
    table.SetText(f::kIdSaga, id);
    table.SetText(f::kDescrip, description);
    table.Post();
  }
  table.Close();
}

}  // namespace velquior
