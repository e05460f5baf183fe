// The import side of the check. It walks the tables as the import does,
// through the import's own look-ups, and keeps what the import would stop at
// or write wrong instead of writing anything.

#include "check/import_side.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "check/document_ids.h"
#include "check/finding_groups.h"
#include "check/kinds.h"
#include "check/soluc_lessons.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "import/activity_index.h"
#include "import/sections.h"
#include "import/timetable_values.h"
#include "tables/catalog.h"
#include "text/encoding.h"
#include "xml/saga_names.h"

namespace velquior::check {
namespace {

namespace f = catalog::f;
namespace fs = std::filesystem;
using Codes = std::unordered_set<std::string>;

std::string U(std::string_view ansi) { return text::AnsiToUtf8(ansi); }

// Keys of several texts, none of which holds this byte.
std::string Key(std::string_view a, std::string_view b) { return std::string(a) + '\x1F' + std::string(b); }

// A catalogue as the import looks codes up in it.
struct Catalogue {
  tables::Table& table;
  std::string_view name;       // "GRUPOST", as users know the table
  std::string_view key_field;  // COD or ABREV
  std::string_view kind;       // "grupo", for the summaries
  const Codes& document_ids;
};

// A catalogue record that the import reaches for some code of SOLUC.
struct UsedRecord {
  std::size_t record;
  std::string code, name, idsaga;
};

// The records whose key `used` holds, in table order: all of them, as the
// lists write them, or the first of each code, as the inputs look them up.
std::vector<UsedRecord> UsedRecords(const Catalogue& c, const Codes& used, bool first_of_each_code) {
  std::string_view name_field;
  for (const auto& info : c.table.Fields()) {
    if (info.name == f::kNombre || (name_field.empty() && info.name == f::kDescrip)) name_field = info.name;
  }
  std::vector<UsedRecord> records;
  Codes seen;
  for (c.table.First(); !c.table.Eof(); c.table.Next()) {
    std::string code = c.table.AsText(c.key_field);
    if (!used.contains(code) || (first_of_each_code && !seen.insert(code).second)) continue;
    records.push_back({c.table.RecordNumber(), std::move(code),
                       name_field.empty() ? std::string() : c.table.AsText(name_field), c.table.AsText(f::kIdSaga)});
  }
  return records;
}

// The (day, interval) pairs that the days section writes.
Codes WrittenIntervals(tables::Table& days) {
  Codes written;
  for (days.First(); !days.Eof(); days.Next()) {
    const int d = NumeroDecimal(days.AsText(f::kDia), kDiasSemana);
    const int h = NumeroDecimal(days.AsText(f::kHora), kHorasDia);
    if (d != 0 && h != 0) written.insert(Key(std::to_string(d), "i" + std::to_string(h)));
  }
  return written;
}

class ImportSide {
 public:
  ImportSide(const xml::Document& document, const fs::path& dir, Report& report)
      : ids_(ReadDocumentIds(document)),
        soluc_(dir, catalog::kSoluc),
        subjects_(dir, catalog::kAsignomt.name),
        teachers_(dir, catalog::kProft.name),
        rooms_(dir, catalog::kAulat.name),
        groups_(dir, catalog::kGrupost.name),
        days_(dir, catalog::kDiasHorast.name),
        report_(report) {}

  void Run() {
    for (tables::Table* t : {&days_, &groups_, &soluc_, &teachers_, &subjects_, &rooms_}) t->Open();
    const Codes intervals = WrittenIntervals(days_);
    const std::vector<Lesson> lessons = ReadLessons(soluc_);
    Codes asig, grupo, prof, aula;
    for (const Lesson& l : lessons) {
      // Every record counts for the lists, scheduled or not; rooms appear
      // only in the inputs.
      asig.insert(l.asig);
      grupo.insert(l.grupo);
      prof.insert(l.prof);
      if (l.Scheduled()) aula.insert(l.aula);
    }
    ImportCounts& counts = report_.import_counts;
    counts.groups = CheckIds(group_, UsedRecords(group_, grupo, false));
    counts.members = CheckIds(teacher_, UsedRecords(teacher_, prof, false));
    const std::vector<UsedRecord> activities = UsedRecords(subject_, asig, false);
    counts.activities = CheckIds(subject_, activities);
    IndiceActividades index;
    for (std::size_t i = 0; i < activities.size(); ++i) {
      index.Add(Format(saga::kActivityIdFormat, {std::to_string(i + 1)}), activities[i].idsaga);
    }
    CheckIds(room_, UsedRecords(room_, aula, true));
    CheckLessons(lessons, index, intervals);

    for (FindingGroups* g : {&unknown_subject_, &not_a_number_, &without_record_, &empty_id_, &unknown_id_,
                             &day_out_of_range_, &hour_not_in_days_}) {
      g->MoveInto(report_.findings);
    }
    report_.import_checked = true;
  }

 private:
  // Empty and unknown identifiers among the records the import writes;
  // gives how many there are.
  std::size_t CheckIds(const Catalogue& c, const std::vector<UsedRecord>& records) {
    for (const UsedRecord& r : records) {
      Concerned concerned{std::string(c.name), static_cast<long>(r.record), U(r.code), U(r.name),
                          Format(msg::kChkIdSaga, {U(r.idsaga)})};
      if (r.idsaga.empty()) {
        empty_id_.For(Key(c.name, r.code), [&] { return Format(msg::kChkIdSagaVacio, {c.kind, U(r.code), c.name}); })
            .records.push_back(std::move(concerned));
      } else if (!c.document_ids.contains(r.idsaga)) {
        unknown_id_
            .For(Key(c.name, r.idsaga),
                 [&] { return Format(msg::kChkIdSagaDesconocido, {U(r.idsaga), c.name, c.kind, U(r.code)}); })
            .records.push_back(std::move(concerned));
      }
    }
    return records.size();
  }

