// The import over SOLUC and DIASHORAST tables written by other dBASE
// programs (tests/fixtures/dbf-writers): each folder's tables, with catalogues
// holding every code they use, give the time-table that the records listed in
// MANIFEST.json call for, or the engine's error with the document untouched.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

#include "common/error.h"
#include "shell/conversion_runs.h"
#include "tables/catalog.h"
#include "tests/import/render.h"
#include "tests/import/table_maker.h"
#include "tests/shell/fake_window.h"
#include "tests/test_util.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior {
namespace {

using json = nlohmann::json;
using testing::CatalogueRow;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(VELQUIOR_TEST_FIXTURES) / "dbf-writers";

// Every code the fixtures' SOLUC tables use, except QUI: that one is only in
// the deleted record, so a reader that returned it would stop the import.
// UTF-8 here; the tables get Windows-1252.
struct Code {
  std::string key, idsaga;
};
const std::vector<Code> kSubjects = {{"MAT", "S1"}, {"LEN", "S2"},     {"FIS", "S3"}, {"EDUFÍS", "S4"},
                                     {"HIS", "S5"}, {"FRANCÉS", "S6"}, {"ING", "S7"}};
const std::vector<Code> kGroups = {{"1A", "G1"},     {"2B", "G2"},         {"1ºESO-A", "G3"},
                                   {"2ºBACH", "G4"}, {"ABCDEFGHIJ", "G5"}, {"4D", "G6"}};
const std::vector<Code> kTeachers = {{"P01", "T1"},  {"P02", "T2"},        {"MUÑOZ", "T3"},
                                     {"PEÑA", "T4"}, {"PROFESOR10", "T5"}, {"P03", "T6"}};
const std::vector<Code> kRooms = {{"A1", "R1"},       {"A2", "R2"},    {"LAB", ""},  // a room without SAGA id
                                  {"GIMNASIO", "R4"}, {"SALÓN", "R5"}, {"A3", "R6"}};

void WriteCatalogues(const fs::path& work);

void WriteCatalogue(const fs::path& dir, std::string_view table, const std::vector<Code>& codes) {
  std::vector<CatalogueRow> rows;
  for (const auto& c : codes) rows.push_back({text::Utf8ToAnsi(c.key), c.idsaga, text::Utf8ToAnsi(c.key)});
  testing::MakeCatalogue(dir, table, rows);
}

void WriteCatalogues(const fs::path& work) {
  WriteCatalogue(work, "ASIGNOMT", kSubjects);
  WriteCatalogue(work, "GRUPOST", kGroups);
  WriteCatalogue(work, "PROFT", kTeachers);
  WriteCatalogue(work, "AULAT", kRooms);
}

// What an import of the listed records must write, worked out from the
// records alone: the expected rendering of time-tables, or the error.
struct Expected {
  std::string time_tables;
  std::optional<std::string> error;
};

std::string Text(const json& v) { return v.is_string() ? v.get<std::string>() : v.dump(); }

// Reads a numeric field as the engine does: a blank number is 0, a text
// field holds the number as text.
struct NotANumber {
  std::string message;
};
double Number(const json& v, bool integer) {
  if (v.is_null()) return 0;
  if (v.is_number()) return v.get<double>();
  std::string s = v.get<std::string>();
  char* end = nullptr;
  double d = s.empty() ? 0 : std::strtod(s.c_str(), &end);
  bool ok = !s.empty() && *end == '\0' && (!integer || s.find_first_not_of("-0123456789") == std::string::npos);
  if (!ok) {
    throw NotANumber{"'" + s + (integer ? "' no es un valor entero válido" : "' no es un valor punto flotante válido")};
  }
  return d;
}

std::string General(double h) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", h);
  return buf;
}

std::string IdSagaOf(const std::vector<Code>& codes, const std::string& code) {
  for (const auto& c : codes) {
    if (c.key == code) return c.idsaga;
  }
  return code;
}

std::string UsedList(const std::vector<Code>& codes, const json& records, const char* field, const char* container,
                     const char* item) {
  std::string items;
  for (const auto& c : codes) {
    bool used = false;
    for (const auto& r : records) used = used || Text(r[field]) == c.key;
    if (used) items += (items.empty() ? "" : " ") + std::string(item) + "[id=" + c.idsaga + "]";
  }
  return items.empty() ? container : std::string(container) + "(" + items + ")";
}

