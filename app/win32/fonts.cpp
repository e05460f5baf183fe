#include "app/win32/fonts.h"

#include <cwchar>

#include "app/win32/win32_basics.h"

namespace velquior::win32 {
namespace {

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool FamilyInstalled(HDC dc, const std::wstring& family) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, family.c_str(), LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

std::wstring InstalledFamily(const shell::FontSpec& spec) {
  if (spec.families.empty()) return {};
  HDC screen = GetDC(nullptr);
  std::wstring chosen = Wide(spec.families.back());
  for (std::string_view family : spec.families) {
    if (FamilyInstalled(screen, Wide(family))) {
      chosen = Wide(family);
      break;
    }
  }
  ReleaseDC(nullptr, screen);
  return chosen;
}

LOGFONTW FontFor(const shell::FontSpec& spec, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -Scale(spec.pixel_height, dpi);
  lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  wcsncpy(lf.lfFaceName, InstalledFamily(spec).c_str(), LF_FACESIZE - 1);
  return lf;
}

FontSet::FontSet(int dpi) {
  for (shell::FontRole role : {shell::FontRole::kWindow, shell::FontRole::kTitle, shell::FontRole::kVersion}) {
    const LOGFONTW lf = FontFor(shell::Font(role), dpi);
    fonts_[static_cast<std::size_t>(role)] = CreateFontIndirectW(&lf);
  }
}

FontSet::~FontSet() {
  for (HFONT font : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
}

}  // namespace velquior::win32
