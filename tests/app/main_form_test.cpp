#include "app/MainForm.h"

#include <memory>

#include <gtest/gtest.h>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/glyphs.h"
#include "app/gradient_panel.h"
#include "app/open_dialog.h"
#include "fake_window_parts.h"
#include "tests/import/table_maker.h"
#include "tests/test_util.h"

namespace velquior::app {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialogs;
using testing::FakeEmbedder;
using testing::FakeHelp;
using velquior::testing::ReadFile;
using velquior::testing::TempDir;

// Processes events until `done` or a second has passed.
template <class Done>
bool WaitUntil(Done done) {
  for (int i = 0; i < 100 && !done(); ++i) QTest::qWait(10);
  return done();
}

const std::string kFinalizado = "message:Proceso finalizado";
const std::string kNoExiste = "message:No existe archivo";
const std::vector<std::string> kExportTables = {"ASIGNOMT.DBF",   "ASIGT.DBF",   "AULAT.DBF",
                                                "DIASHORAST.DBF", "GRUPOST.DBF", "PROFT.DBF"};

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    fs::create_directory(work_ / "Saga");  // found whatever its case
    fs::copy_file(VELQUIOR_EXAMPLES "/escuela.xml", work_ / "Saga" / "escuela.xml");
    fs::create_directory(exe_dir_.path() / "bin");
  }

  TMForm& Make(std::vector<std::string> params = {}) {
    FormSetup setup;
    setup.params = std::move(params);
    setup.work_dir = work_.path();
    setup.result_file = ResultFile();
    setup.dialogs = &dialogs_;
    setup.help = &help_;
    setup.embedder = &embedder_;
    setup.on_closed = [this] { ++closed_calls_; };
    setup.on_host_lost = on_host_lost_;
    form_ = std::make_unique<TMForm>(std::move(setup));
    dialogs_.form = form_.get();
    return *form_;
  }

  fs::path ResultFile() const { return exe_dir_.path() / "bin" / "Zeltimor.ini"; }
  std::string ResultText() const { return fs::exists(ResultFile()) ? ReadFile(ResultFile()) : "<none>"; }
  static std::string Result(int code) { return "[Transformadores]\r\nTransformado=" + std::to_string(code) + "\r\n"; }
  QString Sample() const { return ToQString(work_.path() / "Saga" / "escuela.xml"); }
  QPushButton* Button(const char* name) const { return form_->findChild<QPushButton*>(name); }
  bool ConversionsEnabled() const { return Button("BExportar")->isEnabled() && Button("BImportar")->isEnabled(); }
  bool ConversionsDisabled() const { return !Button("BExportar")->isEnabled() && !Button("BImportar")->isEnabled(); }

  TempDir work_;
  TempDir exe_dir_;
  FakeDialogs dialogs_;
  FakeHelp help_;
  FakeEmbedder embedder_;
  int closed_calls_ = 0;
  std::function<void()> on_host_lost_;
  std::unique_ptr<TMForm> form_;
};

TEST_F(MainFormTest, WindowHasItsCaptionFrameAndSize) {
  TMForm& form = Make();
  EXPECT_EQ(form.windowTitle().toStdString(), "Exportar e importar datos entre Zeltimor y SAGA");
  EXPECT_EQ(form.size(), QSize(632, 266));
  EXPECT_EQ(form.minimumSize(), QSize(632, 266));
  EXPECT_EQ(form.maximumSize(), QSize(632, 266));
  const Qt::WindowFlags flags = form.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::FramelessWindowHint);
  EXPECT_EQ(form.font().pixelSize(), 11);
  EXPECT_EQ(form.property("helpContext").toInt(), 1);
}

TEST_F(MainFormTest, OpensCentredOnTheScreen) {
  TMForm& form = Make();
  const QRect screen = form.screen()->geometry();
  EXPECT_EQ(form.pos(), screen.topLeft() + QPoint((screen.width() - 632) / 2, (screen.height() - 266) / 2));
}

