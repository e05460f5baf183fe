// The table engine's contract with its callers: define and create, open and close with their locks,
// append/set/post, first/next/eof, reading fields as text, integer and
// floating point, the error texts.

#include <gtest/gtest.h>

#include <cmath>

#include "common/error.h"
#include "tables/catalog.h"
#include "tables/dbf_reader.h"
#include "tables/dbf_writer.h"
#include "tables/form_tables.h"
#include "tables/table.h"
#include "tests/tables/dbf_test_util.h"
#include "tests/tables/table_contract.h"
#include "tests/test_util.h"
#include "text/numbers.h"

namespace velquior {
namespace {

namespace fs = std::filesystem;
using tables::FieldDef;
using tables::FieldType;
using tables::Table;
using tables::Value;
using testing::ReadFile;
using testing::TempDir;

using testing::AddRow;
using testing::CreateSoluc;
using testing::ErrorOf;
using testing::TableContract;

// 1. Define and create.

TEST_F(TableContract, CreateWritesAnEmptyTableUnderTheUpperCaseName) {
  TempDir d;
  CreateSoluc(d.path(), "soluc.dbf");
  EXPECT_EQ(testing::ListDir(d.path()), std::vector<std::string>{"SOLUC.DBF"});
  auto c = tables::dbf::ReadTable(d / "SOLUC.DBF");
  EXPECT_EQ(c.records.size(), 0u);
  ASSERT_EQ(c.fields.size(), 5u);
  EXPECT_EQ(c.fields[1].name, "PROF");
  EXPECT_EQ(c.fields[1].width, 5);
  EXPECT_EQ(c.fields[3].type, 'N');
  EXPECT_EQ(c.fields[3].width, 11);
  EXPECT_EQ(c.fields[3].decimals, 0);
  EXPECT_EQ(c.fields[4].width, 19);
  EXPECT_EQ(c.fields[4].decimals, 4);
  const std::string bytes = ReadFile(d / "SOLUC.DBF");
  EXPECT_EQ(bytes[0], '\x03');
  EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x57);
  EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(TableContract, CreateReplacesAnExistingTableAndClearFieldsStartsOver) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  AddRow(t, "1A", "1", 2);
  t.Close();
  t.ClearFields();
  t.AddField({"SOLO", FieldType::kText, 3});
  t.CreateTable();
  t.Open();
  EXPECT_EQ(t.RecordCount(), 0u);
  ASSERT_EQ(t.Fields().size(), 1u);
  EXPECT_EQ(t.Fields()[0].name, "SOLO");
}

TEST_F(TableContract, CreateRefusesWhatDbaseCannotHold) {
  Table t(dir_.path(), "X");
  EXPECT_EQ(ErrorOf([&] { t.CreateTable(); }), "X.DBF: no se puede crear la tabla: la tabla no tiene campos");
  t.AddField({"NOMBRELARGO", FieldType::kText, 3});
  EXPECT_EQ(ErrorOf([&] { t.CreateTable(); }),
            "X.DBF: no se puede crear la tabla: el nombre de campo 'NOMBRELARGO' no es válido (de 1 a 10 letras, "
            "cifras o '_', empezando por una letra)");
  t.ClearFields();
  t.AddField({"A", FieldType::kText, 255});
  EXPECT_EQ(ErrorOf([&] { t.CreateTable(); }),
            "X.DBF: no se puede crear la tabla: el campo A tiene anchura 255 y debe tener de 1 a 254");
  t.ClearFields();
  t.AddField({"A", FieldType::kText, 1});
  t.AddField({"a", FieldType::kInteger});
  EXPECT_EQ(ErrorOf([&] { t.CreateTable(); }), "X.DBF: no se puede crear la tabla: el campo A está repetido");
  EXPECT_FALSE(fs::exists(dir_ / "X.DBF"));
}

TEST_F(TableContract, CreateInAMissingDirectoryNamesIt) {
  Table t(dir_ / "nada", "SOLUC");
  t.AddField({"A", FieldType::kText, 1});
  EXPECT_EQ(ErrorOf([&] { t.CreateTable(); }),
            "SOLUC.DBF: no se puede crear la tabla: no existe el directorio " + (dir_ / "nada").string());
}

TEST_F(TableContract, RecreateTableRemovesEveryCaseVariantAndTheIndex) {
  TempDir d;
  testing::WriteFile(d / "asigt.dbf", "old");
  testing::WriteFile(d / "Asigt.DBF", "old");
  testing::WriteFile(d / "ASIGT.mdx", "old index");
  testing::WriteFile(d / "OTRA.DBF", "other");
  catalog::RecreateTable(d.path(), catalog::kAsigt);
  EXPECT_EQ(testing::ListDir(d.path()), (std::vector<std::string>{"ASIGT.DBF", "OTRA.DBF"}));
  auto c = tables::dbf::ReadTable(d / "ASIGT.DBF");
  ASSERT_EQ(c.fields.size(), catalog::kAsigt.fields.size());
  for (std::size_t i = 0; i < c.fields.size(); ++i) EXPECT_EQ(c.fields[i].name, catalog::kAsigt.fields[i].name);
  EXPECT_EQ(c.fields[8].name, "HORAS");
  EXPECT_EQ(c.fields[8].decimals, 4);
}

TEST_F(TableContract, RecreateTableRefusesATableHeldOpen) {
  TempDir d;
  catalog::RecreateTable(d.path(), catalog::kProft);
  tables::FormTables components(d.path());
  components.wwTableProfesor.Open();
  EXPECT_EQ(ErrorOf([&] { catalog::RecreateTable(d.path(), catalog::kProft); }),
            "PROFT.DBF: la tabla está abierta en exclusiva por otro programa");
  EXPECT_TRUE(fs::exists(d / "PROFT.DBF"));
  components.wwTableProfesor.Close();
  catalog::RecreateTable(d.path(), catalog::kProft);
}

TEST_F(TableContract, CreateRefusesToReplaceATableHeldOpen) {
  Table reader(dir_.path(), "SOLUC");
  reader.Open();
  Table creator(dir_.path(), "SOLUC");
  creator.AddField({"A", FieldType::kText, 1});
  EXPECT_EQ(ErrorOf([&] { creator.CreateTable(); }), "SOLUC.DBF: la tabla está abierta en exclusiva por otro programa");
}

// 2. Open and close.

TEST_F(TableContract, OpeningTwiceOrClosingTwiceKeepsTheCurrentRecord) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  AddRow(t, "1A", "1", 1);
  AddRow(t, "2B", "2", 2);
  AddRow(t, "3C", "3", 3);
  t.First();
  t.Next();
  t.Open();
  EXPECT_TRUE(t.Active());
  EXPECT_EQ(t.AsText("CODGRUPO"), "2B");
  t.Close();
  t.Close();
  EXPECT_FALSE(t.Active());
  t.Open();
  EXPECT_EQ(t.AsText("CODGRUPO"), "1A");  // a new opening starts at the first record
}

