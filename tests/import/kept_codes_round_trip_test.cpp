// The pain codes that change cause, and its end: the sample school goes out,
// the host builds a timetable on its codes, the school gains a teacher with
// the same initials ahead of one the timetable uses and a subject is
// renamed; exported again with keeping, the timetable still names the same
// teacher and subject when it comes back; exported without, the lessons go
// to the newcomer and the command line says so beforehand.

#include <gtest/gtest.h>

#include <set>

#include "tables/catalog.h"
#include "tables/table.h"
#include "tests/import/table_maker.h"
#include "tests/test_util.h"
#include "xml/document.h"

namespace velquior {
namespace {

using testing::RunProgram;
using testing::RunResult;
using testing::SolucRow;
namespace fs = std::filesystem;
namespace f = catalog::f;

const std::string kConvert = VELQUIOR_CONVERT_BIN;
const fs::path kSample = fs::path(VELQUIOR_EXAMPLES) / "escuela.xml";
const std::vector<std::string> kEnv = {"LC_ALL=C.UTF-8"};
constexpr const char* kJuan = "5002023";      // Juan Pérez López: JPL
constexpr const char* kNewcomer = "5002999";  // Julia Pascual Lorenzo, added ahead of him
constexpr const char* kLengua = "3001000";    // Lengua Castellana y Literatura: LCL, renamed

// The code the table's record for `id` holds (Windows-1252).
std::string CodeOf(const fs::path& dir, const catalog::TableSpec& t, std::string_view key, const std::string& id) {
  tables::Table table(dir, t.name);
  table.Open();
  std::string code = "(none)";
  for (table.First(); !table.Eof() && code == "(none)"; table.Next()) {
    if (table.AsText(f::kIdSaga) == id) code = table.AsText(key);
  }
  table.Close();
  return code;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::set<std::string> Values(const fs::path& file, const std::string& path, const std::string& attribute) {
  xml::Document doc;
  EXPECT_TRUE(doc.load(file).ok);
  std::set<std::string> out;
  auto list = doc.selectNodes(path);
  for (long i = 0; i < list.length(); ++i) {
    if (auto a = list.item(i)->attributes().getNamedItem(attribute)) out.insert(a->text());
  }
  return out;
}

class KeptCodesRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_);
    fs::copy_file(kSample, school_);
    const RunResult r = Convert({"export", school_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    jpl_ = CodeOf(work_, catalog::kProft, f::kAbrev, kJuan);
    lcl_ = CodeOf(work_, catalog::kAsignomt, f::kCod, kLengua);
    ASSERT_EQ(jpl_, "JPL");
    ASSERT_EQ(lcl_, "LCL");
    // The host's timetable on those codes, and the week it fills.
    const std::string group = CodeOf(work_, catalog::kGrupost, f::kAbrev, "G01");
    testing::MakeTable(
        work_, "DIASHORAST", {catalog::kDiasHorast.fields.begin(), catalog::kDiasHorast.fields.end()},
        {{"11", "", "1", "Lunes", "1", "8:00", "8:55", "55"}, {"12", "", "1", "Lunes", "2", "9:00", "9:55", "55"}});
    testing::MakeSoluc(work_, {{1, 1, 1, lcl_, group, jpl_, ""}, {1, 2, 1, lcl_, group, jpl_, ""}});
    soluc_ = testing::ReadFile(work_ / "SOLUC.DBF");

    // A homonym ahead of Juan, and Lengua renamed.
    std::string text = testing::ReadFile(school_);
    text = Replaced(text, "<teacher id=\"5002023\">",
                    "<teacher id=\"5002999\">Julia Pascual Lorenzo</teacher>\n    <teacher id=\"5002023\">");
    text = Replaced(text, "name=\"Lengua Castellana y Literatura\"", "name=\"Lengua y Literatura\"");
    testing::WriteFile(school_, text);
  }

  RunResult Convert(std::vector<std::string> args) {
    args.insert(args.end(), {"--workdir", work_.string()});
    return RunProgram(kConvert, args, kEnv);
  }

  // The SAGA identifiers the imported timetable's lessons name.
  RunResult Import(std::set<std::string>& members, std::set<std::string>& subjects) {
    fs::copy_file(kSample, imported_, fs::copy_options::overwrite_existing);
    const RunResult r = Convert({"import", imported_.string()});
    const std::string tt = "/document/time-tables/time-table/";
    members = Values(imported_, tt + "inputs/input/members/member", "id");
    subjects = Values(imported_, tt + "activities/activity", "subject");
    return r;
  }

  testing::TempDir tmp_;
  fs::path work_ = tmp_ / "ZTEMP";
  fs::path school_ = tmp_ / "escuela.xml";
  fs::path imported_ = tmp_ / "importada.xml";
  std::string jpl_, lcl_, soluc_;
};

TEST_F(KeptCodesRoundTrip, KeepingGivesTheLessonsBackToTheirTeacherAndSubject) {
  const RunResult check = Convert({"check", school_.string(), "--keep-codes"});
  EXPECT_EQ(check.status, 0) << check.out;  // with keeping, nothing the timetable uses changes

  const RunResult r = Convert({"export", school_.string(), "--keep-codes"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(testing::ReadFile(work_ / "SOLUC.DBF"), soluc_);
  EXPECT_EQ(CodeOf(work_, catalog::kProft, f::kAbrev, kJuan), "JPL");
  EXPECT_EQ(CodeOf(work_, catalog::kProft, f::kAbrev, kNewcomer), "JPL1");
  EXPECT_EQ(CodeOf(work_, catalog::kAsignomt, f::kCod, kLengua), "LCL");

  std::set<std::string> members, subjects;
  const RunResult imported = Import(members, subjects);
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(members, std::set<std::string>{kJuan});
  EXPECT_EQ(subjects, std::set<std::string>{kLengua});
}

TEST_F(KeptCodesRoundTrip, NewCodesGiveTheLessonsToTheNewcomerAndAreToldFirst) {
  const RunResult r = Convert({"export", school_.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(r.out.size() - 19), "Proceso finalizado\n");
  EXPECT_EQ(r.err,
            "Aviso: ASIGNOMT, Lengua Castellana y Literatura (3001000): código 'LCL' pasa a 'LL'; "
            "lecciones de SOLUC: 2\n"
            "Aviso: PROFT, Juan Pérez López (5002023): código 'JPL' pasa a 'JPL1'; lecciones de SOLUC: 2; "
            "'JPL' será de 'Julia Pascual Lorenzo' (5002999)\n");
  EXPECT_EQ(CodeOf(work_, catalog::kProft, f::kAbrev, kNewcomer), "JPL");

  // LCL is now no subject's code: the import stops on it. Without those
  // lessons, Juan's go to the newcomer.
  std::set<std::string> members, subjects;
  EXPECT_EQ(Import(members, subjects).status, 1);
  const std::string math = CodeOf(work_, catalog::kAsignomt, f::kCod, "3001017");
  testing::MakeSoluc(work_, {{1, 1, 1, math, "", "JPL", ""}});
  const RunResult imported = Import(members, subjects);
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(members, std::set<std::string>{kNewcomer});
}

}  // namespace
}  // namespace velquior
