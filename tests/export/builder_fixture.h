#pragma once
// Running one export builder over a SAGA document written in the test, in a
// scratch work directory, and reading its table back.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_context.h"
#include "tables/catalog.h"
#include "tables/form_tables.h"
#include "tables/table.h"
#include "tests/conversion/fake_reporter.h"
#include "tests/test_util.h"
#include "text/encoding.h"
#include "xml/document.h"

namespace velquior::testing {

using Rows = std::vector<std::vector<std::string>>;

class BuilderTest : public ::testing::Test {
 protected:
  // `inner_utf8` is the content of the document element.
  void LoadDocument(const std::string& inner_utf8) {
    LoadRaw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>" + inner_utf8 + "</document>");
  }
  void LoadRaw(const std::string& bytes) { ASSERT_TRUE(document_.loadXml(bytes).ok) << bytes; }

  ExportContext& Context() { return ctx_; }

  // The given fields of every record, as text in UTF-8, in stored order.
  Rows Read(const catalog::TableSpec& layout, std::initializer_list<std::string_view> fields) {
    tables::Table table(dir_.path(), layout.name);
    table.Open();
    Rows rows;
    for (table.First(); !table.Eof(); table.Next()) {
      std::vector<std::string> row;
      for (std::string_view f : fields) row.push_back(text::AnsiToUtf8(table.AsText(f)));
      rows.push_back(std::move(row));
    }
    table.Close();
    return rows;
  }

  // One field of every record.
  std::vector<std::string> Column(const catalog::TableSpec& layout, std::string_view field) {
    std::vector<std::string> out;
    for (auto& row : Read(layout, {field})) out.push_back(row[0]);
    return out;
  }

  // The table's fields as the file has them: names in order, and widths.
  void ExpectStructure(const catalog::TableSpec& layout) {
    tables::Table table(dir_.path(), layout.name);
    table.Open();
    const auto& fields = table.Fields();
    ASSERT_EQ(fields.size(), layout.fields.size()) << layout.name;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      EXPECT_EQ(fields[i].name, layout.fields[i].name) << layout.name;
      if (layout.fields[i].type == tables::FieldType::kText) {
        EXPECT_EQ(fields[i].width, layout.fields[i].width) << layout.fields[i].name;
      }
    }
    table.Close();
  }

  std::size_t RecordCount(const catalog::TableSpec& layout) {
    tables::Table table(dir_.path(), layout.name);
    table.Open();
    std::size_t n = table.RecordCount();
    table.Close();
    return n;
  }

  TempDir dir_;
  xml::Document document_;
  tables::FormTables components_{dir_.path()};
  FakeReporter reporter_;
  ExportContext ctx_{document_, dir_.path(), components_, reporter_};
};

}  // namespace velquior::testing
