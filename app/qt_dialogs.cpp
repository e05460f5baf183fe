#include "app/qt_dialogs.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QTranslator>
#include <QTreeView>

#include "common/messages.h"

namespace velquior::app {
namespace {

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// Without a parent the box belongs to no window, so it is centred on the
// screen even when the main window is embedded or not yet shown.
void RunBox(QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, Q(msg::kTituloAplicacion), text, QMessageBox::NoButton, nullptr);
  PrepareBox(box);
  box.exec();
}

// Qt's file list gives a folder's type and every date in the system's
// language; these two columns are put into Spanish here.
class SpanishFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid()) {
      return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex source = mapToSource(index);
    if (index.column() == kTypeColumn && files->isDir(source)) return Q(msg::kTipoCarpeta);
    if (index.column() == kDateColumn) {
      return QLocale(QLocale::Spanish, QLocale::Spain)
          .toString(files->lastModified(source), Q(msg::kFormatoFechaArchivo));
    }
    return QIdentityProxyModel::data(index, role);
  }

 private:
  static constexpr int kTypeColumn = 2;
  static constexpr int kDateColumn = 3;
};

}  // namespace

void UseSpanishQtWords() {
  static QTranslator qt_words;  // lives as long as the application
  if (qt_words.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_words);
  }
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

void QtUndoBoxes::ShowMessage(std::string_view utf8_text) { QtDialogs().ShowMessage(Q(utf8_text)); }

void QtUndoBoxes::ShowError(std::string_view utf8_text) { QtDialogs().ShowError(Q(utf8_text)); }

bool QtUndoBoxes::Confirm(std::string_view utf8_question, std::string_view yes, std::string_view no) {
  QMessageBox box(QMessageBox::Question, Q(msg::kTituloAplicacion), Q(utf8_question), QMessageBox::NoButton,
                  nullptr);
  QPushButton* first = box.addButton(Q(yes), QMessageBox::AcceptRole);
  box.setEscapeButton(box.addButton(Q(no), QMessageBox::RejectRole));
  box.setDefaultButton(first);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return box.clickedButton() == first;
}

int MinimumBoxWidth(const QString& caption) {
  // A window manager's caption bar: its bold font, plus the room its icon
  // and buttons take beside the text.
  QFont bold = QApplication::font();
  bold.setBold(true);
  constexpr int kCaptionButtons = 160;
  return std::max(240, QFontMetrics(bold).horizontalAdvance(caption) + kCaptionButtons);
}

void PrepareBox(QMessageBox& box) {
  box.addButton(Q(msg::kBotonAceptar), QMessageBox::AcceptRole);
  box.setWindowModality(Qt::ApplicationModal);
  // A message box sizes itself to its text and ignores a minimum width; a
  // spacer across its grid is what it respects.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(MinimumBoxWidth(box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

std::array<QAbstractButton*, 3> PrepareQuestion(QMessageBox& box, const Question& q) {
  box.setText(q.text);
  QPushButton* first = box.addButton(q.first, QMessageBox::AcceptRole);
  QPushButton* second = box.addButton(q.second, QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(q.cancel, QMessageBox::RejectRole);
  box.setEscapeButton(cancel);
  box.setDefaultButton(first);
  box.setWindowModality(Qt::ApplicationModal);
  return {first, second, cancel};
}

QString ExistingFolder(const QString& directory) {
  QDir dir(directory.isEmpty() ? QDir::currentPath() : directory);
  while (!dir.exists() && !dir.isRoot()) {
    if (!dir.cdUp()) {
      // cdUp refuses to go to a folder that does not exist: go by the name.
      const QString parent = QFileInfo(dir.absolutePath()).path();
      if (parent == dir.absolutePath()) break;
      dir.setPath(parent);
    }
  }
  return dir.absolutePath();
}

void PrepareFileDialog(QFileDialog& dialog, const XmlDialogRequest& r) {
  // Qt's own dialog everywhere but Windows: the same behaviour on every
  // desktop, and no desktop dialog that demands an existing file.
#ifndef _WIN32
  dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
  dialog.setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
  dialog.setProxyModel(new SpanishFileColumns(&dialog));  // the dialog keeps it
  dialog.setWindowTitle(r.title);
  dialog.setNameFilter(r.filter);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // a typed missing name is returned
  dialog.setDefaultSuffix(r.default_suffix);
  dialog.setSizeGripEnabled(true);
  // A folder that does not exist would end up as the typed file name.
  dialog.setDirectory(ExistingFolder(r.directory));
  if (!r.file_name.isEmpty()) {
    dialog.selectFile(r.file_name);
  } else if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    name->clear();
  }
  // Size, type and date as wide as their contents; the name takes the rest.
  if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column) {
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
  }
  // The places list as wide as its longest entry, which it otherwise cuts.
  if (auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"))) {
    places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth() + 2 * places->spacing() + 4);
  }
  dialog.setWindowModality(Qt::ApplicationModal);
}

std::optional<QString> QtDialogs::ChooseXmlFile(QWidget* parent, const XmlDialogRequest& r) {
  QFileDialog dialog(parent);
  PrepareFileDialog(dialog, r);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.front();
}

void QtDialogs::ShowMessage(const QString& text) { RunBox(QMessageBox::NoIcon, text); }

void QtDialogs::ShowError(const QString& text) { RunBox(QMessageBox::Critical, text); }

int QtDialogs::Ask(const Question& question) {
  QMessageBox box(QMessageBox::Question, Q(msg::kTituloAplicacion), {}, QMessageBox::NoButton, nullptr);
  const auto buttons = PrepareQuestion(box, question);
  box.exec();
  for (int i = 0; i < 2; ++i) {
    if (box.clickedButton() == buttons[static_cast<std::size_t>(i)]) return i;
  }
  return 2;
}

}  // namespace velquior::app
