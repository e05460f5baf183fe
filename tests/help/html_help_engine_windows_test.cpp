// HHCtrl.ocx's engine under Wine: what reaches HtmlHelpW, through a stand-in
// that records its calls, and Wine's own engine opening and closing a help
// window on SAGA.chm beside this test.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/files.h"
#include "help/help_service.h"
#include "help/html_help_engine.h"
#include "help/program_help.h"
#include "platform/windows/utf16.h"

namespace velquior::help {
namespace {

struct Recorded {
  HWND owner;
  std::optional<std::string> file;  // none: a null pointer
  UINT command;
  DWORD_PTR number;                 // the data, unless the index's keyword
  std::optional<std::string> text;  // the index's keyword, read at the call
  bool operator==(const Recorded&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Recorded& r) {
  return os << "{" << r.owner << ", " << (r.file ? "'" + *r.file + "'" : "null") << ", " << r.command << ", "
            << r.number << ", " << (r.text ? "'" + *r.text + "'" : "-") << "}";
}

std::vector<Recorded> g_calls;

HWND WINAPI RecordingHtmlHelp(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data) {
  Recorded r{owner, file ? std::optional<std::string>(platform::WideToUtf8(file)) : std::nullopt, command, data,
             std::nullopt};
  if (command == kHhDisplayIndex) {
    r.text = platform::WideToUtf8(reinterpret_cast<const wchar_t*>(data));
    r.number = 0;
  }
  g_calls.push_back(r);
  return nullptr;
}

const std::string kLodz = "\xC5\x81\xC3\xB3" "d\xC5\xBA";       // Łódź
const std::string kPiotr = "\xD0\x9F\xD1\x91\xD1\x82\xD1\x80";  // Пётр

const HWND kOwner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x5A6A));

// The service as the window's main has it, over the stand-in.
struct StandInHelp {
  StandInHelp() : service([] { return std::make_shared<HhCtrlEngine>(&RecordingHtmlHelp, nullptr); }) {
    g_calls.clear();
    service.SetHelpFile(kHelpFile);
    service.SetOwner(kOwner);
  }
  HelpService service;
};

TEST(HhCtrlEngine, WindowRequestsReachHtmlHelpW) {
  const std::string saga = ExecutableDirectory() + "SAGA.chm";
  ASSERT_GT(saga.size(), 9u);
  EXPECT_EQ(saga[saga.size() - 9], '\\');
  const struct {
    const char* what;
    void (*request)(HelpService&);
    Recorded expected;
  } cases[] = {
      {"F1", [](HelpService& h) { h.ShowContext(kMainWindowContext); }, {kOwner, saga, kHhHelpContext, 1, {}}},
      {"F1 AYUDA", [](HelpService& h) { h.ShowContents(); }, {kOwner, saga, kHhDisplayToc, 0, {}}},
      {"index", [](HelpService& h) { h.System().Manager().ShowHelp("Exportar", "SAGA.chm"); },
       {kOwner, saga, kHhDisplayIndex, 0, "Exportar"}},
      {"topic", [](HelpService& h) { h.System().Manager().ShowTopicHelp("importar", "SAGA.chm"); },
       {kOwner, saga + "::/importar.htm", kHhDisplayTopic, 0, {}}},
      {"shut-down", [](HelpService& h) { h.ShutDown(); }, {nullptr, std::nullopt, kHhCloseAll, 0, {}}},
      {"close all", [](HelpService& h) { h.CloseAll(); }, {nullptr, std::nullopt, kHhCloseAll, 0, {}}},
  };
  for (const auto& c : cases) {
    StandInHelp help;
    c.request(help.service);
    EXPECT_EQ(g_calls, std::vector<Recorded>{c.expected}) << c.what;
  }
}

// The library goes with the engine; windows still open are closed first.
TEST(HhCtrlEngine, EngineEndClosesWhatMayBeOpen) {
  const struct {
    const char* what;
    std::vector<unsigned> commands;
    int closes_at_end;
  } cases[] = {
      {"nothing shown", {}, 0},
      {"context shown", {kHhHelpContext}, 1},
      {"closed after showing", {kHhDisplayToc, kHhCloseAll}, 0},
      {"shown again after closing", {kHhDisplayToc, kHhCloseAll, kHhDisplayIndex}, 1},
  };
  for (const auto& c : cases) {
    g_calls.clear();
    {
      HhCtrlEngine engine(&RecordingHtmlHelp, nullptr);
      for (unsigned command : c.commands) engine.HtmlHelp(kOwner, "SAGA.chm", command, {});
    }
    ASSERT_EQ(g_calls.size(), c.commands.size() + static_cast<std::size_t>(c.closes_at_end)) << c.what;
    if (c.closes_at_end == 1) {
      EXPECT_EQ(g_calls.back(), (Recorded{nullptr, std::nullopt, kHhCloseAll, 0, {}})) << c.what;
    }
  }
}

// Names and keywords outside any one code page arrive whole.
TEST(HhCtrlEngine, NamesAndKeywordsInAnyScript) {
  const std::string folder = "C:\\U\xC5\xBCytkownicy\\" + kPiotr + "\\";  // Użytkownicy
  g_calls.clear();
  {
    HhCtrlEngine engine(&RecordingHtmlHelp, nullptr);
    engine.HtmlHelp(kOwner, folder + "SAGA.chm", kHhHelpContext, {1, {}});
    engine.HtmlHelp(kOwner, folder + "SAGA.chm", kHhDisplayIndex, {0, "\xC3\x8Dndice " + kLodz});
  }
  ASSERT_EQ(g_calls.size(), 3u);
  EXPECT_EQ(g_calls[0], (Recorded{kOwner, folder + "SAGA.chm", kHhHelpContext, 1, {}}));
  EXPECT_EQ(g_calls[1], (Recorded{kOwner, folder + "SAGA.chm", kHhDisplayIndex, 0, "\xC3\x8Dndice " + kLodz}));
}

TEST(HhCtrlEngine, MissingLibraryOrEntryMeansNoHelp) {
  const wchar_t* libraries[] = {L"velquior-no-such-help.ocx", L"kernel32.dll"};
  for (const wchar_t* library : libraries) {
    HelpService help(HhCtrlEngineLoader(library));
    help.SetHelpFile(kHelpFile);
    EXPECT_FALSE(help.System().Viewer().HasEngine());
    help.ShowContext(kMainWindowContext);
    help.ShowContents();
    help.ShutDown();
  }
}

// The process's top-level windows of the HTML Help class.
std::vector<HWND> HelpWindows() {
  std::vector<HWND> found;
  ::EnumWindows(
      [](HWND w, LPARAM param) -> BOOL {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        char name[64] = {};
        ::GetClassNameA(w, name, sizeof name);
        if (pid == ::GetCurrentProcessId() && std::string(name) == "HH Parent") {
          reinterpret_cast<std::vector<HWND>*>(param)->push_back(w);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The first control of a class inside a help window.
HWND ChildOfClass(HWND help_window, const char* wanted) {
  struct Search {
    const char* wanted;
    HWND found;
  } search{wanted, nullptr};
  ::EnumChildWindows(
      help_window,
      [](HWND w, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        char name[64] = {};
        ::GetClassNameA(w, name, sizeof name);
        if (std::string(name) != s->wanted) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The Index tab's entries, as the help window lists them.
std::vector<std::wstring> IndexEntries(HWND help_window) {
  HWND list = ChildOfClass(help_window, "SysListView32");
  std::vector<std::wstring> entries;
  const int count = list == nullptr ? 0 : static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 128;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    entries.emplace_back(text);
  }
  return entries;
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// An install folder named in letters outside the ANSI code page (a user's
// own folder, for a per-user install): F1 opens the help all the same.
TEST(HhCtrlEngine, WinesEngineFindsTheHelpInAFolderOfAnyName) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display for Wine's windows";
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / PathFromUtf8("Velquior " + kLodz + " " + kPiotr);
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(PathFromUtf8(ExecutableDirectory() + "SAGA.chm"), folder / "SAGA.chm",
                             std::filesystem::copy_options::overwrite_existing);
  {
    HelpService help(HhCtrlEngineLoader());
    help.SetHelpFile(PathToUtf8(folder / "SAGA.chm"));
    ASSERT_TRUE(help.System().Viewer().HasEngine()) << "Wine's hhctrl.ocx did not load";
    help.ShowContext(kMainWindowContext);
    PumpMessages();
    EXPECT_FALSE(HelpWindows().empty());
    help.ShutDown();
    PumpMessages();
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

TEST(HhCtrlEngine, WinesEngineOpensAndClosesTheHelpWindow) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display for Wine's windows";
  ASSERT_TRUE(std::filesystem::exists(PathFromUtf8(ExecutableDirectory() + "SAGA.chm")));
  auto help = CreateProgramHelp();
  ASSERT_TRUE(help->System().Viewer().HasEngine()) << "Wine's hhctrl.ocx did not load";
  EXPECT_TRUE(HelpWindows().empty());
  help->ShowContext(kMainWindowContext);
  PumpMessages();
  const std::vector<HWND> shown = HelpWindows();
  ASSERT_EQ(shown.size(), 1u);
  // Contents and Index, as the file's window definition asks, and the index
  // in the letters it was written in.
  HWND tabs = ChildOfClass(shown.front(), "SysTabControl32");
  EXPECT_EQ(tabs == nullptr ? 0 : ::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
  const std::vector<std::wstring> index = IndexEntries(shown.front());
  EXPECT_EQ(index.size(), 20u);
  EXPECT_NE(std::find(index.begin(), index.end(), L"C\u00F3digos de resultado"), index.end());
  help->ShutDown();
  PumpMessages();
  EXPECT_TRUE(HelpWindows().empty());
}

}  // namespace
}  // namespace velquior::help
