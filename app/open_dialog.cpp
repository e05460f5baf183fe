#include "app/open_dialog.h"

#include <QFile>

#include "common/messages.h"

namespace velquior::app {

XmlDialogRequest XmlFileDialog::Request() const {
  XmlDialogRequest r;
  r.title = QString::fromUtf8(msg::kTituloDialogoXml.data(), static_cast<qsizetype>(msg::kTituloDialogoXml.size()));
  r.filter = QStringLiteral("*.xml (*.xml)");
  r.default_suffix = QStringLiteral("xml");
  // A remembered name opens the dialog in its own folder.
  r.directory = ToQString(file_name_.empty() ? XmlDialogStartDir(work_dir_) : file_name_.parent_path());
  r.file_name = ToQString(file_name_);
  return r;
}

std::optional<std::filesystem::path> XmlFileDialog::Execute(Dialogs& dialogs, QWidget* parent) {
  auto chosen = dialogs.ChooseXmlFile(parent, Request());
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  file_name_ = ToPath(*chosen);
  return file_name_;
}

QString ToQString(const std::filesystem::path& path) { return QFile::decodeName(path.string().c_str()); }

std::filesystem::path ToPath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace velquior::app