TEST_F(MainFormTest, PanelsHaveTheirPlacesAndColours) {
  Make();
  const struct {
    const char* name;
    QRect geometry;
    QColor bottom, middle, top;
  } panels[] = {
      {"Draw3D2", {0, -1, 315, 169}, QColor(0xF9D37D), QColor(0xFFFFFF), QColor(0xFFEEDD)},
      {"Draw3D3", {316, 0, 317, 169}, QColor(0xF9D37D), QColor(0xFFFFFF), QColor(0xFFEEDD)},
      {"Draw3D1", {0, 168, 633, 97}, QColor(0xC2CDFE), QColor(0xCFF2FE), QColor(0xCCD8E6)},
  };
  for (const auto& p : panels) {
    auto* panel = form_->findChild<GradientPanel*>(p.name);
    ASSERT_NE(panel, nullptr) << p.name;
    EXPECT_EQ(panel->parentWidget(), form_.get()) << p.name;
    EXPECT_EQ(panel->geometry(), p.geometry) << p.name;
    EXPECT_EQ(panel->BottomColor(), p.bottom) << p.name;
    EXPECT_EQ(panel->MiddleColor(), p.middle) << p.name;
    EXPECT_EQ(panel->TopColor(), p.top) << p.name;
    EXPECT_EQ(panel->property("helpContext").toInt(), 1) << p.name;
  }
  // The gradient really runs top colour, middle colour, bottom colour.
  const QImage image = form_->findChild<GradientPanel*>("Draw3D1")->grab().toImage();
  EXPECT_EQ(image.pixelColor(10, 0).rgb(), QColor(0xCCD8E6).rgb());
  EXPECT_EQ(image.pixelColor(10, 96).rgb() & 0xF0F0F0, QColor(0xC2CDFE).rgb() & 0xF0F0F0);
}

TEST_F(MainFormTest, ControlsHaveTheirPlacesTextsAndFonts) {
  Make();
  const struct {
    const char* name;
    const char* panel;
    QRect geometry;
    const char* text;
    int pixel_size;
    bool bold;
  } controls[] = {
      {"Label3", "Draw3D2", {24, 24, 265, 57}, "Transformar datos desde SAGA hacia Zeltimor ", 16, true},
      {"BExportar", "Draw3D2", {96, 120, 89, 25}, "Aceptar", 11, false},
      {"Label4", "Draw3D3", {8, 24, 305, 57}, "Transformar datos desde Zeltimor hacia SAGA", 16, true},
      {"BImportar", "Draw3D3", {96, 120, 89, 25}, "Aceptar", 11, false},
      {"BClose", "Draw3D1", {256, 32, 89, 25}, "&Salir", 11, false},
      {"Button1", "Draw3D1", {265, 67, 75, 18}, "F1 AYUDA", 11, false},
  };
  for (const auto& c : controls) {
    QWidget* w = form_->findChild<QWidget*>(c.name);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_EQ(w->parentWidget()->objectName().toStdString(), c.panel) << c.name;
    EXPECT_EQ(w->geometry(), c.geometry) << c.name;
    const QString text =
        qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text() : qobject_cast<QPushButton*>(w)->text();
    EXPECT_EQ(text.toStdString(), c.text) << c.name;
    EXPECT_EQ(w->font().pixelSize(), c.pixel_size) << c.name;
    EXPECT_EQ(w->font().bold(), c.bold) << c.name;
  }
  auto* version = form_->findChild<QLabel*>("Label1");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->parentWidget()->objectName().toStdString(), "Draw3D1");
  EXPECT_EQ(version->text().toStdString(), "Velquior para ZR40 V-1.0");
  EXPECT_EQ(version->pos(), QPoint(8, 72));
  EXPECT_EQ(version->size(), version->sizeHint());  // sized to its text
  EXPECT_TRUE(version->font().bold());
  // The colour the label really paints its text with.
  EXPECT_EQ(version->palette().color(version->foregroundRole()), QColor(0xFF0000));
  for (const char* name : {"Label3", "Label4"}) {
    auto* label = form_->findChild<QLabel*>(name);
    EXPECT_TRUE(label->wordWrap()) << name;
    EXPECT_EQ(label->palette().color(label->foregroundRole()), label->palette().color(QPalette::WindowText)) << name;
  }
  // Glyphs on the three glyph buttons, none on the help button.
  for (const char* name : {"BExportar", "BImportar", "BClose"}) EXPECT_FALSE(Button(name)->icon().isNull()) << name;
  EXPECT_TRUE(Button("Button1")->icon().isNull());
}

