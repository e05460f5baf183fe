#pragma once
// The buttons' glyphs, drawn without a toolkit so that every window shows the
// same pixels: a green check mark (a grey embossed outline when disabled) and
// an open door.

#include <array>
#include <cstdint>

namespace velquior::shell {

inline constexpr int kGlyphSize = 16;

enum class Glyph { kNone, kCheckMark, kOpenDoor };

// Rows top to bottom, each pixel 0xAARRGGBB, not premultiplied.
struct GlyphImage {
  std::array<std::uint32_t, kGlyphSize * kGlyphSize> argb{};
  std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y * kGlyphSize + x)]; }
};

// kNone gives a fully transparent image. A glyph without a disabled drawing
// of its own (the door) is the same when disabled.
GlyphImage DrawGlyph(Glyph glyph, bool enabled);

}  // namespace velquior::shell
