#include "shell/glyphs.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <span>
#include <vector>

namespace velquior::shell {
namespace {

struct Point {
  double x, y;
};

// Each pixel is covered by kSamples x kSamples points; the share inside a
// shape is its coverage, which antialiases the edges.
constexpr int kSamples = 8;

using Inside = std::function<bool(Point)>;

constexpr std::uint32_t Argb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

// Paints `colour` over `image` where `inside` holds, Porter-Duff "over".
void Fill(GlyphImage& image, const Inside& inside, std::uint32_t colour) {
  const double src_r = (colour >> 16) & 0xFF, src_g = (colour >> 8) & 0xFF, src_b = colour & 0xFF;
  for (int y = 0; y < kGlyphSize; ++y) {
    for (int x = 0; x < kGlyphSize; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          if (inside({x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples})) ++hits;
        }
      }
      if (hits == 0) continue;
      const double a = static_cast<double>(hits) / (kSamples * kSamples);
      std::uint32_t& dst = image.argb[static_cast<std::size_t>(y * kGlyphSize + x)];
      const double dst_a = (dst >> 24) / 255.0;
      const double out_a = a + dst_a * (1 - a);
      auto blend = [&](double src, int shift) {
        const double d = (dst >> shift) & 0xFF;
        return static_cast<std::uint32_t>(std::lround((src * a + d * dst_a * (1 - a)) / out_a)) << shift;
      };
      dst = (static_cast<std::uint32_t>(std::lround(out_a * 255)) << 24) | blend(src_r, 16) | blend(src_g, 8) |
            blend(src_b, 0);
    }
  }
}

double DistanceToSegment(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// A polyline of `width` with square caps: each segment a rectangle that
// reaches half the width past its ends, which also fills the joins.
Inside ThickLine(std::vector<Point> points, double width) {
  return [points = std::move(points), half = width / 2](Point p) {
    for (std::size_t i = 1; i < points.size(); ++i) {
      const Point a = points[i - 1], b = points[i];
      const double len = std::hypot(b.x - a.x, b.y - a.y);
      const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
      const double along = (p.x - a.x) * ux + (p.y - a.y) * uy;
      const double across = -(p.x - a.x) * uy + (p.y - a.y) * ux;
      if (along >= -half && along <= len + half && std::abs(across) <= half) return true;
    }
    return false;
  };
}

// Even-odd rule.
Inside Polygon(std::vector<Point> points) {
  return [points = std::move(points)](Point p) {
    bool in = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point a = points[i], b = points[j];
      if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  };
}

// A closed outline drawn with a pen of `width`.
Inside Outline(std::vector<Point> points, double width) {
  return [points = std::move(points), half = width / 2](Point p) {
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      if (DistanceToSegment(p, points[j], points[i]) <= half) return true;
    }
    return false;
  };
}

// The edge of `shape` drawn with a one-pixel pen: a point lies on it when
// the shape changes within half a pixel of it.
Inside Edge(Inside shape) {
  return [shape = std::move(shape)](Point p) {
    const bool here = shape(p);
    for (int k = 0; k < 8; ++k) {
      const double angle = k * 3.14159265358979323846 / 4;
      if (shape({p.x + 0.5 * std::cos(angle), p.y + 0.5 * std::sin(angle)}) != here) return true;
    }
    return false;
  };
}

Inside Shifted(Inside shape, double dx, double dy) {
  return [shape = std::move(shape), dx, dy](Point p) { return shape({p.x - dx, p.y - dy}); };
}

Inside CheckMark() { return ThickLine({{2.5, 8.5}, {6.0, 12.5}, {13.5, 3.5}}, 3.0); }

GlyphImage DrawCheckMark(bool enabled) {
  GlyphImage image;
  if (enabled) {
    Fill(image, CheckMark(), Argb(0x00, 0x80, 0x00));
  } else {
    // Embossed: a white edge one pixel down and right, the grey edge on top.
    Fill(image, Shifted(Edge(CheckMark()), 1, 1), Argb(0xFF, 0xFF, 0xFF));
    Fill(image, Edge(CheckMark()), Argb(0x80, 0x80, 0x80));
  }
  return image;
}

GlyphImage DrawOpenDoor() {
  GlyphImage image;
  const std::uint32_t frame = Argb(0x60, 0x40, 0x20);
  // The frame and the dark opening.
  const std::vector<Point> opening = {{3.5, 1.5}, {12.5, 1.5}, {12.5, 14.5}, {3.5, 14.5}};
  Fill(image, Polygon(opening), Argb(0x20, 0x20, 0x20));
  Fill(image, Outline(opening, 1.0), frame);
  // The leaf swung open towards the viewer.
  const std::vector<Point> leaf = {{3.5, 1.5}, {9.5, 3.5}, {9.5, 15.5}, {3.5, 14.5}};
  Fill(image, Polygon(leaf), Argb(0xC0, 0x80, 0x30));
  Fill(image, Outline(leaf, 1.0), frame);
  // The handle.
  Fill(image, [](Point p) { return std::hypot(p.x - 8.0, p.y - 9.0) <= 0.9; }, Argb(0xFF, 0xD7, 0x00));
  return image;
}

}  // namespace

GlyphImage DrawGlyph(Glyph glyph, bool enabled) {
  switch (glyph) {
    case Glyph::kCheckMark:
      return DrawCheckMark(enabled);
    case Glyph::kOpenDoor:
      return DrawOpenDoor();
    case Glyph::kNone:
      break;
  }
  return {};
}

}  // namespace velquior::shell
