#include "shell/conversion_runs.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "tables/catalog.h"
#include "tables/table.h"
#include "tests/export/old_tables.h"
#include "tests/shell/fake_window.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

using testing::FakeWindow;
using testing::ListDir;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

using testing::kAllTables;
using testing::kSmallSchool;

// The export as every window runs it: dialog, conversion, ending.
class ExportFromWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_dir_);
    session_.workspace.work_dir = work_dir_;
    WriteFile(school_, kSmallSchool);
  }

  std::string RunExpectingError() {
    try {
      ExportFromWindow(session_, fe_, fe_);
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
  Session session_;
  FakeWindow fe_;
};

TEST_F(ExportFromWindowTest, CompletedRunWritesAllSixTablesAndEndsInOrder) {
  PlantOldTables();
  WriteFile(work_dir_ / "asigt.dbf", "stale lower-case twin");
  fe_.choice = school_;
  EXPECT_EQ(ExportFromWindow(session_, fe_, fe_), Outcome::kCompleted);
  EXPECT_EQ(session_.state.XmlFileName, school_);
  EXPECT_EQ(session_.state.ResultCode, 1);
  EXPECT_EQ(fe_.calls, (std::vector<std::string>{"choose:", "busy", "written:6", "normal", "message:Proceso finalizado",
                                                 "disable"}));
  EXPECT_EQ(ListDir(work_dir_), kAllTables);  // old index and case twin gone
  tables::Table asigt(work_dir_, "ASIGT");
  asigt.Open();
  EXPECT_EQ(asigt.RecordCount(), 1u);
  tables::Table dias(work_dir_, "DIASHORAST.DBF");
  dias.Open();
  EXPECT_EQ(dias.RecordCount(), 0u);
  EXPECT_EQ(dias.Fields().size(), 8u);
}

TEST_F(ExportFromWindowTest, HostModeClosesTheWindowAfterTheMessage) {
  session_.state.HostLaunched = true;
  fe_.choice = school_;
  ExportFromWindow(session_, fe_, fe_);
  EXPECT_EQ(fe_.calls.back(), "close");
  EXPECT_EQ(session_.state.ResultCode, 1);
}

TEST_F(ExportFromWindowTest, MissingFileEnding) {
  struct Case {
    bool host;
    std::optional<fs::path> choice;
    int result_code;
    std::vector<std::string> calls;
  } cases[] = {
      {false, std::nullopt, 0, {"choose:", "message:No existe archivo"}},
      {true, std::nullopt, -1, {"choose:", "message:No existe archivo", "close"}},
      {false, fs::path("/no/such/escuela.xml"), 0, {"choose:", "message:No existe archivo"}},
  };
  for (const auto& c : cases) {
    Session session;
    session.workspace.work_dir = work_dir_;
    session.state.HostLaunched = c.host;
    FakeWindow fe;
    fe.choice = c.choice;
    EXPECT_EQ(ExportFromWindow(session, fe, fe), Outcome::kMissingFile);
    EXPECT_EQ(session.state.ResultCode, c.result_code);
    EXPECT_EQ(fe.calls, c.calls);
  }
}

TEST_F(ExportFromWindowTest, CancelledDialogConvertsTheFileChosenBefore) {
  session_.state.XmlFileName = school_;
  fe_.choice = std::nullopt;
  EXPECT_EQ(ExportFromWindow(session_, fe_, fe_), Outcome::kCompleted);
  EXPECT_EQ(fe_.calls.front(), "choose:" + school_.string());
}

TEST_F(ExportFromWindowTest, RefusedDocumentsTouchNothing) {
  struct Case {
    std::string name;
    std::string bytes;
    std::string error;  // after the file name
  } cases[] = {
      {"otra.xml", "<?xml version=\"1.0\"?><escuela><subjects/></escuela>",
       " no es un documento SAGA: el elemento raíz es 'escuela' y debe ser 'document'"},
      {"vacio.xml", "", " no es un documento XML válido: línea "},
      {"roto.xml", "<document><subjects>", " no es un documento XML válido: línea "},
      {"texto.xml", "Esto no es XML", " no es un documento XML válido: línea "},
  };
  PlantOldTables();
  for (const auto& c : cases) {
    fs::path file = tmp_ / c.name;
    WriteFile(file, c.bytes);
    fe_.calls.clear();
    fe_.choice = file;
    const std::string last = session_.state.XmlFileName.string();
    std::string err = RunExpectingError();
    EXPECT_EQ(err.rfind(file.string() + c.error, 0), 0u) << err;
    EXPECT_EQ(session_.state.ResultCode, 0);
    EXPECT_EQ(fe_.calls, std::vector<std::string>{"choose:" + last});  // no cursor, no message
    ExpectOldTablesUntouched();
  }
}

TEST_F(ExportFromWindowTest, FailureDuringTheBuildersLeavesEveryOldTable) {
  PlantOldTables();
  // A teacher without its name makes the teachers builder report it; the
  // report fails, as any error inside a builder would.
  WriteFile(school_, R"(<document><subjects><subject id="s1" name="Lengua"/></subjects>
    <teachers><teacher id="t1"/></teachers></document>)");
  fe_.choice = school_;
  fe_.on_missing_item = [] { throw Error("fallo provocado"); };
  EXPECT_EQ(RunExpectingError(), "fallo provocado");
  EXPECT_FALSE(fe_.busy);  // the cursor is back to normal
  EXPECT_EQ(session_.state.ResultCode, 0);
  ExpectOldTablesUntouched();
}

}  // namespace
}  // namespace velquior::shell
