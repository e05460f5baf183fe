#pragma once
// The window's fonts from the description's FontSpec: the first family the
// system has, at the description's pixel height scaled to the monitor.

#include <windows.h>

#include <array>
#include <string>

#include "shell/form_layout.h"

namespace velquior::win32 {

// The first of `spec.families` that EnumFontFamiliesEx finds; the last one
// when none is installed (the font mapper then picks its nearest).
std::wstring InstalledFamily(const shell::FontSpec& spec);

// The LOGFONT for `spec` at `dpi`: character height -pixel_height scaled.
LOGFONTW FontFor(const shell::FontSpec& spec, int dpi);

// One font per role, made once, deleted with the set.
class FontSet {
 public:
  explicit FontSet(int dpi);
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  HFONT Get(shell::FontRole role) const { return fonts_[static_cast<std::size_t>(role)]; }

 private:
  std::array<HFONT, 3> fonts_{};
};

}  // namespace velquior::win32
