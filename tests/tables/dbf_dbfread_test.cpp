// The other direction: the six catalogue tables written by the engine (as
// the export writes them: RecreateTable, then Append/Set/Post on a builder's
// handle) and read back by an independent reader, Debian's python3-dbfread,
// run with the Debian python. Accents (Windows-1252, "€" included), texts cut
// to width, leading blanks, floats that need every form of the writer,
// integers at the 32-bit limits, blanks, an empty table, and enough ASIGT
// records to cross several write batches.

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <variant>

#include "tables/catalog.h"
#include "tables/dbf_format.h"
#include "tables/dbf_writer.h"
#include "tables/table.h"
#include "tests/test_util.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;
using tables::FieldDef;
using tables::FieldType;

constexpr const char* kPython = "/usr/bin/python3";

// How a test record sets one field: SetText(ansi) or SetFloat(number).
using Setting = std::variant<std::string, double>;
using Record = std::vector<std::pair<std::string_view, Setting>>;

struct TableCase {
  const catalog::TableSpec* layout;
  std::vector<Record> records;
};

std::string RightTrimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// What dbfread must give for `field` after `setting` (nullptr: never set).
json Expected(const FieldDef& field, const Setting* setting) {
  switch (field.type) {
    case FieldType::kText: {
      std::string s;
      if (setting != nullptr) {
        s = std::holds_alternative<std::string>(*setting)
                ? std::get<std::string>(*setting)
                : text::FormatShortest(std::get<double>(*setting), text::DecimalSeparator());
      }
      return text::AnsiToUtf8(RightTrimmed(s.substr(0, static_cast<std::size_t>(field.width))));
    }
    case FieldType::kInteger:
      if (setting == nullptr) return nullptr;
      if (const auto* s = std::get_if<std::string>(setting)) {
        if (s->empty()) return nullptr;
        return text::StrToInt(*s);
      }
      return text::RoundHalfEven(std::get<double>(*setting));
    case FieldType::kFloat:
      if (setting == nullptr) return nullptr;
      if (const auto* s = std::get_if<std::string>(setting)) {
        if (s->empty()) return nullptr;
        return text::StrToFloat(*s);
      }
      return std::get<double>(*setting);
  }
  return nullptr;
}

