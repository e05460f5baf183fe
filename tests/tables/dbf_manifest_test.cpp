// Every file of tests/fixtures/dbf-writers, written by independent dBASE writers,
// read by the engine and compared with MANIFEST.json: fields in order,
// records (deleted ones skipped, nulls, leading blanks, accents in every code
// page), header facts, and what happens with the damaged copies. Each file is
// read twice: through the pure parser over its bytes and through a Table
// handle opened by a lower-case name.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "common/error.h"
#include "tables/dbf_reader.h"
#include "tables/table.h"
#include "tests/tables/dbf_test_util.h"
#include "tests/test_util.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;
using tables::Value;
using testing::dbf::Show;
using testing::dbf::WritersDbfDir;

const json& Manifest() {
  static const json manifest = json::parse(testing::ReadFile(WritersDbfDir() / "MANIFEST.json"));
  return manifest;
}

std::vector<std::string> FixtureKeys() {
  std::vector<std::string> keys;
  try {
    for (const auto& [key, entry] : Manifest().at("files").items()) keys.push_back(key);
  } catch (const std::exception&) {
    // DbfManifest.ListsEveryFixtureFile reports the missing manifest.
  }
  return keys;
}

int HexByte(const json& j) { return std::stoi(j.get<std::string>(), nullptr, 16); }

text::CodePage CodePageOf(int number) {
  switch (number) {
    case 850:
      return text::CodePage::kIbm850;
    case 437:
      return text::CodePage::kIbm437;
    default:
      return text::CodePage::kWindows1252;
  }
}

// The manifest's value (JSON) against the engine's.
void ExpectValue(const json& expected, const Value& got, const std::string& where) {
  SCOPED_TRACE(where + ": expected " + expected.dump() + ", got " + Show(got));
  if (expected.is_null()) {
    EXPECT_TRUE(std::holds_alternative<tables::Null>(got));
  } else if (expected.is_string()) {
    ASSERT_TRUE(std::holds_alternative<std::string>(got));
    EXPECT_EQ(std::get<std::string>(got), text::Utf8ToAnsi(expected.get<std::string>()));
  } else if (expected.is_number_integer()) {
    ASSERT_TRUE(std::holds_alternative<std::int64_t>(got));
    EXPECT_EQ(std::get<std::int64_t>(got), expected.get<std::int64_t>());
  } else if (expected.is_number_float()) {
    ASSERT_TRUE(std::holds_alternative<double>(got));
    EXPECT_EQ(std::get<double>(got), expected.get<double>());
  } else {
    ADD_FAILURE() << "unexpected manifest value";
  }
}

// What AsText, AsInteger and AsFloat give for the manifest's value of a
// field of type `type`.
void ExpectReadings(const tables::Table& t, const std::string& name, char type, const json& expected,
                    const std::string& where) {
  SCOPED_TRACE(where);
  const bool text_field = type == 'C';
  if (expected.is_null()) {
    EXPECT_EQ(t.AsText(name), "");
    if (!text_field) {
      EXPECT_EQ(t.AsInteger(name), 0);
      EXPECT_EQ(t.AsFloat(name), 0.0);
    }
  } else if (expected.is_string()) {
    EXPECT_EQ(t.AsText(name), text::Utf8ToAnsi(expected.get<std::string>()));
  } else if (expected.is_number_integer()) {
    EXPECT_EQ(t.AsText(name), std::to_string(expected.get<std::int64_t>()));
    EXPECT_EQ(t.AsInteger(name), expected.get<std::int64_t>());
    EXPECT_EQ(t.AsFloat(name), expected.get<double>());
  } else {
    const double d = expected.get<double>();
    EXPECT_EQ(t.AsText(name), text::FormatShortest(d, text::DecimalSeparator()));
    EXPECT_EQ(t.AsInteger(name), text::RoundHalfEven(d));
    EXPECT_EQ(t.AsFloat(name), d);
  }
}

class DbfManifestFixture : public ::testing::TestWithParam<std::string> {
 protected:
  const json& Entry() const { return Manifest().at("files").at(GetParam()); }
  fs::path File() const { return WritersDbfDir() / GetParam(); }
  std::string FileName() const { return fs::path(GetParam()).filename().string(); }
  std::string Table() const { return fs::path(GetParam()).stem().string(); }

  // The header promises more records than the file holds: the engine
  // refuses the file (see tables/dbf_reader.h) with this message.
  std::optional<std::string> ExpectedError() const {
    const json& h = Entry().at("header");
    const auto size = h.at("file_size").get<std::uint64_t>();
    const auto header_length = h.at("header_length").get<std::uint64_t>();
    const auto record_length = h.at("record_length").get<std::uint64_t>();
    const auto count = h.at("record_count").get<std::uint64_t>();
    if (size >= header_length + count * record_length) return std::nullopt;
    return FileName() + ": la cabecera indica " + std::to_string(count) + " registros y el archivo tiene " +
           std::to_string((size - header_length) / record_length);
  }

  const json& ExpectedRecords() const {
    return Entry().contains("records") ? Entry().at("records") : Entry().at("records_readable");
  }
};

