#include <gtest/gtest.h>

#include <string>

#include "common/error.h"
#include "tests/export/builder_fixture.h"
#include "text/numbers.h"

namespace velquior {
namespace {

using catalog::kAsigt;
namespace f = catalog::f;
using testing::Rows;
using Strings = std::vector<std::string>;

const std::string kThirteen(13, '1');

// Subjects MAT, LEN and TUT, teachers JPL and AMR.
const std::string kTables = R"(
  <subjects><subject id="s1" name="MAT" hours="4"/><subject id="s2" name="LEN" hours="2.5"/>
    <subject id="s3" name="TUT" hours="16"/></subjects>
  <teachers><teacher id="t1">Juan Pérez López</teacher><teacher id="t2">Ana Martín Ruiz</teacher></teachers>
  <locations><location id="l1">Aula 1</location></locations>)";

std::string Assigned(const std::string& subject, const Strings& teachers = {}) {
  std::string s = "<assigned-subject id=\"" + subject + "\"><assigned-teachers>";
  for (const auto& t : teachers) s += "<assigned-teacher id=\"" + t + "\"/>";
  return s + "</assigned-teachers></assigned-subject>";
}

std::string Groups(const Strings& groups) {
  std::string s = "<groups>";
  for (const auto& g : groups) s += g;
  return s + "</groups>";
}

std::string Group(const std::string& id, const std::string& name, const std::string& assigned) {
  return "<group id=\"" + id + "\" regim=\"M\" name=\"" + name + "\">G<assigned-subjects>" + assigned +
         "</assigned-subjects></group>";
}

const std::string kWorkedGroup = Group("g1", "ESO 1A",
                                       Assigned("s1", {"t1"}) + Assigned("s2", {"t1", "t2"}) +
                                           Assigned("s3", {"t2", "t9"}) + Assigned("s4") + Assigned("s1"));

class BuilderAssignments : public testing::BuilderTest {
 protected:
  void TearDown() override { text::SetDecimalSeparator(saved_separator_); }

  // Writes the four tables from the same document, then the assignments.
  Rows Run(const std::string& inner) {
    LoadDocument(inner);
    for (auto* builder : {CrearAsignaturas, CrearProfesores, CrearAulas, CrearGrupos}) builder(Context());
    reporter_.missing_items.clear();
    CrearAsignaciones(Context());
    return Read(kAsigt, {f::kCAsig, f::kCProf, f::kCGrup, f::kCAula, f::kTurno, f::kNivel, f::kCurso, f::kGrupo,
                         f::kHoras, f::kSesiones, f::kNConex, f::kCTarea});
  }

  // CASIG, CPROF, HORAS, SESIONES of every record.
  static Rows Short(const Rows& rows) {
    Rows out;
    for (const auto& r : rows) out.push_back({r[0], r[1], r[8], r[9]});
    return out;
  }

  void ExpectComponentsClosed() {
    for (auto* t : {&components_.wwTableGrupos, &components_.wwTableProfesor, &components_.wwTableAulas,
                    &components_.wwTableNomAsg}) {
      EXPECT_FALSE(t->Active()) << t->FileName();
    }
  }

  char saved_separator_ = text::DecimalSeparator();
};

TEST_F(BuilderAssignments, WorkedExampleUnderEitherSeparator) {
  for (char separator : {',', '.'}) {
    text::SetDecimalSeparator(separator);
    Rows rows = Run(kTables + Groups({kWorkedGroup}));
    ASSERT_EQ(rows.size(), 5u);
    for (const auto& r : rows) {
      EXPECT_EQ(Strings(r.begin() + 2, r.begin() + 8), (Strings{"ESO1A", "", "M", "ESO", "1", "A"}));
      EXPECT_EQ(r[10] + r[11], "");
    }
    const std::string two_and_a_half = separator == ',' ? "2,5" : "2.5";
    EXPECT_EQ(Short(rows), (Rows{{"MAT", "JPL", "4", "1111"},
                                 {"LEN", "AMR", two_and_a_half, "111"},
                                 {"TUT", "", "16", "3" + kThirteen},
                                 {"", "", "", ""},
                                 {"MAT", "", "4", "1111"}}));
    EXPECT_TRUE(reporter_.missing_items.empty());
    ExpectComponentsClosed();
  }
}

TEST_F(BuilderAssignments, HoursTextsGiveNumberAndSessions) {
  text::SetDecimalSeparator('.');
  struct Row {
    const char* hours;
    const char* horas;
    std::string sesiones;
  };
  const Row cases[] = {
      {"abc", "1", "1"},
      {"0", "0", ""},
      {"13.2", "13.2", "1" + kThirteen},
      {"2,5", "2.5", "111"},
      {"-2.5", "-2.5", ""},
      {"13", "13", kThirteen},
      {"23", "23", "10" + kThirteen},
      {" 1e1 ", "10", "1111111111"},
      {"", "4", "1111"},
      {"1.2.3", "1", "1"},
      {"inf", "1", "1"},
      {"0x10", "1", "1"},
      {"9e9", "9000000000", ""},
      {"-1e300", "-1E+300", ""},  // no whole-number ceiling: no pattern
  };
  std::string subjects = "<subjects>", assigned;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::string id = "h" + std::to_string(i);
    subjects += "<subject id=\"" + id + "\" name=\"S" + id + "\" hours=\"" + cases[i].hours + "\"/>";
    assigned += Assigned(id);
  }
  Rows rows = Run(subjects + "</subjects>" + Groups({Group("g1", "ESO 1A", assigned)}));
  ASSERT_EQ(rows.size(), std::size(cases));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][8] + "|" + rows[i][9], cases[i].horas + ("|" + cases[i].sesiones)) << cases[i].hours;
  }
}

