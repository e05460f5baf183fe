#include "app/gradient_panel.h"

#include <QLinearGradient>
#include <QPainter>

namespace velquior::app {

GradientPanel::GradientPanel(QWidget* parent, QColor bottom, QColor middle, QColor top)
    : QWidget(parent), bottom_(bottom), middle_(middle), top_(top) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient g(0, 0, 0, height());
  g.setColorAt(0.0, top_);
  g.setColorAt(0.5, middle_);
  g.setColorAt(1.0, bottom_);
  p.fillRect(rect(), g);
}

}  // namespace velquior::app