TEST_F(TableContract, ComponentsLockExclusivelyAndConflictWithEveryOtherHandle) {
  Table component(dir_.path(), "SOLUC", "wwTableSoluc");
  Table second_component(dir_.path(), "SOLUC", "wwTableSoluc");
  Table builder(dir_.path(), "SOLUC");
  component.Open();
  const std::string in_use = "SOLUC.DBF: la tabla está abierta en exclusiva por otro programa";
  EXPECT_EQ(ErrorOf([&] { second_component.Open(); }), in_use);
  EXPECT_EQ(ErrorOf([&] { builder.Open(); }), in_use);
  EXPECT_FALSE(builder.Active());
  component.Close();
  builder.Open();  // free again
  EXPECT_EQ(ErrorOf([&] { component.Open(); }), in_use);
  EXPECT_FALSE(component.Active());
}

TEST_F(TableContract, BuildersShareTheirLock) {
  Table a(dir_.path(), "SOLUC");
  Table b(dir_.path(), "soluc.dbf");
  a.Open();
  b.Open();
  EXPECT_TRUE(a.Active());
  EXPECT_TRUE(b.Active());
}

TEST_F(TableContract, MissingTableOrDirectoryNamesTheFile) {
  Table t(dir_.path(), "NOESTA");
  EXPECT_EQ(ErrorOf([&] { t.Open(); }), "NOESTA.DBF: no existe la tabla en " + dir_.path().string());
  Table u(dir_ / "nada", "SOLUC");
  EXPECT_EQ(ErrorOf([&] { u.Open(); }), "SOLUC.DBF: no existe la tabla en " + (dir_ / "nada").string());
  EXPECT_FALSE(u.Active());
}

