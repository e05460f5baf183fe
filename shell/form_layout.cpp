#include "shell/form_layout.h"

#include <algorithm>
#include <cmath>

#include "common/messages.h"
#include "help/help_request.h"

namespace velquior::shell {
namespace {

constexpr int kHelp = help::kMainWindowContext;

constexpr std::array<std::string_view, 3> kSansFamilies = {"MS Sans Serif", "Microsoft Sans Serif",
                                                           "Liberation Sans"};
constexpr std::array<std::string_view, 2> kArialFamilies = {"Arial", "Liberation Sans"};
// The version label's bold: Tahoma has a true bold face on Windows and
// under Wine, where MS Sans Serif is drawn regular whatever the weight asked.
constexpr std::array<std::string_view, 4> kBoldSansFamilies = {"Tahoma", "MS Sans Serif", "Microsoft Sans Serif",
                                                               "Liberation Sans"};

// 8 point is 11 pixels and 12 point is 16 pixels at 96 dpi.
const FontFace kWindowFont{kSansFamilies, 11, false};
const FontFace kTitleFont{kArialFamilies, 16, true};
const FontFace kVersionFont{kBoldSansFamilies, 11, true};

constexpr Rgb kWarmBottom{0xF9, 0xD3, 0x7D}, kWarmMiddle{0xFF, 0xFF, 0xFF}, kWarmTop{0xFF, 0xEE, 0xDD};
constexpr Rgb kCoolBottom{0xC2, 0xCD, 0xFE}, kCoolMiddle{0xCF, 0xF2, 0xFE}, kCoolTop{0xCC, 0xD8, 0xE6};
constexpr Rgb kRed{0xFF, 0x00, 0x00};

// Panels are listed in the order their controls are visited by Tab.
enum PanelIndex { kLeft = 0, kRight = 1, kBottom = 2 };

constexpr std::array<PanelLayout, 3> kPanels = {{
    {"Draw3D2", {0, -1, 315, 169}, kWarmBottom, kWarmMiddle, kWarmTop, kHelp},
    {"Draw3D3", {316, 0, 317, 169}, kWarmBottom, kWarmMiddle, kWarmTop, kHelp},
    {"Draw3D1", {0, 168, 633, 97}, kCoolBottom, kCoolMiddle, kCoolTop, kHelp},
}};

constexpr std::array<ControlLayout, 7> kControls = {{
    {"Label3", kLeft, ControlKind::kLabel, {24, 24, 265, 57}, msg::kRotuloExportar, FontRole::kTitle,
     std::nullopt, true, false, Glyph::kNone, 0, {}},
    {"BExportar", kLeft, ControlKind::kButton, {96, 120, 89, 25}, msg::kBotonAceptar, FontRole::kWindow,
     std::nullopt, false, false, Glyph::kCheckMark, kHelp, msg::kRotuloExportar},
    {"Label4", kRight, ControlKind::kLabel, {8, 24, 305, 57}, msg::kRotuloImportar, FontRole::kTitle,
     std::nullopt, true, false, Glyph::kNone, 0, {}},
    {"BImportar", kRight, ControlKind::kButton, {96, 120, 89, 25}, msg::kBotonAceptar, FontRole::kWindow,
     std::nullopt, false, false, Glyph::kCheckMark, kHelp, msg::kRotuloImportar},
    {"BClose", kBottom, ControlKind::kButton, {256, 32, 89, 25}, msg::kBotonSalir, FontRole::kWindow,
     std::nullopt, false, false, Glyph::kOpenDoor, kHelp, {}},
    {"Button1", kBottom, ControlKind::kButton, {265, 67, 75, 18}, msg::kBotonAyuda, FontRole::kWindow,
     std::nullopt, false, false, Glyph::kNone, kHelp, {}},
    {"Label1", kBottom, ControlKind::kLabel, {8, 72, 213, 13}, msg::kRotuloVersion, FontRole::kVersion, kRed,
     false, true, Glyph::kNone, 0, {}},
}};

constexpr std::array<std::string_view, 4> kTabOrder = {"BClose", "Button1", "BExportar", "BImportar"};

const FormLayout kForm{"MForm", msg::kTituloVentana, 632, 266, kHelp};

}  // namespace

const FontFace& Font(FontRole role) {
  switch (role) {
    case FontRole::kTitle:
      return kTitleFont;
    case FontRole::kVersion:
      return kVersionFont;
    case FontRole::kWindow:
      break;
  }
  return kWindowFont;
}

Rgb GradientRow(const PanelLayout& panel, int y, int height) {
  if (height <= 1) return panel.top;
  const double t = static_cast<double>(std::clamp(y, 0, height - 1)) / (height - 1);
  const Rgb from = t < 0.5 ? panel.top : panel.middle;
  const Rgb to = t < 0.5 ? panel.middle : panel.bottom;
  const double f = t < 0.5 ? t * 2 : (t - 0.5) * 2;
  auto mix = [f](std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
  };
  return {mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)};
}

const FormLayout& Form() { return kForm; }
std::span<const PanelLayout> Panels() { return kPanels; }
std::span<const ControlLayout> Controls() { return kControls; }
std::span<const std::string_view> TabOrder() { return kTabOrder; }

const ControlLayout* FindControl(std::string_view name) {
  for (const ControlLayout& c : kControls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

}  // namespace velquior::shell
