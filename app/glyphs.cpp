#include "app/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>

namespace velquior::app {
namespace {

QPixmap Blank() {
  QPixmap pm(kGlyphSize, kGlyphSize);
  pm.fill(Qt::transparent);
  return pm;
}

QPainterPath CheckPath() {
  QPainterPath path;
  path.moveTo(2.5, 8.5);
  path.lineTo(6.0, 12.5);
  path.lineTo(13.5, 3.5);
  return path;
}

}  // namespace

QIcon CheckMarkIcon() {
  QPainterPathStroker stroker;
  stroker.setWidth(3.0);
  stroker.setCapStyle(Qt::SquareCap);
  stroker.setJoinStyle(Qt::MiterJoin);
  const QPainterPath mark = stroker.createStroke(CheckPath());

  QPixmap normal = Blank();
  {
    QPainter p(&normal);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(mark, QColor(0x00, 0x80, 0x00));
  }
  QPixmap disabled = Blank();
  {
    // An embossed outline: white one pixel down-right, grey on top.
    QPainter p(&disabled);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1.0));
    p.drawPath(mark.translated(1, 1));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.0));
    p.drawPath(mark);
  }
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(normal, QIcon::Active);
  icon.addPixmap(disabled, QIcon::Disabled);
  return icon;
}

QIcon OpenDoorIcon() {
  QPixmap pm = Blank();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // The door frame and the dark opening.
  p.setPen(QPen(QColor(0x60, 0x40, 0x20), 1.0));
  p.setBrush(QColor(0x20, 0x20, 0x20));
  p.drawRect(QRectF(3.5, 1.5, 9, 13));
  // The door leaf swung open towards the viewer.
  QPolygonF leaf;
  leaf << QPointF(3.5, 1.5) << QPointF(9.5, 3.5) << QPointF(9.5, 15.5) << QPointF(3.5, 14.5);
  p.setBrush(QColor(0xC0, 0x80, 0x30));
  p.drawPolygon(leaf);
  // The handle.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xFF, 0xD7, 0x00));
  p.drawEllipse(QPointF(8.0, 9.0), 0.9, 0.9);
  p.end();
  QIcon icon;
  icon.addPixmap(pm, QIcon::Normal);
  return icon;
}

}  // namespace velquior::app
