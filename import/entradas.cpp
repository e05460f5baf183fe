#include "import/sections.h"
#include "tables/catalog.h"
#include "text/numbers.h"
#include "xml/saga_names.h"

namespace velquior {
namespace f = catalog::f;

BuscarIdSaga::BuscarIdSaga(tables::Table& table, std::string_view key_field)
    : index_(table, key_field, {f::kIdSaga}) {}

std::string BuscarIdSaga::operator()(const std::string& code) const {
  const auto* found = index_.Find(code);
  return found != nullptr ? (*found)[0] : code;
}

namespace {

// A container of the input holding its one item, whose id is left out when
// empty.
void AppendParticipant(xml::Document& doc, xml::Node input, std::string_view container,
                       std::string_view item, const std::string& id) {
  xml::Node c = input.appendChild(doc.createElement(container));
  xml::Node e = doc.createElement(item);
  if (!id.empty()) e.setAttribute(saga::kId, id);
  c.appendChild(e);
}

}  // namespace

void EscribirEntradas(xml::Document& doc, xml::Node time_table, tables::FormTables& t,
                      const IndiceActividades& activities) {
  xml::Node inputs = time_table.appendChild(doc.createElement(saga::kInputs));
  const BuscarIdSaga subject_key(t.wwTableNomAsg, f::kCod);
  const BuscarIdSaga group_id(t.wwTableGrupos, f::kAbrev);
  const BuscarIdSaga teacher_id(t.wwTableProfesor, f::kAbrev);
  const BuscarIdSaga room_id(t.wwTableAulas, f::kAbrev);
  tables::Table& soluc = t.wwTableSoluc;
  long n = 1;
  for (soluc.First(); !soluc.Eof(); soluc.Next()) {
    if (soluc.AsInteger(f::kDia) == 0) continue;  // not scheduled
    std::string number = std::to_string(n++);
    xml::Node input = doc.createElement(saga::kInput);
    input.setAttribute(saga::kId, std::string(saga::kInput) + number);
    input.setAttribute(saga::kDay, soluc.AsText(f::kDia));
    double hour = soluc.AsFloat(f::kHora);
    // Half-hour sessions count their intervals in halves.
    if (soluc.AsFloat(f::kSesiones) == 0.5) hour = hour * 2 - 1;
    input.setAttribute(saga::kInterval, "i" + text::FormatGeneral(hour, 15, text::DecimalSeparator()));
    long position = activities.Position(subject_key(soluc.AsText(f::kAsig)));
    input.setAttribute(saga::kActivity, activities.IdAt(position));
    inputs.appendChild(input);
    AppendParticipant(doc, input, saga::kGroups, saga::kGroup, group_id(soluc.AsText(f::kCodGrupo)));
    AppendParticipant(doc, input, saga::kMembers, saga::kMember, teacher_id(soluc.AsText(f::kProf)));
    AppendParticipant(doc, input, saga::kLocations, saga::kLocation, room_id(soluc.AsText(f::kAula)));
  }
}

}  // namespace velquior
