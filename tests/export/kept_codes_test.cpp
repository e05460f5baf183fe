// An export that keeps codes: each element whose identifier has a record in
// the work directory's old tables gets that record's code back, new ones
// derive around the kept codes, and every tie and every damaged table is
// decided one way, shown here case by case.

#include "export/kept_codes.h"

#include <gtest/gtest.h>

#include <functional>

#include "export/export_driver.h"
#include "tables/catalog.h"
#include "tables/table.h"
#include "tests/conversion/fake_reporter.h"
#include "tests/import/table_maker.h"
#include "tests/test_util.h"
#include "text/encoding.h"
#include "xml/document.h"

namespace velquior {
namespace {

namespace fs = std::filesystem;
namespace f = catalog::f;
using testing::CatalogueRow;

std::unique_ptr<xml::Document> Load(const std::string& inner) {
  auto doc = std::make_unique<xml::Document>();
  EXPECT_TRUE(doc->loadXml("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>" + inner + "</document>").ok);
  return doc;
}

std::vector<std::string> Column(const fs::path& dir, const catalog::TableSpec& t, std::string_view field) {
  tables::Table table(dir, t.name);
  table.Open();
  std::vector<std::string> out;
  for (table.First(); !table.Eof(); table.Next()) out.push_back(text::AnsiToUtf8(table.AsText(field)));
  table.Close();
  return out;
}

// The document's elements with the old tables of `work`, exported with
// keeping into a folder of its own.
struct Kept {
  testing::TempDir out;
  testing::FakeReporter reporter;
  void Export(const std::string& inner, const fs::path& work) {
    auto doc = Load(inner);
    const KeptCodes kept = ReadKeptCodes(work, reporter);
    BuildExportTables(*doc, out.path(), reporter, &kept);
  }
};

std::string Teachers(std::initializer_list<std::pair<const char*, const char*>> id_and_name) {
  std::string s = "<teachers>";
  for (const auto& [id, name] : id_and_name) {
    s += id[0] ? std::string("<teacher id=\"") + id + "\">" + name + "</teacher>"
               : std::string("<teacher>") + name + "</teacher>";
  }
  return s + "</teachers>";
}

struct Case {
  const char* reason;
  std::string document;  // inside <document>
  const catalog::TableSpec* table;
  std::vector<CatalogueRow> old;  // the table's old records
  std::vector<std::string> codes;
  std::vector<std::string> not_kept = {};
};

const std::vector<Case> kCases = {
    {"a renamed teacher keeps its code", Teachers({{"t1", "Ana Ruiz"}}), &catalog::kProft, {{"JPL", "t1"}}, {"JPL"}},
    {"a homonym ahead derives around the kept code",
     Teachers({{"t0", "Julia Pascual Lorenzo"}, {"t1", "Juan Perez Lopez"}}),
     &catalog::kProft,
     {{"JPL", "t1"}},
     {"JPL1", "JPL"}},
    {"teachers ignore letter case: a kept 'jpl' holds JPL too",
     Teachers({{"t0", "Julia Pascual Lorenzo"}, {"t1", "Ana Ruiz"}}),
     &catalog::kProft,
     {{"jpl", "t1"}},
     {"JPL1", "jpl"}},
    {"subjects count letter case: a kept 'ajedre' leaves Ajedre free",
     R"(<subjects><subject id="s1" name="Ajedrez"/><subject id="s2" name="Otra"/></subjects>)",
     &catalog::kAsignomt,
     {{"ajedre", "s2"}},
     {"Ajedre", "ajedre"}},
    {"an identifier twice in the document: the first element keeps the code",
     Teachers({{"t1", "Juan Perez Lopez"}, {"t1", "Julia Pascual Lorenzo"}}),
     &catalog::kProft,
     {{"JUAN", "t1"}},
     {"JUAN", "JPL"},
     {"PROFT teacher 2 [t1] 'JUAN'"}},
    {"an identifier twice in the old table: its first record counts",
     Teachers({{"t1", "Juan Perez Lopez"}}),
     &catalog::kProft,
     {{"AAA", "t1"}, {"BBB", "t1"}},
     {"AAA"}},
    {"an empty old code keeps nothing",
     Teachers({{"t1", "Juan Perez Lopez"}}),
     &catalog::kProft,
     {{"", "t1"}},
     {"JPL"}},
    {"an old record without identifier, and an element without one, keep nothing",
     Teachers({{"", "Ana Ruiz"}}),
     &catalog::kProft,
     {{"ZZZ", ""}},
     {"AR"}},
    {"two identifiers with one old code: the first element in document order keeps it",
     Teachers({{"t2", "Ana Ruiz"}, {"t1", "Juan Perez Lopez"}}),
     &catalog::kProft,
     {{"JPL", "t1"}, {"jpl", "t2"}},
     {"jpl", "JPL1"},
     {"PROFT teacher 2 [t1] 'JPL'"}},
    {"a new room whose code is kept by another loses its last character and counts",
     R"(<locations><location id="l1">Aula 1</location><location id="l9">Gimnasio</location></locations>)",
     &catalog::kAulat,
     {{"A1", "l9"}},
     {"A2", "A1"}},
    {"a group keeps its code whatever its name has become",
     R"(<groups><group id="g1" regim="M" name="ESO 1B">Primero B</group></groups>)",
     &catalog::kGrupost,
     {{"E1A", "g1"}},
     {"E1A"}},
};

TEST(KeptCodes, TiesAreDecidedOneWay) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.reason);
    testing::TempDir work;
    testing::MakeCatalogue(work.path(), c.table->name, c.old);
    Kept run;
    run.Export(c.document, work.path());
    const std::string_view field = c.table == &catalog::kAsignomt ? f::kCod : f::kAbrev;
    EXPECT_EQ(Column(run.out.path(), *c.table, field), c.codes);
    EXPECT_EQ(run.reporter.not_kept, c.not_kept);
  }
}

