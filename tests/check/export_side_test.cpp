// The export side of the check, one finding per row: each document (and the
// work directory's tables, when the row has any) shows its kind exactly once.

#include "check/export_side.h"

#include <gtest/gtest.h>

#include <functional>

#include "check/kinds.h"
#include "tests/check/check_fixture.h"
#include "tests/import/table_maker.h"

namespace velquior::check {
namespace {

namespace fs = std::filesystem;
using testing::CatalogueRow;
using testing::SolucRow;

const std::string kOneGroup = R"(<groups><group id="g1" name="ESO 1A" regim="M">Primero A)";

struct Case {
  const char* reason;
  std::string document;                       // inside <document>
  std::function<void(const fs::path&)> work;  // the work directory's tables; none when empty
  std::string_view kind;
  std::vector<std::string> records;  // testing::Shown
};

void OldTeachers(const fs::path& dir, const std::vector<CatalogueRow>& rows) {
  testing::MakeCatalogue(dir, "PROFT", rows);
}

const std::vector<Case> kCases = {
    {"a teacher without a name: its record is written with the empty name",
     R"(<teachers><teacher id="t1"/></teachers>)",
     {},
     kinds::kMissingItem,
     {"teacher 1 [] "}},
    {"two subjects share an id: the assignments take the first",
     R"(<subjects><subject id="s1" name="Lengua"/><subject id="s1" name="Latin"/></subjects>)",
     {},
     kinds::kDuplicateId,
     {"subject 1 [s1] el que usan las asignaciones", "subject 2 [s1] no lo usa ninguna asignación"}},
    {"an assigned subject naming no subject: ASIGT gets no code and no hours",
     kOneGroup + R"(<assigned-subjects><assigned-subject id="s9"/></assigned-subjects></group></groups>)",
     {},
     kinds::kUnknownAssignedId,
     {"assigned-subject 1 [s9] grupo 'ESO 1A'; ASIGT registro 1: CASIG '', HORAS ''"}},
    {"an unknown teacher before the last one does not count: ASIGT has the last",
     R"(<subjects><subject id="s1" name="Lengua"/></subjects><teachers><teacher id="t1">Juan Perez Lopez</teacher></teachers>)" +
         kOneGroup +
         R"(<assigned-subjects><assigned-subject id="s1"><assigned-teachers><assigned-teacher id="t9"/>)"
         R"(<assigned-teacher id="t1"/></assigned-teachers></assigned-subject></assigned-subjects></group></groups>)",
     {},
     kinds::kUnknownAssignedId,
     {"assigned-teacher 1 [t9] grupo 'ESO 1A'; no cuenta, solo el último profesor asignado: ASIGT registro 1: "
      "CPROF 'JPL'"}},
    {"a homonym takes a counter after the first",
     R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher><teacher id="t2">Julia Pascual Lorenzo</teacher></teachers>)",
     {},
     kinds::kHomonymCounter,
     {"teacher 2 [t2] código 'JPL1'; 'JPL' ya es del elemento número 1 ('Juan Perez Lopez')"}},
    {"subject codes count letter case: only the third Ajedrez is numbered",
     R"(<subjects><subject id="s1" name="Ajedrez"/><subject id="s2" name="ajedrez"/><subject id="s3" name="Ajedrez"/></subjects>)",
     {},
     kinds::kHomonymCounter,
     {"subject 3 [s3] código 'Ajedre1'; 'Ajedre' ya es del elemento número 1 ('Ajedrez')"}},
    {"eleven initials are cut to ten",
     R"(<teachers><teacher id="t1">A B C D E F G H I J K</teacher></teachers>)",
     {},
     kinds::kCutCode,
     {"teacher 1 [t1] 'ABCDEFGHIJK' queda en 'ABCDEFGHIJ'"}},
    {"a teacher new to the work directory is added",
     R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher><teacher id="t2">Ana Ruiz</teacher></teachers>)",
     [](const fs::path& d) {
       OldTeachers(d, {{"JPL", "t1", "Juan Perez Lopez"}});
     },
     kinds::kRecordAdded,
     {"PROFT 2 [t2] código 'AR'"}},
    {"a teacher gone from the document is removed",
     R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher></teachers>)",
     [](const fs::path& d) {
       OldTeachers(d, {{"JPL", "t1", "Juan Perez Lopez"}, {"AR", "t2", "Ana Ruiz"}});
     },
     kinds::kRecordRemoved,
     {"PROFT 2 [t2] código 'AR'"}},
    {"a code edited by hand in the work directory comes back as derived",
     R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher></teachers>)",
     [](const fs::path& d) {
       OldTeachers(d, {{"JUAN", "t1", "Juan Perez Lopez"}});
     },
     kinds::kCodeChanged,
     {"PROFT 1 [t1] 'JUAN' pasa a 'JPL'"}},
    {"a renamed teacher keeps its record through its id",
     R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher></teachers>)",
     [](const fs::path& d) {
       OldTeachers(d, {{"JPL", "t1", "Juan Perez"}});
     },
     kinds::kNameChanged,
     {"PROFT 1 [t1] 'Juan Perez' pasa a 'Juan Perez Lopez'"}},
    {"a homonym ahead takes the code the timetable uses: its lessons would change teacher",
     R"(<teachers><teacher id="t0">Julia Pascual Lorenzo</teacher><teacher id="t1">Juan Perez Lopez</teacher></teachers>)",
     [](const fs::path& d) {
       OldTeachers(d, {{"JPL", "t1", "Juan Perez Lopez"}});
       testing::MakeSoluc(d, {{1, 1, 1, "L", "E1A", "JPL", ""},
                              {1, 2, 1, "L", "E1A", "JPL", ""},
                              {0, 0, 1, "L", "E1A", "JPL", ""},
                              {2, 1, 1, "L", "E1A", "", ""}});
     },
     kinds::kTimetableCodeChanged,
     {"PROFT 1 [t1] código 'JPL' pasa a 'JPL1'; lecciones de SOLUC: 3; 'JPL' será de 'Julia Pascual Lorenzo' (t0)"}},
    {"a teacher the timetable uses is gone from the document",
     R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher></teachers>)",
     [](const fs::path& d) {
       OldTeachers(d, {{"JPL", "t1", "Juan Perez Lopez"}, {"AR", "t2", "Ana Ruiz"}});
       testing::MakeSoluc(d, {{1, 1, 1, "L", "E1A", "AR", ""}, {1, 2, 1, "L", "E1A", "JPL", ""}});
     },
     kinds::kTimetableCodeChanged,
     {"PROFT 2 [t2] código 'AR' desaparece; lecciones de SOLUC: 1"}},
    {"a table that cannot be read is told and left out, not a failure",
     R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher></teachers>)",
     [](const fs::path& d) { testing::WriteFile(d / "AULAT.DBF", "damaged"); },
     kinds::kTableUnreadable,
     {"AULAT 0 [] AULAT.DBF: no es una tabla dBASE (el primer byte es 0x64)"}},
};

