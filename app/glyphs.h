#pragma once
// The buttons' glyphs as Qt icons, from the drawings every window shares.

#include <QIcon>

#include "shell/glyphs.h"

namespace velquior::app {

using shell::kGlyphSize;

// Normal and Active from the enabled drawing, Disabled from the disabled one.
QIcon GlyphIcon(shell::Glyph glyph);
inline QIcon CheckMarkIcon() { return GlyphIcon(shell::Glyph::kCheckMark); }
inline QIcon OpenDoorIcon() { return GlyphIcon(shell::Glyph::kOpenDoor); }

}  // namespace velquior::app
