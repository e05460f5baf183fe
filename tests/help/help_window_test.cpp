// The help window over the built SAGA.chm, and the main window's F1 and
// "F1 AYUDA" reaching it.
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>

#include "app/MainForm.h"
#include "help/help_service.h"
#include "help/help_window.h"
#include "tests/app/fake_window_parts.h"
#include "tests/test_util.h"

namespace velquior::help {
namespace {

namespace fs = std::filesystem;
using velquior::testing::ReadFile;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

const std::string kChm = VELQUIOR_HELP_CHM;

// Processes events until `done` or two seconds have passed.
template <class Done>
bool WaitUntil(Done done) {
  for (int i = 0; i < 200 && !done(); ++i) QTest::qWait(10);
  return done();
}

class HelpWindowTest : public ::testing::Test {
 protected:
  ~HelpWindowTest() override {
    engine_.HtmlHelp(nullptr, {}, kHhCloseAll, {});
    QTest::qWait(0);
  }
  HelpWindow* Only() {
    const auto windows = engine_.Windows();
    return windows.size() == 1 ? windows.front() : nullptr;
  }
  ChmHelpEngine engine_;
};

TEST_F(HelpWindowTest, ContextsShowTheirPagesAndUnknownOnesTheDefault) {
  const struct {
    std::uintptr_t context;
    const char* page;
  } cases[] = {{1, "/index.htm"}, {20, "/importar.htm"}, {999, "/index.htm"}, {10, "/exportar.htm"}};
  for (const auto& c : cases) {
    engine_.HtmlHelp(nullptr, kChm, kHhHelpContext, {c.context, {}});
    HelpWindow* window = Only();
    ASSERT_NE(window, nullptr) << c.context;
    EXPECT_EQ(window->CurrentPage(), c.page) << c.context;
  }
  EXPECT_EQ(Only()->windowTitle().toStdString(), "Ayuda de Velquior");
}

TEST_F(HelpWindowTest, PagesBringTheirStyleSheetImageAndLinks) {
  engine_.HtmlHelp(nullptr, kChm, kHhHelpContext, {1, {}});
  HelpWindow* window = Only();
  ASSERT_NE(window, nullptr);
  ChmBrowser* browser = window->Browser();
  EXPECT_NE(browser->toPlainText().indexOf(QStringLiteral("Velquior pasa los datos")), -1);
  EXPECT_FALSE(browser->loadResource(QTextDocument::StyleSheetResource, QUrl("estilo.css")).toString().isEmpty());
  const QByteArray logo = browser->loadResource(QTextDocument::ImageResource, QUrl("logo.png")).toByteArray();
  EXPECT_EQ(logo.mid(1, 3), QByteArray("PNG"));
  EXPECT_FALSE(browser->document()->resource(QTextDocument::ImageResource, QUrl("logo.png")).isNull());
  EXPECT_TRUE(browser->loadResource(QTextDocument::ImageResource, QUrl("http://example.org/x.png")).isNull());
  // A link inside the page leads to another page of the file.
  emit browser->anchorClicked(QUrl("exportar.htm"));
  EXPECT_EQ(window->CurrentPage(), "/exportar.htm");
}

TEST_F(HelpWindowTest, TopicsAreShownByName) {
  const struct {
    std::string name;
    const char* page;
  } cases[] = {{kChm + "::/importar.htm", "/importar.htm"},
               {kChm + "::/mensajes.htm#x", "/mensajes.htm"},
               {kChm + "::/no_existe.htm", "/index.htm"}};
  for (const auto& c : cases) {
    engine_.HtmlHelp(nullptr, c.name, kHhDisplayTopic, {});
    ASSERT_NE(Only(), nullptr) << c.name;
    EXPECT_EQ(Only()->CurrentPage(), c.page) << c.name;
  }
}

TEST_F(HelpWindowTest, ContentsShowTheTreeOfTheFile) {
  engine_.HtmlHelp(nullptr, kChm, kHhDisplayToc, {});
  HelpWindow* window = Only();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Tabs()->currentIndex(), 0);
  QTreeWidget* tree = window->ContentsTree();
  ASSERT_EQ(tree->topLevelItemCount(), 4);
  EXPECT_EQ(tree->topLevelItem(0)->text(0).toStdString(), "Ayuda de Velquior");
  ASSERT_EQ(tree->topLevelItem(0)->childCount(), 3);
  EXPECT_EQ(tree->topLevelItem(0)->child(2)->text(0).toStdString(), "Arranque desde Zeltimor");
  EXPECT_EQ(tree->topLevelItem(2)->text(0).toStdString(), "El directorio de trabajo");
  EXPECT_EQ(window->CurrentPage(), "/index.htm");
  emit tree->itemClicked(tree->topLevelItem(1), 0);
  EXPECT_EQ(window->CurrentPage(), "/mensajes.htm");
}

TEST_F(HelpWindowTest, IndexSelectsTheKeywordAndShowsItsPage) {
  const struct {
    const char* keyword;
    const char* selected;
    const char* page;
  } cases[] = {{"Exportar", "Exportar", "/exportar.htm"},
               {"zeltimor", "Zeltimor.ini", "/anfitrion.htm"},
               {"SOLUC", "SOLUC", "/importar.htm"},
               {"C\xC3\xB3" "digos que", "C\xC3\xB3" "digos que se conservan", "/exportar.htm"}};
  for (const auto& c : cases) {
    engine_.HtmlHelp(nullptr, kChm, kHhDisplayIndex, {0, c.keyword});
    HelpWindow* window = Only();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Tabs()->currentIndex(), 1);
    ASSERT_NE(window->IndexList()->currentItem(), nullptr) << c.keyword;
    EXPECT_EQ(window->IndexList()->currentItem()->text().toStdString(), c.selected);
    EXPECT_EQ(window->CurrentPage(), c.page) << c.keyword;
  }
  EXPECT_EQ(Only()->IndexList()->count(), 20);
  engine_.HtmlHelp(nullptr, kChm, kHhDisplayIndex, {0, "nada de esto"});
  EXPECT_EQ(Only()->IndexList()->currentItem(), nullptr);
}