TEST_F(TableContract, FilesAreFoundWithoutRegardToCase) {
  TempDir d;
  fs::copy_file(File(), d / "soluc.dbf");
  for (const char* name : {"SOLUC", "soluc", "Soluc.Dbf", "SOLUC.DBF"}) {
    Table t(d.path(), name);
    t.Open();
    EXPECT_EQ(t.FileName(), "SOLUC.DBF");
    EXPECT_EQ(t.Fields().size(), 5u) << name;
  }
}

TEST_F(TableContract, OperationsOnAClosedTableSayIt) {
  Table t(dir_.path(), "SOLUC");
  const std::string closed = "SOLUC.DBF: la tabla no está abierta";
  EXPECT_EQ(ErrorOf([&] { t.Append(); }), closed);
  EXPECT_EQ(ErrorOf([&] { t.First(); }), closed);
  EXPECT_EQ(ErrorOf([&] { t.AsText("DIA"); }), closed);
  EXPECT_TRUE(t.Eof());
  EXPECT_TRUE(t.Fields().empty());
  EXPECT_EQ(t.RecordCount(), 0u);
}

// 3. Append, set, post.

TEST_F(TableContract, TextIsCutToTheWidthNeverRefused) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  t.Append();
  t.SetText("PROF",
            "MU\xd1OZ PE\xd1"
            "A");  // 10 characters into C(5)
  EXPECT_EQ(t.AsText("PROF"), "MU\xd1OZ");
  t.Post();
  t.Close();
  t.Open();
  EXPECT_EQ(t.AsText("PROF"), "MU\xd1OZ");
  EXPECT_NE(ReadFile(File()).find("MU\xd1OZ"), std::string::npos);
}

TEST_F(TableContract, ValuesReadBackBeforePost) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  t.Append();
  t.SetText("CODGRUPO", " 1A");
  t.SetText("DIA", "7");
  t.SetFloat("HORA", 2.5);
  EXPECT_EQ(t.AsText("CODGRUPO"), " 1A");
  EXPECT_EQ(t.AsInteger("DIA"), 7);
  EXPECT_EQ(t.AsFloat("HORA"), 2.5);
  EXPECT_EQ(t.AsText("HORA"), "2.5");
  EXPECT_EQ(t.RecordCount(), 0u);
  t.Post();
  EXPECT_EQ(t.RecordCount(), 1u);
  EXPECT_EQ(t.AsText("CODGRUPO"), " 1A");  // the posted record is the current one
}

TEST_F(TableContract, BlankNumbersReadAsZeroAndAsEmptyText) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  t.Append();
  t.SetText("CODGRUPO", "1A");
  t.SetText("DIA", "");
  t.Post();
  for (const char* f : {"DIA", "HORA"}) {
    EXPECT_EQ(t.AsInteger(f), 0) << f;
    EXPECT_EQ(t.AsFloat(f), 0.0) << f;
    EXPECT_EQ(t.AsText(f), "") << f;
    EXPECT_TRUE(std::holds_alternative<tables::Null>(t.AsValue(f))) << f;
  }
  EXPECT_EQ(t.AsText("ASIG"), "");  // blank text field
}

TEST_F(TableContract, NumbersReadAsTextInShortestFormWithTheProcessSeparator) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  AddRow(t, "1A", "3", 3);
  EXPECT_EQ(t.AsText("DIA"), "3");
  EXPECT_EQ(t.AsText("HORA"), "3");
  AddRow(t, "1A", "-12", 2.25);
  EXPECT_EQ(t.AsText("DIA"), "-12");
  EXPECT_EQ(t.AsText("HORA"), "2.25");
  text::SetDecimalSeparator(',');
  EXPECT_EQ(t.AsText("HORA"), "2,25");
}