TEST_P(DbfManifestFixture, PureParserMatchesManifest) {
  const json& e = Entry();
  const std::string bytes = testing::ReadFile(File());
  ASSERT_EQ(bytes.size(), e.at("header").at("file_size").get<std::size_t>());

  if (auto error = ExpectedError()) {
    try {
      tables::dbf::ReadTable(bytes, FileName());
      FAIL() << "no error for " << GetParam();
    } catch (const Error& err) {
      EXPECT_EQ(err.message(), *error);
    }
    return;
  }

  tables::dbf::TableContents c = tables::dbf::ReadTable(bytes, FileName());
  const tables::dbf::Layout& L = c.layout;
  EXPECT_EQ(L.version, HexByte(e.at("version_byte")));
  EXPECT_EQ(L.language_driver, HexByte(e.at("language_driver_byte")));
  EXPECT_EQ(L.code_page, CodePageOf(e.at("code_page").get<int>()));
  EXPECT_EQ(L.code_page_declared, e.at("code_page_declared").get<bool>());
  EXPECT_EQ(L.record_count, e.at("header").at("record_count").get<std::uint32_t>());
  EXPECT_EQ(L.header_length, e.at("header").at("header_length").get<std::size_t>());
  EXPECT_EQ(L.record_length, e.at("header").at("record_length").get<std::size_t>());

  const json& fields = e.at("fields");
  ASSERT_EQ(c.fields.size(), fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    SCOPED_TRACE("field " + std::to_string(i));
    EXPECT_EQ(c.fields[i].name, fields[i].at("name").get<std::string>());
    EXPECT_EQ(std::string(1, c.fields[i].type), fields[i].at("type").get<std::string>());
    EXPECT_EQ(c.fields[i].width, fields[i].at("width").get<int>());
    EXPECT_EQ(c.fields[i].decimals, fields[i].at("decimals").get<int>());
  }
  if (e.contains("system_fields")) {
    for (const auto& s : e.at("system_fields")) {
      EXPECT_FALSE(tables::dbf::FindField(L, s.at("name").get<std::string>())) << "system field offered";
      EXPECT_EQ(L.null_flags_width, s.at("width").get<std::size_t>());
    }
  }

  const json& records = ExpectedRecords();
  const std::string flags = e.at("header").at("deleted_flags").get<std::string>();
  EXPECT_EQ(records.size(), static_cast<std::size_t>(std::count(flags.begin(), flags.end(), '.')));
  ASSERT_EQ(c.records.size(), records.size());
  for (std::size_t r = 0; r < records.size(); ++r) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string name = fields[i].at("name").get<std::string>();
      ExpectValue(records[r].at(name), c.records[r][i], "record " + std::to_string(r + 1) + " " + name);
    }
  }
}

TEST_P(DbfManifestFixture, TableHandleMatchesManifest) {
  const json& e = Entry();
  // The folder is copied so that the handle's lock and a lower-case name
  // cannot touch the fixtures.
  testing::TempDir dir;
  std::string lower = FileName();
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
  fs::copy_file(File(), dir / lower);

  tables::Table t(dir.path(), Table(), "wwTableSoluc");
  if (auto error = ExpectedError()) {
    try {
      t.Open();
      FAIL() << "no error for " << GetParam();
    } catch (const Error& err) {
      EXPECT_EQ(err.message(), *error);
    }
    EXPECT_FALSE(t.Active());
    return;
  }
  t.Open();
  const json& fields = e.at("fields");
  ASSERT_EQ(t.Fields().size(), fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(t.Fields()[i].name, fields[i].at("name").get<std::string>());
  }
  if (e.contains("system_fields")) {
    for (const auto& s : e.at("system_fields")) {
      const std::string name = s.at("name").get<std::string>();
      try {
        t.AsText(name);
        ADD_FAILURE() << name << " offered";
      } catch (const Error& err) {
        EXPECT_EQ(err.message(), "wwTableSoluc: No se encuentra el campo '" + name + "'");
      }
    }
  }
  const json& records = ExpectedRecords();
  EXPECT_EQ(t.RecordCount(), records.size());
  std::size_t r = 0;
  for (t.First(); !t.Eof(); t.Next(), ++r) {
    ASSERT_LT(r, records.size());
    for (const auto& field : fields) {
      const std::string name = field.at("name").get<std::string>();
      const std::string where = "record " + std::to_string(r + 1) + " " + name;
      ExpectValue(records[r].at(name), t.AsValue(name), where);
      ExpectReadings(t, name, field.at("type").get<std::string>()[0], records[r].at(name), where);
    }
  }
  EXPECT_EQ(r, records.size());
  t.Close();
}

std::string ParamName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(DbfSharedFixtures, DbfManifestFixture, ::testing::ValuesIn(FixtureKeys()), ParamName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DbfManifestFixture);

// The manifest and the folder agree: no fixture goes untested.
TEST(DbfManifest, ListsEveryFixtureFile) {
  ASSERT_TRUE(fs::exists(WritersDbfDir() / "MANIFEST.json")) << WritersDbfDir();
  std::vector<std::string> on_disk;
  for (const auto& dir : fs::directory_iterator(WritersDbfDir())) {
    if (!dir.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(dir.path())) {
      on_disk.push_back(dir.path().filename().string() + "/" + file.path().filename().string());
    }
  }
  std::sort(on_disk.begin(), on_disk.end());
  std::vector<std::string> keys = FixtureKeys();
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(on_disk, keys);
  EXPECT_GE(keys.size(), 27u);
}

// The damaged copies: what the fixtures' README asks of a careful reader.
TEST(DbfManifest, DamagedCopiesGetTheChosenOutcome) {
  const fs::path d = WritersDbfDir();
  for (const char* ok : {"edge-no-eof/SOLUC.DBF", "edge-trailing-garbage/SOLUC.DBF"}) {
    auto c = tables::dbf::ReadTable(d / ok);
    EXPECT_EQ(c.records.size(), 12u) << ok;
  }
  for (const char* cut : {"edge-truncated/SOLUC.DBF", "edge-truncated-mid/SOLUC.DBF"}) {
    try {
      tables::dbf::ReadTable(d / cut);
      ADD_FAILURE() << cut;
    } catch (const Error& e) {
      EXPECT_EQ(e.message(), "SOLUC.DBF: la cabecera indica 13 registros y el archivo tiene 8") << cut;
    }
  }
}

}  // namespace
}  // namespace velquior
