#pragma once
// A panel painted with its vertical three-colour gradient (shell/form_layout.h).
// Qt paints widgets into a back buffer, so it does not flicker.

#include <QColor>
#include <QWidget>

#include "shell/form_layout.h"

namespace velquior::app {

class GradientPanel : public QWidget {
 public:
  GradientPanel(QWidget* parent, const shell::PanelSpec& spec);

  QColor BottomColor() const;
  QColor MiddleColor() const;
  QColor TopColor() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  shell::PanelSpec spec_;
};

}  // namespace velquior::app
