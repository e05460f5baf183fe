#pragma once
// The three gradient panels: a vertical three-colour
// gradient, drawn off screen so nothing flickers, under transparent labels
// and glyph buttons. A panel is a control parent, so Tab and the dialog keys
// reach its buttons; it hands their commands to the main window.

#include <windows.h>

#include "shell/form_layout.h"

namespace velquior::win32 {

inline constexpr wchar_t kPanelClass[] = L"VelquiorGradientPanel";

// Registers the panel's window class once per process.
void RegisterGradientPanelClass(HINSTANCE instance);

// A panel of `layout` at `rect` (scaled) in `parent`; `dpi` sizes what it draws.
HWND CreateGradientPanel(HWND parent, const shell::PanelLayout& layout, const RECT& rect, int dpi, HINSTANCE instance);

// What the panel draws is sized for `dpi` from now on.
void SetPanelDpi(HWND panel, int dpi);

// Paints rows [first_row, first_row + rows) of the gradient
// (shell::GradientRow), `width` wide, at (0, 0) of `dc`.
void PaintGradient(HDC dc, const shell::PanelLayout& layout, int panel_height, int first_row, int width, int rows);

// A label: a static control drawn by its panel, transparent over the
// gradient. Its ControlLayout sits in GWLP_USERDATA.
HWND CreateLabel(HWND panel, const shell::ControlLayout& layout, const RECT& rect, HFONT font, int id,
                 HINSTANCE instance);

// A label sized to its text: from its corner, as large as the text in `font`.
void SizeLabelToText(HWND label, HFONT font);

}  // namespace velquior::win32
