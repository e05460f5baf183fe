// The writer's bytes: the empty table byte for byte, the header stamp, the
// number forms, text into the field, and which tables take records.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "common/error.h"
#include "tables/dbf_format.h"
#include "tables/dbf_reader.h"
#include "tables/dbf_writer.h"
#include "tests/tables/dbf_test_util.h"

namespace velquior {
namespace {

namespace dbf = tables::dbf;
using tables::FieldType;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

TEST(DbfWriter, EmptyTableByteForByte) {
  const std::string got =
      dbf::EmptyTable({{"COD", FieldType::kText, 10}, {"dni", FieldType::kInteger, 0}, {"HORAS", FieldType::kFloat, 0}},
                      {2024, 9, 2}, "X.DBF");
  std::string want;
  want += Bytes({0x03, 124, 9, 2, 0, 0, 0, 0});  // version, 2024-09-02, no records
  want += Bytes({129, 0});                       // header: 32 + 3 * 32 + 1
  want += Bytes({41, 0});                        // record: 1 + 10 + 11 + 19
  want += std::string(17, '\0');
  want += Bytes({0x57, 0, 0});  // language driver: Windows-1252
  auto descriptor = [](std::string_view name, char type, int displacement, int width, int decimals) {
    std::string d(name);
    d.resize(11, '\0');
    d += type;
    d += Bytes({displacement, 0, 0, 0, width, decimals});
    d.resize(32, '\0');
    return d;
  };
  want += descriptor("COD", 'C', 1, 10, 0);
  want += descriptor("DNI", 'N', 11, 11, 0);
  want += descriptor("HORAS", 'N', 22, 19, 4);
  want += Bytes({0x0D, 0x1A});
  EXPECT_EQ(got, want);

  auto c = dbf::ReadTable(got, "X.DBF");
  EXPECT_EQ(c.records.size(), 0u);
  ASSERT_EQ(c.fields.size(), 3u);
  EXPECT_EQ(c.fields[1].name, "DNI");
}

TEST(DbfWriter, HeaderStampIsTheDateSince1900AndTheCount) {
  EXPECT_EQ(std::string(dbf::HeaderStamp({2024, 9, 2}, 0x01020304).data(), 7),
            Bytes({124, 9, 2, 0x04, 0x03, 0x02, 0x01}));
  EXPECT_EQ(std::string(dbf::HeaderStamp({1999, 12, 31}, 13).data(), 7), Bytes({99, 12, 31, 13, 0, 0, 0}));
}

TEST(DbfWriter, EmptyTableRefusesWhatDbaseIIIPlusCannotHold) {
  auto error = [](const std::vector<dbf::NewField>& fields) {
    try {
      dbf::EmptyTable(fields, {2024, 1, 1}, "X.DBF");
    } catch (const Error& e) {
      return std::string(e.message());
    }
    return std::string("(no error)");
  };
  const std::string p = "X.DBF: no se puede crear la tabla: ";
  EXPECT_EQ(error({}), p + "la tabla no tiene campos");
  EXPECT_EQ(error({{"1A", FieldType::kText, 1}}),
            p + "el nombre de campo '1A' no es válido (de 1 a 10 letras, cifras o '_', empezando por una letra)");
  EXPECT_EQ(error({{"", FieldType::kText, 1}}).substr(0, p.size() + 21), p + "el nombre de campo ''");
  EXPECT_EQ(error({{"A B", FieldType::kText, 1}}).substr(0, p.size() + 24), p + "el nombre de campo 'A B'");
  EXPECT_EQ(error({{"A", FieldType::kText, 0}}), p + "el campo A tiene anchura 0 y debe tener de 1 a 254");
  EXPECT_EQ(error({{"A", FieldType::kInteger, 0}, {"a", FieldType::kFloat, 0}}), p + "el campo A está repetido");
  std::vector<dbf::NewField> many;
  for (int i = 0; i < 129; ++i) many.push_back({"F" + std::to_string(i), FieldType::kText, 1});
  EXPECT_EQ(error(many), p + "tiene 129 campos y dBASE admite 128");
  std::vector<dbf::NewField> wide;
  for (int i = 0; i < 16; ++i) wide.push_back({"F" + std::to_string(i), FieldType::kText, 254});
  EXPECT_EQ(error(wide), p + "los registros ocuparían 4065 bytes y dBASE admite 4000");
  // The integer and float widths do not come from the definition.
  EXPECT_EQ(error({{"A", FieldType::kInteger, 500}}), "(no error)");
}

TEST(DbfWriter, FloatsInTheUsualFixedFormWhenExact) {
  EXPECT_EQ(dbf::FormatFloat(2.5, 19, 4), "             2.5000");
  EXPECT_EQ(dbf::FormatFloat(16, 19, 4), "            16.0000");
  EXPECT_EQ(dbf::FormatFloat(-0.0, 19, 4), "             0.0000");
  EXPECT_EQ(dbf::FormatFloat(-3.25, 19, 4), "            -3.2500");
  EXPECT_EQ(dbf::FormatFloat(0.1234, 19, 4), "             0.1234");
  EXPECT_EQ(dbf::FormatFloat(1.5, 5, 1), "  1.5");
  EXPECT_EQ(dbf::FormatFloat(100, 5, 1), "100.0");
}

TEST(DbfWriter, FloatsThatNeedMoreStayExact) {
  // More decimals than declared: the shortest fixed text, when it fits.
  EXPECT_EQ(dbf::FormatFloat(0.8333333333333334, 19, 4), " 0.8333333333333334");
  EXPECT_EQ(dbf::FormatFloat(0.1 + 0.2, 19, 4), "0.30000000000000004");
  EXPECT_EQ(dbf::FormatFloat(1e-10, 19, 4), "       0.0000000001");
  EXPECT_EQ(dbf::FormatFloat(123456789012345.6, 19, 4), "  123456789012345.6");
  EXPECT_EQ(dbf::FormatFloat(1.25, 4, 1), "1.25");
  // Else the exponent form.
  EXPECT_EQ(dbf::FormatFloat(1e20, 19, 4), "              1e+20");
  EXPECT_EQ(dbf::FormatFloat(-1e-300, 19, 4), "            -1e-300");
  EXPECT_EQ(dbf::FormatFloat(5e-324, 19, 4), "             5e-324");
  EXPECT_EQ(dbf::FormatFloat(1.7976931348623157e308, 19, 4), std::nullopt);  // 23 characters
  EXPECT_EQ(dbf::FormatFloat(1.2345678901234567e-300, 19, 4), std::nullopt);
  EXPECT_EQ(dbf::FormatFloat(1234.5, 5, 1), std::nullopt);
  EXPECT_EQ(dbf::FormatFloat(std::numeric_limits<double>::quiet_NaN(), 19, 4), std::nullopt);
  EXPECT_EQ(dbf::FormatFloat(std::numeric_limits<double>::infinity(), 19, 4), std::nullopt);
}

TEST(DbfWriter, EveryFormattedFloatReadsBackTheSameDouble) {
  std::uint64_t x = 88172645463325252ull;  // xorshift: doubles of every magnitude
  int checked = 0;
  for (int i = 0; i < 20000; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    double v = std::bit_cast<double>(x);
    if (i % 2) v = static_cast<double>(static_cast<std::int64_t>(x % 2000000) - 1000000) / 64.0;  // hours-like
    auto text = dbf::FormatFloat(v, 19, 4);
    if (!text) continue;
    ++checked;
    ASSERT_EQ(text->size(), 19u);
    testing::dbf::TableSpec s;
    s.fields = {{"N", 'N', 19, 4}};
    s.records = {testing::dbf::LiveRecord({*text})};
    auto c = dbf::ReadTable(testing::dbf::MakeTable(s), "T.DBF");
    ASSERT_EQ(std::get<double>(c.records[0][0]), v) << *text;
  }
  EXPECT_GT(checked, 10000);
}

TEST(DbfWriter, IntegersRightAligned) {
  EXPECT_EQ(dbf::FormatInteger(0, 11), "          0");
  EXPECT_EQ(dbf::FormatInteger(INT32_MIN, 11), "-2147483648");
  EXPECT_EQ(dbf::FormatInteger(INT32_MAX, 11), " 2147483647");
  EXPECT_EQ(dbf::FormatInteger(123, 2), std::nullopt);
  EXPECT_EQ(dbf::FormatInteger(-1, 2), "-1");
}

TEST(DbfWriter, TextIsCutPaddedAndPutInTheTablesCodePage) {
  char out[6];
  dbf::PutText(out, 6, "ab", text::CodePage::kWindows1252);
  EXPECT_EQ(std::string(out, 6), "ab    ");
  dbf::PutText(out, 6, "abcdefgh", text::CodePage::kWindows1252);
  EXPECT_EQ(std::string(out, 6), "abcdef");
  dbf::PutText(out, 6, " \xd1\xba\x80\xe9", text::CodePage::kWindows1252);
  EXPECT_EQ(std::string(out, 6), " \xd1\xba\x80\xe9 ");
  dbf::PutText(out, 6, " \xd1\xba\x80\xe9", text::CodePage::kIbm850);
  EXPECT_EQ(std::string(out, 6), " \xa5\xa7?\x82 ");  // € is not in 850
  dbf::PutText(out, 6, "\xf1\xd1", text::CodePage::kIbm437);
  EXPECT_EQ(std::string(out, 6), "\xa4\xa5    ");
}

TEST(DbfWriter, OnlyDbaseTablesOfTextAndNumbersTakeRecords) {
  testing::dbf::TableSpec s;
  s.fields = {{"A", 'C', 1}, {"N", 'N', 3}, {"F", 'F', 5, 1}};
  EXPECT_EQ(dbf::WhyNotWritable(dbf::ParseTable(testing::dbf::MakeTable(s), "T.DBF").layout), std::nullopt);
  s.fields.push_back({"D", 'D', 8});
  EXPECT_EQ(dbf::WhyNotWritable(dbf::ParseTable(testing::dbf::MakeTable(s), "T.DBF").layout),
            "no se pueden añadir registros a esta tabla: el campo D es de tipo D");
  s.fields = {{"A", 'C', 1}};
  s.version = 0x04;
  EXPECT_EQ(dbf::WhyNotWritable(dbf::ParseTable(testing::dbf::MakeTable(s), "T.DBF").layout),
            "no se pueden añadir registros a una tabla de este formato (byte de versión 0x04)");
}

TEST(DbfWriter, StoredFieldsOfTheLogicalTypes) {
  auto t = dbf::StoredField({"cod", FieldType::kText, 7});
  EXPECT_EQ(t.name, "COD");
  EXPECT_EQ(t.type, 'C');
  EXPECT_EQ(t.width, 7);
  auto i = dbf::StoredField({"DNI", FieldType::kInteger, 0});
  EXPECT_EQ(i.type, 'N');
  EXPECT_EQ(i.width, dbf::kIntegerWidth);
  EXPECT_EQ(i.decimals, 0);
  auto f = dbf::StoredField({"HORAS", FieldType::kFloat, 0});
  EXPECT_EQ(f.width, dbf::kFloatWidth);
  EXPECT_EQ(f.decimals, dbf::kFloatDecimals);
}

}  // namespace
}  // namespace velquior
