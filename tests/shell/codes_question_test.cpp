// The window's question before an export that would change codes the
// current timetable uses: asked exactly then, and each answer doing what it
// says, in interactive and host mode.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "shell/conversion_runs.h"
#include "tables/catalog.h"
#include "tables/table.h"
#include "tests/export/old_tables.h"
#include "tests/import/table_maker.h"
#include "tests/shell/fake_window.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

namespace fs = std::filesystem;
using testing::FakeWindow;
using Answer = Window::Answer;

const std::string kAsked = "ask:Conservar|Usar nuevos|Cancelar";

class CodesQuestionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work_);
    session_.workspace.work_dir = work_;
    testing::WriteFile(school_, testing::kSmallSchool);
    fe_.choice = school_;
  }

  // Juan's code was JUAN before, and the timetable uses it twice.
  void TimetableOnJuan() {
    testing::MakeCatalogue(work_, "PROFT", {{"JUAN", "t1", "Juan"}});
    testing::MakeSoluc(work_, {{1, 1, 1, "", "", "JUAN", ""}, {1, 2, 1, "", "", "JUAN", ""}});
  }

  std::string Teacher() {
    tables::Table t(work_, "PROFT");
    t.Open();
    t.First();
    std::string code = t.Eof() ? "(none)" : t.AsText(catalog::f::kAbrev);
    t.Close();
    return code;
  }

  bool Asked() const { return std::find(fe_.calls.begin(), fe_.calls.end(), kAsked) != fe_.calls.end(); }

  testing::TempDir tmp_;
  fs::path work_ = tmp_ / "ZTEMP";
  fs::path school_ = tmp_ / "escuela.xml";
  Session session_;
  FakeWindow fe_;
};

