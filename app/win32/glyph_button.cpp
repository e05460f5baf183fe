#include "app/win32/glyph_button.h"

#include <string>

#include "app/win32/win32_basics.h"

namespace velquior::win32 {
namespace {

const shell::ControlLayout* LayoutOf(HWND button) {
  return reinterpret_cast<const shell::ControlLayout*>(GetWindowLongPtrW(button, GWLP_USERDATA));
}

void PaintGlyph(HDC dc, shell::Glyph glyph, bool enabled, int x, int y, int size) {
  const auto pixels = GlyphOver(glyph, enabled, GetSysColor(COLOR_BTNFACE));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shell::kGlyphSize;
  info.bmiHeader.biHeight = -shell::kGlyphSize;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, size, size, 0, 0, shell::kGlyphSize, shell::kGlyphSize, pixels.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
}

// The text as drawn without its accelerator's underline: "&&" stays one "&".
// (Wine's DrawText ignores DT_HIDEPREFIX, so the marks are taken out here.)
std::wstring WithoutAccelerator(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && ++i == text.size()) break;  // "&S" is "S", "&&" is "&"
    out += text[i];
  }
  return out;
}

// Disabled text is embossed: a highlight one pixel down-right, grey on top.
// The accelerator's underline is left out while the window hides keyboard
// cues (until Alt is pressed, where Windows is set so).
void PaintText(HDC dc, const std::wstring& marked, RECT box, bool enabled, bool hide_accelerator) {
  const std::wstring text = hide_accelerator ? WithoutAccelerator(marked) : marked;
  const UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | (hide_accelerator ? DT_NOPREFIX : 0);
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) {
    RECT shadow = box;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
  }
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

}  // namespace

HWND CreateGlyphButton(HWND panel, const shell::ControlLayout& layout, const RECT& rect, HFONT font, int id,
                       HINSTANCE instance) {
  HWND button = CreateWindowExW(0, L"BUTTON", Wide(layout.text).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, panel,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  SetWindowLongPtrW(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&layout));
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return button;
}

std::array<std::uint32_t, shell::kGlyphSize * shell::kGlyphSize> GlyphOver(shell::Glyph glyph, bool enabled,
                                                                           COLORREF background) {
  const shell::GlyphImage image = shell::DrawGlyph(glyph, enabled);
  const std::uint32_t bg[3] = {GetRValue(background), GetGValue(background), GetBValue(background)};
  std::array<std::uint32_t, shell::kGlyphSize * shell::kGlyphSize> out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::uint32_t argb = image.argb[i];
    const std::uint32_t a = argb >> 24;
    std::uint32_t pixel = 0;
    for (int channel = 0; channel < 3; ++channel) {
      const std::uint32_t fg = (argb >> (16 - 8 * channel)) & 0xFF;
      const std::uint32_t mixed = (fg * a + bg[channel] * (255 - a) + 127) / 255;
      pixel |= mixed << (16 - 8 * channel);
    }
    out[i] = pixel;
  }
  return out;
}

void DrawGlyphButton(const DRAWITEMSTRUCT& item, int dpi) {
  const shell::ControlLayout* layout = LayoutOf(item.hwndItem);
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  const bool hide_accelerator = (item.itemState & ODS_NOACCEL) != 0 ||
                                (SendMessageW(item.hwndItem, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
  const shell::Glyph glyph = layout != nullptr ? layout->glyph : shell::Glyph::kNone;
  const std::wstring text = WindowText(item.hwndItem);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));

  OffScreen(item.hDC, item.rcItem, [&](HDC dc, int width, int height) {
    RECT frame{0, 0, width, height};
    FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
    if (focused) {  // the focused button is the default one: a dark outline
      FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&frame, -1, -1);
    }
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));

    HGDIOBJ old_font = SelectObject(dc, font);
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    const int glyph_size = glyph == shell::Glyph::kNone ? 0 : Scale(shell::kGlyphSize, dpi);
    const int spacing = glyph == shell::Glyph::kNone ? 0 : Scale(4, dpi);
    const int shift = pressed ? 1 : 0;
    int x = (width - (glyph_size + spacing + extent.right)) / 2 + shift;
    if (glyph_size > 0) {
      PaintGlyph(dc, glyph, enabled, x, (height - glyph_size) / 2 + shift, glyph_size);
      x += glyph_size + spacing;
    }
    PaintText(dc, text, RECT{x, shift, x + extent.right + 1, height + shift}, enabled, hide_accelerator);
    SelectObject(dc, old_font);

    if (focused) {
      RECT focus{0, 0, width, height};
      InflateRect(&focus, -Scale(4, dpi), -Scale(4, dpi));
      DrawFocusRect(dc, &focus);
    }
  });
}

}  // namespace velquior::win32
