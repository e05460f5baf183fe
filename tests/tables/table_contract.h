#pragma once
// The table engine's test fixture: a SOLUC-like table in a fresh folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

#include "tables/table.h"
#include "tests/test_util.h"
#include "text/numbers.h"

namespace velquior::testing {

// A SOLUC-like table made by the engine: three texts, an integer, a float.
inline void CreateSoluc(const std::filesystem::path& dir, std::string_view name = "SOLUC") {
  tables::Table t(dir, name);
  t.ClearFields();
  t.AddField({"CODGRUPO", tables::FieldType::kText, 10});
  t.AddField({"PROF", tables::FieldType::kText, 5});
  t.AddField({"ASIG", tables::FieldType::kText, 10});
  t.AddField({"DIA", tables::FieldType::kInteger});
  t.AddField({"HORA", tables::FieldType::kFloat});
  t.CreateTable();
  EXPECT_FALSE(t.Active());
}

inline void AddRow(tables::Table& t, std::string_view grupo, std::string_view dia, double hora) {
  t.Append();
  t.SetText("CODGRUPO", grupo);
  t.SetText("DIA", dia);
  t.SetFloat("HORA", hora);
  t.Post();
}

class TableContract : public ::testing::Test {
 protected:
  void SetUp() override { CreateSoluc(dir_.path()); }
  void TearDown() override { text::SetDecimalSeparator('.'); }
  std::filesystem::path File() const { return dir_ / "SOLUC.DBF"; }
  TempDir dir_;
};

}  // namespace velquior::testing