TEST(CheckExportSide, EachFindingOnceWithItsRecords) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.reason);
    testing::TempDir work;
    if (c.work) c.work(work.path());
    auto doc = testing::LoadInner(c.document);
    Report report;
    CheckExportSide(*doc, work.path(), report);
    const auto found = testing::OfKind(report, c.kind);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(testing::ShownRecords(*found[0]), c.records);
    EXPECT_FALSE(found[0]->summary.empty());
  }
}

TEST(CheckExportSide, AGroupLackingItsIdIsReportedOnceThoughTwoBuildersReadIt) {
  testing::TempDir work;
  auto doc = testing::LoadInner(R"(<groups><group name="ESO 1A" regim="M">Primero A</group></groups>)");
  Report report;
  CheckExportSide(*doc, work.path(), report);
  const auto found = testing::OfKind(report, kinds::kMissingItem);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(testing::ShownRecords(*found[0]), std::vector<std::string>{"group 1 [] "});
  EXPECT_EQ(ExitStatusFor(report), 4);
}

TEST(CheckExportSide, ADocumentAndTablesThatAgreeGiveNothing) {
  testing::TempDir work;
  OldTeachers(work.path(), {{"JPL", "t1", "Juan Perez Lopez"}});
  testing::MakeSoluc(work.path(), {{1, 1, 1, "L", "E1A", "JPL", ""}});
  auto doc = testing::LoadInner(R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher></teachers>)");
  Report report;
  CheckExportSide(*doc, work.path(), report);
  EXPECT_TRUE(report.findings.empty()) << report.findings[0].summary;
}

TEST(CheckExportSide, WritesNothingInTheWorkDirectory) {
  testing::TempDir work;
  OldTeachers(work.path(), {{"JUAN", "t1", "Juan Perez"}});
  testing::MakeSoluc(work.path(), {{1, 1, 1, "L", "E1A", "JUAN", ""}});
  const auto names = testing::ListDir(work.path());
  std::vector<std::string> bytes;
  for (const auto& n : names) bytes.push_back(testing::ReadFile(work / n));
  auto doc = testing::LoadInner(R"(<teachers><teacher id="t1">Juan Perez Lopez</teacher></teachers>)");
  Report report;
  CheckExportSide(*doc, work.path(), report);
  ASSERT_FALSE(report.findings.empty());
  EXPECT_EQ(testing::ListDir(work.path()), names);
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(testing::ReadFile(work / names[i]), bytes[i]) << names[i];
}

// With keeping, the timetable's codes stay; what still changes is told,
// down to the element that cannot keep its code and why.
TEST(CheckExportSide, WithKeepingOnlyWhatStillChangesIsReported) {
  testing::TempDir work;
  OldTeachers(work.path(), {{"JUAN", "t1", "Juan"}});
  testing::MakeSoluc(work.path(), {{1, 1, 1, "", "", "JUAN", ""}});
  auto doc = testing::LoadInner(
      R"(<teachers><teacher id="t0">Julia Pascual Lorenzo</teacher><teacher id="t1">Juan Perez Lopez</teacher>)"
      R"(<teacher id="t1">Juana Ruiz</teacher></teachers>)");
  Report report;
  CheckExportSide(*doc, work.path(), report, true);
  EXPECT_TRUE(testing::OfKind(report, kinds::kTimetableCodeChanged).empty());
  EXPECT_TRUE(testing::OfKind(report, kinds::kCodeChanged).empty());
  const auto numbered = testing::OfKind(report, kinds::kHomonymCounter);  // JUAN is kept, not numbered
  EXPECT_TRUE(numbered.empty()) << testing::ShownRecords(*numbered[0])[0];
  const auto added = testing::OfKind(report, kinds::kRecordAdded);
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(testing::ShownRecords(*added[0]),
            (std::vector<std::string>{"PROFT 1 [t0] código 'JPL'", "PROFT 3 [t1] código 'JR'"}));
  const auto not_kept = testing::OfKind(report, kinds::kCodeNotKept);
  ASSERT_EQ(not_kept.size(), 1u);
  EXPECT_EQ(testing::ShownRecords(*not_kept[0]),
            std::vector<std::string>{
                "teacher 3 [t1] código 'JUAN': su identificador es también del elemento número 2, que lo conserva"});
}

}  // namespace
}  // namespace velquior::check