std::string Days(const json* dias) {
  std::string days;
  for (int d = 1; dias != nullptr && d <= 7; ++d) {
    const std::string t = std::to_string(d);
    const json* first = nullptr;
    for (const auto& r : *dias) {
      if (Text(r["DIA"]) == t) {
        first = &r;
        break;
      }
    }
    if (first == nullptr) continue;
    std::string intervals;
    for (int h = 1; h <= 40; ++h) {
      for (const auto& r : *dias) {
        if (Text(r["DIA"]) != t || Text(r["HORA"]) != std::to_string(h)) continue;
        std::string end = Text(r["HORAHASTA"]);
        if (!end.empty() && end.size() <= 4 && end[0] != '0') end = "0" + end;
        intervals += (intervals.empty() ? "" : " ") + std::string("interval[id=i") + std::to_string(h) +
                     ",begin=" + Text(r["HORADESDE"]) + ",end=" + end + "]";
      }
    }
    days += (days.empty() ? "" : " ") + std::string("day[id=") + t + ",name=" + Text((*first)["TEXTODIA"]) + "]" +
            (intervals.empty() ? "" : "(" + intervals + ")");
  }
  return days.empty() ? "days" : "days(" + days + ")";
}

Expected Expect(const json& records, const json* dias) {
  Expected e;
  std::vector<std::string> activity_keys;
  std::string activities;
  for (const auto& c : kSubjects) {
    bool used = false;
    for (const auto& r : records) used = used || Text(r["ASIG"]) == c.key;
    if (!used) continue;
    activity_keys.push_back(c.idsaga);
    activities += (activities.empty() ? "" : " ") + std::string("activity[id=a") +
                  std::to_string(activity_keys.size()) + ",name=" + c.key + ",subject=" + c.idsaga + "]";
  }
  std::string inputs;
  int n = 1;
  auto participant = [](const char* container, const char* item, const std::string& id) {
    return std::string(container) + "(" + item + (id.empty() ? "" : "[id=" + id + "]") + ")";
  };
  try {
    for (const auto& r : records) {
      if (Number(r["DIA"], true) == 0) continue;
      double h = Number(r["HORA"], false);
      if (Number(r["SESIONES"], false) == 0.5) h = h * 2 - 1;
      std::string key = IdSagaOf(kSubjects, Text(r["ASIG"]));
      long position = -1;
      for (std::size_t i = 0; i < activity_keys.size() && position < 0; ++i) {
        if (activity_keys[i] == key) position = static_cast<long>(i);
      }
      if (position < 0) throw NotANumber{"List index out of bounds (-1)"};
      inputs += (inputs.empty() ? "" : " ") + std::string("input[id=input") + std::to_string(n++) +
                ",day=" + Text(r["DIA"]) + ",interval=i" + General(h) + ",activity=a" + std::to_string(position + 1) +
                "](" + participant("groups", "group", IdSagaOf(kGroups, Text(r["CODGRUPO"]))) + " " +
                participant("members", "member", IdSagaOf(kTeachers, Text(r["PROF"]))) + " " +
                participant("locations", "location", IdSagaOf(kRooms, Text(r["AULA"]))) + ")";
    }
  } catch (const NotANumber& err) {
    e.error = err.message;
    return e;
  }
  e.time_tables = "time-tables(time-table[id=tt1,name=Zeltimor](" + Days(dias) + " " +
                  UsedList(kGroups, records, "CODGRUPO", "groups", "group") + " " +
                  UsedList(kTeachers, records, "PROF", "members", "member") + " " +
                  (activities.empty() ? "activities" : "activities(" + activities + ")") + " " +
                  (inputs.empty() ? "inputs" : "inputs(" + inputs + ")") + "))";
  return e;
}

// Folders whose tables stop the import, with the error. The text SOLUC has
// its blank HORA (record 7) before its blank DIA (record 8); the truncated
// copies promise more records than they hold.
const std::map<std::string, std::string> kFailing = {
    {"dbf3-pydbf-char", "'' no es un valor punto flotante válido"},
    {"edge-truncated", "SOLUC.DBF: la cabecera indica 13 registros y el archivo tiene 8"},
    {"edge-truncated-mid", "SOLUC.DBF: la cabecera indica 13 registros y el archivo tiene 8"},
};

const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<document>\n  <subjects/>\n"
    "  <time-tables><time-table id=\"old\"/></time-tables>\n</document>\n";

