#include "export/export_driver.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "common/file_lock.h"
#include "tables/catalog.h"
#include "tables/table.h"
#include "tests/conversion/fake_reporter.h"
#include "tests/export/old_tables.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::FakeReporter;
using testing::ListDir;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

using testing::kAllTables;
using testing::kSmallSchool;

class ExportDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_dir_);
    workspace_.work_dir = work_dir_;
    WriteFile(school_, kSmallSchool);
  }

  std::string RunExpectingError() {
    try {
      RunExport(school_, workspace_, reporter_);
    } catch (const Error& e) {
      return std::string(e.message());
    }
    return "no error";
  }

  void PlantOldTables() { testing::PlantOldTables(work_dir_); }
  void ExpectOldTablesUntouched() { testing::ExpectOldTablesUntouched(work_dir_); }

  TempDir tmp_;
  fs::path work_dir_ = tmp_ / "ZTEMP";
  fs::path school_ = tmp_ / "escuela.xml";
  Workspace workspace_;
  FakeReporter reporter_;
};

TEST_F(ExportDriver, ReportsTheWorkAroundTheTablesAndKeepsTheDocument) {
  EXPECT_EQ(RunExport(school_, workspace_, reporter_), Outcome::kCompleted);
  EXPECT_EQ(reporter_.calls, (std::vector<std::string>{"begin", "written:6", "end"}));
  ASSERT_NE(workspace_.document, nullptr);  // the process-wide document outlives the run
  EXPECT_EQ(workspace_.document->documentElement()->nodeName(), "document");
  EXPECT_EQ(ListDir(work_dir_), kAllTables);
}

TEST_F(ExportDriver, MissingFileTouchesNothingAndReportsNothing) {
  PlantOldTables();
  RunExport(school_, workspace_, reporter_);
  const xml::Document* kept = workspace_.document.get();
  PlantOldTables();
  for (const fs::path& file : {fs::path(), tmp_ / "falta.xml", tmp_ / "ZTEMP" / "escuela.xml"}) {
    FakeReporter reporter;
    EXPECT_EQ(RunExport(file, workspace_, reporter), Outcome::kMissingFile) << file;
    EXPECT_TRUE(reporter.calls.empty()) << file;
    EXPECT_EQ(workspace_.document.get(), kept) << file;  // the earlier run's document stays
    ExpectOldTablesUntouched();
  }
}

TEST_F(ExportDriver, FailingBuilderEndsTheWorkAndLeavesEveryOldTable) {
  PlantOldTables();
  WriteFile(school_, R"(<document><teachers><teacher id="t1"/></teachers></document>)");
  reporter_.on_missing_item = [] { throw Error("fallo provocado"); };
  EXPECT_EQ(RunExpectingError(), "fallo provocado");
  EXPECT_EQ(reporter_.calls, (std::vector<std::string>{"begin", "end"}));
  EXPECT_FALSE(reporter_.working);
  ExpectOldTablesUntouched();
}

TEST_F(ExportDriver, RefusedDocumentIsReportedBeforeAnyWork) {
  WriteFile(school_, "<escuela/>");
  EXPECT_NE(RunExpectingError().find("no es un documento SAGA"), std::string::npos);
  EXPECT_TRUE(reporter_.calls.empty());
}

TEST_F(ExportDriver, WorkDirectoryProblemsAreReportedBeforeAnythingIsWritten) {
  workspace_.work_dir = tmp_ / "NOEXISTE";
  EXPECT_EQ(RunExpectingError(), "No existe el directorio de trabajo " + (tmp_ / "NOEXISTE").string());
  EXPECT_FALSE(fs::exists(tmp_ / "NOEXISTE"));

  workspace_.work_dir = work_dir_;
  PlantOldTables();
  {
    auto held = FileLock::TryLock(work_dir_ / "PROFT.DBF", FileLock::Mode::kShared);
    ASSERT_TRUE(held);
    EXPECT_EQ(RunExpectingError(), "PROFT.DBF: la tabla está abierta en exclusiva por otro programa");
  }
  ExpectOldTablesUntouched();
  {
    auto other_converter = FileLock::TryLock(work_dir_, FileLock::Mode::kExclusive);
    ASSERT_TRUE(other_converter);
    EXPECT_EQ(RunExpectingError(),
              "El directorio de trabajo " + work_dir_.string() + " está en uso por otra conversión");
  }
  ExpectOldTablesUntouched();
}

TEST_F(ExportDriver, LeftoverStagingOfAKilledRunIsCleanedUp) {
  fs::create_directory(work_dir_ / ".velquior-dead01");
  WriteFile(work_dir_ / ".velquior-dead01" / "ASIGNOMT.DBF", "half");
  RunExport(school_, workspace_, reporter_);
  EXPECT_EQ(ListDir(work_dir_), kAllTables);
}

}  // namespace
}  // namespace velquior
