// Export, the host's timetable, import: the sample school goes out to the
// tables, a timetable is made from the codes the export wrote, and the import
// brings it back naming only SAGA ids of the school, changing nothing else.

#include <gtest/gtest.h>

#include <set>

#include "tables/catalog.h"
#include "tables/table.h"
#include "tests/import/table_maker.h"
#include "tests/test_util.h"
#include "text/encoding.h"
#include "xml/document.h"

namespace velquior {
namespace {

using testing::MakeSoluc;
using testing::RunProgram;
using testing::RunResult;
using testing::SolucRow;
using testing::TempDir;
namespace fs = std::filesystem;
namespace f = catalog::f;

const std::string kConvert = VELQUIOR_CONVERT_BIN;
const fs::path kSample = fs::path(VELQUIOR_EXAMPLES) / "escuela.xml";

std::vector<std::string> Codes(const fs::path& dir, std::string_view table, std::string_view key) {
  tables::Table t(dir, table);
  t.Open();
  std::vector<std::string> codes;
  for (t.First(); !t.Eof(); t.Next()) codes.push_back(t.AsText(key));
  t.Close();
  return codes;
}

std::set<std::string> Ids(const xml::Document& doc, std::string_view path, std::string_view attribute = "id") {
  std::set<std::string> ids;
  auto list = doc.selectNodes(path);
  for (long i = 0; i < list.length(); ++i) {
    if (auto a = list.item(i)->attributes().getNamedItem(attribute)) ids.insert(a->text());
  }
  return ids;
}

// Every `attribute` of the elements at `path` of `doc`, counting those that
// lack it as "(none)".
std::vector<std::string> AllOf(const xml::Document& doc, std::string_view path, std::string_view attribute = "id") {
  std::vector<std::string> values;
  auto list = doc.selectNodes(path);
  for (long i = 0; i < list.length(); ++i) {
    auto a = list.item(i)->attributes().getNamedItem(attribute);
    values.push_back(a ? a->text() : "(none)");
  }
  return values;
}

TEST(ImportRoundTrip, TheSampleSchoolComesBackWithItsOwnIds) {
  TempDir tmp;
  const fs::path work = tmp / "ZTEMP";
  fs::create_directory(work);
  const fs::path exported = tmp / "escuela.xml";
  const fs::path imported = tmp / "importada.xml";
  fs::copy_file(kSample, exported);
  RunResult r = RunProgram(kConvert, {"export", exported.string(), "--workdir", work.string()}, {"LC_ALL=C.UTF-8"});
  ASSERT_EQ(r.status, 0) << r.err;

  // The host's side: a week of 5 days by 6 hours and a timetable over the
  // exported codes, with one unscheduled lesson and one half-hour session.
  std::vector<std::vector<testing::Cell>> week;
  const char* names[] = {"Lunes", "Martes", "Miércoles", "Jueves", "Viernes"};
  for (int d = 1; d <= 5; ++d) {
    for (int h = 1; h <= 6; ++h) {
      week.push_back({std::to_string(d * 10 + h), "", std::to_string(d), text::Utf8ToAnsi(names[d - 1]),
                      std::to_string(h), std::to_string(7 + h) + ":00", std::to_string(7 + h) + ":55", "55"});
    }
  }
  testing::MakeTable(work, "DIASHORAST", {catalog::kDiasHorast.fields.begin(), catalog::kDiasHorast.fields.end()},
                     week);
  const auto subjects = Codes(work, "ASIGNOMT", f::kCod);
  const auto groups = Codes(work, "GRUPOST", f::kAbrev);
  const auto teachers = Codes(work, "PROFT", f::kAbrev);
  const auto rooms = Codes(work, "AULAT", f::kAbrev);
  ASSERT_FALSE(subjects.empty() || groups.empty() || teachers.empty() || rooms.empty());
  std::vector<SolucRow> soluc;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (int k = 0; k < 6; ++k) {
      std::size_t i = g * 6 + static_cast<std::size_t>(k);
      soluc.push_back({static_cast<double>(1 + i % 5), static_cast<double>(1 + (i / 5) % 6), 1,
                       subjects[i % subjects.size()], groups[g], teachers[i % teachers.size()],
                       rooms[i % rooms.size()]});
    }
  }
  soluc[3].dia = 0;  // not scheduled
  soluc[4].hora = 3;
  soluc[4].sesiones = 0.5;  // a half-hour session: the fifth interval
  MakeSoluc(work, soluc);

  fs::copy_file(kSample, imported);
  r = RunProgram(kConvert, {"import", imported.string(), "--workdir", work.string()}, {"LC_ALL=C.UTF-8"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Proceso finalizado\n");
  EXPECT_EQ(r.err, "");

  xml::Document original, result;
  ASSERT_TRUE(original.load(kSample).ok);
  ASSERT_TRUE(result.load(imported).ok);
  const auto group_ids = Ids(original, "/document/groups/group");
  const auto teacher_ids = Ids(original, "/document/teachers/teacher");
  const auto room_ids = Ids(original, "/document/locations/location");
  const auto subject_ids = Ids(original, "/document/subjects/subject");
  const std::string tt = "/document/time-tables/time-table/";
  struct Check {
    std::string path, attribute;
    const std::set<std::string>& allowed;
  } checks[] = {
      {tt + "groups/group", "id", group_ids},
      {tt + "members/member", "id", teacher_ids},
      {tt + "activities/activity", "subject", subject_ids},
      {tt + "inputs/input/groups/group", "id", group_ids},
      {tt + "inputs/input/members/member", "id", teacher_ids},
      {tt + "inputs/input/locations/location", "id", room_ids},
  };
  for (const auto& c : checks) {
    auto values = AllOf(result, c.path, c.attribute);
    EXPECT_FALSE(values.empty()) << c.path;
    for (const auto& v : values) EXPECT_TRUE(c.allowed.contains(v)) << c.path << ": " << v;
  }
  auto inputs = AllOf(result, tt + "inputs/input", "interval");
  ASSERT_EQ(inputs.size(), soluc.size() - 1);
  EXPECT_EQ(inputs[3], "i5");  // record 5, the half-hour session
  const auto activity_ids = Ids(result, tt + "activities/activity");
  for (const auto& a : AllOf(result, tt + "inputs/input", "activity")) EXPECT_TRUE(activity_ids.contains(a)) << a;
  EXPECT_EQ(AllOf(result, tt + "days/day").size(), 5u);
  EXPECT_EQ(AllOf(result, tt + "days/day/interval").size(), 30u);

  // Outside its time-tables the document is the one that was exported.
  auto root = *result.documentElement();
  root.removeChild(*root.selectSingleNode("time-tables"));
  EXPECT_EQ(result.saveToString(), original.saveToString());
}

}  // namespace
}  // namespace velquior
