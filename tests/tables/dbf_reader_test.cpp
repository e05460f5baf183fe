// The reader on hand-made tables: what the independent writers' tables do not show.
// Visual FoxPro null flags and Varchar, level 7 binary types, FoxPro
// currency and date-time, memo fields, the code pages, the numeric text
// forms writers use, field placement by widths.

#include <gtest/gtest.h>

#include <cmath>

#include "common/error.h"
#include "tables/dbf_reader.h"
#include "tests/tables/dbf_test_util.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using tables::Null;
using tables::Value;
using tables::dbf::ReadTable;
using namespace testing::dbf;  // NOLINT: the helpers

using testing::ErrorOf;

bool IsNull(const Value& v) { return std::holds_alternative<Null>(v); }

TEST(DbfReader, VisualFoxProNullFlagsNumberNullableAndVarcharFieldsInOrder) {
  // Bits: B's null bit 0; V's length bit 1 then its null bit 2; D's null bit 3.
  TableSpec s;
  s.version = 0x30;
  s.language_driver = 0x03;
  s.backlink = 263;
  s.fields = {{"A", 'C', 3, 0, 0},
              {"B", 'I', 4, 0, 0x02},
              {"C", 'V', 5, 0, 0x02},
              {"D", 'B', 8, 0, 0x02},
              {"_NullFlags", '0', 1, 0, 0x05}};
  s.records = {
      LiveRecord({"AAA", Le32(99), std::string("ab\0\0\x02", 5), LeDouble(1.5), "\x03"}),           // B null, V "ab"
      LiveRecord({"BBB", Le32(7), "abcde", LeDouble(2.5), "\x04"}),                                 // C null
      LiveRecord({"CCC", Le32(static_cast<std::uint32_t>(-3)), "abcde", LeDouble(-0.25), "\x08"}),  // D null
      LiveRecord({"DDD", Le32(0), "x    ", LeDouble(0), std::string(1, '\0')}),                     // no nulls
  };
  s.eof_marker = false;
  auto c = ReadTable(MakeTable(s), "T.DBF");
  ASSERT_EQ(c.fields.size(), 4u);  // _NullFlags is no field
  EXPECT_EQ(c.layout.header_length, 32u + 5 * 32 + 1 + 263);
  ASSERT_EQ(c.records.size(), 4u);
  EXPECT_EQ(std::get<std::string>(c.records[0][0]), "AAA");
  EXPECT_TRUE(IsNull(c.records[0][1]));
  EXPECT_EQ(std::get<std::string>(c.records[0][2]), "ab");
  EXPECT_EQ(std::get<double>(c.records[0][3]), 1.5);
  EXPECT_EQ(std::get<std::int64_t>(c.records[1][1]), 7);
  EXPECT_TRUE(IsNull(c.records[1][2]));
  EXPECT_EQ(std::get<std::int64_t>(c.records[2][1]), -3);
  EXPECT_EQ(std::get<std::string>(c.records[2][2]), "abcde");
  EXPECT_TRUE(IsNull(c.records[2][3]));
  EXPECT_EQ(std::get<std::int64_t>(c.records[3][1]), 0);  // no blank state without the null flag
  EXPECT_EQ(std::get<std::string>(c.records[3][2]), "x");
  EXPECT_EQ(std::get<double>(c.records[3][3]), 0.0);
}

TEST(DbfReader, NullFlagsCountOnlyInVisualFoxPro) {
  // dBASE III: byte 18 is reserved and means nothing.
  TableSpec s;
  s.fields = {{"A", 'C', 2, 0, 0x02}, {"N", 'N', 3, 0, 0x02}};
  s.records = {LiveRecord({"ab", "  1"})};
  auto c = ReadTable(MakeTable(s), "T.DBF");
  EXPECT_EQ(std::get<std::string>(c.records[0][0]), "ab");
  EXPECT_EQ(std::get<std::int64_t>(c.records[0][1]), 1);
}

