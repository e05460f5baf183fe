#pragma once
// The real boxes and file dialog.

#include "app/dialogs.h"

namespace velquior::app {

class QtDialogs : public Dialogs {
 public:
  std::optional<QString> ChooseXmlFile(QWidget* parent, const XmlDialogRequest& request) override;
  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text) override;
};

}  // namespace velquior::app
