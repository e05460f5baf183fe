#pragma once
// The file dialog both conversions show, the main window's OpenDialogXML. It
// opens in "saga" inside the work directory (any letter case; the work
// directory itself when it has none) and offers the last chosen name again.

#include <filesystem>
#include <optional>

#include "app/dialogs.h"
#include "shell/xml_dialog.h"

namespace velquior::app {

// Where the dialog opens when nothing was chosen yet (shared with the Win32
// window).
using shell::XmlDialogStartDir;

class XmlFileDialog {
 public:
  explicit XmlFileDialog(std::filesystem::path work_dir) : work_dir_(std::move(work_dir)) {}

  XmlDialogRequest Request() const;
  // Shows the dialog; a confirmed name is kept for the next time.
  std::optional<std::filesystem::path> Execute(Dialogs& dialogs, QWidget* parent);

  const std::filesystem::path& FileName() const { return file_name_; }

 private:
  std::filesystem::path work_dir_;
  std::filesystem::path file_name_;
};

// Paths and Qt strings, in the file system's encoding.
QString ToQString(const std::filesystem::path& path);
std::filesystem::path ToPath(const QString& name);

}  // namespace velquior::app
