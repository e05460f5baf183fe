// Tables as other programs really write them: a field list ended by a line
// feed, 0x00 for a live record, decimals on character fields, a bad value in
// a field nobody reads, a code page of another script, a file cut short.

#include <gtest/gtest.h>

#include "common/error.h"
#include "tables/dbf_reader.h"
#include "tables/table.h"
#include "tests/tables/dbf_test_util.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

namespace dbf = tables::dbf;
using tables::Value;
using namespace testing::dbf;  // NOLINT: the helpers

using testing::ErrorOf;

// Where the terminator of MakeTable's field list is.
std::size_t TerminatorAt(const TableSpec& s) { return 32 + 32 * s.fields.size(); }

TEST(DbfQuirks, FieldListEndedByALineFeedWhereTheHeaderLengthSaysItEnds) {
  struct Case {
    std::uint8_t version;
    std::size_t backlink;
    std::string outcome;  // "" reads
  } cases[] = {
      {0x03, 0, ""},
      {0x30, 263, ""},  // Visual FoxPro: the backlink area follows
      {0x03, 1, "T.DBF: la lista de campos no termina dentro de la cabecera"},    // a byte more: no end there
      {0x03, 263, "T.DBF: la lista de campos no termina dentro de la cabecera"},  // only Visual FoxPro has one
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(static_cast<int>(k.version) * 1000 + static_cast<int>(k.backlink));
    TableSpec s;
    s.version = k.version;
    s.backlink = k.backlink;
    s.fields = {{"A", 'C', 2}, {"N", 'N', 3}};
    s.records = {LiveRecord({"ab", " 12"})};
    std::string bytes = MakeTable(s);
    bytes[TerminatorAt(s)] = '\x0A';
    if (!k.outcome.empty()) {
      EXPECT_EQ(ErrorOf([&] { dbf::ReadTable(bytes, "T.DBF"); }), k.outcome);
      continue;
    }
    auto c = dbf::ReadTable(bytes, "T.DBF");
    ASSERT_EQ(c.fields.size(), 2u);
    ASSERT_EQ(c.records.size(), 1u);
    EXPECT_EQ(std::get<std::string>(c.records[0][0]), "ab");
    EXPECT_EQ(std::get<std::int64_t>(c.records[0][1]), 12);
  }
}

TEST(DbfQuirks, DeletionFlags) {
  TableSpec s;
  s.fields = {{"A", 'C', 1}};
  s.records = {LiveRecord({"a"}), std::string("\0b", 2), DeletedRecord({"c"}), std::string("\0d", 2)};
  const std::string bytes = MakeTable(s);
  auto c = dbf::ReadTable(bytes, "T.DBF");
  ASSERT_EQ(c.records.size(), 3u);  // 0x00 is live, as ' '
  EXPECT_EQ(std::get<std::string>(c.records[1][0]), "b");
  EXPECT_EQ(std::get<std::string>(c.records[2][0]), "d");

  testing::TempDir dir;
  testing::WriteFile(dir / "T.DBF", bytes);
  tables::Table t(dir.path(), "T");
  t.Open();
  EXPECT_EQ(t.RecordCount(), 3u);
  std::string seen;
  for (t.First(); !t.Eof(); t.Next()) seen += t.AsText("A");
  EXPECT_EQ(seen, "abd");

  for (char flag : {'X', '\x1A', '\x01'}) {
    std::string bad = bytes;
    bad[32 + 32 + 1 + 2] = flag;  // the second record
    EXPECT_NE(ErrorOf([&] { dbf::ReadTable(bad, "T.DBF"); }).find("el registro 2 tiene una marca de borrado no"),
              std::string::npos)
        << static_cast<int>(flag);
  }
}