TEST(DbfReader, Level7BinaryTypes) {
  TableSpec s;
  s.version = 0x04;
  s.language_driver = 0x58;
  s.driver_name = "DBWINWE0";
  s.fields = {
      {"LONGNAME_OF_THIRTY_ONE_CHARACTER", 'I', 4}, {"O", 'O', 8}, {"AUTO", '+', 4}, {"TS", '@', 8}, {"N", 'N', 6, 2}};
  s.records = {
      LiveRecord({Sortable32(1), SortableDouble(2.5), Sortable32(1), Be64(0x42CCE1EC41FB6400ull), " -0.50"}),
      LiveRecord({Sortable32(-1), SortableDouble(-2.5), Sortable32(2), std::string(8, '\0'), "      "}),
      LiveRecord(
          {std::string(4, '\0'), std::string(8, '\0'), Sortable32(INT32_MIN + 1), std::string(8, '\0'), "  0.00"}),
      LiveRecord({Sortable32(0), SortableDouble(0.0), Sortable32(INT32_MAX), std::string(8, '\0'), "123.45"}),
  };
  auto c = ReadTable(MakeTable(s), "T.DBF");
  EXPECT_EQ(c.layout.header_length, 68u + 5 * 48 + 1);
  EXPECT_EQ(c.layout.flavour, tables::dbf::Flavour::kDbase7);
  EXPECT_EQ(c.fields[0].name, "LONGNAME_OF_THIRTY_ONE_CHARACTER");
  ASSERT_EQ(c.records.size(), 4u);
  EXPECT_EQ(std::get<std::int64_t>(c.records[0][0]), 1);
  EXPECT_EQ(std::get<double>(c.records[0][1]), 2.5);
  EXPECT_EQ(std::get<std::string>(c.records[0][3]), "20130827 19:12:13");
  EXPECT_EQ(std::get<double>(c.records[0][4]), -0.5);
  EXPECT_EQ(std::get<std::int64_t>(c.records[1][0]), -1);
  EXPECT_EQ(std::get<double>(c.records[1][1]), -2.5);
  EXPECT_TRUE(IsNull(c.records[1][3]));
  EXPECT_TRUE(IsNull(c.records[1][4]));
  EXPECT_TRUE(IsNull(c.records[2][0]));  // all zero bytes: blank
  EXPECT_TRUE(IsNull(c.records[2][1]));
  EXPECT_EQ(std::get<std::int64_t>(c.records[2][2]), INT32_MIN + 1);
  // INT32_MIN would be four zero bytes: in this layout the same as blank.
  EXPECT_EQ(Sortable32(INT32_MIN), std::string(4, '\0'));
  EXPECT_EQ(std::get<std::int64_t>(c.records[3][0]), 0);
  EXPECT_EQ(std::get<double>(c.records[3][1]), 0.0);
  EXPECT_EQ(std::get<std::int64_t>(c.records[3][2]), INT32_MAX);
  EXPECT_EQ(std::get<double>(c.records[3][4]), 123.45);
}