TEST_F(TableContract, FloatsReadAsIntegersRoundHalvesToEven) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  const std::pair<double, int> cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},    {3.5, 4},
                                          {-0.5, 0}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}};
  for (auto [value, want] : cases) {
    AddRow(t, "1A", "1", value);
    EXPECT_EQ(t.AsInteger("HORA"), want) << value;
  }
  // Into an integer field a float goes the same way.
  for (auto [value, want] : cases) {
    t.Append();
    t.SetFloat("DIA", value);
    EXPECT_EQ(t.AsInteger("DIA"), want) << value;
    t.Post();
  }
}

TEST_F(TableContract, TextFieldsReadAsNumbersConvertTheirText) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  t.Append();
  t.SetText("CODGRUPO", " 12");
  t.SetText("PROF", "2.5");
  EXPECT_EQ(t.AsInteger("CODGRUPO"), 12);
  EXPECT_EQ(t.AsFloat("PROF"), 2.5);
  EXPECT_EQ(ErrorOf([&] { t.AsInteger("PROF"); }), "'2.5' no es un valor entero válido");
  EXPECT_EQ(ErrorOf([&] { t.AsInteger("ASIG"); }), "'' no es un valor entero válido");
  EXPECT_EQ(ErrorOf([&] { t.AsFloat("ASIG"); }), "'' no es un valor punto flotante válido");
  t.SetText("ASIG", "MAT\xc9");
  EXPECT_EQ(ErrorOf([&] { t.AsFloat("ASIG"); }), "'MATÉ' no es un valor punto flotante válido");
  text::SetDecimalSeparator(',');
  EXPECT_EQ(ErrorOf([&] { t.AsFloat("PROF"); }), "'2.5' no es un valor punto flotante válido");
}

TEST_F(TableContract, SettingANumberFromTextUsesTheProcessSeparator) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  t.Append();
  text::SetDecimalSeparator(',');
  t.SetText("HORA", "2,5");
  EXPECT_EQ(t.AsFloat("HORA"), 2.5);
  EXPECT_EQ(ErrorOf([&] { t.SetText("HORA", "2.5"); }), "'2.5' no es un valor punto flotante válido");
  EXPECT_EQ(ErrorOf([&] { t.SetText("DIA", "1,5"); }), "'1,5' no es un valor entero válido");
  t.SetFloat("PROF", 0.75);  // a float into a text field: its shortest text
  EXPECT_EQ(t.AsText("PROF"), "0,75");
  t.Post();
  t.Close();
  // Inside the file a point, always.
  const std::string bytes = ReadFile(File());
  EXPECT_NE(bytes.find("             2.5000"), std::string::npos);
}

TEST_F(TableContract, FloatsAreStoredExactlyOrRefusedNamingTheField) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  for (double v : {0.8333333333333334, 1e20, -1e-300, 0.1 + 0.2, 123456789012345.6, 1e18, -2.5}) {
    AddRow(t, "1A", "1", v);
  }
  t.Close();
  t.Open();
  std::vector<double> back;
  for (t.First(); !t.Eof(); t.Next()) back.push_back(t.AsFloat("HORA"));
  EXPECT_EQ(back, (std::vector<double>{0.8333333333333334, 1e20, -1e-300, 0.1 + 0.2, 123456789012345.6, 1e18, -2.5}));
  t.Append();
  auto refused = [](double v, const char* field) {
    return "SOLUC.DBF: el valor " + text::FormatShortest(v, text::DecimalSeparator()) + " no cabe en el campo " + field;
  };
  EXPECT_EQ(ErrorOf([&] { t.SetFloat("HORA", 1.2345678901234567e-300); }), refused(1.2345678901234567e-300, "HORA"));
  EXPECT_EQ(ErrorOf([&] { t.SetFloat("HORA", NAN); }), refused(NAN, "HORA"));
  EXPECT_EQ(ErrorOf([&] { t.SetFloat("DIA", 1e10); }), refused(1e10, "DIA"));
  EXPECT_EQ(ErrorOf([&] { t.SetFloat("DIA", INFINITY); }), refused(INFINITY, "DIA"));
  t.SetText("DIA", "-2147483648");
  EXPECT_EQ(t.AsInteger("DIA"), INT32_MIN);
  EXPECT_EQ(ErrorOf([&] { t.SetText("DIA", "2147483648"); }), "'2147483648' no es un valor entero válido");
}