// The timetable's assignments follow the kept codes, and a subject's
// CODLARGO stays with its COD.
TEST(KeptCodes, AssignmentsAndShortNamesFollowTheKeptCodes) {
  testing::TempDir work;
  testing::MakeTable(work.path(), "ASIGNOMT", {catalog::kAsignomt.fields.begin(), catalog::kAsignomt.fields.end()},
                     {{"MAT", "Matematica", "Matematicas", "s1", "4"}});
  testing::MakeCatalogue(work.path(), "PROFT", {{"JPL", "t1"}});
  Kept run;
  run.Export(R"(<subjects><subject id="s1" name="Cálculo" hours="3"/></subjects>)" +
                 Teachers({{"t0", "Julia Pascual Lorenzo"}, {"t1", "Juan Perez Lopez"}}) +
                 R"(<groups><group id="g1" regim="M" name="ESO 1A">Primero A<assigned-subjects>)"
                 R"(<assigned-subject id="s1"><assigned-teachers><assigned-teacher id="t1"/></assigned-teachers>)"
                 R"(</assigned-subject></assigned-subjects></group></groups>)",
             work.path());
  EXPECT_EQ(Column(run.out.path(), catalog::kAsignomt, f::kCod), std::vector<std::string>{"MAT"});
  EXPECT_EQ(Column(run.out.path(), catalog::kAsignomt, f::kCodLargo), std::vector<std::string>{"Matematica"});
  EXPECT_EQ(Column(run.out.path(), catalog::kAsignomt, f::kNombre), std::vector<std::string>{"Cálculo"});
  EXPECT_EQ(Column(run.out.path(), catalog::kAsigt, f::kCAsig), std::vector<std::string>{"MAT"});
  EXPECT_EQ(Column(run.out.path(), catalog::kAsigt, f::kCProf), std::vector<std::string>{"JPL"});
}

// A table that cannot be read keeps nothing and is told once; the other
// tables keep their codes.
TEST(KeptCodes, AnUnreadableTableKeepsNothingAndSaysSo) {
  const struct {
    const char* reason;
    std::function<void(const fs::path&)> damage;
  } cases[] = {
      {"not a table", [](const fs::path& d) { testing::WriteFile(d / "PROFT.DBF", "not a table at all"); }},
      {"cut short",
       [](const fs::path& d) {
         testing::MakeCatalogue(d, "PROFT", {{"JUAN", "t1"}, {"ANA", "t2"}});
         const std::string bytes = testing::ReadFile(d / "PROFT.DBF");
         testing::WriteFile(d / "PROFT.DBF", bytes.substr(0, bytes.size() - 30));
       }},
      {"without IDSAGA",
       [](const fs::path& d) {
         testing::MakeTable(d, "PROFT", {{f::kAbrev, tables::FieldType::kText, 10}}, {{"JUAN"}});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    testing::TempDir work;
    c.damage(work.path());
    testing::MakeCatalogue(work.path(), "AULAT", {{"GIM", "l1"}});
    Kept run;
    run.Export(Teachers({{"t1", "Juan Perez Lopez"}}) + R"(<locations><location id="l1">Aula 1</location></locations>)",
               work.path());
    EXPECT_EQ(Column(run.out.path(), catalog::kProft, f::kAbrev), std::vector<std::string>{"JPL"});
    EXPECT_EQ(Column(run.out.path(), catalog::kAulat, f::kAbrev), std::vector<std::string>{"GIM"});
    ASSERT_EQ(run.reporter.not_kept.size(), 1u);
    EXPECT_EQ(run.reporter.not_kept[0].rfind("PROFT: ", 0), 0u) << run.reporter.not_kept[0];
    EXPECT_GT(run.reporter.not_kept[0].size(), 12u) << "the reason";
  }
}

}  // namespace
}  // namespace velquior
