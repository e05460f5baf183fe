// The dump command on tables as other programs write them: it shows what the
// file holds where the conversions would refuse or convert.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/dump.h"
#include "common/error.h"
#include "tests/tables/dbf_test_util.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

namespace fs = std::filesystem;
using namespace testing::dbf;  // NOLINT: the helpers

struct Dumped {
  std::string json, plain, err;
};

Dumped Dump(const fs::path& file) {
  Dumped d;
  std::ostringstream json, plain, err_json, err_plain;
  cli::DumpJson(file, json, err_json);
  cli::DumpPlain(file, plain, err_plain);
  EXPECT_EQ(err_json.str(), err_plain.str());
  return {json.str(), plain.str(), err_json.str()};
}

Dumped Dump(const TableSpec& s) {
  testing::TempDir dir;
  testing::WriteFile(dir / "T.DBF", MakeTable(s));
  return Dump(dir / "T.DBF");
}

TEST(Dump, EveryFieldOfARepeatedNameWithKeysThatStayUnique) {
  struct Case {
    std::vector<std::string> names;
    std::string fields, record;
  } cases[] = {
      {{"NAME", "NAME"}, R"({"name": "NAME_2")", R"({"NAME": "a", "NAME_2": "b"})"},
      {{"NAME", "NAME", "NAME"}, R"("name": "NAME_3")", R"({"NAME": "a", "NAME_2": "b", "NAME_3": "c"})"},
      // A field of that name already: the next number.
      {{"NAME", "NAME", "NAME_2"}, R"("name": "NAME_3")", R"({"NAME": "a", "NAME_3": "b", "NAME_2": "c"})"},
      {{"dia", "DIA"}, R"("name": "DIA")", R"({"dia": "a", "DIA": "b"})"},  // keys differ already
  };
  for (const auto& k : cases) {
    TableSpec s;
    std::string record;
    for (std::size_t i = 0; i < k.names.size(); ++i) {
      s.fields.push_back({k.names[i], 'C', 1});
      record += static_cast<char>('a' + i);
    }
    s.records = {LiveRecord({record})};
    Dumped d = Dump(s);
    EXPECT_NE(d.json.find(k.fields), std::string::npos) << d.json;
    EXPECT_NE(d.json.find(k.record), std::string::npos) << d.json;
    EXPECT_EQ(d.err, "");
  }
}

TEST(Dump, TextComesFromTheDeclaredCodePage) {
  struct Case {
    std::uint8_t ldid;
    std::string name, value;  // as stored
    std::string shown_name, shown_value;
  } cases[] = {
      {0xC9, "\xc8\xcc\xdf", "\xcf\xf0\xe8", "\xD0\x98\xD0\x9C\xD0\xAF", "\xD0\x9F\xD1\x80\xD0\xB8"},  // 1251
      {0x65, "N", "\x8f\xe0\xa8", "N", "\xD0\x9F\xD1\x80\xD0\xB8"},                                    // 866
      {0xC8, "N", "\xb9\x8a", "N", "\xC4\x85\xC5\xA0"},                                                // 1250
      {0x64, "N", "\xa5\x9f", "N", "\xC4\x85\xC4\x8D"},                                                // 852
      {0x7C, "N", "\xa1", "N", "\xE0\xB8\x81"},                                                        // 874
      {0x7A, "N", "\xd6\xd0", "N", "\xE4\xB8\xAD"},                                                    // 936
      {0x02, "N", "\xa5\xb0", "N", "\xC3\x91\xE2\x96\x91"},  // 850: no question mark for a box
      {0x57, "N", "\xd1\x80", "N", "\xC3\x91\xE2\x82\xAC"},  // 1252
  };
  for (const auto& k : cases) {
    TableSpec s;
    s.language_driver = k.ldid;
    s.fields = {{k.name, 'C', 4}};
    s.records = {LiveRecord({Padded(k.value, 4)})};
    Dumped d = Dump(s);
    EXPECT_NE(d.json.find("{\"" + k.shown_name + "\": \"" + k.shown_value + "\"}"), std::string::npos)
        << static_cast<int>(k.ldid) << ": " << d.json;
    EXPECT_NE(d.plain.find(k.shown_value), std::string::npos) << d.plain;
  }
}

TEST(Dump, AValueThatIsNotValidShowsAsItsText) {
  TableSpec s;
  s.fields = {{"L", 'L', 1}, {"N", 'N', 8, 2}, {"C", 'C', 3}};
  s.records = {LiveRecord({"1", "1,200.00", "abc"}), LiveRecord({"T", "    1.50", "def"})};
  Dumped d = Dump(s);
  EXPECT_NE(d.json.find(R"({"L": "1", "N": "1,200.00", "C": "abc"}, {"L": true, "N": 1.5, "C": "def"})"),
            std::string::npos)
      << d.json;
  EXPECT_NE(d.plain.find("1    | 1,200.00 | abc"), std::string::npos) << d.plain;
}

TEST(Dump, AFileCutShortShowsItsRecordsAndSaysWhatTheHeaderPromised) {
  const fs::path fixtures = fs::path(VELQUIOR_TEST_FIXTURES);
  struct Case {
    fs::path file;
    std::size_t records;
    std::string err;
  } cases[] = {
      {fixtures / "dbf" / "count-too-big" / "SOLUC.DBF", 12,
       "Aviso: SOLUC.DBF: la cabecera indica 1000 registros y el archivo solo tiene 13 completos; se muestran "
       "esos\n"},
      {fixtures / "dbf-writers" / "edge-truncated-mid" / "SOLUC.DBF", 7,
       "Aviso: SOLUC.DBF: la cabecera indica 13 registros y el archivo solo tiene 8 completos; se muestran esos\n"},
      {fixtures / "dbf-writers" / "dbf3-pydbf-n51" / "SOLUC.DBF", 12, ""},
  };
  for (const auto& k : cases) {
    Dumped d = Dump(k.file);
    EXPECT_EQ(d.err, k.err);
    EXPECT_NE(d.plain.find("SOLUC.DBF: 7 campos, " + std::to_string(k.records) + " registros\n"), std::string::npos)
        << d.plain;
  }
}

TEST(Dump, DamagedTablesAreStillRefused) {
  const fs::path dir = fs::path(VELQUIOR_TEST_FIXTURES) / "dbf";
  for (const char* folder : {"bad-version", "bad-flag", "unknown-type", "no-terminator"}) {
    std::ostringstream out, err;
    try {
      cli::DumpJson(dir / folder / "SOLUC.DBF", out, err);
      ADD_FAILURE() << folder;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.message()).rfind("SOLUC.DBF: ", 0), 0u) << e.message();
    }
  }
}

}  // namespace
}  // namespace velquior