TEST_F(TableContract, SettingWithoutAppendHasNoRecord) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  EXPECT_EQ(ErrorOf([&] { t.SetText("DIA", "1"); }), "SOLUC.DBF: no hay registro actual");
  EXPECT_EQ(ErrorOf([&] { t.AsText("DIA"); }), "SOLUC.DBF: no hay registro actual");
  t.Post();  // nothing pending: nothing happens
  EXPECT_EQ(t.RecordCount(), 0u);
}

TEST_F(TableContract, PendingRecordIsPostedByMovingAndDroppedByClose) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  t.Append();
  t.SetText("CODGRUPO", "MOVED");
  t.First();  // posts it, as the host's data sets do
  EXPECT_EQ(t.RecordCount(), 1u);
  t.Append();  // untouched: dropped by the next move
  t.Next();
  EXPECT_EQ(t.RecordCount(), 1u);
  t.Append();
  t.SetText("CODGRUPO", "A1");
  t.Append();  // posts the first
  t.SetText("CODGRUPO", "LOST");
  t.Close();  // drops the pending one
  t.Open();
  std::vector<std::string> codes;
  for (t.First(); !t.Eof(); t.Next()) codes.push_back(t.AsText("CODGRUPO"));
  EXPECT_EQ(codes, (std::vector<std::string>{"MOVED", "A1"}));
}

// 4. First, next, end.

TEST_F(TableContract, EmptyTableIsAtItsEndAtOnce) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  EXPECT_TRUE(t.Eof());
  t.First();
  EXPECT_TRUE(t.Eof());
  t.Next();
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(t.RecordCount(), 0u);
}

TEST_F(TableContract, RecordsComeInStoredOrderAndEofStaysOnTheLast) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  for (int i = 0; i < 5; ++i) AddRow(t, "G" + std::to_string(i), std::to_string(i), i);
  std::vector<int> seen;
  for (t.First(); !t.Eof(); t.Next()) seen.push_back(t.AsInteger("DIA"));
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(t.AsText("CODGRUPO"), "G4");  // Next at the end keeps the last record
  t.Next();
  EXPECT_TRUE(t.Eof());
  t.First();
  EXPECT_FALSE(t.Eof());
  EXPECT_EQ(t.AsText("CODGRUPO"), "G0");
}

TEST_F(TableContract, DeletedRecordsAreSkipped) {
  // Two live records around a deleted one, written by hand.
  std::string bytes = ReadFile(File());
  bytes.pop_back();  // the 0x1A
  auto rec = [](char flag, std::string_view code) {
    return std::string(1, flag) + testing::dbf::Padded(code, 10) + std::string(5 + 10 + 11 + 19, ' ');
  };
  bytes += rec(' ', "UNO") + rec('*', "BORRADO") + rec(' ', "DOS") + "\x1A";
  testing::dbf::PutLe32(bytes, 4, 3);
  testing::WriteFile(File(), bytes);
  Table t(dir_.path(), "SOLUC");
  t.Open();
  EXPECT_EQ(t.RecordCount(), 2u);
  std::vector<std::string> codes;
  for (t.First(); !t.Eof(); t.Next()) codes.push_back(t.AsText("CODGRUPO"));
  EXPECT_EQ(codes, (std::vector<std::string>{"UNO", "DOS"}));
  AddRow(t, "TRES", "3", 3);  // appended after the deleted one
  t.Close();
  auto c = tables::dbf::ReadTable(File());
  EXPECT_EQ(c.layout.record_count, 4u);
  EXPECT_EQ(c.records.size(), 3u);
}