// A bold the fonts cannot give is drawn regular without a word: the version
// label's strokes must cover clearly more than its face's regular ones.
TEST_F(MainFormTest, VersionLabelIsDrawnBold) {
  Make();
  auto* version = form_->findChild<QLabel*>("Label1");
  ASSERT_NE(version, nullptr);
  auto ink = [](QWidget* w) {
    const QImage image = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        n += c.red() > c.green() + 80 && c.red() > c.blue() + 80 ? 1 : 0;
      }
    }
    return n;
  };
  QLabel regular(version->text());
  QFont font = version->font();
  font.setBold(false);
  regular.setFont(font);
  regular.setPalette(version->palette());
  regular.setForegroundRole(version->foregroundRole());
  regular.adjustSize();
  const int bold_ink = ink(version), regular_ink = ink(&regular);
  EXPECT_GT(regular_ink, 50);
  EXPECT_GE(bold_ink * 100, regular_ink * 120) << "bold " << bold_ink << ", regular " << regular_ink;
}

// Green somewhere in the glyph: a clearly green pixel.
bool HasGreen(const QPixmap& pm) {
  const QImage image = pm.toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.alpha() > 128 && c.green() > 96 && c.green() > 2 * c.red() && c.green() > 2 * c.blue()) return true;
    }
  }
  return false;
}

TEST(GlyphsTest, CheckMarkIsGreenAndItsDisabledFormIsNot) {
  const QIcon check = CheckMarkIcon();
  EXPECT_TRUE(HasGreen(check.pixmap(kGlyphSize, QIcon::Normal)));
  const QPixmap disabled = check.pixmap(kGlyphSize, QIcon::Disabled);
  EXPECT_FALSE(HasGreen(disabled));
  int drawn = 0;  // the outline is there
  const QImage image = disabled.toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) drawn += image.pixelColor(x, y).alpha() > 128 ? 1 : 0;
  }
  EXPECT_GT(drawn, 10);
}

TEST_F(MainFormTest, EachAceptarIsNamedAfterItsConversionForScreenReaders) {
  Make();
  EXPECT_EQ(Button("BExportar")->accessibleName(), "Aceptar: Transformar datos desde SAGA hacia Zeltimor");
  EXPECT_EQ(Button("BImportar")->accessibleName(), "Aceptar: Transformar datos desde Zeltimor hacia SAGA");
  EXPECT_EQ(Button("BExportar")->text(), "Aceptar");  // what shows stays the same
}

TEST_F(MainFormTest, TabOrderRunsBottomThenLeftThenRight) {
  Make();
  std::vector<std::string> order;
  QWidget* w = Button("BClose");
  do {
    if (w->focusPolicy() & Qt::TabFocus) order.push_back(w->objectName().toStdString());
    w = w->nextInFocusChain();
  } while (w != Button("BClose"));
  EXPECT_EQ(order, (std::vector<std::string>{"BClose", "Button1", "BExportar", "BImportar"}));
}

TEST_F(MainFormTest, InteractiveExportCompletesAndDisablesBothButtons) {
  TMForm& form = Make();
  form.ShowForm();
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(dialogs_.calls.empty());  // nothing runs by itself
  dialogs_.answers.push_back(Sample());
  QTest::mouseClick(Button("BExportar"), Qt::LeftButton);
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"dialog", kFinalizado}));
  EXPECT_EQ(velquior::testing::ListDir(work_.path()).size(), kExportTables.size() + 1);
  for (const auto& t : kExportTables) EXPECT_TRUE(fs::exists(work_ / t)) << t;
  EXPECT_TRUE(ConversionsDisabled());
  EXPECT_EQ(form.State().ResultCode, 1);
  EXPECT_FALSE(form.State().HostLaunched);
  EXPECT_FALSE(form.Closed());
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  form.close();
  EXPECT_EQ(closed_calls_, 1);
  EXPECT_EQ(ResultText(), "<none>");  // interactive use writes nothing
}