TEST(DbfQuirks, CharacterFieldDecimalsAreAWidthsHighByteOnlyWhereTheRecordLengthSaysSo) {
  struct Case {
    int low_width;
    int decimals_byte;
    std::size_t record_length;  // as the header gives it
    int width, decimals;        // as read; width 0: refused
  } cases[] = {
      {100, 2, 121, 100, 2},  // a spreadsheet's C(100) with 2 decimals beside N(20): 633 if wide
      {44, 1, 321, 300, 0},   // C(300) of FoxPro: fills the record only when wide
      {44, 1, 70, 44, 1},     // wide would not fit: narrow, the record has room
      {44, 1, 330, 44, 1},    // wide leaves bytes over: not taken
      {100, 2, 110, 0, 0},    // neither fits
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::to_string(k.low_width) + "/" + std::to_string(k.decimals_byte) + " in " +
                 std::to_string(k.record_length));
    TableSpec s;
    s.fields = {{"T", 'C', k.low_width}, {"N", 'N', 20}};
    std::string record =
        LiveRecord({std::string(static_cast<std::size_t>(k.low_width - 1), 'x') + "y", RightAligned("7", 20)});
    record.resize(k.record_length, ' ');
    s.records = {record};
    std::string bytes = MakeTable(s);
    bytes[32 + 17] = static_cast<char>(k.decimals_byte);
    PutLe16(bytes, 10, static_cast<std::uint16_t>(k.record_length));
    if (k.width == 0) {
      EXPECT_EQ(ErrorOf([&] { dbf::ReadTable(bytes, "T.DBF"); }),
                "T.DBF: la cabecera indica registros de 110 bytes y sus campos, con la marca de borrado, ocupan "
                "121");
      continue;
    }
    auto c = dbf::ReadTable(bytes, "T.DBF");
    EXPECT_EQ(c.fields[0].width, k.width);
    EXPECT_EQ(c.fields[0].decimals, k.decimals);
    EXPECT_EQ(c.layout.fields[1].offset, 1u + static_cast<std::size_t>(k.width));
    if (k.width == k.low_width) {
      EXPECT_EQ(std::get<std::string>(c.records[0][0]), std::string(k.low_width - 1, 'x') + "y");
      EXPECT_EQ(std::get<std::int64_t>(c.records[0][1]), 7);
    }
  }
}

TEST(DbfQuirks, ABadValueIsAnErrorOnlyWhenItIsRead) {
  TableSpec s;
  s.fields = {{"L", 'L', 1}, {"N", 'N', 8, 2}, {"C", 'C', 3}};
  s.records = {LiveRecord({"1", "1,200.00", "abc"}), LiveRecord({"T", "    1.50", "def"})};
  const std::string bytes = MakeTable(s);

  testing::TempDir dir;
  testing::WriteFile(dir / "T.DBF", bytes);
  tables::Table t(dir.path(), "T");
  t.Open();
  EXPECT_EQ(t.AsText("C"), "abc");
  EXPECT_EQ(ErrorOf([&] { t.AsText("L"); }), "T.DBF: el registro 1 tiene en el campo L un valor no válido: '1'");
  EXPECT_EQ(ErrorOf([&] { t.AsFloat("N"); }),
            "T.DBF: el registro 1 tiene en el campo N un valor no válido: '1,200.00'");
  t.Next();
  EXPECT_EQ(t.AsFloat("N"), 1.5);
  EXPECT_EQ(t.AsText("L"), "True");

  // Read for showing: the text that is there.
  dbf::ReadOptions shown;
  shown.values.invalid_as_text = true;
  auto c = dbf::ReadTable(bytes, "T.DBF", shown);
  EXPECT_EQ(c.records[0][0], Value(std::string("1")));
  EXPECT_EQ(c.records[0][1], Value(std::string("1,200.00")));
  EXPECT_EQ(c.records[1][1], Value(1.5));
  // Read for converting, everything at once: refused.
  EXPECT_EQ(ErrorOf([&] { dbf::ReadTable(bytes, "T.DBF"); }),
            "T.DBF: el registro 1 tiene en el campo L un valor no válido: '1'");
}

TEST(DbfQuirks, BinaryValuesThatAreNotValidShowInHexadecimal) {
  TableSpec s;
  s.version = 0x30;
  s.backlink = 263;
  s.fields = {{"T", 'T', 8}};
  s.records = {LiveRecord({Le32(2460556) + Le32(86400000)})};  // a day's milliseconds: one too many
  dbf::ReadOptions shown;
  shown.values.invalid_as_text = true;
  auto c = dbf::ReadTable(MakeTable(s), "T.DBF", shown);
  EXPECT_EQ(c.records[0][0], Value(std::string("8C8B2500005C2605")));
}

TEST(DbfQuirks, ARepeatedFieldNameReadsTheFirst) {
  TableSpec s;
  s.fields = {{"NAME", 'C', 1}, {"NAME", 'C', 1}, {"name", 'C', 1}};
  s.records = {LiveRecord({"a", "b", "c"})};
  const std::string bytes = MakeTable(s);
  auto c = dbf::ReadTable(bytes, "T.DBF");
  ASSERT_EQ(c.records[0].size(), 3u);  // every field is there
  EXPECT_EQ(c.records[0][1], Value(std::string("b")));
  EXPECT_EQ(dbf::FindField(c.layout, "NAME"), 0u);
  testing::TempDir dir;
  testing::WriteFile(dir / "T.DBF", bytes);
  tables::Table t(dir.path(), "T");
  t.Open();
  EXPECT_EQ(t.AsText("NAME"), "a");
  EXPECT_EQ(t.AsText("name"), "c");
}

