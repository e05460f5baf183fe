#pragma once
// The push buttons with their glyph left of the text (Delphi's TBitBtn):
// owner-drawn buttons whose glyph comes from shell/glyphs.h, grey and
// embossed when disabled. Their ControlSpec sits in GWLP_USERDATA.

#include <windows.h>

#include <array>
#include <cstdint>

#include "shell/form_layout.h"

namespace velquior::win32 {

HWND CreateGlyphButton(HWND panel, const shell::ControlSpec& spec, const RECT& rect, HFONT font, int id,
                       HINSTANCE instance);

// Answers the panel's WM_DRAWITEM for one of these buttons.
void DrawGlyphButton(const DRAWITEMSTRUCT& item, int dpi);

// The glyph over a solid background, as 32-bit pixels (0x00RRGGBB, top row
// first): what the button paints.
std::array<std::uint32_t, shell::kGlyphSize * shell::kGlyphSize> GlyphOver(shell::Glyph glyph, bool enabled,
                                                                           COLORREF background);

}  // namespace velquior::win32
