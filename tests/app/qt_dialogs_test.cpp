// The real boxes and file dialog, prepared but not run: what a person would
// see in them.
#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "app/open_dialog.h"
#include "app/qt_dialogs.h"
#include "tests/test_util.h"

namespace velquior::app {
namespace {

namespace fs = std::filesystem;
using velquior::testing::TempDir;

TEST(QtDialogsTest, FolderForTheDialogIsTheNearestThatExists) {
  TempDir dir;
  fs::create_directories(dir / "ZTEMP" / "saga");
  const struct {
    fs::path asked;
    fs::path opened;
  } rows[] = {
      {dir / "ZTEMP" / "saga", dir / "ZTEMP" / "saga"},
      {dir / "ZTEMP" / "falta", dir / "ZTEMP"},
      {dir / "no" / "existe" / "nada", dir.path()},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ExistingFolder(ToQString(row.asked)), ToQString(row.opened)) << row.asked;
  }
}

TEST(QtDialogsTest, FileDialogOpensWithAnEmptyNameAndColumnsThatFit) {
  TempDir dir;
  XmlDialogRequest request;
  request.title = "Archivo XML";
  request.filter = "*.xml (*.xml)";
  request.default_suffix = "xml";
  request.directory = ToQString(dir / "ZTEMP");  // the work directory is missing
  QFileDialog dialog;
  PrepareFileDialog(dialog, request);
  EXPECT_EQ(dialog.directory().absolutePath(), ToQString(dir.path()));
  auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), "") << "the missing folder's name offered as the file";
  EXPECT_EQ(dialog.locale().language(), QLocale::Spanish);
  auto* details = dialog.findChild<QTreeView*>("treeView");
  ASSERT_NE(details, nullptr);
  QHeaderView* header = details->header();
  ASSERT_GE(header->count(), 4);
  EXPECT_EQ(header->sectionResizeMode(0), QHeaderView::Stretch);
  for (int column = 1; column < header->count(); ++column) {
    EXPECT_EQ(header->sectionResizeMode(column), QHeaderView::ResizeToContents) << column;
  }
  auto* places = dialog.findChild<QListView*>("sidebar");
  ASSERT_NE(places, nullptr);
  EXPECT_GT(places->minimumWidth(), places->sizeHintForColumn(0)) << "a place's name is cut";

  // A remembered name is offered again.
  QFileDialog again;
  request.directory = ToQString(dir.path());
  request.file_name = ToQString(dir / "escuela.xml");
  PrepareFileDialog(again, request);
  EXPECT_EQ(again.findChild<QLineEdit*>("fileNameEdit")->text(), "escuela.xml");
}

TEST(QtDialogsTest, FileListGivesTypeAndDateInSpanish) {
  TempDir dir;
  fs::create_directory(dir / "saga");
  velquior::testing::WriteFile(dir / "escuela.xml", "<document/>");
  QFile file(ToQString(dir / "escuela.xml"));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(9, 7)), QFileDevice::FileModificationTime));
  file.close();
  XmlDialogRequest request;
  request.directory = ToQString(dir.path());
  QFileDialog dialog;
  PrepareFileDialog(dialog, request);
  auto* details = dialog.findChild<QTreeView*>("treeView");
  ASSERT_NE(details, nullptr);
  QAbstractItemModel* model = details->model();
  QModelIndex folder, xml;
  for (int i = 0; i < 200 && !(folder.isValid() && xml.isValid()); ++i) {  // read in the background
    QTest::qWait(10);
    const QModelIndex root = details->rootIndex();
    for (int r = 0; r < model->rowCount(root); ++r) {
      const QModelIndex at = model->index(r, 0, root);
      if (at.data().toString() == "saga") folder = at;
      if (at.data().toString() == "escuela.xml") xml = at;
    }
  }
  ASSERT_TRUE(folder.isValid() && xml.isValid());
  EXPECT_EQ(folder.siblingAtColumn(2).data().toString(), "Carpeta");
  EXPECT_EQ(xml.siblingAtColumn(3).data().toString(), "5 mar 2024 9:07");
}

TEST(QtDialogsTest, MessageBoxIsWideEnoughForItsCaption) {
  QMessageBox box(QMessageBox::NoIcon, "Velquior", "No existe archivo", QMessageBox::NoButton, nullptr);
  PrepareBox(box);
  box.adjustSize();
  EXPECT_GE(box.width(), MinimumBoxWidth("Velquior"));
  QFont bold = QApplication::font();
  bold.setBold(true);
  EXPECT_GT(MinimumBoxWidth("Velquior"), QFontMetrics(bold).horizontalAdvance("Velquior") + 100);
  const auto buttons = box.buttons();
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons.front()->text(), "Aceptar");
}

// The real box, answered from inside its own loop as a user would.
TEST(QtDialogsTest, QuestionBoxGivesTheButtonPressedAndCancelOnEscape) {
  const Question question{"¿Conservar?", "Conservar", "Usar nuevos", "Cancelar"};
  const struct {
    const char* press;  // a button's text, or nullptr: Esc
    int answer;
  } cases[] = {{"Conservar", 0}, {"Usar nuevos", 1}, {"Cancelar", 2}, {nullptr, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.press ? c.press : "Esc");
    QStringList seen;
    QString default_button, caption;
    QTimer::singleShot(50, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) seen << b->text();
      default_button = box->defaultButton() ? box->defaultButton()->text() : QString();
      if (c.press == nullptr) {
        QTest::keyClick(box, Qt::Key_Escape);
        return;
      }
      for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
        if (b->text() == c.press) b->click();
      }
    });
    EXPECT_EQ(QtDialogs().Ask(question), c.answer);
    EXPECT_EQ(caption, "Velquior");
    seen.sort();
    EXPECT_EQ(seen, (QStringList{"Cancelar", "Conservar", "Usar nuevos"}));
    EXPECT_EQ(default_button, "Conservar");
  }
}

// The undo's question: its default is to undo, and closing it undoes nothing.
TEST(QtDialogsTest, UndoQuestionIsAnsweredByItsButtonsAndEscapeDeclines) {
  for (const bool press_first : {true, false}) {
    QString caption, default_button, text;
    QTimer::singleShot(50, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      default_button = box->defaultButton() ? box->defaultButton()->text() : QString();
      if (press_first) {
        QTest::keyClick(box, Qt::Key_Return);
      } else {
        QTest::keyClick(box, Qt::Key_Escape);
      }
    });
    EXPECT_EQ(QtUndoBoxes().Confirm("¿Deshacer?", "Deshacer", "Cancelar"), press_first);
    EXPECT_EQ(caption, "Velquior");
    EXPECT_EQ(text, "¿Deshacer?");
    EXPECT_EQ(default_button, "Deshacer");
  }
}

TEST(QtDialogsTest, QtsOwnWordsAndDatesAreSpanish) {
  UseSpanishQtWords();
  EXPECT_EQ(QLocale().monthName(1), "enero");
  // The file dialog's words, as its translation gives them.
  EXPECT_NE(QApplication::translate("QFileDialog", "Look in:"), "Look in:");
  EXPECT_NE(QApplication::translate("QFileSystemModel", "Date Modified"), "Date Modified");
  QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace velquior::app
