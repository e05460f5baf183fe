#include "app/gradient_panel.h"

#include <QPaintEvent>
#include <QPainter>

namespace velquior::app {
namespace {

QColor ToQColor(shell::Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

GradientPanel::GradientPanel(QWidget* parent, const shell::PanelSpec& spec) : QWidget(parent), spec_(spec) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor GradientPanel::BottomColor() const { return ToQColor(spec_.bottom); }
QColor GradientPanel::MiddleColor() const { return ToQColor(spec_.middle); }
QColor GradientPanel::TopColor() const { return ToQColor(spec_.top); }

void GradientPanel::paintEvent(QPaintEvent* event) {
  // Row by row, so that every window paints the same pixels.
  QPainter p(this);
  const QRect area = event->rect();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    p.fillRect(QRect(area.left(), y, area.width(), 1), ToQColor(shell::GradientRow(spec_, y, height())));
  }
}

}  // namespace velquior::app
