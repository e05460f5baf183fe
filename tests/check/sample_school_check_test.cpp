// The sample school checked against its own export, then with a homonym
// teacher added ahead of one the timetable uses.

#include <gtest/gtest.h>

#include "check/check.h"
#include "check/kinds.h"
#include "conversion/workspace.h"
#include "export/export_driver.h"
#include "tests/check/check_fixture.h"
#include "tests/import/table_maker.h"

namespace velquior::check {
namespace {

namespace fs = std::filesystem;
const fs::path kSample = fs::path(VELQUIOR_EXAMPLES) / "escuela.xml";

class SampleSchoolCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_);
    Workspace workspace{work_, nullptr};
    Reporter quiet;
    ASSERT_EQ(RunExport(kSample, workspace, quiet), Outcome::kCompleted);
  }
  testing::TempDir tmp_;
  fs::path work_ = tmp_ / "ZTEMP";
};

TEST_F(SampleSchoolCheck, AfterAnExportNothingWouldChange) {
  const Report report = CheckAll(kSample, work_);
  EXPECT_EQ(ExitStatusFor(report), 0);
  for (const Finding& f : report.findings) {
    // What the document itself shows stays true after the export: notes.
    EXPECT_TRUE(f.kind == kinds::kHomonymCounter || f.kind == kinds::kCutCode) << f.kind << ": " << f.summary;
  }
}

TEST_F(SampleSchoolCheck, AHomonymAheadChangesExactlyOneCodeAndTheLessonsUsingIt) {
  std::string bytes = testing::ReadFile(kSample);
  const std::string first_teacher = "<teacher id=\"5002000\">";
  bytes.insert(bytes.find(first_teacher), "<teacher id=\"5002999\">Julia Pascual Lorenzo</teacher>\n    ");
  const fs::path homonym = tmp_ / "homonimo.xml";
  testing::WriteFile(homonym, bytes);
  // JPL is Juan Pérez López's code, MJNP María José Núñez Peña's, which stays.
  testing::MakeSoluc(work_, {{1, 1, 1, "LCL", "E1A", "JPL", "A1"},
                             {1, 2, 1, "LCL", "E1A", "JPL", "A1"},
                             {2, 1, 1, "M", "E1A", "JPL", "A1"},
                             {2, 2, 1, "M", "E1A", "MJNP", "A1"}});
  const Report report = CheckAll(homonym, work_);
  EXPECT_EQ(ExitStatusFor(report), 4);

  auto timetable = testing::OfKind(report, kinds::kTimetableCodeChanged);
  ASSERT_EQ(timetable.size(), 1u);
  EXPECT_EQ(testing::ShownRecords(*timetable[0]),
            std::vector<std::string>{"PROFT 2 [5002023] código 'JPL' pasa a 'JPL1'; lecciones de SOLUC: 3; 'JPL' será "
                                     "de 'Julia Pascual Lorenzo' (5002999)"});
  auto changed = testing::OfKind(report, kinds::kCodeChanged);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(testing::ShownRecords(*changed[0]), std::vector<std::string>{"PROFT 3 [5002023] 'JPL' pasa a 'JPL1'"});
  auto added = testing::OfKind(report, kinds::kRecordAdded);
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(testing::ShownRecords(*added[0]), std::vector<std::string>{"PROFT 1 [5002999] código 'JPL'"});
  EXPECT_TRUE(testing::OfKind(report, kinds::kRecordRemoved).empty());
  EXPECT_TRUE(testing::OfKind(report, kinds::kNameChanged).empty());
}

}  // namespace
}  // namespace velquior::check