TEST(DbfQuirks, DeclaredCodePages) {
  using text::CodePage;
  struct Case {
    std::uint8_t ldid;
    std::string driver_name;
    int declared;
    CodePage converted;  // what the conversions read
  } cases[] = {
      {0x00, "", 0, CodePage::kWindows1252},
      {0x03, "", 1252, CodePage::kWindows1252},
      {0x57, "", 1252, CodePage::kWindows1252},
      {0x01, "", 437, CodePage::kIbm437},
      {0x02, "", 850, CodePage::kIbm850},
      {0x64, "", 852, CodePage::kWindows1252},
      {0x65, "", 866, CodePage::kWindows1252},
      {0x26, "", 866, CodePage::kWindows1252},
      {0x7C, "", 874, CodePage::kWindows1252},
      {0x7A, "", 936, CodePage::kWindows1252},
      {0xC8, "", 1250, CodePage::kWindows1252},
      {0xC9, "", 1251, CodePage::kWindows1252},
      {0xFE, "", 0, CodePage::kWindows1252},
      {0x00, "DB866RU0", 866, CodePage::kWindows1252},
      {0x00, "DBWINWE0", 1252, CodePage::kWindows1252},
      {0x00, "DB850ES0", 850, CodePage::kIbm850},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::to_string(k.ldid) + " " + k.driver_name);
    EXPECT_EQ(dbf::DeclaredCodePage(k.ldid, k.driver_name), k.declared);
    EXPECT_EQ(dbf::CodePageOf(k.ldid, k.driver_name, nullptr), k.converted);
  }
}

TEST(DbfQuirks, TextAsStoredOrAsTheConversionsReadIt) {
  struct Case {
    std::uint8_t ldid;
    std::string stored;
    std::string converted;
  } cases[] = {
      {0xC9, "\xcf\xf0\xe8", "\xcf\xf0\xe8"},  // 1251: the conversions read Windows-1252, as before
      {0x02, "\xa5", "\xd1"},                  // 850: converted for them
  };
  for (const auto& k : cases) {
    TableSpec s;
    s.language_driver = k.ldid;
    s.fields = {{k.stored, 'C', 3}};
    s.records = {LiveRecord({Padded(k.stored, 3)})};
    const std::string bytes = MakeTable(s);
    dbf::ReadOptions stored;
    stored.values.stored_text = true;
    auto c = dbf::ReadTable(bytes, "T.DBF", stored);
    EXPECT_EQ(c.records[0][0], Value(k.stored));
    EXPECT_EQ(c.layout.fields[0].stored_name, k.stored);
    c = dbf::ReadTable(bytes, "T.DBF");
    EXPECT_EQ(c.records[0][0], Value(k.converted));
    EXPECT_EQ(c.fields[0].name, k.converted);
  }
}

TEST(DbfQuirks, AFileCutShortReadsItsCompleteRecordsOnlyWhenAskedTo) {
  const std::string good = testing::ReadFile(WritersDbfDir() / "dbf3-pydbf-n51" / "SOLUC.DBF");
  struct Case {
    std::size_t size;
    std::uint32_t count;
    std::uint32_t present;
    std::size_t live;
  } cases[] = {
      {947, 1000, 13, 12},            // the header promises more
      {257 + 8 * 53, 13, 8, 7},       // cut after record 8 (the 7th is deleted)
      {257 + 8 * 53 + 20, 13, 8, 7},  // and half of record 9
      {257, 13, 0, 0},
      {947, 13, 13, 12},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::to_string(k.size) + " " + std::to_string(k.count));
    std::string bytes = good.substr(0, k.size);
    PutLe32(bytes, 4, k.count);
    dbf::ReadOptions present;
    present.short_file = dbf::ShortFile::kReadPresent;
    auto c = dbf::ReadTable(bytes, "SOLUC.DBF", present);
    EXPECT_EQ(c.layout.record_count, k.count);
    EXPECT_EQ(c.records_present, k.present);
    EXPECT_EQ(c.records.size(), k.live);
    if (k.present < k.count) {
      EXPECT_EQ(ErrorOf([&] { dbf::ParseTable(bytes, "SOLUC.DBF"); }),
                "SOLUC.DBF: la cabecera indica " + std::to_string(k.count) + " registros y el archivo tiene " +
                    std::to_string(k.present));
    }
  }
}

}  // namespace
}  // namespace velquior