TEST(DbfReader, FoxProCurrencyDateTimeLogicalDateAndMemo) {
  TableSpec s;
  s.version = 0x30;
  s.backlink = 263;
  s.fields = {{"Y", 'Y', 8}, {"T", 'T', 8}, {"L", 'L', 1}, {"D", 'D', 8},
              {"M", 'M', 4}, {"G", 'G', 4}, {"P", 'P', 4}, {"B", 'B', 8}};
  const std::string jdn = Le32(2460556);  // 2024-09-02
  s.records = {
      LiveRecord({Le64(12345), jdn + Le32(3723000), "T", "20240902", Le32(1), Le32(2), Le32(3), LeDouble(16)}),
      LiveRecord({Le64(50000), std::string(8, '\0'), "f", "        ", Le32(0), Le32(0), Le32(0), LeDouble(-1)}),
      LiveRecord({Le64(static_cast<std::uint64_t>(-25000)), std::string(8, ' '), "?", "00000000", Le32(0), Le32(0),
                  Le32(0), LeDouble(0.5)}),
      LiveRecord({Le64(0), jdn + Le32(86399999), "y", "19991231", Le32(0), Le32(0), Le32(0), LeDouble(0)}),
      LiveRecord({Le64(0), jdn + Le32(0), " ", "20000101", Le32(0), Le32(0), Le32(0), LeDouble(0)}),
      LiveRecord({Le64(0), jdn + Le32(0), "N", "20000101", Le32(0), Le32(0), Le32(0), LeDouble(0)}),
  };
  auto c = ReadTable(MakeTable(s), "T.DBF");
  ASSERT_EQ(c.records.size(), 6u);
  EXPECT_EQ(std::get<double>(c.records[0][0]), 1.2345);
  EXPECT_EQ(std::get<std::string>(c.records[0][1]), "20240902 01:02:03");
  EXPECT_EQ(std::get<bool>(c.records[0][2]), true);
  EXPECT_EQ(std::get<std::string>(c.records[0][3]), "20240902");
  for (int m = 4; m <= 6; ++m) EXPECT_EQ(std::get<std::string>(c.records[0][m]), "");  // memo fields read empty
  EXPECT_EQ(std::get<double>(c.records[0][7]), 16.0);                                  // B is a double in Visual FoxPro
  EXPECT_EQ(std::get<std::int64_t>(c.records[1][0]), 5);                               // whole currency: integer
  EXPECT_TRUE(IsNull(c.records[1][1]));
  EXPECT_EQ(std::get<bool>(c.records[1][2]), false);
  EXPECT_TRUE(IsNull(c.records[1][3]));
  EXPECT_EQ(std::get<double>(c.records[1][7]), -1.0);
  EXPECT_EQ(std::get<double>(c.records[2][0]), -2.5);
  EXPECT_TRUE(IsNull(c.records[2][1]));
  EXPECT_TRUE(IsNull(c.records[2][2]));
  EXPECT_TRUE(IsNull(c.records[2][3]));
  EXPECT_EQ(std::get<std::string>(c.records[3][1]), "20240902 23:59:59");
  EXPECT_EQ(std::get<bool>(c.records[3][2]), true);
  EXPECT_TRUE(IsNull(c.records[4][2]));
  EXPECT_EQ(std::get<bool>(c.records[5][2]), false);
}

TEST(DbfReader, BInDbaseIsAMemo) {
  TableSpec s;
  s.version = 0x8B;  // dBASE IV with memo
  s.fields = {{"NOTA", 'B', 10}, {"M", 'M', 10}, {"C", 'C', 2}};
  s.records = {LiveRecord({"         1", "        12", "ok"})};
  auto c = ReadTable(MakeTable(s), "T.DBF");
  EXPECT_EQ(std::get<std::string>(c.records[0][0]), "");
  EXPECT_EQ(std::get<std::string>(c.records[0][1]), "");
  EXPECT_EQ(std::get<std::string>(c.records[0][2]), "ok");
}

