#include "app/glyphs.h"

#include <QImage>
#include <QPixmap>

namespace velquior::app {
namespace {

QPixmap ToPixmap(const shell::GlyphImage& glyph) {
  QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32);
  for (int y = 0; y < kGlyphSize; ++y) {
    for (int x = 0; x < kGlyphSize; ++x) image.setPixel(x, y, glyph.At(x, y));
  }
  return QPixmap::fromImage(image);
}

}  // namespace

QIcon GlyphIcon(shell::Glyph glyph) {
  if (glyph == shell::Glyph::kNone) return {};
  const QPixmap normal = ToPixmap(shell::DrawGlyph(glyph, true));
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(normal, QIcon::Active);
  icon.addPixmap(ToPixmap(shell::DrawGlyph(glyph, false)), QIcon::Disabled);
  return icon;
}

}  // namespace velquior::app