// The Index tab lists the file's index; the entry the user picks, by a
// double click or by its first letters and Enter, opens its own page.
TEST_F(HelpWindowTest, IndexTabOpensTheChosenEntry) {
  engine_.HtmlHelp(nullptr, kChm, kHhDisplayToc, {});
  HelpWindow* window = Only();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(window->Tabs()->count(), 2);
  EXPECT_EQ(window->Tabs()->tabText(1), QString::fromUtf8("\xC3\x8Dndice"));
  QListWidget* list = window->IndexList();
  const QList<QListWidgetItem*> found = list->findItems(QStringLiteral("Directorio de trabajo"), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  window->Tabs()->setCurrentIndex(1);
  ASSERT_TRUE(WaitUntil([&] { return list->isVisible(); }));
  list->scrollToItem(found.front());
  const QPoint at = list->visualItemRect(found.front()).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);  // the press a double click starts with
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(window->CurrentPage(), "/directorio.htm");

  auto* keyword = window->findChild<QLineEdit*>(QStringLiteral("Keyword"));
  ASSERT_NE(keyword, nullptr);
  QTest::keyClicks(keyword, QStringLiteral("solu"));
  QTest::keyClick(keyword, Qt::Key_Return);
  EXPECT_EQ(list->currentItem()->text(), QStringLiteral("SOLUC"));
  EXPECT_EQ(window->CurrentPage(), "/importar.htm");
}

// A file without an index shows no Index tab, and asking for the index
// shows the contents.
TEST(HelpWindowWithoutIndex, HasNoIndexTab) {
  const std::string hhc =
      "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Inicio\">"
      "<param name=\"Local\" value=\"index.htm\"></object></ul>";
  HelpWindow window(ChmFile::FromObjects({{"/Ayuda.hhc", hhc}, {"/index.htm", "<html><body>inicio</body></html>"}}),
                    "Ayuda.chm");
  EXPECT_EQ(window.Tabs()->count(), 1);
  window.ShowIndex("Exportar");
  EXPECT_EQ(window.Tabs()->currentIndex(), 0);
  EXPECT_EQ(window.CurrentPage(), "/index.htm");
}

TEST_F(HelpWindowTest, CloseAllClosesEveryWindow) {
  TempDir dir;
  fs::copy_file(kChm, dir / "OTRA.chm");
  engine_.HtmlHelp(nullptr, kChm, kHhHelpContext, {1, {}});
  engine_.HtmlHelp(nullptr, (dir / "OTRA.chm").string(), kHhDisplayToc, {});
  engine_.HtmlHelp(nullptr, kChm, kHhDisplayToc, {});  // the same file: the same window
  ASSERT_EQ(engine_.Windows().size(), 2u);
  engine_.HtmlHelp(nullptr, {}, kHhCloseAll, {});
  EXPECT_TRUE(engine_.Windows().empty());
  engine_.HtmlHelp(nullptr, kChm, kHhHelpContext, {1, {}});  // opens again
  EXPECT_EQ(engine_.Windows().size(), 1u);
}