// 5. Field names.

TEST_F(TableContract, MissingFieldsAreNamedWithTheComponentPrefix) {
  Table builder(dir_.path(), "SOLUC");
  builder.Open();
  builder.Append();
  EXPECT_EQ(ErrorOf([&] { builder.AsText("NADA"); }), "No se encuentra el campo 'NADA'");
  EXPECT_EQ(ErrorOf([&] { builder.SetText("NADA", "x"); }), "No se encuentra el campo 'NADA'");
  builder.Close();

  tables::FormTables components(dir_.path());
  Table& soluc = components.wwTableSoluc;
  soluc.Open();
  EXPECT_EQ(ErrorOf([&] { soluc.AsInteger("AULA"); }), "wwTableSoluc: No se encuentra el campo 'AULA'");
  EXPECT_EQ(ErrorOf([&] { soluc.AsFloat("ZZ"); }), "wwTableSoluc: No se encuentra el campo 'ZZ'");
  EXPECT_EQ(ErrorOf([&] { soluc.SetFloat("ZZ", 1); }), "wwTableSoluc: No se encuentra el campo 'ZZ'");
  EXPECT_EQ(ErrorOf([&] { soluc.AsValue("\xd1"); }), "wwTableSoluc: No se encuentra el campo 'Ñ'");
}

TEST_F(TableContract, FieldNamesMatchWithoutRegardToCase) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  t.Append();
  t.SetText("codgrupo", "1A");
  t.SetText("Dia", "4");
  t.Post();
  EXPECT_EQ(t.AsText("CodGrupo"), "1A");
  EXPECT_EQ(t.AsInteger("dIA"), 4);
}

// The file on disk is a complete table at every moment.

TEST_F(TableContract, FileIsAValidTableAfterEveryPost) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  // Records are 56 bytes: 3000 of them cross the 64 KiB batches twice.
  std::uint32_t last = 0;
  for (int i = 0; i < 3000; ++i) {
    AddRow(t, "G" + std::to_string(i), std::to_string(i), i * 0.5);
    if (i % 97 == 0 || i == 2999) {
      auto c = tables::dbf::ReadTable(File());  // parses: complete, counted
      EXPECT_LE(c.layout.record_count, static_cast<std::uint32_t>(i + 1));
      EXPECT_GE(c.layout.record_count, last);
      EXPECT_EQ(c.records.size(), c.layout.record_count);
      last = c.layout.record_count;
    }
  }
  EXPECT_GT(last, 0u);  // some batches went out while writing
  t.Close();
  auto c = tables::dbf::ReadTable(File());
  EXPECT_EQ(c.layout.record_count, 3000u);
  const tables::dbf::Date today = tables::dbf::Today();
  EXPECT_EQ(c.layout.date[0], today.year - 1900);
  EXPECT_EQ(c.layout.date[1], today.month);
  EXPECT_EQ(c.layout.date[2], today.day);
  const std::string bytes = ReadFile(File());
  EXPECT_EQ(bytes.size(), c.layout.header_length + 3000 * c.layout.record_length + 1);
  EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(TableContract, ADestroyedHandleWritesWhatWasPosted) {
  {
    Table t(dir_.path(), "SOLUC");
    t.Open();
    AddRow(t, "1A", "1", 1);
    AddRow(t, "2B", "2", 2);
  }
  EXPECT_EQ(tables::dbf::ReadTable(File()).records.size(), 2u);
}

TEST_F(TableContract, AnotherHandleOpeningTheFileSeesEveryPostedRecord) {
  Table writer(dir_.path(), "SOLUC");
  writer.Open();
  AddRow(writer, "1A", "1", 1);
  AddRow(writer, "2B", "2", 2);
  EXPECT_EQ(tables::dbf::ReadTable(File()).records.size(), 0u);  // still in the batch
  Table reader(dir_.path(), "SOLUC");
  reader.Open();  // makes the writer flush first
  EXPECT_EQ(reader.RecordCount(), 2u);
  AddRow(writer, "3C", "3", 3);
  writer.Close();
  reader.Close();
  reader.Open();
  EXPECT_EQ(reader.RecordCount(), 3u);
}

