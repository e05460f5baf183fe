#include "app/qt_dialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "common/messages.h"

namespace velquior::app {
namespace {

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// Without a parent the box belongs to no window, so it is centred on the
// screen even when the main window is embedded or not yet shown.
void RunBox(QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, Q(msg::kTituloAplicacion), text, QMessageBox::NoButton, nullptr);
  box.addButton(Q(msg::kBotonAceptar), QMessageBox::AcceptRole);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace

std::optional<QString> QtDialogs::ChooseXmlFile(QWidget* parent, const XmlDialogRequest& r) {
  QFileDialog dialog(parent, r.title, r.directory, r.filter);
  // Qt's own dialog everywhere but Windows: the same behaviour on every
  // desktop, and no desktop dialog that demands an existing file.
#ifndef _WIN32
  dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // a typed missing name is returned
  dialog.setDefaultSuffix(r.default_suffix);
  dialog.setSizeGripEnabled(true);
  if (!r.file_name.isEmpty()) dialog.selectFile(r.file_name);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.front();
}

void QtDialogs::ShowMessage(const QString& text) { RunBox(QMessageBox::NoIcon, text); }

void QtDialogs::ShowError(const QString& text) { RunBox(QMessageBox::Critical, text); }

}  // namespace velquior::app
