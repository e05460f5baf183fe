#include "shell/form_layout.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "shell/glyphs.h"

namespace velquior::shell {
namespace {

// Every control lies inside its panel, so no window clips one.
TEST(FormLayoutTest, ControlsFitTheirPanelsAndNamesAreUnique) {
  std::set<std::string> names;
  for (const PanelSpec& p : Panels()) EXPECT_TRUE(names.insert(std::string(p.name)).second) << p.name;
  for (const ControlSpec& c : Controls()) {
    EXPECT_TRUE(names.insert(std::string(c.name)).second) << c.name;
    ASSERT_GE(c.panel, 0);
    ASSERT_LT(static_cast<std::size_t>(c.panel), Panels().size());
    const Rect panel = Panels()[static_cast<std::size_t>(c.panel)].rect;
    EXPECT_GE(c.rect.left, 0) << c.name;
    EXPECT_GE(c.rect.top, 0) << c.name;
    EXPECT_LE(c.rect.left + c.rect.width, panel.width) << c.name;
    EXPECT_LE(c.rect.top + c.rect.height, panel.height) << c.name;
  }
}

// Tab visits every button once and nothing else; the first has the focus.
TEST(FormLayoutTest, TabOrderVisitsEachButtonOnce) {
  std::set<std::string_view> visited;
  for (std::string_view name : TabOrder()) {
    const ControlSpec* c = FindControl(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_EQ(c->kind, ControlKind::kButton) << name;
    EXPECT_TRUE(visited.insert(name).second) << name;
  }
  for (const ControlSpec& c : Controls()) {
    EXPECT_EQ(visited.count(c.name), c.kind == ControlKind::kButton ? 1u : 0u) << c.name;
  }
  EXPECT_EQ(TabOrder().front(), kInitialFocus);
  EXPECT_EQ(FindControl("nada"), nullptr);
}

TEST(FormLayoutTest, GradientRunsTopMiddleBottom) {
  const PanelSpec& bottom_band = Panels()[2];
  ASSERT_EQ(bottom_band.name, "Draw3D1");
  const int h = bottom_band.rect.height;  // 97 rows: row 48 is the middle
  EXPECT_EQ(GradientRow(bottom_band, 0, h), bottom_band.top);
  EXPECT_EQ(GradientRow(bottom_band, 48, h), bottom_band.middle);
  EXPECT_EQ(GradientRow(bottom_band, h - 1, h), bottom_band.bottom);
  // A quarter of the way: half between top (CC D8 E6) and middle (CF F2 FE).
  EXPECT_EQ(GradientRow(bottom_band, 24, h), (Rgb{0xCE, 0xE5, 0xF2}));
  // Out of range rows and a one-row panel do not read past the ends.
  EXPECT_EQ(GradientRow(bottom_band, -5, h), bottom_band.top);
  EXPECT_EQ(GradientRow(bottom_band, h + 5, h), bottom_band.bottom);
  EXPECT_EQ(GradientRow(bottom_band, 0, 1), bottom_band.top);
}

struct Census {
  int opaque = 0, green = 0, grey = 0, white = 0, gold = 0;
};

Census Count(const GlyphImage& image) {
  Census c;
  for (std::uint32_t px : image.argb) {
    if ((px >> 24) < 0xC0) continue;
    ++c.opaque;
    const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    if (g > 96 && g > 2 * r && g > 2 * b) ++c.green;
    if (r == g && g == b && r > 0x60 && r < 0xA0) ++c.grey;
    if (r > 0xF0 && g > 0xF0 && b > 0xF0) ++c.white;
    if (r > 0xD0 && g > 0xA0 && b < 0x40) ++c.gold;  // yellower than the leaf
  }
  return c;
}

TEST(GlyphsTest, EachDrawingHasItsColours) {
  const Census check = Count(DrawGlyph(Glyph::kCheckMark, true));
  EXPECT_GT(check.green, 20);
  EXPECT_EQ(check.green, check.opaque);  // nothing but the green mark
  const Census disabled = Count(DrawGlyph(Glyph::kCheckMark, false));
  EXPECT_EQ(disabled.green, 0);
  EXPECT_GT(disabled.grey, 10);   // the outline
  EXPECT_GT(disabled.white, 3);   // its embossed light edge
  const Census door = Count(DrawGlyph(Glyph::kOpenDoor, true));
  EXPECT_GT(door.opaque, 100);
  EXPECT_GE(door.gold, 1);  // the handle
  EXPECT_EQ(DrawGlyph(Glyph::kOpenDoor, false).argb, DrawGlyph(Glyph::kOpenDoor, true).argb);
  EXPECT_EQ(Count(DrawGlyph(Glyph::kNone, true)).opaque, 0);
  // Corners stay clear, so the glyph sits on any button face.
  const GlyphImage image = DrawGlyph(Glyph::kCheckMark, true);
  EXPECT_EQ(image.At(0, 0) >> 24, 0u);
  EXPECT_EQ(image.At(15, 15) >> 24, 0u);
}

}  // namespace
}  // namespace velquior::shell
