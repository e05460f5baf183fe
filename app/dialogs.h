#pragma once
// The window's modal boxes and its file dialog, behind one interface so that
// tests answer them without blocking.

#include <optional>

#include <QString>

class QWidget;

namespace velquior::app {

// How the XML file dialog opens.
struct XmlDialogRequest {
  QString title;
  QString filter;          // one entry, "description (mask)"
  QString default_suffix;  // added to a typed name without one
  QString directory;       // where it opens
  QString file_name;       // offered as the selection (may be empty)
};

// A question with three answers; the first is the default, the third the
// one closing the box gives.
struct Question {
  QString text, first, second, cancel;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The chosen file's full name; a typed name of a missing file counts as
  // chosen. nullopt when cancelled.
  virtual std::optional<QString> ChooseXmlFile(QWidget* parent, const XmlDialogRequest& request) = 0;
  // Plain box: application title, no icon, "Aceptar", centred on the screen.
  virtual void ShowMessage(const QString& text) = 0;
  // Error box: application title, stop icon, "Aceptar". `text` is shown as
  // given (the caller applies the full-stop rule).
  virtual void ShowError(const QString& text) = 0;
  // Question box: application title, question icon, centred on the screen.
  // Returns 0, 1 or 2 for the button chosen; 2 when the box is closed.
  virtual int Ask(const Question& question) = 0;
};

}  // namespace velquior::app