// The focused "Aceptar" is disabled by the conversion it started: the
// keyboard goes on from "&Salir".
TEST_F(MainFormTest, KeyboardStillWorksAfterACompletedConversion) {
  TMForm& form = Make();
  form.ShowForm();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  dialogs_.answers.push_back(Sample());
  Button("BExportar")->setFocus();
  QTest::keyClick(Button("BExportar"), Qt::Key_Return);
  ASSERT_EQ(dialogs_.calls, (std::vector<std::string>{"dialog", kFinalizado}));
  ASSERT_TRUE(ConversionsDisabled());
  EXPECT_EQ(form.focusWidget(), Button("BClose"));
  QTest::keyClick(form.focusWidget(), Qt::Key_F1);
  EXPECT_EQ(help_.calls, std::vector<std::string>{"context:1"});
  QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(form.focusWidget(), Button("Button1"));
}

TEST_F(MainFormTest, MissingFileLeavesBothButtonsEnabled) {
  TMForm& form = Make();
  form.ShowForm();
  for (const char* button : {"BExportar", "BImportar"}) {
    dialogs_.calls.clear();
    QTest::mouseClick(Button(button), Qt::LeftButton);  // cancelled, nothing chosen yet
    EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"dialog", kNoExiste})) << button;
    EXPECT_TRUE(ConversionsEnabled()) << button;
    EXPECT_EQ(form.State().ResultCode, 0) << button;
    EXPECT_FALSE(form.Closed()) << button;
  }
}

TEST_F(MainFormTest, ChosenNameIsKeptAndReusedWhenCancelled) {
  TMForm& form = Make();
  form.ShowForm();
  // The first dialog opens in the work directory's "saga" folder.
  dialogs_.answers.push_back(ToQString(work_ / "falta.xml"));  // a typed name of a missing file
  form.BImportarClick();
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  const XmlDialogRequest& first = dialogs_.requests[0];
  EXPECT_EQ(first.title.toStdString(), "Archivo XML");
  EXPECT_EQ(first.filter.toStdString(), "*.xml (*.xml)");
  EXPECT_EQ(first.default_suffix.toStdString(), "xml");
  EXPECT_EQ(ToPath(first.directory), work_ / "Saga");
  EXPECT_TRUE(first.file_name.isEmpty());
  EXPECT_EQ(form.State().XmlFileName, work_ / "falta.xml");
  EXPECT_EQ(dialogs_.calls.back(), kNoExiste);

  // Cancelled next time: the kept name is offered and used again.
  form.BExportarClick();
  ASSERT_EQ(dialogs_.requests.size(), 2u);
  EXPECT_EQ(ToPath(dialogs_.requests[1].file_name), work_ / "falta.xml");
  EXPECT_EQ(ToPath(dialogs_.requests[1].directory), work_.path());
  EXPECT_EQ(dialogs_.calls.back(), kNoExiste);
  EXPECT_EQ(form.State().XmlFileName, work_ / "falta.xml");

  // The file appears: a cancelled dialog now converts it.
  fs::copy_file(work_ / "Saga" / "escuela.xml", work_ / "falta.xml");
  form.BExportarClick();
  EXPECT_EQ(dialogs_.calls.back(), kFinalizado);
  EXPECT_TRUE(ConversionsDisabled());
}

TEST_F(MainFormTest, DialogOpensInTheWorkDirectoryWithoutASagaFolder) {
  fs::remove_all(work_ / "Saga");
  fs::create_directory(work_ / "sagax");
  Make().BExportarClick();
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(ToPath(dialogs_.requests[0].directory), work_.path());
  EXPECT_EQ(XmlDialogStartDir(work_.path()), work_.path());
}

