// The viewer's and the tester's operations, the help manager's request
// flows and the set-up, against an engine that records what it is asked.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "help/deferred_engine.h"
#include "help/help_service.h"
#include "help/help_system.h"
#include "help/html_help_viewer.h"

namespace velquior::help {
namespace {

struct Call {
  HelpOwner owner;
  std::string name;
  unsigned command;
  std::uintptr_t number;
  std::string text;
  bool operator==(const Call&) const = default;
};

class RecordingEngine : public HtmlHelpEngine {
 public:
  std::vector<Call> calls;
  void HtmlHelp(HelpOwner owner, const std::string& name, unsigned command, const HtmlHelpData& data) override {
    calls.push_back({owner, name, command, data.number, data.text});
  }
};

std::ostream& operator<<(std::ostream& os, const Call& c) {
  return os << "{" << c.owner << ", '" << c.name << "', " << c.command << ", " << c.number << ", '" << c.text << "'}";
}

const std::string kExeDir = "/opt/velquior/bin/";
const std::string kSaga = kExeDir + "SAGA.chm";

// A viewer registered with a manager, as the set-up leaves it.
class ViewerTest : public ::testing::Test {
 protected:
  ViewerTest()
      : engine_(std::make_shared<RecordingEngine>()), system_([this] { return engine_; }, [] { return kExeDir; }) {
    system_.Manager().SetApplicationHelpFile("SAGA.chm");
  }
  THtmlHelpViewer& Viewer() { return system_.Viewer(); }
  std::vector<Call>& Calls() { return engine_->calls; }