  static Concerned InLesson(const Lesson& l, std::string_view what) {
    return {std::string(catalog::kSoluc), static_cast<long>(l.record), U(what), {},
            Format(msg::kChkLeccion, {U(l.dia_text), U(l.hora_text), U(l.asig), U(l.grupo), U(l.prof), U(l.aula)})};
  }

  // A code the import writes as itself where a SAGA identifier belongs.
  void CheckCode(const BuscarIdSaga& look_up, const Catalogue& c, const Lesson& l, const std::string& code) {
    // An empty code gives an element without id, as intended.
    if (code.empty() || look_up.Registro(code) != nullptr) return;
    without_record_
        .For(Key(c.name, code),
             [&] { return Format(msg::kChkCodigoSinRegistro, {c.kind, U(code), c.name, U(code)}); })
        .records.push_back(InLesson(l, code));
  }

  void CheckLessons(const std::vector<Lesson>& lessons, const IndiceActividades& index, const Codes& intervals) {
    const BuscarIdSaga subject_key(subjects_, f::kCod);
    const BuscarIdSaga group_id(groups_, f::kAbrev);
    const BuscarIdSaga teacher_id(teachers_, f::kAbrev);
    const BuscarIdSaga room_id(rooms_, f::kAbrev);
    for (const Lesson& l : lessons) {
      for (const BadNumber& bad : l.bad) {
        not_a_number_
            .For(Key(bad.field, bad.text), [&] { return Format(msg::kChkNoEsNumero, {bad.field, U(bad.text)}); })
            .records.push_back(InLesson(l, bad.text));
      }
      if (!l.Scheduled()) continue;
      ++report_.import_counts.inputs;

      const std::string* subject = subject_key.Registro(l.asig);
      if (index.Position(subject != nullptr ? *subject : l.asig) == -1) {
        unknown_subject_.For(l.asig, [&] { return Format(msg::kChkAsignaturaDesconocida, {U(l.asig)}); })
            .records.push_back(InLesson(l, l.asig));
      } else if (subject == nullptr && !l.asig.empty()) {
        // Found only because some activity's SAGA identifier equals the code.
        without_record_
            .For(Key(subject_.name, l.asig),
                 [&] { return Format(msg::kChkAsignaturaSinRegistro, {U(l.asig), U(l.asig)}); })
            .records.push_back(InLesson(l, l.asig));
      }
      CheckCode(group_id, group_, l, l.grupo);
      CheckCode(teacher_id, teacher_, l, l.prof);
      CheckCode(room_id, room_, l, l.aula);

      if (*l.dia < 1 || *l.dia > kDiasSemana) {
        day_out_of_range_.For(l.dia_text, [&] { return Format(msg::kChkDiaFueraDeRango, {U(l.dia_text)}); })
            .records.push_back(InLesson(l, l.dia_text));
      } else if (l.hora && l.sesiones) {
        const std::string interval = IdIntervalo(*l.hora, *l.sesiones);
        const std::string key = Key(l.dia_text, interval);
        if (intervals.contains(key)) continue;
        hour_not_in_days_
            .For(key, [&] { return Format(msg::kChkHoraSinIntervalo, {U(l.dia_text), U(interval)}); })
            .records.push_back(InLesson(l, interval));
      }
    }
  }

  DocumentIds ids_;
  tables::Table soluc_, subjects_, teachers_, rooms_, groups_, days_;
  Catalogue subject_{subjects_, catalog::kAsignomt.name, f::kCod, msg::kChkAsignatura, ids_.subjects};
  Catalogue group_{groups_, catalog::kGrupost.name, f::kAbrev, msg::kChkGrupo, ids_.groups};
  Catalogue teacher_{teachers_, catalog::kProft.name, f::kAbrev, msg::kChkProfesor, ids_.teachers};
  Catalogue room_{rooms_, catalog::kAulat.name, f::kAbrev, msg::kChkAula, ids_.locations};
  Report& report_;

  // Errors first, then warnings, each kind in the order first met.
  FindingGroups unknown_subject_{kinds::kUnknownSubjectCode, Severity::kError, Side::kImport};
  FindingGroups not_a_number_{kinds::kNotANumber, Severity::kError, Side::kImport};
  FindingGroups without_record_{kinds::kCodeWithoutRecord, Severity::kWarning, Side::kImport};
  FindingGroups empty_id_{kinds::kEmptyIdSaga, Severity::kWarning, Side::kImport};
  FindingGroups unknown_id_{kinds::kUnknownSagaId, Severity::kWarning, Side::kImport};
  FindingGroups day_out_of_range_{kinds::kDayOutOfRange, Severity::kWarning, Side::kImport};
  FindingGroups hour_not_in_days_{kinds::kHourNotInDays, Severity::kWarning, Side::kImport};
};

}  // namespace

void CheckImportSide(const xml::Document& document, const fs::path& work_dir, Report& report) {
  report.import_checked = false;
  std::error_code ec;
  if (!fs::is_directory(work_dir, ec) ||
      !FindFileNoCase(work_dir, std::string(catalog::kSoluc) + std::string(catalog::kDataExtension))) {
    return;
  }
  ImportSide(document, work_dir, report).Run();
}

}  // namespace velquior::check
