#include "shell/form_handlers.h"

#include <gtest/gtest.h>

#include "tests/shell/fake_window.h"
#include "tests/test_util.h"

namespace velquior::shell {
namespace {

namespace fs = std::filesystem;
using testing::FakeWindow;
using testing::ReadFile;
using testing::TempDir;

class FormHandlersTest : public ::testing::Test {
 protected:
  FormHandlers Make(std::vector<std::string> params) {
    return FormHandlers({std::move(params), tmp_.path(), result_file_, std::nullopt}, window_, window_);
  }
  std::string ResultText() const { return fs::exists(result_file_) ? ReadFile(result_file_) : "<none>"; }

  TempDir tmp_;
  fs::path result_file_ = tmp_ / "Zeltimor.ini";
  FakeWindow window_;
};

TEST_F(FormHandlersTest, CreateShowAndCloseFollowTheCommandLine) {
  const struct {
    std::vector<std::string> params;
    bool host;
    std::vector<std::string> calls;  // FormCreate, then FormShow
    std::string result;              // after FormClose
  } cases[] = {
      {{}, false, {}, "<none>"},
      {{"exportar"}, false, {}, "<none>"},
      {{"exportar", "1A", "x"}, false, {}, "<none>"},
      {{"EXPORTAR", "1a"},
       true,
       {"embed:26", "choose:", "message:No existe archivo", "close"},
       "[Transformadores]\r\nTransformado=-1\r\n"},
      {{"importar", "00FF"},
       true,
       {"embed:255", "choose:", "message:No existe archivo", "close"},
       "[Transformadores]\r\nTransformado=0\r\n"},
      {{"otra", "1A"}, true, {"embed:26"}, "[Transformadores]\r\nTransformado=0\r\n"},
      // An unreadable handle: no host mode, but the named conversion still runs.
      {{"exportar", "xyz"},
       false,
       {"error:'$xyz' no es un valor entero válido.", "choose:", "message:No existe archivo"},
       "<none>"},
  };
  for (const auto& c : cases) {
    fs::remove(result_file_);
    window_ = FakeWindow();
    FormHandlers handlers = Make(c.params);
    handlers.FormCreate();
    EXPECT_EQ(handlers.State().HostLaunched, c.host) << c.params.size();
    EXPECT_EQ(handlers.State().ResultCode, 0);
    handlers.FormShow();
    handlers.FormClose();
    EXPECT_EQ(window_.calls, c.calls) << (c.params.empty() ? "" : c.params[0]);
    EXPECT_EQ(ResultText(), c.result) << (c.params.empty() ? "" : c.params[0]);
  }
}

// The host reads the file only after the run: an earlier run's 1 must not
// stand for this one if its own result cannot be written at the end.
TEST_F(FormHandlersTest, AHostLaunchClearsAnEarlierResultBeforeItRuns) {
  for (const bool host : {true, false}) {
    testing::WriteFile(result_file_, "[Transformadores]\r\nTransformado=1\r\n");
    window_ = FakeWindow();
    FormHandlers handlers = Make(host ? std::vector<std::string>{"exportar", "1A"} : std::vector<std::string>{});
    handlers.FormCreate();
    EXPECT_EQ(ResultText(),
              host ? "[Transformadores]\r\nTransformado=0\r\n" : "[Transformadores]\r\nTransformado=1\r\n");
  }
}

TEST_F(FormHandlersTest, ErrorsOfTheHandlersGoToTheErrorBox) {
  // A conversion's error.
  testing::WriteFile(tmp_ / "roto.xml", "<document><subjects>");
  window_.choice = tmp_ / "roto.xml";
  FormHandlers handlers = Make({"exportar", "1A"});
  handlers.FormCreate();
  handlers.BImportarClick();
  ASSERT_EQ(window_.calls.size(), 3u);
  EXPECT_TRUE(window_.calls[2].starts_with("error:" + (tmp_ / "roto.xml").string() + " no es un documento XML"))
      << window_.calls[2];
  EXPECT_EQ(window_.calls[2].back(), '.');
  EXPECT_EQ(handlers.State().ResultCode, 0);

  // A result file that cannot be written (FormCreate wrote it: now a folder).
  fs::remove(result_file_);
  fs::create_directory(result_file_);
  window_.calls.clear();
  handlers.FormClose();
  EXPECT_EQ(window_.calls, std::vector<std::string>{"error:Unable to write to " + result_file_.string() + "."});
}

}  // namespace
}  // namespace velquior::shell