TEST_F(CodesQuestionTest, AskedOnlyWhenATimetableCodeWouldChange) {
  const struct {
    const char* reason;
    std::function<void(const fs::path&)> work;
    bool asked;
  } cases[] = {
      {"no timetable",
       [](const fs::path& d) {
         testing::MakeCatalogue(d, "PROFT", {{"JUAN", "t1"}});
       },
       false},
      {"no old table",
       [](const fs::path& d) {
         testing::MakeSoluc(d, {{1, 1, 1, "", "", "JUAN", ""}});
       },
       false},
      {"the timetable's code stays",
       [](const fs::path& d) {
         testing::MakeCatalogue(d, "PROFT", {{"JPL", "t1"}});
         testing::MakeSoluc(d, {{1, 1, 1, "", "", "JPL", ""}});
       },
       false},
      {"only a code the timetable does not use changes",
       [](const fs::path& d) {
         testing::MakeCatalogue(d, "PROFT", {{"JUAN", "t1"}});
         testing::MakeSoluc(d, {{1, 1, 1, "", "", "OTRO", ""}});
       },
       false},
      {"a code the timetable uses changes",
       [](const fs::path& d) {
         testing::MakeCatalogue(d, "PROFT", {{"JUAN", "t1"}});
         testing::MakeSoluc(d, {{1, 1, 1, "", "", "JUAN", ""}});
       },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    testing::TempDir tmp;
    Session session;
    session.workspace.work_dir = tmp.path();
    c.work(tmp.path());
    FakeWindow fe;
    fe.choice = school_;
    fe.answer = Answer::kSecond;
    EXPECT_EQ(ExportFromWindow(session, fe, fe), Outcome::kCompleted);
    EXPECT_EQ(std::count(fe.calls.begin(), fe.calls.end(), kAsked), c.asked ? 1 : 0);
  }
}

TEST_F(CodesQuestionTest, TheQuestionNamesEachCodeItsElementAndItsLessons) {
  TimetableOnJuan();
  fe_.answer = Answer::kSecond;
  ExportFromWindow(session_, fe_, fe_);
  EXPECT_NE(fe_.question.find("\nPROFT, Juan (t1): código 'JUAN' pasa a 'JPL'; lecciones de SOLUC: 2\n"),
            std::string::npos)
      << fe_.question;
  // Asked after the file dialog, with the busy cursor off, before any work.
  const auto ask = std::find(fe_.calls.begin(), fe_.calls.end(), kAsked);
  ASSERT_NE(ask, fe_.calls.end());
  EXPECT_EQ(std::vector<std::string>(fe_.calls.begin(), ask + 1),
            (std::vector<std::string>{"choose:", "busy", "normal", kAsked}));
}

TEST_F(CodesQuestionTest, TheFirstTenCodesAreShownThenHowManyMore) {
  std::vector<testing::CatalogueRow> old;
  std::vector<testing::SolucRow> lessons;
  std::string teachers = "<teachers>";
  for (int i = 0; i < 12; ++i) {
    const std::string id = "t" + std::to_string(i);
    teachers += "<teacher id=\"" + id + "\">Ana Ruiz</teacher>";
    old.push_back({"X" + std::to_string(i), id});
    lessons.push_back({1, 1, 1, "", "", "X" + std::to_string(i), ""});
  }
  testing::WriteFile(school_, "<document>" + teachers + "</teachers></document>");
  testing::MakeCatalogue(work_, "PROFT", old);
  testing::MakeSoluc(work_, lessons);
  fe_.answer = Answer::kCancel;
  ExportFromWindow(session_, fe_, fe_);
  const std::string& q = fe_.question;
  EXPECT_NE(q.find("'X9' pasa a 'AR9'"), std::string::npos) << q;
  EXPECT_EQ(q.find("'X10'"), std::string::npos) << q;
  EXPECT_NE(q.find("\n... y 2 más\n"), std::string::npos) << q;
}

TEST_F(CodesQuestionTest, EachAnswerDoesWhatItSays) {
  const struct {
    Answer answer;
    bool host;
    Outcome outcome;
    std::string teacher;    // PROFT's code afterwards
    int result_code;        // ResultCode afterwards
    std::string last_call;  // the ending
  } cases[] = {
      {Answer::kFirst, false, Outcome::kCompleted, "JUAN", 1, "disable"},
      {Answer::kSecond, false, Outcome::kCompleted, "JPL", 1, "disable"},
      {Answer::kCancel, false, Outcome::kCancelled, "JUAN", 0, kAsked},
      {Answer::kFirst, true, Outcome::kCompleted, "JUAN", 1, "close"},
      {Answer::kCancel, true, Outcome::kCancelled, "JUAN", -1, "close"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.answer)) + (c.host ? " host" : ""));
    fs::remove_all(work_);
    fs::create_directory(work_);
    TimetableOnJuan();
    const auto before = testing::ListDir(work_);
    Session session;
    session.workspace.work_dir = work_;
    session.state.HostLaunched = c.host;
    FakeWindow fe;
    fe.choice = school_;
    fe.answer = c.answer;
    EXPECT_EQ(ExportFromWindow(session, fe, fe), c.outcome);
    EXPECT_EQ(Teacher(), c.teacher);
    EXPECT_EQ(session.state.ResultCode, c.result_code);
    EXPECT_EQ(fe.calls.back(), c.last_call);
    if (c.outcome == Outcome::kCancelled) {
      EXPECT_EQ(testing::ListDir(work_), before);  // nothing written
    }
  }
}

// Keeping with a damaged table: what could not be kept is shown before the
// ending.
TEST_F(CodesQuestionTest, WhatCouldNotBeKeptIsShownWhenTheExportCompletes) {
  TimetableOnJuan();
  testing::WriteFile(work_ / "AULAT.DBF", "damaged");
  fe_.answer = Answer::kFirst;
  EXPECT_EQ(ExportFromWindow(session_, fe_, fe_), Outcome::kCompleted);
  EXPECT_EQ(Teacher(), "JUAN");
  const auto shown = std::find_if(fe_.calls.begin(), fe_.calls.end(), [](const std::string& c) {
    return c.rfind("message:AULAT: no se conserva ningún código de la tabla: AULAT.DBF", 0) == 0;
  });
  ASSERT_NE(shown, fe_.calls.end());
  EXPECT_EQ(*(shown + 1), "message:Proceso finalizado");
}

}  // namespace
}  // namespace velquior::shell
