#pragma once
// The real boxes and file dialog.

#include "app/dialogs.h"
#include "shell/undo.h"

#include <array>

class QAbstractButton;
class QFileDialog;
class QMessageBox;

namespace velquior::app {

class QtDialogs : public Dialogs {
 public:
  std::optional<QString> ChooseXmlFile(QWidget* parent, const XmlDialogRequest& request) override;
  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text) override;
  int Ask(const Question& question) override;
};

// The boxes of `velquior deshacer`, which has no main window.
class QtUndoBoxes : public shell::UndoBoxes {
 public:
  void ShowMessage(std::string_view utf8_text) override;
  void ShowError(std::string_view utf8_text) override;
  bool Confirm(std::string_view utf8_question, std::string_view yes, std::string_view no) override;
};

// Qt's own words (the file dialog's) in Spanish, and Spanish dates and
// names of months, whatever the desktop's language. Once, at start-up.
void UseSpanishQtWords();

// The pieces of the boxes, apart so that tests can look at them unshown.
void PrepareBox(QMessageBox& box);
// The question's three buttons, returned in its order; the first is the
// default and Esc gives the third.
std::array<QAbstractButton*, 3> PrepareQuestion(QMessageBox& box, const Question& question);
int MinimumBoxWidth(const QString& caption);  // the caption shown whole
void PrepareFileDialog(QFileDialog& dialog, const XmlDialogRequest& request);
// The folder itself, or the nearest one above it that exists.
QString ExistingFolder(const QString& directory);

}  // namespace velquior::app
