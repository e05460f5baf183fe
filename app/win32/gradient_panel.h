#pragma once
// The three gradient panels (Delphi's Draw3D): a vertical three-colour
// gradient, drawn off screen so nothing flickers, under transparent labels
// and glyph buttons. A panel is a control parent, so Tab and the dialog keys
// reach its buttons; it hands their commands to the main window.

#include <windows.h>

#include "shell/form_layout.h"

namespace velquior::win32 {

inline constexpr wchar_t kPanelClass[] = L"VelquiorGradientPanel";

// Registers the panel's window class once per process.
void RegisterGradientPanelClass(HINSTANCE instance);

// A panel of `spec` at `rect` (scaled) in `parent`; `dpi` sizes what it draws.
HWND CreateGradientPanel(HWND parent, const shell::PanelSpec& spec, const RECT& rect, int dpi, HINSTANCE instance);

// Paints rows [first_row, first_row + rows) of the gradient
// (shell::GradientRow), `width` wide, at (0, 0) of `dc`.
void PaintGradient(HDC dc, const shell::PanelSpec& spec, int panel_height, int first_row, int width, int rows);

// A label: a static control drawn by its panel, transparent over the
// gradient. Its ControlSpec sits in GWLP_USERDATA.
HWND CreateLabel(HWND panel, const shell::ControlSpec& spec, const RECT& rect, HFONT font, int id,
                 HINSTANCE instance);

}  // namespace velquior::win32