TEST(DbfReader, TextComesToWindows1252FromTheDeclaredCodePage) {
  struct Case {
    std::uint8_t ldid;
    std::string stored;
    std::string ansi;
  } cases[] = {
      {0x01, "\xa4\xa5\x87", "\xf1\xd1\xe7"},  // 437: ñ Ñ ç
      {0x02, "\xa5\xa7\x90", "\xd1\xba\xc9"},  // 850: Ñ º É
      {0x14, "\xa5", "\xd1"},                  // 850, Spanish OEM
      {0x18, "\xa4", "\xf1"},                  // 437, Spanish OEM
      {0x03, "\xd1\x80", "\xd1\x80"},          // 1252 as FoxPro marks it
      {0x57, "\xd1\x80", "\xd1\x80"},          // 1252 as dBASE marks it
      {0x00, "\xd1", "\xd1"},                  // undeclared: 1252
      {0xC8, "\xd1", "\xd1"},                  // a code page we do not convert: as 1252
      {0x02, "\xb0\xb1", "??"},                // 850 box drawing: no 1252 character
  };
  for (const auto& k : cases) {
    TableSpec s;
    s.language_driver = k.ldid;
    s.fields = {{"T", 'C', 3}};
    s.records = {LiveRecord({Padded(k.stored, 3)})};
    auto c = ReadTable(MakeTable(s), "T.DBF");
    EXPECT_EQ(std::get<std::string>(c.records[0][0]), k.ansi) << static_cast<int>(k.ldid);
    EXPECT_EQ(c.layout.code_page_declared, k.ldid != 0);
  }
  // Level 7 names its driver: the name decides when the byte is not known.
  TableSpec s;
  s.version = 0x04;
  s.language_driver = 0;
  s.driver_name = "DB850ES0";
  s.fields = {{"T", 'C', 1}};
  s.records = {LiveRecord({"\xa5"})};
  EXPECT_EQ(std::get<std::string>(ReadTable(MakeTable(s), "T.DBF").records[0][0]), "\xd1");
}

TEST(DbfReader, NumericTextInTheFormsWritersUse) {
  struct Case {
    char type;
    int width, decimals;
    std::string stored;
    Value want;
  } cases[] = {
      {'N', 5, 1, "  1.5", 1.5},
      {'N', 5, 1, "*****", Null{}},
      {'N', 5, 1, "     ", Null{}},
      {'N', 5, 1, std::string(5, '\0'), Null{}},
      {'N', 5, 1, "  1,5", 1.5},
      {'N', 5, 1, "1.5  ", 1.5},
      {'N', 3, 0, " +3", std::int64_t{3}},
      {'N', 3, 0, " -3", std::int64_t{-3}},
      {'N', 3, 0, "2.0", std::int64_t{2}},
      {'N', 3, 0, "2.5", 2.5},
      {'N', 3, 0, " .5", 0.5},
      {'N', 3, 0, " 5.", std::int64_t{5}},
      {'N', 7, 1, "1.5E+02", 150.0},
      {'N', 20, 0, "99999999999999999999", 1e20},
      {'N', 11, 0, "-2147483648", std::int64_t{INT32_MIN}},
      {'F', 5, 0, "    3", 3.0},  // F is always a float
      {'F', 6, 2, "  2.50", 2.5},
      {'N', 19, 4, "             2.5000", 2.5},
      {'N', 19, 4, "              1e+20", 1e20},
  };
  for (const auto& k : cases) {
    TableSpec s;
    s.fields = {{"N", k.type, k.width, k.decimals}};
    s.records = {LiveRecord({k.stored})};
    auto c = ReadTable(MakeTable(s), "T.DBF");
    EXPECT_EQ(c.records[0][0], k.want) << "'" << k.stored << "' got " << Show(c.records[0][0]);
  }
  for (const std::string bad : {"1-2", "--1", "1e", "inf", "nan", "0x10", "1.2.3", ".", "-", "1 2", "e5"}) {
    TableSpec s;
    s.fields = {{"N", 'N', 5, 0}};
    s.records = {LiveRecord({RightAligned(bad, 5)})};
    EXPECT_EQ(ErrorOf([&] { ReadTable(MakeTable(s), "T.DBF"); }),
              "T.DBF: el registro 1 tiene en el campo N un valor no válido: '" + bad + "'");
  }
}

