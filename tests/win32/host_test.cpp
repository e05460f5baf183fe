// The host launch on Win32: embedding into a real window made here, the
// host's window going away, and what the host is left in Zeltimor.ini.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/win32/host_embedding.h"
#include "tables/catalog.h"
#include "tables/table.h"
#include "tests/export/old_tables.h"
#include "tests/import/table_maker.h"
#include "tests/win32/form_fixture.h"

namespace velquior::win32 {
namespace {

class HostTest : public FormFixture {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelquiorTestHost";
    RegisterClassW(&wc);  // again for each test: the second time fails harmlessly
    host_ = CreateWindowExW(0, L"VelquiorTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000, 800,
                            nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(host_, nullptr);
  }
  void TearDown() override {
    form_.reset();
    if (IsWindow(host_)) DestroyWindow(host_);
  }

  static std::string Hex(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
    return text;
  }

  HWND host_ = nullptr;
};

constexpr const char* kResultZero = "[Transformadores]\r\nTransformado=0\r\n";

TEST_F(HostTest, EmbedsAsABorderlessChildCentredInTheHost) {
  MainForm& form = Open({"otra", Hex(host_)});
  HWND hwnd = form.Hwnd();
  EXPECT_TRUE(form.Embedded());
  EXPECT_TRUE(form.State().HostLaunched);
  EXPECT_EQ(GetParent(hwnd), host_);
  EXPECT_TRUE(IsChild(host_, hwnd));
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 632);
  EXPECT_EQ(client.bottom, 266);
  const RECT r = InParent(hwnd);
  const POINT at = CentredPosition({632, 266});
  EXPECT_EQ(r.left, at.x);
  EXPECT_EQ(r.top, at.y);
  EXPECT_EQ(r.right - r.left, 632);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  // Closing answers the host.
  form.Close();
  EXPECT_EQ(closed_, 1);
  EXPECT_EQ(ResultText(), kResultZero);
  EXPECT_TRUE(IsWindow(host_));
}

TEST_F(HostTest, HandleOfNoWindowLeavesTheWindowFramedAndStillAHostLaunch) {
  HWND gone = CreateWindowExW(0, L"VelquiorTestHost", L"gone", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  DestroyWindow(gone);
  for (const std::string& handle : {Hex(gone), std::string("0")}) {
    SCOPED_TRACE(handle);
    std::filesystem::remove(result_file_);
    MainForm& form = Open({"otra", handle});
    EXPECT_FALSE(form.Embedded());
    EXPECT_TRUE(form.State().HostLaunched);
    EXPECT_EQ(GetParent(form.Hwnd()), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(form.Hwnd(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(boxes_.empty());
    form.Close();
    EXPECT_EQ(ResultText(), kResultZero);
  }
}

TEST_F(HostTest, UnreadableHandleIsAnErrorAndNoHostLaunch) {
  MainForm& form = Open({"otra", "xyz"});
  EXPECT_FALSE(form.State().HostLaunched);
  EXPECT_EQ(boxes_, std::vector<std::string>{"error:'$xyz' no es un valor entero válido.:hidden"});
  form.Close();
  EXPECT_EQ(ResultText(), "<none>");
}

TEST_F(HostTest, HostWindowGoingAwayClosesTheFormAndAnswersTheHost) {
  MainForm& form = Open({"otra", Hex(host_)});
  ASSERT_TRUE(form.Embedded());
  DestroyWindow(host_);
  Pump();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(form.Hwnd(), nullptr);
  EXPECT_EQ(host_lost_, 1);
  EXPECT_EQ(closed_, 0);
  EXPECT_EQ(ResultText(), kResultZero);
}

TEST_F(HostTest, HostLaunchRunsTheConversionBeforeTheWindowAppears) {
  const struct {
    const char* conversion;
    const char* result;
  } cases[] = {
      {"exportar", "[Transformadores]\r\nTransformado=-1\r\n"},
      {"IMPORTAR", kResultZero},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.conversion);
    std::filesystem::remove(result_file_);
    boxes_.clear();
    closed_ = 0;
    dialogs_shown_ = 0;
    MainForm& form = Open({c.conversion, Hex(host_)});
    EXPECT_EQ(dialogs_shown_, 1);
    // Cancelled: the shell says so and closes, all before the window shows.
    EXPECT_EQ(boxes_, std::vector<std::string>{"message:No existe archivo:hidden"});
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(closed_, 1);
    EXPECT_EQ(ResultText(), c.result);
  }
}

TEST_F(HostTest, UnwritableResultFileIsReportedAndTheWindowClosesAnyway) {
  result_file_ = tmp_.path();  // a folder: no file can be written there
  MainForm& form = Open({"otra", Hex(host_)});
  form.Close();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(closed_, 1);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_TRUE(boxes_[0].starts_with("error:Unable to write to ")) << boxes_[0];
}

// A host launch whose export would change a code the timetable uses asks
// before anything is written; a cancel answers the host as a cancelled
// file dialog does, and keeping keeps the code.
TEST_F(HostTest, ExportAsksBeforeChangingTheTimetablesCodes) {
  const struct {
    int answer;
    std::string result, teacher;
    std::vector<std::string> boxes;
  } cases[] = {
      {2, "[Transformadores]\r\nTransformado=-1\r\n", "JUAN", {}},
      {0, "[Transformadores]\r\nTransformado=1\r\n", "JUAN", {"message:Proceso finalizado:hidden"}},
      {1, "[Transformadores]\r\nTransformado=1\r\n", "JPL", {"message:Proceso finalizado:hidden"}},
  };
  testing::WriteFile(tmp_ / "escuela.xml", testing::kSmallSchool);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    std::filesystem::remove(result_file_);
    testing::MakeCatalogue(tmp_.path(), "PROFT", {{"JUAN", "t1", "Juan"}});
    testing::MakeSoluc(tmp_.path(), {{1, 1, 1, "", "", "JUAN", ""}});
    boxes_.clear();
    asked_.clear();
    dialog_answer_ = tmp_ / "escuela.xml";
    ask_answer_ = c.answer;
    MainForm& form = Open({"exportar", Hex(host_)});
    EXPECT_EQ(asked_, std::vector<std::string>{"Conservar|Usar nuevos|Cancelar:hidden"});
    EXPECT_EQ(boxes_, c.boxes);
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(ResultText(), c.result);
    tables::Table proft(tmp_.path(), "PROFT");
    proft.Open();
    proft.First();
    EXPECT_EQ(proft.AsText(catalog::f::kAbrev), c.teacher);
    proft.Close();
  }
}

}  // namespace
}  // namespace velquior::win32
