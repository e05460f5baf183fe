// `groups`, `members` and `activities`: the catalogue records SOLUC uses.
#include "common/format.h"
#include "import/sections.h"
#include "tables/catalog.h"
#include "xml/saga_names.h"

namespace velquior {
namespace f = catalog::f;

UsadoEnSoluc::UsadoEnSoluc(tables::Table& soluc, std::string_view field) {
  for (soluc.First(); !soluc.Eof(); soluc.Next()) used_.insert(soluc.AsText(field));
}

namespace {

// The records of `catalogue` whose `key` some SOLUC record holds in
// `soluc_field`, in catalogue order, each as an `item` with its IDSAGA.
void WriteUsedList(xml::Document& doc, xml::Node time_table, tables::Table& catalogue, tables::Table& soluc,
                   std::string_view soluc_field, std::string_view container, std::string_view item) {
  xml::Node list = time_table.appendChild(doc.createElement(container));
  UsadoEnSoluc used(soluc, soluc_field);
  for (catalogue.First(); !catalogue.Eof(); catalogue.Next()) {
    if (!used(catalogue.AsText(f::kAbrev))) continue;
    xml::Node e = doc.createElement(item);
    e.setAttribute(saga::kId, catalogue.AsText(f::kIdSaga));
    list.appendChild(e);
  }
}

}  // namespace

void EscribirGrupos(xml::Document& doc, xml::Node time_table, tables::FormTables& t) {
  WriteUsedList(doc, time_table, t.wwTableGrupos, t.wwTableSoluc, f::kCodGrupo, saga::kGroups, saga::kGroup);
}

void EscribirMiembros(xml::Document& doc, xml::Node time_table, tables::FormTables& t) {
  WriteUsedList(doc, time_table, t.wwTableProfesor, t.wwTableSoluc, f::kProf, saga::kMembers, saga::kMember);
}

IndiceActividades EscribirActividades(xml::Document& doc, xml::Node time_table, tables::FormTables& t) {
  IndiceActividades index;
  xml::Node activities = time_table.appendChild(doc.createElement(saga::kActivities));
  UsadoEnSoluc used(t.wwTableSoluc, f::kAsig);
  tables::Table& subjects = t.wwTableNomAsg;
  long n = 1;
  for (subjects.First(); !subjects.Eof(); subjects.Next()) {
    if (!used(subjects.AsText(f::kCod))) continue;
    std::string id = Format(saga::kActivityIdFormat, {std::to_string(n)});
    std::string subject = subjects.AsText(f::kIdSaga);
    xml::Node a = doc.createElement(saga::kActivity);
    a.setAttribute(saga::kId, id);
    a.setAttribute(saga::kName, subjects.AsText(f::kNombre));
    a.setAttribute(saga::kSubject, subject);
    index.Add(std::move(id), std::move(subject));
    activities.appendChild(a);
    ++n;
  }
  return index;
}

}  // namespace velquior
