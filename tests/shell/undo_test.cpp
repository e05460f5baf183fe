// `velquior deshacer` as the shell runs it, with boxes that answer at once.

#include "shell/undo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/store.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

using testing::ReadFile;
using testing::WriteFile;
namespace fs = std::filesystem;

class AnsweringBoxes : public UndoBoxes {
 public:
  explicit AnsweringBoxes(bool answer) : answer_(answer) {}
  void ShowMessage(std::string_view text) override { shown.push_back("message: " + std::string(text)); }
  void ShowError(std::string_view text) override { shown.push_back("error: " + std::string(text)); }
  bool Confirm(std::string_view question, std::string_view yes, std::string_view no) override {
    shown.push_back("question: " + std::string(question) + " [" + std::string(yes) + "|" + std::string(no) + "]");
    return answer_;
  }
  std::vector<std::string> shown;

 private:
  bool answer_;
};

TEST(Undo, OneParameterDeshacerInAnyCase) {
  using Params = std::vector<std::string>;
  EXPECT_TRUE(IsUndoCommandLine(Params{"deshacer"}));
  EXPECT_TRUE(IsUndoCommandLine(Params{"DesHacer"}));
  EXPECT_FALSE(IsUndoCommandLine(Params{"deshacer", "1A2B"}));  // a host launch
  EXPECT_FALSE(IsUndoCommandLine(Params{}));
  EXPECT_FALSE(IsUndoCommandLine(Params{"exportar"}));
}

// The question names what would come back; only "Deshacer" changes
// anything; a failure is the error box and status 1.
TEST(Undo, AsksThenRestoresOrSaysWhy) {
  const struct {
    const char* why;
    bool has_entry, answer, damaged;
    int status;
    const char* last_box;  // its beginning
    bool restored;
  } cases[] = {
      {"empty history", false, true, false, 0, "message: No hay nada que deshacer", false},
      {"declined", true, false, false, 0, "question: Exportación del ", false},
      {"accepted", true, true, false, 0, "message: Se ha puesto de nuevo lo que había antes de la exportación del ",
       true},
      {"a damaged copy", true, true, true, 1, "error: La copia de ", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    testing::TempDir tmp;
    const fs::path work = tmp / "ZTEMP";
    fs::create_directory(work);
    WriteFile(work / "PROFT.DBF", "before");
    history::Store store(tmp / "historial");
    if (c.has_entry) {
      const history::Source files[] = {{work / "PROFT.DBF"}};
      const history::Entry e = store.Record(history::Kind::kExport, tmp / "escuela.xml", work, files);
      history::PendingEntry(store, e).Keep();
      if (c.damaged) WriteFile(e.folder / "1", "damaged");
    }
    WriteFile(work / "PROFT.DBF", "after");
    AnsweringBoxes boxes(c.answer);
    EXPECT_EQ(UndoLastConversion(store.folder(), boxes), c.status);
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().rfind(c.last_box, 0), 0u) << boxes.shown.back();
    if (c.has_entry) {
      EXPECT_NE(boxes.shown.front().find("seis tablas de " + testing::Utf8(work)), std::string::npos);
      EXPECT_NE(boxes.shown.front().find("[Deshacer|Cancelar]"), std::string::npos);
    }
    EXPECT_EQ(ReadFile(work / "PROFT.DBF"), c.restored ? "before" : "after");
  }
}

}  // namespace
}  // namespace velquior::shell
