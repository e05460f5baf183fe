#include "import/import_driver.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "shell/conversion_runs.h"
#include "tables/catalog.h"
#include "tests/conversion/fake_reporter.h"
#include "tests/import/render.h"
#include "tests/import/table_maker.h"
#include "tests/shell/fake_window.h"
#include "tests/test_util.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior {
namespace {

using tables::FieldDef;
using tables::FieldType;
using testing::CatalogueRow;
using testing::Cell;
using testing::FakeReporter;
using testing::FakeWindow;
using testing::MakeCatalogue;
using testing::MakeSoluc;
using testing::MakeTable;
using testing::ReadFile;
using testing::Render;
using testing::SolucRow;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;
namespace f = catalog::f;

std::vector<FieldDef> Fields(const catalog::TableSpec& table) { return {table.fields.begin(), table.fields.end()}; }

// Runs the import as every window does (ImportFromWindow), so that the
// endings are checked with the content; RunImport alone where they are not.
class Import : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_);
    session_.workspace.work_dir = work_;
    fe_.choice = doc_file_;
    text::SetDecimalSeparator('.');
  }

  // The worked examples' tables: DIASHORAST of the days, the catalogues and
  // SOLUC of the timetable entries.
  void WorkedExampleTables(const std::vector<SolucRow>& soluc) {
    MakeTable(work_, "DIASHORAST", Fields(catalog::kDiasHorast),
              {{"", "", "2", "Martes", "1", "8:00", "8:55"},
               {"", "", "1", "Lunes", "2", "8:55", "9:50"},
               {"", "", "1", "LUNES", "1", "8:00", "08:55"},
               {"", "", "2", "Martes", "2", "9:05", "10:00"},
               {"", "", "8", "Extra", "1", "8:00", "8:55"}});
    MakeTable(work_, "ASIGNOMT", Fields(catalog::kAsignomt),
              {{"FIS", "", "Fisica", "301", "4"},
               {"MAT", "", "Matematicas", "302", "4"},
               {"HIS", "", "Historia", "303", "4"},
               {"LEN", "", "Lengua", "304", "4"}});
    MakeTable(
        work_, "GRUPOST", Fields(catalog::kGrupost),
        {{"1A", "", "", "", "", "101", ""}, {"1B", "", "", "", "", "102", ""}, {"2B", "", "", "", "", "103", ""}});
    MakeTable(work_, "PROFT", Fields(catalog::kProft),
              {{"P02", "", "", Cell(), "201"}, {"P01", "", "", Cell(), "202"}});
    MakeTable(work_, "AULAT", Fields(catalog::kAulat),
              {{"A1", "", "", Cell(), "401"}, {"A2", "", "", Cell(), "402"}, {"LAB", "", "", Cell(), ""}});
    MakeSoluc(work_, soluc);
  }

  void EmptyTables() {
    for (const auto* table :
         {&catalog::kDiasHorast, &catalog::kAsignomt, &catalog::kGrupost, &catalog::kProft, &catalog::kAulat}) {
      MakeTable(work_, table->name, Fields(*table), {});
    }
    MakeSoluc(work_, {});
  }

  std::string TimeTables() {
    xml::Document saved;
    EXPECT_TRUE(saved.load(doc_file_).ok);
    auto all = saved.documentElement()->selectNodes("time-tables");
    EXPECT_EQ(all.length(), 1);
    return all.length() ? Render(*all.item(0)) : "";
  }

  // The rendered container `name` of the saved time-table (days, groups,
  // members, activities, inputs).
  std::string Section(std::string_view name) {
    xml::Document saved;
    EXPECT_TRUE(saved.load(doc_file_).ok);
    auto c = saved.documentElement()->selectSingleNode("time-tables/time-table/" + std::string(name));
    return c ? Render(*c) : "(missing)";
  }

  std::string RunExpectingError() {
    try {
      shell::ImportFromWindow(session_, fe_, fe_);
    } catch (const Error& e) {
      return std::string(e.message());
    }
    return "no error";
  }

  TempDir tmp_;
  fs::path work_ = tmp_ / "ZTEMP";
  fs::path doc_file_ = tmp_ / "escuela.xml";
  shell::Session session_;
  FakeWindow fe_;
};

const std::vector<SolucRow> kSoluc = {
    {1, 2, 1, "MAT", "1A", "P01", "A1"},
    {0, 0, 1, "LEN", "2B", "P02", "A2"},
    {2, 2, 0.5, "FIS", "1A", "P01", "LAB"},
    {3, 1, 1, "MAT", "3C", "P09", ""},
};