TEST(FixtureImport, EveryWritersTablesGiveTheTimetableOfTheirRecords) {
  std::ifstream in(kFixtures / "MANIFEST.json");
  ASSERT_TRUE(in) << kFixtures;
  const json manifest = json::parse(in);
  const json& files = manifest["files"];
  int folders = 0;
  for (const auto& [path, entry] : files.items()) {
    if (!path.ends_with("/SOLUC.DBF")) continue;
    const std::string folder = path.substr(0, path.find('/'));
    SCOPED_TRACE(folder);
    ++folders;
    TempDir tmp;
    const fs::path work = tmp / "ZTEMP";
    const fs::path doc = tmp / "escuela.xml";
    fs::create_directory(work);
    fs::copy_file(kFixtures / path, work / "SOLUC.DBF");
    const std::string dias_path = folder + "/DIASHORAST.DBF";
    const json* dias = nullptr;
    if (files.contains(dias_path)) {
      fs::copy_file(kFixtures / dias_path, work / "DIASHORAST.DBF");
      dias = &files[dias_path]["records"];
    } else {
      testing::MakeTable(work, "DIASHORAST", {catalog::kDiasHorast.fields.begin(), catalog::kDiasHorast.fields.end()},
                         {});
    }
    WriteCatalogues(work);
    WriteFile(doc, kDocument);

    text::SetDecimalSeparator('.');
    shell::Session session;
    session.workspace.work_dir = work;
    testing::FakeWindow fe;
    fe.choice = doc;
    std::optional<std::string> error;
    try {
      shell::ImportFromWindow(session, fe, fe);
    } catch (const Error& e) {
      error = std::string(e.message());
    }

    const json& records = entry.contains("records") ? entry["records"] : entry["records_readable"];
    Expected expected = Expect(records, dias);
    if (auto failing = kFailing.find(folder); failing != kFailing.end()) {
      ASSERT_TRUE(error.has_value());
      EXPECT_EQ(*error, failing->second);
      if (!folder.starts_with("edge-")) {
        EXPECT_EQ(expected.error, failing->second);
      }
      EXPECT_EQ(ReadFile(doc), kDocument);
      EXPECT_EQ(session.state.ResultCode, 0);
      continue;
    }
    ASSERT_FALSE(error.has_value()) << *error;
    ASSERT_FALSE(expected.error.has_value()) << *expected.error;
    EXPECT_EQ(testing::RenderTimeTables(doc), expected.time_tables);
  }
  EXPECT_EQ(folders, 17);
}

// The text SOLUC with the HORA and SESIONES of its 7th live record filled in:
// the blank DIA of the 8th is then the first value that is no number.
TEST(FixtureImport, BlankTextDayIsTheEnginesIntegerError) {
  TempDir tmp;
  const fs::path work = tmp / "ZTEMP";
  const fs::path doc = tmp / "escuela.xml";
  fs::create_directory(work);
  std::string bytes = ReadFile(kFixtures / "dbf3-pydbf-char" / "SOLUC.DBF");
  const std::size_t header = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
  const std::size_t length = static_cast<unsigned char>(bytes[10]) | static_cast<unsigned char>(bytes[11]) << 8;
  const std::size_t record = header + 7 * length;  // stored 8th: the deleted record comes before it
  ASSERT_EQ(bytes.substr(record + 1, 4), "2B  ");
  ASSERT_EQ(bytes.substr(record + 41, 12), "5           ");  // DIA, HORA, SESIONES
  bytes.replace(record + 43, 10, "1    1    ");
  ASSERT_EQ(bytes.substr(record + length + 41, 2), "  ");  // the next one's blank DIA
  WriteFile(work / "SOLUC.DBF", bytes);
  testing::MakeTable(work, "DIASHORAST", {catalog::kDiasHorast.fields.begin(), catalog::kDiasHorast.fields.end()}, {});
  WriteCatalogues(work);
  WriteFile(doc, kDocument);
  shell::Session session;
  session.workspace.work_dir = work;
  testing::FakeWindow fe;
  fe.choice = doc;
  std::string error = "no error";
  try {
    shell::ImportFromWindow(session, fe, fe);
  } catch (const Error& e) {
    error = std::string(e.message());
  }
  EXPECT_EQ(error, "'' no es un valor entero válido");
  EXPECT_EQ(ReadFile(doc), kDocument);
}

}  // namespace
}  // namespace velquior
