#pragma once
// A panel painted with a vertical three-colour gradient: `top` along the top
// edge, `middle` across the middle, `bottom` along the bottom edge, each half
// blending linearly. Qt paints widgets into a back buffer, so it does not
// flicker.

#include <QColor>
#include <QWidget>

namespace velquior::app {

class GradientPanel : public QWidget {
 public:
  GradientPanel(QWidget* parent, QColor bottom, QColor middle, QColor top);

  QColor BottomColor() const { return bottom_; }
  QColor MiddleColor() const { return middle_; }
  QColor TopColor() const { return top_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor bottom_, middle_, top_;
};

}  // namespace velquior::app
