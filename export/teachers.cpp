// PROFT, the teachers: one record per teacher element, named by its first
// child node, with initials unique regardless of letter case.

#include "export/named_by_child.h"
#include "xml/saga_names.h"

namespace velquior {

void CrearProfesores(ExportContext& ctx) {
  WriteNamedByFirstChild(
      ctx, catalog::kProft, saga::kTeachersPath, saga::kTeacher,
      [](codes::CodeAssigner& c, std::string_view name) { return c.Plain(codes::TeacherBase(name)); });
}

}  // namespace velquior