TEST_F(TableContract, TheWritingHandleReadsBackEveryRecordItAppended) {
  Table t(dir_.path(), "SOLUC");
  t.Open();
  AddRow(t, "OLD", "0", 0);
  t.Close();
  t.Open();  // one record read at Open, the rest appended: several batches
  for (int i = 1; i <= 2500; ++i) AddRow(t, "G" + std::to_string(i), std::to_string(i), i * 0.25);
  EXPECT_EQ(t.AsText("CODGRUPO"), "G2500");
  int n = 0;
  for (t.First(); !t.Eof(); t.Next(), ++n) {
    ASSERT_EQ(t.AsInteger("DIA"), n);
    ASSERT_EQ(t.AsFloat("HORA"), n * 0.25);
  }
  EXPECT_EQ(n, 2501);
  t.Append();
  t.SetText("CODGRUPO", "LAST");
  t.Post();
  t.First();
  EXPECT_EQ(t.AsText("CODGRUPO"), "OLD");
}

TEST_F(TableContract, AFlushForcedByAnotherHandleKeepsThePendingRecord) {
  Table writer(dir_.path(), "SOLUC");
  writer.Open();
  AddRow(writer, "1A", "1", 1);
  writer.Append();
  writer.SetText("CODGRUPO", "PEND");
  Table reader(dir_.path(), "SOLUC");
  reader.Open();  // writes the writer's batch while its record is pending
  EXPECT_EQ(reader.RecordCount(), 1u);
  EXPECT_EQ(writer.AsText("CODGRUPO"), "PEND");
  writer.SetText("DIA", "9");
  writer.Post();
  writer.Close();
  reader.Close();
  reader.Open();
  reader.Next();
  EXPECT_EQ(reader.AsText("CODGRUPO"), "PEND");
  EXPECT_EQ(reader.AsInteger("DIA"), 9);
}

TEST_F(TableContract, AppendingToATableOfAnotherWriterKeepsItsLayout) {
  TempDir d;
  fs::copy_file(testing::dbf::WritersDbfDir() / "dbf3-pydbf-cp850" / "SOLUC.DBF", d / "SOLUC.DBF");
  {
    Table t(d.path(), "SOLUC");
    t.Open();
    t.Append();
    t.SetText("CODGRUPO",
              "1\xba"
              "ESO-\xd1");
    t.SetText("DIA", "7");
    t.SetFloat("HORA", 2.5);
    EXPECT_EQ(ErrorOf([&] { t.SetFloat("SESIONES", 1234.5); }),
              "SOLUC.DBF: el valor 1234.5 no cabe en el campo SESIONES");
    t.Post();
  }
  auto c = tables::dbf::ReadTable(d / "SOLUC.DBF");
  ASSERT_EQ(c.records.size(), 13u);
  EXPECT_EQ(std::get<std::string>(c.records.back()[0]),
            "1\xba"
            "ESO-\xd1");  // stored in 850, read back
  EXPECT_EQ(std::get<std::int64_t>(c.records.back()[4]), 7);
  EXPECT_EQ(std::get<double>(c.records.back()[5]), 2.5);
  const std::string bytes = ReadFile(d / "SOLUC.DBF");
  EXPECT_NE(bytes.find("1\xa7"
                       "ESO-\xa5"),
            std::string::npos);  // º and Ñ in code page 850
  EXPECT_NE(bytes.find("  2.5"), std::string::npos);
}

TEST_F(TableContract, TablesThatCannotTakeRecordsSaySo) {
  TempDir d;
  fs::copy_file(testing::dbf::WritersDbfDir() / "vfp-pydbf" / "SOLUC.DBF", d / "SOLUC.DBF");
  Table t(d.path(), "SOLUC");
  t.Open();
  EXPECT_EQ(ErrorOf([&] { t.Append(); }),
            "SOLUC.DBF: no se pueden añadir registros a una tabla de este formato (byte de versión 0x30)");
  EXPECT_EQ(t.RecordCount(), 12u);
}

}  // namespace
}  // namespace velquior
