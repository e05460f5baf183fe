// The import side of the check against what the import really does: each
// finding over tables that show it once, and the real import of the same
// tables stopping exactly when the check says it would, writing exactly
// what the check counts.

#include "check/import_side.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "check/kinds.h"
#include "import/import_driver.h"
#include "tables/catalog.h"
#include "tests/import/table_maker.h"
#include "tests/test_util.h"
#include "text/numbers.h"

namespace velquior::check {
namespace {

using testing::CatalogueRow;
using testing::Cell;
using testing::Snapshot;
using testing::TempDir;
namespace fs = std::filesystem;
namespace f = catalog::f;
using tables::FieldType;

// A school small enough to read at a glance: the tables of an import and the
// identifiers its document holds. Clean() gives one without any finding.
struct School {
  struct Lesson {
    Cell dia, hora, sesiones;
    std::string asig, grupo, prof, aula;
  };
  std::vector<Lesson> soluc;
  bool text_numbers = false;  // DIA, HORA and SESIONES as text fields, as some hosts keep them
  std::vector<CatalogueRow> subjects, groups, teachers, rooms;
  std::vector<std::pair<std::string, std::string>> days;  // DIASHORAST's DIA and HORA
  std::vector<std::string> doc_subjects, doc_teachers, doc_locations, doc_groups;
};

School Clean() {
  School s;
  s.subjects = {{"FIS", "301", "Fisica"}, {"MAT", "302", "Matematicas"}, {"HIS", "303", "Historia"}, {"LEN", "304", "Lengua"}};
  s.groups = {{"1A", "101"}, {"1B", "102"}, {"2B", "103"}};
  s.teachers = {{"P02", "201", "Ana"}, {"P01", "202", "Blas"}};
  s.rooms = {{"A1", "401", "Aula 1"}, {"A2", "402", "Aula 2"}, {"LAB", "403", "Laboratorio"}};
  for (const char* d : {"1", "2"}) {
    for (const char* h : {"1", "2", "3"}) s.days.emplace_back(d, h);
  }
  s.soluc = {{1.0, 2.0, 1.0, "MAT", "1A", "P01", "A1"},
             {0.0, 0.0, 1.0, "LEN", "2B", "P02", "A2"},  // unscheduled: in the lists only
             {2.0, 2.0, 0.5, "FIS", "1A", "P01", "LAB"},  // a half-hour session: i3
             {2.0, 1.0, 1.0, "MAT", "1B", "P02", ""}};    // no room: a location without id
  s.doc_subjects = {"301", "302", "303", "304"};
  s.doc_teachers = {"201", "202"};
  s.doc_locations = {"401", "402", "403"};
  s.doc_groups = {"101", "102", "103"};
  return s;
}

Cell AsTextCell(const Cell& c) {
  if (const auto* d = std::get_if<double>(&c)) return text::FormatGeneral(*d, 15, '.');
  return c;
}

std::string Document(const School& s) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<document>\n";
  auto kind = [&xml](const std::string& name, const std::vector<std::string>& ids) {
    xml += "<" + name + "s>";
    for (const auto& id : ids) xml += "<" + name + " id=\" " + id + " \" name=\"n\">n</" + name + ">";
    xml += "</" + name + "s>\n";
  };
  kind("subject", s.doc_subjects);
  kind("teacher", s.doc_teachers);
  kind("location", s.doc_locations);
  kind("group", s.doc_groups);
  return xml + "</document>\n";
}

void Write(const School& s, const fs::path& work, const fs::path& doc) {
  fs::create_directories(work);
  testing::MakeCatalogue(work, "ASIGNOMT", s.subjects);
  testing::MakeCatalogue(work, "GRUPOST", s.groups);
  testing::MakeCatalogue(work, "PROFT", s.teachers);
  testing::MakeCatalogue(work, "AULAT", s.rooms);
  std::vector<std::vector<Cell>> days;
  for (const auto& [d, h] : s.days) days.push_back({"", "", d, "Dia " + d, h, "8:00", "8:55", "55"});
  testing::MakeTable(work, "DIASHORAST", {catalog::kDiasHorast.fields.begin(), catalog::kDiasHorast.fields.end()},
                     days);
  const FieldType number = s.text_numbers ? FieldType::kText : FieldType::kFloat;
  std::vector<std::vector<Cell>> soluc;
  for (const auto& l : s.soluc) {
    auto n = [&](const Cell& c) { return s.text_numbers ? AsTextCell(c) : c; };
    soluc.push_back({l.grupo, l.prof, l.asig, l.aula, n(l.dia), n(l.hora), n(l.sesiones)});
  }
  testing::MakeTable(work, catalog::kSoluc,
                     {{f::kCodGrupo, FieldType::kText, 10},
                      {f::kProf, FieldType::kText, 10},
                      {f::kAsig, FieldType::kText, 10},
                      {f::kAula, FieldType::kText, 10},
                      {f::kDia, number, 4},
                      {f::kHora, number, 5},
                      {f::kSesiones, number, 5}},
                     soluc);
  testing::WriteFile(doc, Document(s));
}

struct Outcomes {
  Report report;
  bool import_completed = false;
  std::string import_error;
  ImportCounts written;  // what the import's time-table holds
};

// The check, then the import itself on the same tables and document.
Outcomes CheckThenImport(const School& s) {
  TempDir tmp;
  const fs::path work = tmp / "ZTEMP", doc = tmp / "escuela.xml";
  Write(s, work, doc);
  Outcomes run;
  const auto before = Snapshot(work);
  const std::string doc_before = testing::ReadFile(doc);
  xml::Document document;
  EXPECT_TRUE(document.load(doc).ok);
  CheckImportSide(document, work, run.report);
  EXPECT_EQ(Snapshot(work), before) << "the check writes nothing";
  EXPECT_EQ(testing::ReadFile(doc), doc_before);

  Workspace workspace;
  workspace.work_dir = work;
  Reporter reporter;
  run.import_error = testing::ErrorOf([&] { RunImport(doc, workspace, reporter); });
  run.import_completed = run.import_error == "(no error)";
  if (run.import_completed) {
    xml::Document imported;
    EXPECT_TRUE(imported.load(doc).ok);
    auto count = [&](std::string_view path) {
      return static_cast<std::size_t>(imported.selectNodes("/document/time-tables/time-table/" + std::string(path)).length());
    };
    run.written = {count("inputs/input"), count("activities/activity"), count("groups/group"),
                   count("members/member")};
  }
  return run;
}

struct Where {
  std::string where;
  long position;
  std::string id;
  bool operator==(const Where&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Where& w) {
  return os << w.where << " " << w.position << " '" << w.id << "'";
}

School With(std::function<void(School&)> change) {
  School s = Clean();
  change(s);
  return s;
}

School::Lesson At(Cell dia, Cell hora, Cell sesiones, std::string asig = "MAT", std::string grupo = "1A",
                  std::string prof = "P01", std::string aula = "A1") {
  return {std::move(dia), std::move(hora), std::move(sesiones), asig, grupo, prof, aula};
}

class ImportSideCheck : public ::testing::Test {
 protected:
  void SetUp() override { text::SetDecimalSeparator('.'); }
};

TEST_F(ImportSideCheck, EachFindingOnceWithItsRecordsAndTheImportAgrees) {
  struct Case {
    const char* why;
    School school;
    std::string_view kind;  // empty: nothing to find
    std::vector<Where> records;
  } cases[] = {
      {"a clean school", Clean(), {}, {}},
      {"a subject code neither ASIGNOMT nor an activity holds stops the import; both lessons named",
       With([](School& s) { s.soluc.insert(s.soluc.end(), {At(1.0, 1.0, 1.0, "QUI"), At(2.0, 1.0, 1.0, "QUI")}); }),
       kinds::kUnknownSubjectCode, {{"SOLUC", 5, "QUI"}, {"SOLUC", 6, "QUI"}}},
      {"an unscheduled lesson's subject is never looked up",
       With([](School& s) { s.soluc.push_back(At(0.0, 1.0, 1.0, "QUI")); }), {}, {}},
      {"a subject without record whose code is an activity's key: the import takes the code as the identifier",
       With([](School& s) { s.soluc.push_back(At(1.0, 1.0, 1.0, "302")); }), kinds::kCodeWithoutRecord,
       {{"SOLUC", 5, "302"}}},
      {"the same, the key matched ignoring letter case",
       With([](School& s) {
         s.subjects[0].idsaga = s.doc_subjects[0] = "fis301";
         s.soluc.push_back(At(1.0, 1.0, 1.0, "FIS301"));
       }),
       kinds::kCodeWithoutRecord, {{"SOLUC", 5, "FIS301"}}},
      {"a DIA that reads as no number stops the import",
       With([](School& s) {
         s.text_numbers = true;
         s.soluc.push_back(At("x", 1.0, 1.0));
       }),
       kinds::kNotANumber, {{"SOLUC", 5, "x"}}},
      {"a scheduled lesson's HORA that reads as no number stops it too",
       With([](School& s) {
         s.text_numbers = true;
         s.soluc.push_back(At(1.0, "8h", 1.0));
       }),
       kinds::kNotANumber, {{"SOLUC", 5, "8h"}}},
      {"an unscheduled lesson's HORA is never read",
       With([](School& s) {
         s.text_numbers = true;
         s.soluc.push_back(At(0.0, "8h", 1.0));
       }),
       {}, {}},
      {"a group code without GRUPOST record is written as itself",
       With([](School& s) { s.soluc.push_back(At(1.0, 1.0, 1.0, "MAT", "3C")); }), kinds::kCodeWithoutRecord,
       {{"SOLUC", 5, "3C"}}},
      {"a teacher's", With([](School& s) { s.soluc.push_back(At(1.0, 1.0, 1.0, "MAT", "1A", "P09")); }),
       kinds::kCodeWithoutRecord, {{"SOLUC", 5, "P09"}}},
      {"a room's", With([](School& s) { s.soluc.push_back(At(1.0, 1.0, 1.0, "MAT", "1A", "P01", "R9")); }),
       kinds::kCodeWithoutRecord, {{"SOLUC", 5, "R9"}}},
      {"an unscheduled lesson's group code reaches no input",
       With([](School& s) { s.soluc.push_back(At(0.0, 1.0, 1.0, "MAT", "3C")); }), {}, {}},
      {"a used group with an empty IDSAGA", With([](School& s) { s.groups[1].idsaga = ""; }), kinds::kEmptyIdSaga,
       {{"GRUPOST", 2, "1B"}}},
      {"a group only an unscheduled lesson uses is listed all the same",
       With([](School& s) { s.groups[2].idsaga = ""; }), kinds::kEmptyIdSaga, {{"GRUPOST", 3, "2B"}}},
      {"a room with an empty IDSAGA", With([](School& s) { s.rooms[2].idsaga = ""; }), kinds::kEmptyIdSaga,
       {{"AULAT", 3, "LAB"}}},
      {"a subject's: its activity gets an empty subject",
       With([](School& s) { s.subjects[0].idsaga = ""; }), kinds::kEmptyIdSaga, {{"ASIGNOMT", 1, "FIS"}}},
      {"an unused record's empty IDSAGA is never written", With([](School& s) { s.subjects[2].idsaga = ""; }), {},
       {}},
      {"a group identifier the document lacks", With([](School& s) { s.doc_groups.erase(s.doc_groups.begin()); }),
       kinds::kUnknownSagaId, {{"GRUPOST", 1, "1A"}}},
      {"a teacher's", With([](School& s) { s.doc_teachers.erase(s.doc_teachers.begin()); }), kinds::kUnknownSagaId,
       {{"PROFT", 1, "P02"}}},
      {"a subject's that only an unscheduled lesson uses",
       With([](School& s) { s.doc_subjects.pop_back(); }), kinds::kUnknownSagaId, {{"ASIGNOMT", 4, "LEN"}}},
      {"a room's, looked up by the inputs only", With([](School& s) { s.doc_locations.erase(s.doc_locations.begin()); }),
       kinds::kUnknownSagaId, {{"AULAT", 1, "A1"}}},
      {"an unused room's identifier is never written", With([](School& s) { s.rooms.push_back({"X", "999"}); }), {},
       {}},
      {"DIA 8 still gives an input", With([](School& s) { s.soluc.push_back(At(8.0, 1.0, 1.0)); }),
       kinds::kDayOutOfRange, {{"SOLUC", 5, "8"}}},
      {"DIA -1 too", With([](School& s) { s.soluc.push_back(At(-1.0, 1.0, 1.0)); }), kinds::kDayOutOfRange,
       {{"SOLUC", 5, "-1"}}},
      {"an hour DIASHORAST lacks", With([](School& s) { s.soluc.push_back(At(1.0, 4.0, 1.0)); }),
       kinds::kHourNotInDays, {{"SOLUC", 5, "i4"}}},
      {"a half-hour session counts its intervals in halves: HORA 3 is i5",
       With([](School& s) { s.soluc.push_back(At(2.0, 3.0, 0.5)); }), kinds::kHourNotInDays, {{"SOLUC", 5, "i5"}}},
      {"HORA 1.5 of a half-hour session is i2, which day 1 has",
       With([](School& s) { s.soluc.push_back(At(1.0, 1.5, 0.5)); }), {}, {}},
      {"a day within 1 to 7 that DIASHORAST lacks", With([](School& s) { s.soluc.push_back(At(5.0, 1.0, 1.0)); }),
       kinds::kHourNotInDays, {{"SOLUC", 5, "i1"}}},
      {"DIA 01 in a text field is day 1 as a number but no day the import writes",
       With([](School& s) {
         s.text_numbers = true;
         s.soluc.push_back(At("01", 1.0, 1.0));
       }),
       kinds::kHourNotInDays, {{"SOLUC", 5, "i1"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const Outcomes run = CheckThenImport(c.school);
    const Report& r = run.report;
    EXPECT_TRUE(r.import_checked);
    if (c.kind.empty()) {
      EXPECT_TRUE(r.findings.empty()) << r.findings.front().kind << ": " << r.findings.front().summary;
    } else if (r.findings.size() != 1) {
      ADD_FAILURE() << r.findings.size() << " findings";
    } else {
      const Finding& finding = r.findings.front();
      EXPECT_EQ(finding.kind, c.kind) << finding.summary;
      EXPECT_EQ(finding.side, Side::kImport);
      EXPECT_FALSE(finding.summary.empty());
      std::vector<Where> records;
      for (const auto& w : finding.records) records.push_back({w.where, w.position, w.id});
      EXPECT_EQ(records, c.records);
    }
    // An error is what stops the import; anything else completes, writing
    // what the check counted.
    const bool error = !r.findings.empty() && r.findings.front().severity == Severity::kError;
    EXPECT_EQ(run.import_completed, !error) << run.import_error;
    if (run.import_completed) {
      EXPECT_EQ(r.import_counts.inputs, run.written.inputs);
      EXPECT_EQ(r.import_counts.activities, run.written.activities);
      EXPECT_EQ(r.import_counts.groups, run.written.groups);
      EXPECT_EQ(r.import_counts.members, run.written.members);
    }
  }
}

TEST_F(ImportSideCheck, EveryUnknownSubjectNotJustTheOneTheImportStopsAt) {
  School s = With([](School& school) {
    school.soluc.insert(school.soluc.end(), {At(1.0, 1.0, 1.0, "QUI"), At(1.0, 2.0, 1.0, "XYZ")});
  });
  const Outcomes run = CheckThenImport(s);
  EXPECT_EQ(run.import_error, "List index out of bounds (-1)");
  ASSERT_EQ(run.report.findings.size(), 2u);
  for (const Finding& f : run.report.findings) {
    EXPECT_EQ(f.kind, kinds::kUnknownSubjectCode);
    EXPECT_EQ(f.severity, Severity::kError);
  }
  EXPECT_EQ(run.report.findings[0].records[0].id, "QUI");
  EXPECT_EQ(run.report.findings[1].records[0].id, "XYZ");
  EXPECT_EQ(run.report.import_counts.inputs, 5u) << "what a run with the codes fixed would write";
}

TEST_F(ImportSideCheck, SeveritiesAndTexts) {
  School s = With([](School& school) {
    school.soluc.push_back(At(8.0, 1.0, 1.0, "QUI", "3\xD1", "P01", "A1"));  // "3Ñ" in Windows-1252
  });
  const Outcomes run = CheckThenImport(s);
  ASSERT_EQ(run.report.findings.size(), 3u);
  EXPECT_EQ(run.report.findings[0].kind, kinds::kUnknownSubjectCode);  // errors first
  EXPECT_EQ(run.report.findings[0].severity, Severity::kError);
  EXPECT_EQ(run.report.findings[1].kind, kinds::kCodeWithoutRecord);
  EXPECT_EQ(run.report.findings[1].severity, Severity::kWarning);
  EXPECT_EQ(run.report.findings[1].summary,
            "El código de grupo '3\xC3\x91' no tiene registro en GRUPOST: la importación escribiría '3\xC3\x91' donde "
            "va un identificador SAGA");
  EXPECT_EQ(run.report.findings[1].records[0].detail,
            "día 8, hora 1, asignatura QUI, grupo 3\xC3\x91, profesor P01, aula A1");
  EXPECT_EQ(run.report.findings[2].kind, kinds::kDayOutOfRange);
  EXPECT_EQ(run.report.findings[2].severity, Severity::kWarning);
  EXPECT_EQ(ExitStatusFor(run.report), 4);
}

TEST_F(ImportSideCheck, WithoutSolucNothingIsCheckedAndAMissingCatalogueFailsAsTheImportWould) {
  TempDir tmp;
  const fs::path work = tmp / "ZTEMP", doc = tmp / "escuela.xml";
  Write(Clean(), work, doc);
  xml::Document document;
  ASSERT_TRUE(document.load(doc).ok);

  fs::remove(work / "AULAT.DBF");
  Report report;
  Workspace workspace;
  workspace.work_dir = work;
  Reporter reporter;
  const std::string import_error = testing::ErrorOf([&] { RunImport(doc, workspace, reporter); });
  EXPECT_EQ(testing::ErrorOf([&] { CheckImportSide(document, work, report); }), import_error);

  fs::remove(work / "SOLUC.DBF");
  report = {};
  CheckImportSide(document, work, report);
  EXPECT_FALSE(report.import_checked);
  EXPECT_TRUE(report.findings.empty());

  CheckImportSide(document, tmp / "NADA", report);
  EXPECT_FALSE(report.import_checked);
  EXPECT_TRUE(report.findings.empty());
}

}  // namespace
}  // namespace velquior::check