std::vector<TableCase> Cases() {
  using S = std::string;
  std::vector<TableCase> cases;
  cases.push_back({&catalog::kAsignomt,
                   {
                       {{catalog::f::kCod, S("MAT")},
                        {catalog::f::kCodLargo, S("Matem\xe1ticas")},  // 11 characters: cut to 10
                        {catalog::f::kNombre, S("Educaci\xf3n F\xedsica \xd1\xf1 \x80 \xba\xaa \xfc")},
                        {catalog::f::kIdSaga, S(std::string(70, 'x'))},
                        {catalog::f::kHoras, S("4")}},
                       {{catalog::f::kCod, S(" 4D")},  // leading blank kept
                        {catalog::f::kNombre, S(std::string(85, 'N'))},
                        {catalog::f::kHoras, S("2,5")}},
                       {},  // an appended record with nothing set
                   }});
  cases.push_back({&catalog::kProft,
                   {
                       {{catalog::f::kAbrev, S("MU\xd1OZ")},
                        {catalog::f::kNombre, S("Jos\xe9 Mar\xed"
                                                "a Mu\xf1oz Pe\xf1"
                                                "a")},
                        {catalog::f::kDepart, S("Matem\xe1ticas")},
                        {catalog::f::kDni, S("12345678")},
                        {catalog::f::kIdSaga, S("{A1B2-C3}")}},
                       {{catalog::f::kAbrev, S("MIN")}, {catalog::f::kDni, S("-2147483648")}},
                       {{catalog::f::kAbrev, S("MAX")}, {catalog::f::kDni, 2147483647.0}},
                       {{catalog::f::kAbrev, S("HALF")}, {catalog::f::kDni, 2.5}},
                       {{catalog::f::kAbrev, S("HALF3")}, {catalog::f::kDni, 3.5}},
                       {{catalog::f::kAbrev, S("BLANK")}, {catalog::f::kDni, S("")}},
                       {{catalog::f::kAbrev, S("UNSET")}},
                   }});
  cases.push_back({&catalog::kAulat,
                   {
                       {{catalog::f::kAbrev, S("SAL\xd3N")},
                        {catalog::f::kNombre, S("Sal\xf3n de actos")},
                        {catalog::f::kEdificio, S("AB")},
                        {catalog::f::kMaxAlum, S("30")}},
                       {{catalog::f::kAbrev, S("LAB")}, {catalog::f::kMaxAlum, -0.5}},
                   }});
  cases.push_back({&catalog::kGrupost,
                   {
                       {{catalog::f::kAbrev, S("1\xba"
                                               "ESO-A")},
                        {catalog::f::kTurno, S("M")},
                        {catalog::f::kNivel, S("ESO")},
                        {catalog::f::kCurso, S("1")},
                        {catalog::f::kGrupo, S("A")},
                        {catalog::f::kIdSaga, S("g1")},
                        {catalog::f::kDescrip, S("Primero de ESO \x96 grupo A \x93"
                                                 "ma\xf1"
                                                 "ana\x94")}},
                       {{catalog::f::kAbrev, S("2\xba"
                                               "BACH")},
                        {catalog::f::kCurso, S("2\xba"
                                               "x")}},
                   }});
  TableCase asigt{&catalog::kAsigt, {}};
  for (double h :
       {2.5, 16.0, 0.0, -3.25, 0.8333333333333334, 1e20, 1e-10, 123456789012345.6, 0.30000000000000004, -1e-300}) {
    asigt.records.push_back({{catalog::f::kCAsig, S("MAT")},
                             {catalog::f::kCGrup, S("1\xba"
                                                    "ESO-A")},
                             {catalog::f::kHoras, h},
                             {catalog::f::kSesiones, S("11")}});
  }
  asigt.records.push_back({{catalog::f::kCAsig, S("TXT")}, {catalog::f::kHoras, S("1,75")}});
  asigt.records.push_back({{catalog::f::kCAsig, S("NONE")}});
  // Enough records to cross several write batches (records are 105 bytes).
  for (int i = 0; i < 2500; ++i) {
    asigt.records.push_back({{catalog::f::kCAsig, S("A" + std::to_string(i))},
                             {catalog::f::kCProf, S("PE\xd1"
                                                    "A" +
                                                    std::to_string(i % 7))},
                             {catalog::f::kHoras, (i % 9) * 0.25},
                             {catalog::f::kNConex, S(std::to_string(i))}});
  }
  cases.push_back(std::move(asigt));
  cases.push_back({&catalog::kDiasHorast, {}});  // the export leaves it empty
  return cases;
}

void Write(const fs::path& dir, const TableCase& c) {
  catalog::RecreateTable(dir, *c.layout);
  tables::Table t(dir, c.layout->name);
  t.Open();
  for (const Record& r : c.records) {
    t.Append();
    for (const auto& [field, setting] : r) {
      if (const auto* s = std::get_if<std::string>(&setting)) {
        t.SetText(field, *s);
      } else {
        t.SetFloat(field, std::get<double>(setting));
      }
    }
    t.Post();
  }
  t.Close();
}

class DbfIndependentReader : public ::testing::Test {
 protected:
  void SetUp() override {
    separator_ = text::DecimalSeparator();
    text::SetDecimalSeparator(',');  // as a Spanish desktop: nothing of it may reach the files
  }
  void TearDown() override { text::SetDecimalSeparator(separator_); }
  char separator_ = '.';
};

