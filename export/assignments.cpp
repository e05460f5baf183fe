// ASIGT, the teaching assignments: one record per assigned subject of every
// group, with the SAGA identifiers translated into the codes of the tables
// written before (subjects, teachers, groups) and the hours into sessions.

#include <exception>
#include <vector>

#include "export/element_items.h"
#include "export/export_context.h"
#include "export/hours.h"
#include "tables/catalog.h"
#include "tables/key_index.h"
#include "text/numbers.h"
#include "xml/saga_names.h"

namespace velquior {
namespace {

namespace f = catalog::f;

// Closes the components it opened, in the order opened, also when the
// builder ends in an error.
class OpenComponents {
 public:
  OpenComponents() = default;
  OpenComponents(const OpenComponents&) = delete;
  OpenComponents& operator=(const OpenComponents&) = delete;
  ~OpenComponents() {
    try {
      CloseAll();
    } catch (...) {  // the error that ended the builder is the one reported
    }
  }

  void Open(tables::Table& table) {
    table.Open();
    open_.push_back(&table);
  }

  // Closes every one; the first failure is raised after all were tried.
  void CloseAll() {
    std::exception_ptr first;
    for (tables::Table* table : open_) {
      try {
        table->Close();
      } catch (...) {
        if (!first) first = std::current_exception();
      }
    }
    open_.clear();
    if (first) std::rethrow_exception(first);
  }

 private:
  std::vector<tables::Table*> open_;
};

// What a group's record of GRUPOST gives every assignment of the group.
struct GroupValues {
  std::string code, shift, level, course, letter;
};

GroupValues GroupFrom(const tables::KeyIndex& groups, const std::string& id) {
  const std::vector<std::string>* r = groups.Find(id);
  if (r == nullptr) return {};
  return {(*r)[0], (*r)[1], (*r)[2], (*r)[3], (*r)[4]};
}

}  // namespace

void CrearAsignaciones(ExportContext& ctx) {
  catalog::RecreateTable(ctx.dir, catalog::kAsigt);
  tables::Table table(ctx.dir, catalog::kAsigt.name);
  table.Open();

  tables::FormTables& c = ctx.components;
  OpenComponents components;
  components.Open(c.wwTableGrupos);
  components.Open(c.wwTableProfesor);
  components.Open(c.wwTableAulas);
  components.Open(c.wwTableNomAsg);

  const tables::KeyIndex groups(c.wwTableGrupos, f::kIdSaga, {f::kAbrev, f::kTurno, f::kNivel, f::kCurso, f::kGrupo});
  const tables::KeyIndex teachers(c.wwTableProfesor, f::kIdSaga, {f::kAbrev});
  const tables::KeyIndex subjects(c.wwTableNomAsg, f::kIdSaga, {f::kCod, f::kHoras});

  ElementItems group_items(ctx.reporter, saga::kGroup);
  ElementItems subject_items(ctx.reporter, saga::kAssignedSubject);
  ElementItems teacher_items(ctx.reporter, saga::kAssignedTeacher);
  const char separator = text::DecimalSeparator();

  xml::NodeList group_nodes = ctx.document.selectNodes(saga::kGroupsPath);
  for (long g = 0; g < group_nodes.length(); ++g) {
    xml::Node group_node = *group_nodes.item(g);
    group_items.Next();
    const GroupValues group = GroupFrom(groups, group_items.Attribute(group_node, saga::kId));

    xml::NodeList assigned = group_node.selectNodes(saga::kAssignedSubjectsPath);
    for (long s = 0; s < assigned.length(); ++s) {
      xml::Node subject_node = *assigned.item(s);
      subject_items.Next();
      std::string subject_code, hours_text;
      if (auto r = subjects.Find(subject_items.Attribute(subject_node, saga::kId))) {
        subject_code = (*r)[0];
        hours_text = (*r)[1];
      }

      // Only the last listed teacher counts, found or not.
      std::string teacher_code;
      xml::NodeList assigned_teachers = subject_node.selectNodes(saga::kAssignedTeachersPath);
      for (long t = 0; t < assigned_teachers.length(); ++t) {
        teacher_items.Next();
        auto r = teachers.Find(teacher_items.Attribute(*assigned_teachers.item(t), saga::kId));
        teacher_code = r != nullptr ? (*r)[0] : std::string();
      }

      table.Append();
      table.SetText(f::kCAsig, subject_code);
      table.SetText(f::kCProf, teacher_code);
      table.SetText(f::kCGrup, group.code);
      table.SetText(f::kCAula, "");
      table.SetText(f::kTurno, group.shift);
      table.SetText(f::kNivel, group.level);
      table.SetText(f::kCurso, group.course);
      table.SetText(f::kGrupo, group.letter);
      if (auto hours = HoursFromText(hours_text, separator)) table.SetFloat(f::kHoras, *hours);
      // The pattern follows the number as the field holds it (fixed decimals).
      table.SetText(f::kSesiones, SessionPattern(table.AsFloat(f::kHoras)));
      table.Post();
    }
  }

  table.Close();
  components.CloseAll();
}

}  // namespace velquior
