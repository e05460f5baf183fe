#include "app/win32/gradient_panel.h"

#include <string>

#include "app/win32/glyph_button.h"
#include "app/win32/win32_basics.h"

namespace velquior::win32 {
namespace {

struct PanelData {
  const shell::PanelLayout* layout;
  int dpi;
};

PanelData* DataOf(HWND panel) { return reinterpret_cast<PanelData*>(GetWindowLongPtrW(panel, GWLP_USERDATA)); }

int ClientHeight(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r.bottom - r.top;
}

void PaintPanel(HWND panel, HDC dc) {
  const PanelData* data = DataOf(panel);
  if (data == nullptr) return;
  RECT client{};
  GetClientRect(panel, &client);
  OffScreen(dc, client, [&](HDC memory, int width, int height) {
    PaintGradient(memory, *data->layout, height, 0, width, height);
  });
}

// A label's text over the strip of gradient behind it.
void DrawLabel(HWND panel, const DRAWITEMSTRUCT& item) {
  const PanelData* data = DataOf(panel);
  const auto* layout = reinterpret_cast<const shell::ControlLayout*>(GetWindowLongPtrW(item.hwndItem, GWLP_USERDATA));
  if (data == nullptr || layout == nullptr) return;
  RECT in_panel{};
  GetWindowRect(item.hwndItem, &in_panel);
  MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&in_panel), 2);
  const std::wstring text = WindowText(item.hwndItem);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  const int panel_height = ClientHeight(panel);
  OffScreen(item.hDC, item.rcItem, [&](HDC memory, int width, int height) {
    PaintGradient(memory, *data->layout, panel_height, in_panel.top, width, height);
    HGDIOBJ old_font = SelectObject(memory, font);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, layout->colour ? ToColorRef(*layout->colour) : GetSysColor(COLOR_WINDOWTEXT));
    RECT box{0, 0, width, height};
    const UINT format = DT_LEFT | DT_TOP | DT_NOPREFIX | (layout->word_wrap ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &box, format);
    SelectObject(memory, old_font);
  });
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      auto* data = new PanelData(*static_cast<const PanelData*>(create->lpCreateParams));
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
      break;
    }
    case WM_NCDESTROY:
      delete DataOf(hwnd);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintPanel(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintPanel(hwnd, reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item.CtlType == ODT_STATIC) {
        DrawLabel(hwnd, item);
      } else if (item.CtlType == ODT_BUTTON) {
        const PanelData* data = DataOf(hwnd);
        DrawGlyphButton(item, data != nullptr ? data->dpi : 96);
      }
      return TRUE;
    }
    case WM_COMMAND:
      // The buttons' clicks are the main window's business.
      return SendMessageW(GetParent(hwnd), message, wparam, lparam);
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

void RegisterGradientPanelClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, kPanelClass, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PanelProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kPanelClass;
  RegisterClassExW(&wc);
}

HWND CreateGradientPanel(HWND parent, const shell::PanelLayout& layout, const RECT& rect, int dpi, HINSTANCE instance) {
  PanelData data{&layout, dpi};
  HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, Wide(layout.name).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, instance, &data);
  return panel;
}

void PaintGradient(HDC dc, const shell::PanelLayout& layout, int panel_height, int first_row, int width, int rows) {
  const COLORREF old = GetBkColor(dc);
  for (int row = 0; row < rows; ++row) {
    SetBkColor(dc, ToColorRef(shell::GradientRow(layout, first_row + row, panel_height)));
    const RECT line{0, row, width, row + 1};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);  // the fastest solid fill
  }
  SetBkColor(dc, old);
}

HWND CreateLabel(HWND panel, const shell::ControlLayout& layout, const RECT& rect, HFONT font, int id,
                 HINSTANCE instance) {
  HWND label = CreateWindowExW(0, L"STATIC", Wide(layout.text).c_str(), WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
                               rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, panel,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&layout));
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (layout.sized_to_text) SizeLabelToText(label, font);
  return label;
}

void SizeLabelToText(HWND label, HFONT font) {
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, font);
  const std::wstring text = WindowText(label);
  RECT extent{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  SetWindowPos(label, nullptr, 0, 0, extent.right, extent.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetPanelDpi(HWND panel, int dpi) {
  if (PanelData* data = DataOf(panel)) data->dpi = dpi;
}

}  // namespace velquior::win32