TEST_F(MainFormTest, ConversionErrorGoesToTheErrorBoxAndChangesNothing) {
  TMForm& form = Make();
  form.ShowForm();
  velquior::testing::WriteFile(work_ / "roto.xml", "<document><subjects>");
  dialogs_.answers.push_back(ToQString(work_ / "roto.xml"));
  form.BExportarClick();
  ASSERT_EQ(dialogs_.calls.size(), 2u);
  EXPECT_EQ(dialogs_.calls[0], "dialog");
  const std::string& error = dialogs_.calls[1];
  EXPECT_TRUE(error.starts_with("error:" + (work_ / "roto.xml").string() + " no es un documento XML válido")) << error;
  EXPECT_EQ(error.back(), '.');
  EXPECT_TRUE(ConversionsEnabled());
  EXPECT_EQ(form.State().ResultCode, 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(fs::exists(work_ / "ASIGNOMT.DBF"));
  EXPECT_TRUE(form.isVisible());
}

TEST_F(MainFormTest, HelpRequestsGoToTheHelpSeam) {
  TMForm& form = Make();
  form.ShowForm();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  for (const char* name : {"BClose", "Button1", "BExportar", "BImportar"}) {
    Button(name)->setFocus();
    QTest::keyClick(Button(name), Qt::Key_F1);
  }
  EXPECT_EQ(help_.calls, std::vector<std::string>(4, "context:1"));
  help_.calls.clear();
  QTest::mouseClick(Button("Button1"), Qt::LeftButton);
  EXPECT_EQ(help_.calls, std::vector<std::string>{"contents"});
  EXPECT_TRUE(dialogs_.calls.empty());
}

TEST_F(MainFormTest, CloseButtonAndAltSCloseTheWindow) {
  TMForm& form = Make();
  form.ShowForm();
  QTest::mouseClick(Button("BClose"), Qt::LeftButton);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(closed_calls_, 1);
  EXPECT_FALSE(form.isVisible());

  TMForm& again = Make();
  again.ShowForm();
  QApplication::setActiveWindow(&again);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&again));
  QTest::keyClick(Button("Button1"), Qt::Key_S, Qt::AltModifier);  // whichever control has the focus
  EXPECT_TRUE(WaitUntil([&] { return again.Closed(); }));          // a mnemonic clicks after a short flash
}

// Host launches: every way ResultCode reaches Zeltimor.ini.
TEST_F(MainFormTest, HostLaunchRunsTheConversionBeforeTheWindowIsDrawn) {
  const struct {
    std::vector<std::string> params;
    bool choose_sample;
    std::string message;
    std::string result;
  } cases[] = {
      {{"exportar", "1A2B3C"}, false, kNoExiste, Result(-1)}, {{"EXPORTAR", "1a2b3c"}, false, kNoExiste, Result(-1)},
      {{"importar", "1A2B3C"}, false, kNoExiste, Result(0)},  {{"Importar", "00FF"}, false, kNoExiste, Result(0)},
      {{"Exportar", "1A2B3C"}, true, kFinalizado, Result(1)},
  };
  for (const auto& c : cases) {
    fs::remove(ResultFile());
    dialogs_ = FakeDialogs();
    embedder_.handles.clear();
    if (c.choose_sample) dialogs_.answers.push_back(Sample());
    TMForm& form = Make(c.params);
    EXPECT_TRUE(form.State().HostLaunched);
    EXPECT_TRUE(form.Embedded());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    ASSERT_EQ(embedder_.handles.size(), 1u);
    EXPECT_EQ(embedder_.handles[0], std::stoul(c.params[1], nullptr, 16));
    form.ShowForm();
    EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"dialog", c.message})) << c.params[0];
    EXPECT_EQ(dialogs_.form_visible, (std::vector<bool>{false, false})) << c.params[0];
    EXPECT_TRUE(form.Closed()) << c.params[0];
    EXPECT_FALSE(form.isVisible()) << c.params[0];
    EXPECT_EQ(ResultText(), c.result) << c.params[0];
  }
}

TEST_F(MainFormTest, HostLaunchedImportCompletesAndWritesOne) {
  {
    // The tables the import reads: an export of the sample, and an empty
    // timetable.
    dialogs_.answers.push_back(Sample());
    Make().BExportarClick();
    ASSERT_EQ(dialogs_.calls.back(), kFinalizado);
    velquior::testing::MakeSoluc(work_.path(), {});
  }
  dialogs_ = FakeDialogs();
  dialogs_.answers.push_back(Sample());
  TMForm& form = Make({"importar", "1A"});
  form.ShowForm();
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"dialog", kFinalizado}));
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ResultText(), Result(1));
  EXPECT_NE(ReadFile(work_ / "Saga" / "escuela.xml").find("<time-tables>"), std::string::npos);
}

