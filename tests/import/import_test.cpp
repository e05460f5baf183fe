#include "import/import_driver.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "tables/catalog.h"
#include "tests/export/fake_front_end.h"
#include "tests/import/table_maker.h"
#include "tests/test_util.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior {
namespace {

using testing::Cell;
using testing::FakeFrontEnd;
using testing::MakeSoluc;
using testing::MakeTable;
using testing::ReadFile;
using testing::SolucRow;
using testing::TempDir;
using testing::WriteFile;
using tables::FieldDef;
using tables::FieldType;
namespace fs = std::filesystem;
namespace f = catalog::f;

std::vector<FieldDef> Fields(const catalog::TableSpec& spec) { return {spec.fields.begin(), spec.fields.end()}; }

// A compact picture of a subtree: name[attr=value,...](children...).
std::string Render(const xml::Node& n) {
  if (n.nodeName() == "#text") return text::AnsiToUtf8(n.text());
  std::string out = n.nodeName();
  auto attrs = n.attributes();
  if (attrs.length() > 0) {
    out += "[";
    for (long i = 0; i < attrs.length(); ++i) {
      out += (i ? "," : "") + attrs.item(i)->name() + "=" + text::AnsiToUtf8(attrs.item(i)->text());
    }
    out += "]";
  }
  auto kids = n.childNodes();
  if (kids.length() > 0) {
    out += "(";
    for (long i = 0; i < kids.length(); ++i) out += (i ? " " : "") + Render(*kids.item(i));
    out += ")";
  }
  return out;
}

class Import : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_);
    session_.work_dir = work_;
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
    MakeTable(work_, "GRUPOST", Fields(catalog::kGrupost),
              {{"1A", "", "", "", "", "101", ""}, {"1B", "", "", "", "", "102", ""}, {"2B", "", "", "", "", "103", ""}});
    MakeTable(work_, "PROFT", Fields(catalog::kProft), {{"P02", "", "", Cell(), "201"}, {"P01", "", "", Cell(), "202"}});
    MakeTable(work_, "AULAT", Fields(catalog::kAulat),
              {{"A1", "", "", Cell(), "401"}, {"A2", "", "", Cell(), "402"}, {"LAB", "", "", Cell(), ""}});
    MakeSoluc(work_, soluc);
  }

  void EmptyTables() {
    for (const auto* spec : {&catalog::kDiasHorast, &catalog::kAsignomt, &catalog::kGrupost, &catalog::kProft,
                             &catalog::kAulat}) {
      MakeTable(work_, spec->name, Fields(*spec), {});
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

  std::string RunExpectingError() {
    try {
      BImportarClick(session_, fe_);
    } catch (const Error& e) {
      return std::string(e.message());
    }
    return "no error";
  }

  TempDir tmp_;
  fs::path work_ = tmp_ / "ZTEMP";
  fs::path doc_file_ = tmp_ / "escuela.xml";
  Session session_;
  FakeFrontEnd fe_;
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
  EXPECT_EQ(BImportarClick(session_, fe_), RunOutcome::kCompleted);
  EXPECT_EQ(session_.state.ResultCode, 1);
  EXPECT_EQ(fe_.calls, (std::vector<std::string>{"choose:", "busy", "normal", "message:Proceso finalizado",
                                                 "disable"}));
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
  BImportarClick(session_, fe_);
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
    Session session;
    session.work_dir = work_;
    FakeFrontEnd fe;
    fe.choice = doc_file_;
    ASSERT_EQ(BImportarClick(session, fe), RunOutcome::kCompleted);
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

TEST_F(Import, MissingFileEnding) {
  fe_.choice = std::nullopt;
  session_.state.HostLaunched = true;
  session_.state.ResultCode = 7;
  EXPECT_EQ(BImportarClick(session_, fe_), RunOutcome::kMissingFile);
  EXPECT_EQ(session_.state.ResultCode, 0);  // not the export's -1
  EXPECT_EQ(fe_.calls, (std::vector<std::string>{"choose:", "message:No existe archivo", "close"}));
}

}  // namespace
}  // namespace velquior