TEST_F(HelpWindowTest, MissingForeignOrDamagedFilesShowNothing) {
  TempDir dir;
  const std::string bytes = ReadFile(kChm);
  WriteFile(dir / "texto.chm", "esto no es una ayuda");
  WriteFile(dir / "corto.chm", bytes.substr(0, 0x60));
  WriteFile(dir / "mitad.chm", bytes.substr(0, bytes.size() / 2));
  for (const char* name : {"no_existe.chm", "texto.chm", "corto.chm", "mitad.chm"}) {
    const std::string file = (dir / name).string();
    for (unsigned command : {kHhHelpContext, kHhDisplayToc, kHhDisplayIndex, kHhDisplayTopic}) {
      engine_.HtmlHelp(nullptr, command == kHhDisplayTopic ? file + "::/index.htm" : file, command, {1, "Exportar"});
    }
    const auto windows = engine_.Windows();
    if (std::string(name) == "mitad.chm") {
      // Half a file may still hold its directory: a window then shows a page.
      for (HelpWindow* w : windows) EXPECT_FALSE(w->Browser()->toPlainText().isEmpty());
    } else {
      EXPECT_TRUE(windows.empty()) << name;
    }
    engine_.HtmlHelp(nullptr, {}, kHhCloseAll, {});
  }
}

// The main window with the program's own help: F1 and "F1 AYUDA".
TEST(MainWindowHelp, F1OpensContextOneAndTheButtonTheContents) {
  const std::string exe_dir = fs::path(kChm).parent_path().string() + "/";
  std::shared_ptr<ChmHelpEngine> engine = std::make_shared<ChmHelpEngine>();
  HelpService help([engine] { return engine; }, [exe_dir] { return exe_dir; });
  help.SetHelpFile(kHelpFile);
  app::testing::FakeDialogs dialogs;
  TempDir work;
  app::FormSetup setup;
  setup.work_dir = work.path();
  setup.result_file = work / "Zeltimor.ini";
  setup.dialogs = &dialogs;
  setup.help = &help;
  app::TMForm form(std::move(setup));
  form.ShowForm();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

  auto* exportar = form.findChild<QPushButton*>("BExportar");
  exportar->setFocus();
  QTest::keyClick(exportar, Qt::Key_F1);
  ASSERT_TRUE(WaitUntil([&] { return engine->Windows().size() == 1; }));
  HelpWindow* window = engine->Windows().front();
  EXPECT_EQ(window->File(), exe_dir + "SAGA.chm");
  EXPECT_EQ(window->CurrentPage(), "/index.htm");

  emit window->ContentsTree()->itemClicked(window->ContentsTree()->topLevelItem(1), 0);
  window->Tabs()->setCurrentIndex(1);
  QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  ASSERT_EQ(engine->Windows().size(), 1u);
  EXPECT_EQ(window->Tabs()->currentIndex(), 0);       // the contents
  EXPECT_EQ(window->CurrentPage(), "/mensajes.htm");  // the page shown stays
  EXPECT_TRUE(dialogs.calls.empty());

  help.CloseAll();
  EXPECT_TRUE(engine->Windows().empty());

  // From nothing, the button opens the contents at the default topic.
  QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  ASSERT_EQ(engine->Windows().size(), 1u);
  EXPECT_EQ(engine->Windows().front()->Tabs()->currentIndex(), 0);
  EXPECT_EQ(engine->Windows().front()->ContentsTree()->topLevelItemCount(), 4);
  EXPECT_EQ(engine->Windows().front()->CurrentPage(), "/index.htm");
  help.CloseAll();
  form.close();
}

TEST(MainWindowHelp, NoHelpFileBesideTheProgramShowsNothing) {
  TempDir empty_dir;
  const std::string exe_dir = empty_dir.path().string() + "/";
  auto engine = std::make_shared<ChmHelpEngine>();
  HelpService help([engine] { return engine; }, [exe_dir] { return exe_dir; });
  help.SetHelpFile(kHelpFile);
  help.ShowContext(1);
  help.ShowContents();
  EXPECT_TRUE(engine->Windows().empty());
}

}  // namespace
}  // namespace velquior::help