// A host launch whose export would change a code the timetable uses asks
// first, before the window is drawn; keeping keeps the code, cancelling
// answers the host as a cancelled file dialog does.
TEST_F(MainFormTest, HostLaunchedExportAsksBeforeChangingTheTimetablesCodes) {
  const struct {
    int answer;
    std::vector<std::string> calls;
    std::string result;
    std::string juan;  // Juan Pérez López's code afterwards
  } cases[] = {
      {0, {"dialog", "ask", kFinalizado}, Result(1), "JPL"},
      {1, {"dialog", "ask", kFinalizado}, Result(1), "JPL1"},
      {2, {"dialog", "ask"}, Result(-1), "JPL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    fs::remove(ResultFile());
    fs::remove(work_ / "SOLUC.DBF");
    dialogs_ = FakeDialogs();
    fs::copy_file(VELQUIOR_EXAMPLES "/escuela.xml", work_ / "Saga" / "escuela.xml",
                  fs::copy_options::overwrite_existing);
    dialogs_.answers.push_back(Sample());
    Make().BExportarClick();  // the sample's tables, and a timetable on JPL
    velquior::testing::MakeSoluc(work_.path(), {{1, 1, 1, "", "", "JPL", ""}});
    std::string school = ReadFile(work_ / "Saga" / "escuela.xml");
    const std::string juan = "<teacher id=\"5002023\">";
    school.insert(school.find(juan), "<teacher id=\"5002999\">Julia Pascual Lorenzo</teacher>");
    velquior::testing::WriteFile(work_ / "Saga" / "escuela.xml", school);

    dialogs_ = FakeDialogs();
    dialogs_.answers.push_back(Sample());
    dialogs_.question_answer = c.answer;
    TMForm& form = Make({"exportar", "1A2B3C"});
    form.ShowForm();
    EXPECT_EQ(dialogs_.calls, c.calls);
    EXPECT_FALSE(dialogs_.form_visible[1]);
    EXPECT_EQ(dialogs_.question.first, "Conservar");
    EXPECT_EQ(dialogs_.question.second, "Usar nuevos");
    EXPECT_EQ(dialogs_.question.cancel, "Cancelar");
    EXPECT_TRUE(dialogs_.question.text.contains("PROFT, Juan Pérez López (5002023): código 'JPL' pasa a 'JPL1'"))
        << dialogs_.question.text.toStdString();
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(ResultText(), c.result);
    const std::string proft = ReadFile(work_ / "PROFT.DBF");
    EXPECT_NE(proft.find(c.juan + std::string(10 - c.juan.size(), ' ') + "Juan P"), std::string::npos);
  }
}

TEST_F(MainFormTest, HostLaunchWithAnErrorKeepsTheWindowOpenUntilClosed) {
  velquior::testing::WriteFile(work_ / "roto.xml", "no es xml");
  dialogs_.answers.push_back(ToQString(work_ / "roto.xml"));
  TMForm& form = Make({"exportar", "1A"});
  form.ShowForm();
  ASSERT_EQ(dialogs_.calls.size(), 2u);
  EXPECT_TRUE(dialogs_.calls[1].starts_with("error:")) << dialogs_.calls[1];
  EXPECT_FALSE(form.Closed());
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(ConversionsEnabled());
  EXPECT_EQ(ResultText(), Result(0));  // written as the run began
  form.close();
  EXPECT_EQ(ResultText(), Result(0));
}

TEST_F(MainFormTest, HostNamingNoConversionGetsAWindowToOperate) {
  TMForm& form = Make({"ayuda", "1A"});
  form.ShowForm();
  EXPECT_TRUE(dialogs_.calls.empty());
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.Embedded());
  // Closed without converting: 0.
  form.close();
  EXPECT_EQ(ResultText(), Result(0));

  // Converted by hand: the window closes itself and writes 1.
  fs::remove(ResultFile());
  dialogs_.answers.push_back(Sample());
  TMForm& again = Make({"otra", "1A"});
  again.ShowForm();
  QTest::mouseClick(Button("BExportar"), Qt::LeftButton);
  EXPECT_TRUE(again.Closed());
  EXPECT_EQ(ResultText(), Result(1));
}

