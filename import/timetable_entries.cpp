// `inputs`, the timetable entries: one per scheduled SOLUC record, naming
// its day, interval, activity, group, teacher and room.
#include "import/sections.h"

#include <vector>

#include "import/timetable_values.h"
#include "tables/catalog.h"
#include "xml/saga_names.h"

namespace velquior {
namespace f = catalog::f;

BuscarIdSaga::BuscarIdSaga(tables::Table& table, std::string_view key_field) : index_(table, key_field, {f::kIdSaga}) {}

const std::string* BuscarIdSaga::Registro(const std::string& code) const {
  const auto* found = index_.Find(code);
  return found != nullptr ? &(*found)[0] : nullptr;
}

std::string BuscarIdSaga::operator()(const std::string& code) const {
  const std::string* id = Registro(code);
  return id != nullptr ? *id : code;
}

namespace {

// What one scheduled SOLUC record puts in its input: the entry that
// EscribirEntradas writes.
struct TimetableEntry {
  std::string day, interval, group, member, location;
  const std::string* activity;
};

// The scheduled records, read with every look-up and check in record order,
// so that the first failure is the one a single pass would meet. Done apart
// from the writing, the look-ups find their indexes in the processor's
// caches instead of behind the hundreds of megabytes the writing touches.
std::vector<TimetableEntry> ReadTimetableEntries(tables::FormTables& t, const IndiceActividades& activities) {
  const BuscarIdSaga subject_key(t.wwTableNomAsg, f::kCod);
  const BuscarIdSaga group_id(t.wwTableGrupos, f::kAbrev);
  const BuscarIdSaga teacher_id(t.wwTableProfesor, f::kAbrev);
  const BuscarIdSaga room_id(t.wwTableAulas, f::kAbrev);
  tables::Table& soluc = t.wwTableSoluc;
  std::vector<TimetableEntry> entries;
  entries.reserve(soluc.RecordCount());
  for (soluc.First(); !soluc.Eof(); soluc.Next()) {
    if (soluc.AsInteger(f::kDia) == 0) continue;  // not scheduled
    TimetableEntry& e = entries.emplace_back();
    e.day = soluc.AsText(f::kDia);
    const double hour = soluc.AsFloat(f::kHora);
    e.interval = IdIntervalo(hour, soluc.AsFloat(f::kSesiones));
    long position = activities.Position(subject_key(soluc.AsText(f::kAsig)));
    e.activity = &activities.IdAt(position);
    e.group = group_id(soluc.AsText(f::kCodGrupo));
    e.member = teacher_id(soluc.AsText(f::kProf));
    e.location = room_id(soluc.AsText(f::kAula));
  }
  return entries;
}

// A container of the input holding its one item, whose id is left out when
// empty.
void AppendParticipant(xml::Document& doc, xml::Node input, std::string_view container, std::string_view item,
                       const std::string& id) {
  xml::Node c = input.appendChild(doc.createElement(container));
  xml::Node e = doc.createElement(item);
  if (!id.empty()) e.setAttribute(saga::kId, id);
  c.appendChild(e);
}

}  // namespace

void EscribirEntradas(xml::Document& doc, xml::Node time_table, tables::FormTables& t,
                      const IndiceActividades& activities) {
  xml::Node inputs = time_table.appendChild(doc.createElement(saga::kInputs));
  const std::vector<TimetableEntry> entries = ReadTimetableEntries(t, activities);
  std::string id(saga::kInput);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TimetableEntry& e = entries[i];
    id.resize(saga::kInput.size());
    id += std::to_string(i + 1);
    xml::Node input = doc.createElement(saga::kInput);
    input.setAttribute(saga::kId, id);
    input.setAttribute(saga::kDay, e.day);
    input.setAttribute(saga::kInterval, e.interval);
    input.setAttribute(saga::kActivity, *e.activity);
    inputs.appendChild(input);
    AppendParticipant(doc, input, saga::kGroups, saga::kGroup, e.group);
    AppendParticipant(doc, input, saga::kMembers, saga::kMember, e.member);
    AppendParticipant(doc, input, saga::kLocations, saga::kLocation, e.location);
  }
}

}  // namespace velquior
