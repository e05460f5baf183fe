// PROFT, the teachers: one record per teacher element, named by its first
// child node, with initials unique regardless of letter case.

#include "export/codes.h"
#include "export/element_items.h"
#include "export/export_context.h"
#include "tables/catalog.h"
#include "xml/saga_names.h"

namespace velquior {

void CrearProfesores(ExportContext& ctx) {
  namespace f = catalog::f;
  catalog::RecreateTable(ctx.dir, catalog::kProft);
  tables::Table table(ctx.dir, catalog::kProft.name);
  codes::CodeAssigner codes(UsedCodes::Case::kInsensitive);
  ElementItems items(ctx.front_end, saga::kTeacher);
  table.Open();

  xml::NodeList teachers = ctx.document.selectNodes(saga::kTeachersPath);
  for (long i = 0; i < teachers.length(); ++i) {
    xml::Node node = *teachers.item(i);
    items.Next();
    std::string id = items.Attribute(node, saga::kId);
    std::string name = items.FirstChildText(node);
    std::string code = codes.Plain(codes::TeacherBase(name));

    table.Append();
    table.SetText(f::kAbrev, code);
    table.SetText(f::kNombre, name);
    table.SetText(f::kIdSaga, id);
    table.Post();
  }
  table.Close();
}

}  // namespace velquior