TEST_F(DbfIndependentReader, DbfreadReadsTheSixTablesAsWritten) {
  ASSERT_TRUE(fs::exists(kPython)) << "needs the Debian python: apt-get install python3 python3-dbfread";
  testing::TempDir dir;
  const std::vector<TableCase> cases = Cases();
  std::vector<std::string> args{VELQUIOR_DBFREAD_SCRIPT};
  for (const auto& c : cases) {
    Write(dir.path(), c);
    args.push_back((dir / (std::string(c.layout->name) + ".DBF")).string());
  }
  testing::RunResult run = testing::RunProgram(kPython, args);
  ASSERT_EQ(run.status, 0) << run.err << "\n(needs python3-dbfread: apt-get install python3-dbfread)";
  const json out = json::parse(run.out);
  const tables::dbf::Date today = tables::dbf::Today();

  for (const auto& c : cases) {
    const std::string file = std::string(c.layout->name) + ".DBF";
    SCOPED_TRACE(file);
    ASSERT_TRUE(out.contains(file));
    const json& t = out.at(file);
    EXPECT_EQ(t.at("dbversion").get<int>(), 0x03);
    EXPECT_EQ(t.at("language_driver").get<int>(), tables::dbf::kWriteLanguageDriver);
    EXPECT_EQ(t.at("encoding").get<std::string>(), "cp1252");
    EXPECT_EQ(t.at("numrecords").get<std::size_t>(), c.records.size());
    EXPECT_EQ(t.at("deleted").get<int>(), 0);
    EXPECT_EQ(t.at("date"), json::array({today.year - 1900, today.month, today.day}));

    const json& fields = t.at("fields");
    ASSERT_EQ(fields.size(), c.layout->fields.size());
    std::size_t record_length = 1;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const FieldDef& def = c.layout->fields[i];
      const json& f = fields[i];
      EXPECT_EQ(f.at("name").get<std::string>(), def.name);
      EXPECT_EQ(f.at("type").get<std::string>(), def.type == FieldType::kText ? "C" : "N");
      const int width = def.type == FieldType::kText ? def.width : def.type == FieldType::kInteger ? 11 : 19;
      EXPECT_EQ(f.at("length").get<int>(), width) << def.name;
      EXPECT_EQ(f.at("decimal_count").get<int>(), def.type == FieldType::kFloat ? 4 : 0) << def.name;
      record_length += static_cast<std::size_t>(width);
    }
    EXPECT_EQ(t.at("recordlen").get<std::size_t>(), record_length);
    EXPECT_EQ(t.at("headerlen").get<std::size_t>(), 32 + 32 * fields.size() + 1);

    const json& records = t.at("records");
    ASSERT_EQ(records.size(), c.records.size());
    for (std::size_t r = 0; r < records.size(); ++r) {
      for (std::size_t i = 0; i < c.layout->fields.size(); ++i) {
        const FieldDef& def = c.layout->fields[i];
        const Setting* setting = nullptr;
        for (const auto& [name, s] : c.records[r]) {
          if (name == def.name) setting = &s;
        }
        const json want = Expected(def, setting);
        const json& got = records[r][i];
        if (want.is_number_float()) {
          ASSERT_TRUE(got.is_number()) << "record " << r + 1 << " " << def.name << ": " << got.dump();
          EXPECT_EQ(got.get<double>(), want.get<double>()) << "record " << r + 1 << " " << def.name;
        } else {
          EXPECT_EQ(got, want) << "record " << r + 1 << " " << def.name;
        }
      }
    }
  }
}

// The reader's view of a float in the file: what dbfread's float() and the
// engine's reading agree on, field text included.
TEST_F(DbfIndependentReader, FloatFieldHoldsTheUsualFixedForm) {
  testing::TempDir dir;
  Write(dir.path(), {&catalog::kAsigt, {{{catalog::f::kHoras, 2.5}}, {{catalog::f::kHoras, 16.0}}}});
  const std::string bytes = testing::ReadFile(dir / "ASIGT.DBF");
  EXPECT_NE(bytes.find("             2.5000"), std::string::npos);
  EXPECT_NE(bytes.find("            16.0000"), std::string::npos);
  EXPECT_EQ(bytes.find(','), std::string::npos);
}

}  // namespace
}  // namespace velquior