  std::shared_ptr<RecordingEngine> engine_;
  HelpSystem system_;
};

TEST(ChmTest, LastDotDecidesIgnoringCase) {
  const struct {
    const char* name;
    bool chm;
  } cases[] = {
      {"SAGA.chm", true}, {"MANUAL.CHM", true}, {"/x/y/Help.ChM", true}, {"help.chm.bak", false},
      {"help", false},    {"", false},          {"dir.chm/help", false}, {"C:\\dir.v2\\help", false},
      {".chm", true},     {"help.chmx", false}, {"help.ch", false},      {"a.b.chm", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsChmFile(c.name), c.chm) << c.name;
}

TEST(HelpFileResolution, BareNamesLieBesideTheProgram) {
  const struct {
    const char* request;
    const char* application;
    const char* resolved;
  } cases[] = {
      {"SAGA.chm", "OTRO.chm", "/opt/velquior/bin/SAGA.chm"},  // the request's file first
      {"", "SAGA.chm", "/opt/velquior/bin/SAGA.chm"},          // else the application's
      {"", "", ""},
      {"/usr/share/doc/SAGA.chm", "", "/usr/share/doc/SAGA.chm"},
      {"docs/SAGA.chm", "", "docs/SAGA.chm"},
      {"C:\\ayuda\\SAGA.chm", "", "C:\\ayuda\\SAGA.chm"},
      {"dir.v2/help", "", "dir.v2/help"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolveHelpFile(c.request, c.application, kExeDir), c.resolved) << c.request << "|" << c.application;
  }
}

TEST(KeywordCleanUp, DropsUpToTheFirstColonAndTrims) {
  const struct {
    const char* help_string;
    const char* keyword;
  } cases[] = {
      {"Helvora: Exportar", "Exportar"},
      {"Exportar", "Exportar"},
      {"Helvora:Exportar: tablas", "Exportar: tablas"},
      {" \t Helvora :  Importar \r\n", "Importar"},
      {":", ""},
      {"", ""},
      {"WinHelp: \x01"
       "Zeltimor.ini\x7f",
       "Zeltimor.ini\x7f"},  // DEL is no control below the blank
  };
  for (const auto& c : cases) EXPECT_EQ(CleanKeyword(c.help_string), c.keyword) << c.help_string;
}

TEST(TopicNames, JoinWithTheFileAndDefaultToHtm) {
  const struct {
    const char* topic;
    const char* name;
  } cases[] = {
      {"intro", "/h/SAGA.chm::/intro.htm"},
      {"page.HTML", "/h/SAGA.chm::/page.HTML"},
      {"page.Htm", "/h/SAGA.chm::/page.Htm"},
      {"page.txt", "/h/SAGA.chm::/page.txt.htm"},
      {"sub.d/intro", "/h/SAGA.chm::/sub.d/intro.htm"},
      {"", "/h/SAGA.chm::/.htm"},
  };
  for (const auto& c : cases) EXPECT_EQ(TopicName("/h/SAGA.chm", c.topic, ".htm"), c.name) << c.topic;
}

TEST(Selector, KeywordAndContentsPositions) {
  const struct {
    StringList list;
    int keyword;
    int contents;
  } cases[] = {
      {{"Helvora: Exportar", "WinHelp: Exportar"}, 0, -1},
      {{"WinHelp: Exportar", "Helvora: Exportar"}, 1, -1},
      {{"helvora: Exportar", "WinHelp: x"}, 0, -1},  // no exact name: 0 all the same
      {{"Helvora", "WinHelp"}, 0, 0},                // no colon: nothing before it
      {{"WinHelp", "HELVORA"}, 0, 1},
      {{}, 0, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SelectKeywordPosition(c.list, "Helvora"), c.keyword);
    EXPECT_EQ(ContentsPosition(c.list, "Helvora"), c.contents);
  }
}

TEST(Tester, DeclinesEverything) {
  TWinHelpTester tester;
  EXPECT_FALSE(tester.CanShowALink("Exportar", "SAGA.chm"));
  EXPECT_FALSE(tester.CanShowTopic("intro", "SAGA.chm"));
  EXPECT_FALSE(tester.CanShowContext(1, "SAGA.chm"));
  EXPECT_EQ(tester.GetHelpStrings("Exportar"), StringList{": Exportar"});
  EXPECT_EQ(tester.GetHelpPath(), "");
  EXPECT_EQ(tester.GetDefaultHelpFile(), "");
}

TEST_F(ViewerTest, AnswersAndCommandsForAChmFile) {
  int marker = 0;
  system_.Manager().SetOwner(&marker);
  EXPECT_EQ(Viewer().GetViewerName(), "Helvora");
  EXPECT_EQ(Viewer().DefaultTopicExtension(), ".htm");
  EXPECT_EQ(Viewer().UnderstandsKeyword("x"), 1);
  EXPECT_EQ(Viewer().GetHelpStrings("Exportar"), StringList{"Helvora: Exportar"});
  EXPECT_TRUE(Viewer().CanShowTableOfContents());
  EXPECT_TRUE(Viewer().UnderstandsTopic("intro"));
  EXPECT_TRUE(Viewer().UnderstandsContext(7, "MANUAL.CHM"));
  EXPECT_FALSE(Viewer().UnderstandsContext(1, "help.chm.bak"));  // the file given, not the help file

  Viewer().ShowTableOfContents();
  Viewer().ShowHelp("Helvora: Exportar");
  Viewer().DisplayTopic("intro");
  Viewer().DisplayTopic("page.HTML");
  Viewer().DisplayHelpByContext(1, "whatever");
  Viewer().SoftShutDown();
  const std::vector<Call> expected = {
      {&marker, kSaga, kHhDisplayToc, 0, ""},
      {&marker, kSaga, kHhDisplayIndex, 0, "Exportar"},
      {&marker, kSaga + "::/intro.htm", kHhDisplayTopic, 0, ""},
      {&marker, kSaga + "::/page.HTML", kHhDisplayTopic, 0, ""},
      {&marker, kSaga, kHhHelpContext, 1, ""},
      {nullptr, "", kHhCloseAll, 0, ""},
  };
  EXPECT_EQ(Calls(), expected);
}

TEST_F(ViewerTest, AFileThatIsNoChmIsDeclinedAndIgnored) {
  for (const char* file : {"SAGA.hlp", "help.chm.bak", "dir.chm/ayuda"}) {
    system_.Manager().SetApplicationHelpFile(file);
    EXPECT_EQ(Viewer().UnderstandsKeyword("Exportar"), 0) << file;
    EXPECT_FALSE(Viewer().UnderstandsTopic("intro")) << file;
    Viewer().ShowTableOfContents();
    Viewer().ShowHelp("Helvora: Exportar");
    Viewer().DisplayTopic("intro");
    Viewer().DisplayHelpByContext(1, "SAGA.chm");
  }
  EXPECT_TRUE(Calls().empty());
}

TEST(ViewerWithoutEngine, DoesNothingSilently) {
  const EngineLoader loaders[] = {
      {},
      [] { return std::shared_ptr<HtmlHelpEngine>(); },
      []() -> std::shared_ptr<HtmlHelpEngine> { throw std::runtime_error("no library"); },
  };
  for (const EngineLoader& load : loaders) {
    HelpSystem system(load, [] { return kExeDir; });
    system.Manager().SetApplicationHelpFile("SAGA.chm");
    EXPECT_FALSE(system.Viewer().HasEngine());
    EXPECT_TRUE(system.Manager().HelpCommand(kHelpContext, 1));  // understood, shown by nobody
    system.Viewer().ShowTableOfContents();
    system.Viewer().SoftShutDown();
  }
}

TEST(SetUp, RegistersSelectsInstallsTesterAndUnregistersAtTheEnd) {
  auto engine = std::make_shared<RecordingEngine>();
  {
    HelpSystem system([&] { return engine; }, [] { return kExeDir; });
    EXPECT_EQ(system.Manager().ViewerCount(), 2);
    EXPECT_EQ(system.Viewer().ViewerID(), 1);  // after the framework's WinHelp viewer
    EXPECT_TRUE(system.Viewer().HasManager());
    EXPECT_NE(system.WinHelp().Tester(), nullptr);
    EXPECT_EQ(THtmlHelpViewer::Instance(), &system.Viewer());
    system.Viewer().Unregister();
    EXPECT_EQ(system.Manager().ViewerCount(), 1);
    EXPECT_FALSE(system.Viewer().HasManager());
    system.Viewer().Unregister();  // a second time: nothing left to release
    EXPECT_EQ(system.Manager().ViewerCount(), 1);
  }
  EXPECT_EQ(THtmlHelpViewer::Instance(), nullptr);
  EXPECT_EQ(engine.use_count(), 1);  // the engine was unloaded with the viewer
}

TEST(SetUp, ShutDownClosesAllAndDropsTheManager) {
  auto engine = std::make_shared<RecordingEngine>();
  HelpSystem system([&] { return engine; }, [] { return kExeDir; });
  system.Manager().ShutDownViewers();
  EXPECT_EQ(engine->calls, (std::vector<Call>{{nullptr, "", kHhCloseAll, 0, ""}}));
  EXPECT_FALSE(system.Viewer().HasManager());
  EXPECT_EQ(system.Viewer().HelpFile(), "");
}

// The window's two requests as the help manager turns them into commands.
TEST(HelpRequests, F1AndTheHelpButtonReachTheViewer) {
  const struct {
    const char* exe_dir;
    bool contents;
    std::vector<Call> expected;
  } cases[] = {
      {"/opt/v/", false, {{nullptr, "/opt/v/SAGA.chm", kHhHelpContext, 1, ""}}},
      {"/opt/v/", true, {{nullptr, "/opt/v/SAGA.chm", kHhDisplayToc, 0, ""}}},
      {"/otro dir.d/", false, {{nullptr, "/otro dir.d/SAGA.chm", kHhHelpContext, 1, ""}}},
  };
  for (const auto& c : cases) {
    auto engine = std::make_shared<RecordingEngine>();
    const std::string dir = c.exe_dir;
    HelpService service([&] { return engine; }, [dir] { return dir; });
    service.SetHelpFile("SAGA.chm");
    if (c.contents) {
      service.ShowContents();
    } else {
      service.ShowContext(1);
    }
    EXPECT_EQ(engine->calls, c.expected) << c.exe_dir;
    EXPECT_EQ(service.System().WinHelp().Shown(), 0);
  }
}

TEST(HelpRequests, NoHelpFileMeansNothingShown) {
  auto engine = std::make_shared<RecordingEngine>();
  HelpService service([&] { return engine; }, [] { return kExeDir; });
  service.ShowContext(1);  // no help file set
  service.ShowContents();
  EXPECT_TRUE(engine->calls.empty());
}

TEST(HelpManagerFlow, WithoutTheTesterWinHelpSwallowsContextRequests) {
  auto engine = std::make_shared<RecordingEngine>();
  HelpSystem system([&] { return engine; }, [] { return kExeDir; });
  system.Manager().SetApplicationHelpFile("SAGA.chm");
  system.WinHelp().SetTester(nullptr);
  EXPECT_TRUE(system.Manager().HelpCommand(kHelpContext, 1));
  EXPECT_EQ(system.WinHelp().Shown(), 1);
  EXPECT_TRUE(engine->calls.empty());
}

TEST(HelpManagerFlow, KeywordsAndTopicsGoToTheViewer) {
  auto engine = std::make_shared<RecordingEngine>();
  HelpSystem system([&] { return engine; }, [] { return kExeDir; });
  HelpManager& manager = system.Manager();
  EXPECT_TRUE(manager.ShowHelp("Exportar", "SAGA.chm"));
  EXPECT_TRUE(manager.ShowTopicHelp("importar", "SAGA.chm"));
  EXPECT_FALSE(manager.ShowHelp("Exportar", "SAGA.hlp"));  // nobody understands it
  EXPECT_FALSE(manager.ShowContextHelp(1, "SAGA.hlp"));
  EXPECT_FALSE(manager.HelpCommand(99, 0));
  const std::vector<Call> expected = {
      {nullptr, kSaga, kHhDisplayIndex, 0, "Exportar"},
      {nullptr, kSaga + "::/importar.htm", kHhDisplayTopic, 0, ""},
  };
  EXPECT_EQ(engine->calls, expected);
  EXPECT_EQ(manager.GetHelpFile(), "");  // only while a request is served
}

// Viewers offering contents: the names are sorted and the selector chooses.
TEST(HelpManagerFlow, ContentsChoiceIsTheSelectors) {
  class Named : public WinHelpViewer {
   public:
    explicit Named(std::string n) : name(std::move(n)) {}
    std::string GetViewerName() override { return name; }
    std::string name;
  };
  class Picks : public HelpSelector {
   public:
    int pick = 0;
    StringList seen;
    int SelectKeyword(const StringList&) override { return 0; }
    int TableOfContents(const StringList& names) override {
      seen = names;
      return pick;
    }
  };
  auto zeta = std::make_shared<Named>("Zeta");
  auto alfa = std::make_shared<Named>("alfa");
  auto beta = std::make_shared<Named>("Beta");
  auto selector = std::make_shared<Picks>();
  HelpManager manager;
  manager.RegisterViewer(zeta);
  manager.RegisterViewer(alfa);
  manager.RegisterViewer(beta);
  manager.AssignHelpSelector(selector);
  selector->pick = 1;
  EXPECT_TRUE(manager.ShowTableOfContents("x.chm"));
  EXPECT_EQ(selector->seen, (StringList{"alfa", "Beta", "Zeta"}));  // letter case ignored
  EXPECT_EQ(beta->Shown(), 1);
  selector->pick = 3;  // out of range: nobody
  EXPECT_FALSE(manager.ShowTableOfContents("x.chm"));
  EXPECT_EQ(zeta->Shown() + alfa->Shown() + beta->Shown(), 1);
}

// The engine loads on the first request that shows something, once, and a
// failed load leaves help silent as a missing library at start-up does.
TEST(DeferredEngine, LoadsOnTheFirstDisplayOnlyAndOnce) {
  const struct {
    const char* name;
    bool loads;  // the loader gives an engine
    bool throws;
  } cases[] = {
      {"engine available", true, false},
      {"library missing", false, false},
      {"loader fails", false, true},
  };
  for (const auto& c : cases) {
    int loads = 0;
    auto engine = std::make_shared<RecordingEngine>();
    HelpSystem system(Deferred([&]() -> std::shared_ptr<HtmlHelpEngine> {
                        ++loads;
                        if (c.throws) throw std::runtime_error("sin motor");
                        return c.loads ? engine : nullptr;
                      }),
                      [] { return kExeDir; });
    system.Manager().SetApplicationHelpFile("SAGA.chm");
    EXPECT_EQ(loads, 0) << c.name << ": nothing loads at start-up";
    system.Viewer().SoftShutDown();  // closing needs no engine
    EXPECT_EQ(loads, 0) << c.name;
    system.Manager().HelpCommand(kHelpContext, 1);
    system.Manager().HelpCommand(kHelpContents, 0);
    EXPECT_EQ(loads, 1) << c.name;
    const std::vector<Call> expected =
        c.loads ? std::vector<Call>{{nullptr, kSaga, kHhHelpContext, 1, ""}, {nullptr, kSaga, kHhDisplayToc, 0, ""}}
                : std::vector<Call>{};
    EXPECT_EQ(engine->calls, expected) << c.name;
  }
}

}  // namespace
}  // namespace velquior::help