TEST(DbfReader, FieldsArePlacedByAddingUpWidths) {
  TableSpec s;
  s.fields = {{"A", 'C', 2}, {"B", 'N', 3}, {"C", 'C', 4}};
  s.records = {LiveRecord({"ab", " 12", "cdef"})};
  std::string bytes = MakeTable(s);
  // Displacement bytes as the writers disagree on them: garbage here.
  for (int f = 0; f < 3; ++f) PutLe32(bytes, 32 + 32 * f + 12, 0xDEADBEEF + f);
  auto c = ReadTable(bytes, "T.DBF");
  EXPECT_EQ(std::get<std::string>(c.records[0][0]), "ab");
  EXPECT_EQ(std::get<std::int64_t>(c.records[0][1]), 12);
  EXPECT_EQ(std::get<std::string>(c.records[0][2]), "cdef");
}

TEST(DbfReader, LongerRecordsThanTheFieldsNeedAreFine) {
  TableSpec s;
  s.fields = {{"A", 'C', 2}};
  s.records = {LiveRecord({"ab", "pad"}), LiveRecord({"cd", "pad"})};
  std::string bytes = MakeTable(s);
  PutLe16(bytes, 10, 6);  // 1 + 2 + 3 padding bytes
  auto c = ReadTable(bytes, "T.DBF");
  ASSERT_EQ(c.records.size(), 2u);
  EXPECT_EQ(std::get<std::string>(c.records[1][0]), "cd");
}

TEST(DbfReader, LongCharacterFieldsKeepTheHighByteInDecimals) {
  TableSpec s;
  s.fields = {{"LARGO", 'C', 300}};
  s.records = {LiveRecord({Padded(std::string(299, 'x') + "y", 300)})};
  auto c = ReadTable(MakeTable(s), "T.DBF");
  EXPECT_EQ(c.fields[0].width, 300);
  EXPECT_EQ(c.fields[0].decimals, 0);
  EXPECT_EQ(std::get<std::string>(c.records[0][0]).size(), 300u);
}

TEST(DbfReader, TextKeepsLeadingBlanksAndLosesTrailingBlanksAndNuls) {
  TableSpec s;
  s.fields = {{"A", 'C', 6}};
  s.records = {LiveRecord({" 4D   "}), LiveRecord({std::string("ab\0\0\0\0", 6)}), LiveRecord({"      "})};
  auto c = ReadTable(MakeTable(s), "T.DBF");
  EXPECT_EQ(std::get<std::string>(c.records[0][0]), " 4D");
  EXPECT_EQ(std::get<std::string>(c.records[1][0]), "ab");
  EXPECT_EQ(std::get<std::string>(c.records[2][0]), "");
}

TEST(DbfReader, FieldNamesMatchWithoutRegardToCaseTheExactOneFirst) {
  TableSpec s;
  s.fields = {{"dia", 'C', 1}, {"DIA", 'C', 1}, {"Hora ", 'C', 1}};  // a writer that pads names with blanks
  s.records = {LiveRecord({"a", "b", "c"})};
  auto c = ReadTable(MakeTable(s), "T.DBF");
  EXPECT_EQ(c.fields[2].name, "Hora");
  EXPECT_EQ(tables::dbf::FindField(c.layout, "DIA"), 1u);
  EXPECT_EQ(tables::dbf::FindField(c.layout, "Dia"), 0u);
  EXPECT_EQ(tables::dbf::FindField(c.layout, "HORA"), 2u);
  EXPECT_FALSE(tables::dbf::FindField(c.layout, "HOR"));
}

TEST(DbfReader, VersionBytesOfEveryDbaseFlavour) {
  for (std::uint8_t v : {0x03, 0x05, 0x43, 0x63, 0x7B, 0x83, 0x8B, 0xCB, 0xE5, 0xF5, 0xFB, 0x30, 0x31, 0x32}) {
    TableSpec s;
    s.version = v;
    s.fields = {{"A", 'C', 1}};
    s.records = {LiveRecord({"x"}), DeletedRecord({"y"})};
    auto c = ReadTable(MakeTable(s), "T.DBF");
    ASSERT_EQ(c.records.size(), 1u) << static_cast<int>(v);
    EXPECT_EQ(std::get<std::string>(c.records[0][0]), "x");
  }
}

}  // namespace
}  // namespace velquior
