// The same school saved in UTF-8 and in ISO-8859-1 gives the same tables, at
// a size well beyond a real school (about 40,000 nodes).

#include <gtest/gtest.h>

#include "export/export_driver.h"
#include "tables/catalog.h"
#include "tests/conversion/fake_reporter.h"
#include "tests/school_generator.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ReadFile;
using testing::TempDir;
namespace fs = std::filesystem;

TEST(ExportEncodings, Utf8AndLatin1DocumentsGiveTheSameTables) {
  testing::SchoolSize size{.subjects = 1000, .teachers = 1000, .rooms = 400, .groups = 1000, .subjects_per_group = 12};
  TempDir tmp;
  std::vector<fs::path> work_dirs;
  for (auto encoding : {testing::XmlEncoding::kUtf8, testing::XmlEncoding::kIso88591}) {
    std::string name = encoding == testing::XmlEncoding::kUtf8 ? "utf8" : "latin1";
    fs::path file = tmp / (name + ".xml");
    testing::WriteFile(file, testing::GenerateSchool(size, encoding));
    fs::path work = tmp / name;
    fs::create_directory(work);
    Workspace workspace{work, nullptr};
    testing::FakeReporter reporter;
    ASSERT_EQ(RunExport(file, workspace, reporter), Outcome::kCompleted);
    work_dirs.push_back(work);
  }
  xml::Document doc;
  ASSERT_TRUE(doc.load(tmp / "utf8.xml").ok);
  long nodes = 0;
  std::function<void(const xml::Node&)> count = [&](const xml::Node& n) {
    ++nodes;
    auto kids = n.childNodes();
    for (long i = 0; i < kids.length(); ++i) count(*kids.item(i));
  };
  count(*doc.documentElement());
  EXPECT_GT(nodes, 40000);

  for (const auto* layout : catalog::kExportTables) {
    std::string file = std::string(layout->name) + ".DBF";
    EXPECT_EQ(ReadFile(work_dirs[0] / file), ReadFile(work_dirs[1] / file)) << file;
  }
  tables::Table t(work_dirs[0], "ASIGT");
  t.Open();
  EXPECT_EQ(t.RecordCount(), 1000u * 12u);
}

}  // namespace
}  // namespace velquior
