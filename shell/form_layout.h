#pragma once
// What the main window shows, once for every toolkit: the form, its three
// gradient panels and their controls, with coordinates in pixels at 96 dpi
// (controls relative to their panel), colours, texts (UTF-8), fonts, tab
// order and help contexts. The Qt and the Win32 windows both build from it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "shell/glyphs.h"

namespace velquior::shell {

struct Rgb {
  std::uint8_t r, g, b;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

struct Rect {
  int left, top, width, height;
  friend constexpr bool operator==(Rect, Rect) = default;
};

struct FontFace {
  // The first family the system has wins; the last ones keep the metrics
  // where the classic faces are missing.
  std::span<const std::string_view> families;
  int pixel_height;  // at 96 dpi
  bool bold;
};

// The window font (MS Sans Serif 8 point), the captions above the buttons
// (Arial 12 point bold) and the version label (8 point bold, in a face whose
// bold every system draws).
enum class FontRole { kWindow, kTitle, kVersion };
const FontFace& Font(FontRole role);

struct FormLayout {
  std::string_view name;     // MForm
  std::string_view caption;  // the title bar
  int client_width, client_height;
  int help_context;
};

struct PanelLayout {
  std::string_view name;
  Rect rect;           // in the form's client area
  Rgb bottom, middle, top;  // the vertical gradient's three colours
  int help_context;
};

enum class ControlKind {
  kLabel,   // transparent over its panel
  kButton,  // push button, with its glyph left of the text
};

struct ControlLayout {
  std::string_view name;
  int panel;  // index into Panels()
  ControlKind kind;
  Rect rect;  // in its panel
  std::string_view text;  // "&" marks the accelerator
  FontRole font;
  std::optional<Rgb> colour;  // none: the system's window-text colour
  bool word_wrap;
  bool sized_to_text;  // the label takes its text's size from its corner
  Glyph glyph;
  int help_context;  // 0: none (labels)
  // Both conversion buttons read "Aceptar": a screen reader names each by its
  // text and the label above it, as kNombreBotonConversion joins them. Empty:
  // the text alone.
  std::string_view described_by;
};

// Row `y` of a panel `height` rows high: the top colour on the first row, the
// middle one half way, the bottom colour on the last row, linear between.
Rgb GradientRow(const PanelLayout& panel, int y, int height);

const FormLayout& Form();
std::span<const PanelLayout> Panels();
std::span<const ControlLayout> Controls();
// The buttons, in the order Tab visits them: bottom panel, left, right.
std::span<const std::string_view> TabOrder();
// The control named so; nullptr when there is none.
const ControlLayout* FindControl(std::string_view name);
// The control that has the focus when the window opens.
inline constexpr std::string_view kInitialFocus = "BClose";
// Where the focus goes when the conversion buttons are disabled under it: the
// next in tab order that stays enabled, so the keyboard keeps working.
inline constexpr std::string_view kFocusAfterConversion = "BClose";

}  // namespace velquior::shell