TEST_F(MainFormTest, HostWindowGoingAwayClosesAndAnswersTheHost) {
  TMForm& form = Make({"ayuda", "1A"});
  ASSERT_TRUE(embedder_.lost) << "an embedded form watches its host";
  form.ShowForm();
  embedder_.lost();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ResultText(), Result(0));
  EXPECT_EQ(closed_calls_, 1);  // no ending of its own given: the usual one
  embedder_.lost();             // a second notice changes nothing
  EXPECT_EQ(closed_calls_, 1);

  // With an ending of its own, that one ends the program instead.
  fs::remove(ResultFile());
  int host_lost_calls = 0;
  on_host_lost_ = [&] { ++host_lost_calls; };
  Make({"exportar", "1A"}).ShowForm();  // cancelled: "No existe archivo", -1, closed
  fs::remove(ResultFile());
  closed_calls_ = 0;
  embedder_.lost();  // already closed by itself: the host had its answer
  EXPECT_EQ(ResultText(), "<none>");
  EXPECT_EQ(host_lost_calls, 0);
  TMForm& waiting = Make({"ayuda", "1A"});
  waiting.ShowForm();
  embedder_.lost();
  EXPECT_EQ(ResultText(), Result(0));
  EXPECT_EQ(host_lost_calls, 1);
  EXPECT_EQ(closed_calls_, 0);

  // Not embedded: nothing to watch.
  embedder_.lost = nullptr;
  embedder_.succeeds = false;
  Make({"ayuda", "1FFFFFFF"});
  EXPECT_FALSE(embedder_.lost);
}

TEST_F(MainFormTest, UnreadableHandleRunsTheConversionInAnOrdinaryWindow) {
  dialogs_.answers.push_back(Sample());
  TMForm& form = Make({"exportar", "xyz"});
  EXPECT_EQ(dialogs_.calls, std::vector<std::string>{"error:'$xyz' no es un valor entero válido."});
  EXPECT_FALSE(form.State().HostLaunched);
  EXPECT_TRUE(embedder_.handles.empty());
  EXPECT_FALSE(form.windowFlags() & Qt::FramelessWindowHint);
  form.ShowForm();
  EXPECT_EQ(dialogs_.calls.back(), kFinalizado);
  EXPECT_FALSE(form.Closed());  // stays open after the conversion
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(ConversionsDisabled());
  form.close();
  EXPECT_EQ(ResultText(), "<none>");
}

TEST_F(MainFormTest, HandleOfNoWindowStillRunsAsAHostLaunch) {
  embedder_.succeeds = false;
  TMForm& form = Make({"exportar", "7FFFFFFF"});
  EXPECT_TRUE(form.State().HostLaunched);
  EXPECT_FALSE(form.Embedded());
  EXPECT_FALSE(form.windowFlags() & Qt::FramelessWindowHint);
  const QRect screen = form.screen()->geometry();
  EXPECT_EQ(form.pos(), screen.topLeft() + QPoint((screen.width() - 632) / 2, (screen.height() - 266) / 2));
  form.ShowForm();
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"dialog", kNoExiste}));
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ResultText(), Result(-1));
}

TEST_F(MainFormTest, OtherParameterCountsAreInteractive) {
  for (const auto& params : {std::vector<std::string>{}, std::vector<std::string>{"exportar"},
                             std::vector<std::string>{"exportar", "1A", "x"}}) {
    dialogs_ = FakeDialogs();
    embedder_.handles.clear();
    TMForm& form = Make(params);
    form.ShowForm();
    EXPECT_TRUE(dialogs_.calls.empty()) << params.size();
    EXPECT_FALSE(form.State().HostLaunched) << params.size();
    EXPECT_TRUE(embedder_.handles.empty()) << params.size();
    form.close();
    EXPECT_EQ(ResultText(), "<none>") << params.size();
  }
}

TEST_F(MainFormTest, UnwritableResultFileIsReportedAndTheWindowClosesAnyway) {
  fs::remove_all(exe_dir_.path() / "bin");
  TMForm& form = Make({"exportar", "1A"});
  form.ShowForm();
  EXPECT_EQ(dialogs_.calls,
            (std::vector<std::string>{"dialog", kNoExiste, "error:Unable to write to " + ResultFile().string() + "."}));
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(closed_calls_, 1);
}

}  // namespace
}  // namespace velquior::app