TEST_F(BuilderAssignments, OnlyTheLastListedTeacherCounts) {
  Rows rows = Run(kTables + Groups({Group("g1", "ESO 1A",
                                          Assigned("s1", {"t9", "t1"}) + Assigned("s1", {"t1", "t9"}) +
                                              Assigned("s1", {"t2", "t2"}) + Assigned("s1", {"T1"}))}));
  EXPECT_EQ(Short(rows), (Rows{{"MAT", "JPL", "4", "1111"},
                               {"MAT", "", "4", "1111"},
                               {"MAT", "AMR", "4", "1111"},
                               {"MAT", "", "4", "1111"}}));
}

TEST_F(BuilderAssignments, IdentifiersMatchExactlyAndTheFirstRecordWins) {
  const std::string long_id(70, 'L');
  Rows rows =
      Run(kTables + "<subjects><subject id=\"" + long_id + "\" name=\"LARGA\"/></subjects>" +
          Groups({Group("g1", "ESO 1A",
                        Assigned("S1") + Assigned(" s1 ") + Assigned(long_id) + Assigned(long_id.substr(0, 60))),
                  Group("g1", "BACH 2C", Assigned("s2")), Group("G1", "ESO 3C", Assigned("s3")),
                  Group("g2", "ESO 4D", "")}));
  ASSERT_EQ(rows.size(), 6u);
  // Case counts; blanks are trimmed; the stored identifier was cut to 60.
  EXPECT_EQ((Strings{rows[0][0], rows[1][0], rows[2][0], rows[3][0]}), (Strings{"", "MAT", "", "LARGA"}));
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Strings(rows[i].begin() + 2, rows[i].begin() + 8), (Strings{"ESO1A", "", "M", "ESO", "1", "A"})) << i;
  }
  EXPECT_EQ(Strings(rows[5].begin() + 2, rows[5].begin() + 8), (Strings{"ESO3C", "", "M", "ESO", "3", "C"}));
}

TEST_F(BuilderAssignments, ElementsLackingTheIdentifierAreReportedAndWritten) {
  Rows rows = Run(kTables + R"(<groups><group regim="M" name="ESO 1A">x<assigned-subjects>
      <assigned-subject><assigned-teachers><assigned-teacher id="t1"/><assigned-teacher/></assigned-teachers></assigned-subject>
      <assigned-subject id="s1"><assigned-teachers><assigned-teacher/><assigned-teacher id="t2"/></assigned-teachers></assigned-subject>
    </assigned-subjects></group></groups>)");
  // The group without id finds the group record whose IDSAGA is empty: its own.
  EXPECT_EQ(rows, (Rows{{"", "", "ESO1A", "", "M", "ESO", "1", "A", "", "", "", ""},
                        {"MAT", "AMR", "ESO1A", "", "M", "ESO", "1", "A", "4", "1111", "", ""}}));
  EXPECT_EQ(reporter_.missing_items,
            (Strings{"group 1: el atributo 'id'", "assigned-subject 1: el atributo 'id'",
                     "assigned-teacher 2: el atributo 'id'", "assigned-teacher 3: el atributo 'id'"}));
}

TEST_F(BuilderAssignments, ComponentsAreClosedWhenATableIsMissing) {
  LoadDocument(kTables + Groups({kWorkedGroup}));
  for (auto* builder : {CrearProfesores, CrearAulas, CrearGrupos}) builder(Context());
  EXPECT_THROW(CrearAsignaciones(Context()), Error);  // no ASIGNOMT: the fourth component cannot open
  ExpectComponentsClosed();
}

TEST_F(BuilderAssignments, NoElementsGiveEmptyTablesWithTheirFields) {
  const std::string documents[] = {"", Groups({Group("g1", "ESO 1A", "")}), "<subjects/><teachers/>"};
  for (const std::string& inner : documents) {
    Run(inner);
    for (const catalog::TableSpec* layout : {&catalog::kAsignomt, &catalog::kProft, &catalog::kAulat, &kAsigt}) {
      ExpectStructure(*layout);
      EXPECT_EQ(RecordCount(*layout), 0u) << layout->name << " from " << inner;
    }
    ExpectComponentsClosed();
  }
  LoadRaw("<escuela><subjects><subject id=\"s\" name=\"X\"/></subjects></escuela>");
  CrearAsignaturas(Context());
  EXPECT_EQ(RecordCount(catalog::kAsignomt), 0u);
}

}  // namespace
}  // namespace velquior