TEST_F(Import, WorkedExamplesEndToEnd) {
  WriteFile(doc_file_, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<document><subjects/></document>\n");
  WorkedExampleTables(kSoluc);
  EXPECT_EQ(shell::ImportFromWindow(session_, fe_, fe_), Outcome::kCompleted);
  EXPECT_EQ(session_.state.ResultCode, 1);
  EXPECT_EQ(fe_.calls,
            (std::vector<std::string>{"choose:", "busy", "normal", "message:Proceso finalizado", "disable"}));
  EXPECT_EQ(TimeTables(),
            "time-tables(time-table[id=tt1,name=Zeltimor]("
            "days("
            "day[id=1,name=Lunes](interval[id=i1,begin=8:00,end=08:55] interval[id=i2,begin=8:55,end=09:50]) "
            "day[id=2,name=Martes](interval[id=i1,begin=8:00,end=08:55] interval[id=i2,begin=9:05,end=10:00])) "
            "groups(group[id=101] group[id=103]) "
            "members(member[id=201] member[id=202]) "
            "activities(activity[id=a1,name=Fisica,subject=301] activity[id=a2,name=Matematicas,subject=302] "
            "activity[id=a3,name=Lengua,subject=304]) "
            "inputs("
            "input[id=input1,day=1,interval=i2,activity=a2](groups(group[id=101]) members(member[id=202]) "
            "locations(location[id=401])) "
            "input[id=input2,day=2,interval=i3,activity=a1](groups(group[id=101]) members(member[id=202]) "
            "locations(location)) "
            "input[id=input3,day=3,interval=i1,activity=a2](groups(group[id=3C]) members(member[id=P09]) "
            "locations(location)))))");
}

TEST_F(Import, IntervalNumbersFollowTheSeparatorAndHalfSessions) {
  WriteFile(doc_file_, "<document/>");
  WorkedExampleTables({{1, 2.5, 1, "MAT", "1A", "P01", "A1"},
                       {1, 1.5, 0.5, "MAT", "1A", "P01", "A1"},
                       {1, 0, 0.5, "MAT", "1A", "P01", "A1"}});
  text::SetDecimalSeparator(',');
  shell::ImportFromWindow(session_, fe_, fe_);
  std::string tt = TimeTables();
  EXPECT_NE(tt.find("input[id=input1,day=1,interval=i2,5,"), std::string::npos) << tt;
  EXPECT_NE(tt.find("input[id=input2,day=1,interval=i2,"), std::string::npos) << tt;
  EXPECT_NE(tt.find("input[id=input3,day=1,interval=i-1,"), std::string::npos) << tt;
}

TEST_F(Import, UnknownSubjectStopsTheRunAndLeavesTheFileAsItWas) {
  const std::string original = "<?xml version=\"1.0\"?>\n<document>\n  <time-tables/>\n</document>\n";
  WriteFile(doc_file_, original);
  auto rows = kSoluc;
  rows.push_back({1, 3, 1, "QUI", "1A", "P01", "A1"});
  WorkedExampleTables(rows);
  EXPECT_EQ(RunExpectingError(), "List index out of bounds (-1)");
  EXPECT_EQ(ReadFile(doc_file_), original);
  EXPECT_EQ(session_.state.ResultCode, 0);
  EXPECT_FALSE(fe_.busy);
}

TEST_F(Import, MissingTableIsTheEnginesErrorAndChangesNothing) {
  const std::string original = "<document/>";
  WriteFile(doc_file_, original);
  WorkedExampleTables(kSoluc);
  fs::remove(work_ / "SOLUC.DBF");
  std::string err = RunExpectingError();
  EXPECT_NE(err.find("SOLUC.DBF"), std::string::npos) << err;
  EXPECT_EQ(ReadFile(doc_file_), original);
}

TEST_F(Import, FrameReplacesOnlyTheDirectTimeTablesChildren) {
  for (const char* encoding : {"ISO-8859-1", "UTF-8"}) {
    std::string doc = std::string("<?xml version=\"1.0\" encoding=\"") + encoding +
                      "\"?>\n<!-- cabecera -->\n<document>\n  <time-tables><old/></time-tables>\n"
                      "  <subjects><subject id=\"s1\" name=\"Educación\"/></subjects>\n"
                      "  <?saga version=\"3\"?>\n  <groups><time-tables>anidado</time-tables></groups>\n"
                      "  <time-tables/>\n  <!-- final -->\n</document>\n";
    if (std::string(encoding) == "ISO-8859-1") doc = text::Utf8ToAnsi(doc);
    WriteFile(doc_file_, doc);
    EmptyTables();
    Workspace workspace{work_, nullptr};
    FakeReporter reporter;
    ASSERT_EQ(RunImport(doc_file_, workspace, reporter), Outcome::kCompleted);
    xml::Document saved;
    ASSERT_TRUE(saved.load(doc_file_).ok);
    EXPECT_EQ(Render(*saved.documentElement()),
              "document(subjects(subject[id=s1,name=Educación]) saga groups(time-tables(anidado)) #comment "
              "time-tables(time-table[id=tt1,name=Zeltimor](days groups members activities inputs)))")
        << encoding;
    std::string bytes = ReadFile(doc_file_);
    EXPECT_NE(bytes.find(std::string("encoding=\"") + encoding + "\""), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("<!-- cabecera -->"), std::string::npos);
  }
}

TEST_F(Import, ListsOfTheUsedCatalogueRecords) {
  WriteFile(doc_file_, "<document/>");
  EmptyTables();
  MakeSoluc(work_,
            {{1, 1, 1, "MAT", "1A", "P01", ""}, {0, 1, 1, "LEN", "2B", "P02", ""}, {2, 1, 1, "FIS", "1A", "P01", ""}});
  MakeCatalogue(work_, "GRUPOST", {{"1A", "101"}, {"1B", "102"}, {"2B", "103"}});
  MakeCatalogue(work_, "PROFT", {{"P02", "201"}, {"P01", "202"}, {"P03", "203"}});
  MakeCatalogue(
      work_, "ASIGNOMT",
      {{"FIS", "301", "Fisica"}, {"MAT", "302", "Matematicas"}, {"HIS", "303", "Historia"}, {"LEN", "304", "Lengua"}});
  ASSERT_EQ(shell::ImportFromWindow(session_, fe_, fe_), Outcome::kCompleted);
  EXPECT_EQ(Section("groups"), "groups(group[id=101] group[id=103])");
  EXPECT_EQ(Section("members"), "members(member[id=201] member[id=202])");
  EXPECT_EQ(Section("activities"),
            "activities(activity[id=a1,name=Fisica,subject=301] activity[id=a2,name=Matematicas,subject=302] "
            "activity[id=a3,name=Lengua,subject=304])");
  EXPECT_EQ(Section("inputs"),
            "inputs(input[id=input1,day=1,interval=i1,activity=a2](groups(group[id=101]) members(member[id=202]) "
            "locations(location)) "
            "input[id=input2,day=2,interval=i1,activity=a1](groups(group[id=101]) members(member[id=202]) "
            "locations(location)))");
}

// Catalogue keys and SAGA ids that collide, are empty or differ only in
// letter case, followed through the lists and the entries that name them.
TEST_F(Import, KeysThatRepeatAreEmptyOrDifferInCase) {
  struct Case {
    const char* what;
    std::vector<SolucRow> soluc;
    std::vector<CatalogueRow> grupost, asignomt;
    std::string groups, activities, inputs;  // inputs: "activity group" of each input
  } cases[] = {
      {"two records with one used key",
       {{1, 1, 1, "MAT", "1A", "", ""}},
       {{"1A", "101"}, {"1A", "111"}},
       {{"MAT", "302", "Matematicas"}, {"MAT", "312", "Mates"}},
       "groups(group[id=101] group[id=111])",
       "activities(activity[id=a1,name=Matematicas,subject=302] activity[id=a2,name=Mates,subject=312])",
       "a1 101"},
      {"empty IDSAGA",
       {{1, 1, 1, "MAT", "1A", "", ""}},
       {{"1A", ""}},
       {{"MAT", "", "Matematicas"}},
       "groups(group[id=])",
       "activities(activity[id=a1,name=Matematicas,subject=])",
       "a1 -"},
      {"empty key matched by an empty SOLUC field",
       {{1, 1, 1, "", "", "", ""}},
       {{"1A", "101"}, {"", "109"}},
       {{"MAT", "302", "Matematicas"}, {"", "300", "Sin codigo"}},
       "groups(group[id=109])",
       "activities(activity[id=a1,name=Sin codigo,subject=300])",
       "a1 109"},
      {"subject keys that differ only in case share the first activity",
       {{1, 1, 1, "MAT", "", "", ""},
        {1, 2, 1, "LEN", "", "", ""},
        {1, 3, 1, "ETI", "", "", ""},
        {1, 4, 1, "VAL", "", "", ""}},
       {},
       {{"MAT", "abc", "Matematicas"},
        {"LEN", "ABC", "Lengua"},
        {"ETI", "Ética", "Etica"},
        {"VAL", "éTICA", "Valores"}},
       "groups",
       "activities(activity[id=a1,name=Matematicas,subject=abc] activity[id=a2,name=Lengua,subject=ABC] "
       "activity[id=a3,name=Etica,subject=Ética] activity[id=a4,name=Valores,subject=éTICA])",
       "a1 - a1 - a3 - a3 -"},
      {"two codes of one subject key",
       {{1, 1, 1, "LEN", "", "", ""}, {1, 2, 1, "MAT", "", "", ""}},
       {},
       {{"MAT", "302", "Matematicas"}, {"LEN", "302", "Lengua"}},
       "groups",
       "activities(activity[id=a1,name=Matematicas,subject=302] activity[id=a2,name=Lengua,subject=302])",
       "a1 - a1 -"},
      {"a subject code without record that is itself a subject key",
       {{1, 1, 1, "MAT", "", "", ""}, {1, 2, 1, "302", "", "", ""}},
       {},
       {{"MAT", "302", "Matematicas"}},
       "groups",
       "activities(activity[id=a1,name=Matematicas,subject=302])",
       "a1 - a1 -"},
      {"a group code without record names itself",
       {{1, 1, 1, "MAT", "3C", "", ""}},
       {{"1A", "101"}},
       {{"MAT", "302", "Matematicas"}},
       "groups",
       "activities(activity[id=a1,name=Matematicas,subject=302])",
       "a1 3C"},
      {"an empty SOLUC", {}, {{"1A", "101"}}, {{"MAT", "302", "Matematicas"}}, "groups", "activities", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(doc_file_, "<document/>");
    EmptyTables();
    MakeSoluc(work_, c.soluc);
    MakeCatalogue(work_, "GRUPOST", c.grupost);
    std::vector<CatalogueRow> asignomt;
    for (auto r : c.asignomt) {
      r.idsaga = text::Utf8ToAnsi(r.idsaga);
      asignomt.push_back(r);
    }
    MakeCatalogue(work_, "ASIGNOMT", asignomt);
    Workspace workspace{work_, nullptr};
    FakeReporter reporter;
    ASSERT_EQ(RunImport(doc_file_, workspace, reporter), Outcome::kCompleted);
    EXPECT_EQ(Section("groups"), c.groups);
    EXPECT_EQ(Section("activities"), c.activities);
    xml::Document saved;
    ASSERT_TRUE(saved.load(doc_file_).ok);
    std::string inputs;
    auto list = saved.selectNodes("/document/time-tables/time-table/inputs/input");
    for (long i = 0; i < list.length(); ++i) {
      auto input = *list.item(i);
      auto group = *input.selectSingleNode("groups/group");
      auto gid = group.attributes().getNamedItem("id");
      inputs += (i ? " " : "") + input.attributes().getNamedItem("activity")->text() + " " + (gid ? gid->text() : "-");
    }
    EXPECT_EQ(inputs, c.inputs);
  }
}

TEST_F(Import, RunReportsTheWorkKeepsTheDocumentAndSkipsAMissingFile) {
  WriteFile(doc_file_, "<document/>");
  EmptyTables();
  Workspace workspace{work_, nullptr};
  FakeReporter reporter;
  ASSERT_EQ(RunImport(doc_file_, workspace, reporter), Outcome::kCompleted);
  EXPECT_EQ(reporter.calls, (std::vector<std::string>{"begin", "end"}));
  ASSERT_NE(workspace.document, nullptr);  // the process-wide document outlives the run
  EXPECT_TRUE(workspace.document->documentElement()->selectSingleNode("time-tables/time-table"));

  const std::string saved = ReadFile(doc_file_);
  const xml::Document* kept = workspace.document.get();
  for (const fs::path& file : {fs::path(), tmp_ / "falta.xml"}) {
    FakeReporter nothing;
    EXPECT_EQ(RunImport(file, workspace, nothing), Outcome::kMissingFile) << file;
    EXPECT_TRUE(nothing.calls.empty()) << file;
    EXPECT_EQ(workspace.document.get(), kept) << file;
  }
  EXPECT_EQ(ReadFile(doc_file_), saved);
}

TEST_F(Import, FailureEndsTheWorkAndSavesNothing) {
  const std::string original = "<document/>";
  WriteFile(doc_file_, original);
  WorkedExampleTables({{1, 3, 1, "QUI", "1A", "P01", "A1"}});
  Workspace workspace{work_, nullptr};
  FakeReporter reporter;
  EXPECT_THROW(RunImport(doc_file_, workspace, reporter), Error);
  EXPECT_EQ(reporter.calls, (std::vector<std::string>{"begin", "end"}));
  EXPECT_EQ(ReadFile(doc_file_), original);
}

}  // namespace
}  // namespace velquior
