// The Win32 main window read back from its real controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/win32/fonts.h"
#include "app/win32/glyph_button.h"
#include "app/win32/gradient_panel.h"
#include "app/win32/host_embedding.h"
#include "shell/form_layout.h"
#include "tests/win32/form_fixture.h"

namespace velquior::win32 {
namespace {

using MainFormTest = FormFixture;

RECT ToRect(const shell::Rect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

std::string Str(const RECT& r) {
  return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + "}";
}

// What `window` paints, through WM_PRINTCLIENT, as 0x00RRGGBB rows.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  int Count(bool (*match)(std::uint32_t)) const {
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), match));
  }
};

// What `draw` paints over `window`'s client area.
Picture Render(HWND window, const std::function<void(HDC, const RECT&)>& draw) {
  RECT client{};
  GetClientRect(window, &client);
  Picture p{client.right, client.bottom, {}};
  p.pixels.resize(static_cast<std::size_t>(p.width * p.height));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  draw(dc, client);
  GdiFlush();
  std::copy_n(static_cast<const std::uint32_t*>(bits), p.pixels.size(), p.pixels.begin());
  for (auto& px : p.pixels) px &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return p;
}

Picture Paint(HWND window) {
  return Render(window, [&](HDC dc, const RECT&) {
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  });
}

std::uint32_t Packed(shell::Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }
bool IsRed(std::uint32_t px) { return px == 0xFF0000; }
bool IsGreen(std::uint32_t px) {
  const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
  return g > r + 60 && g > b + 60;
}

TEST_F(MainFormTest, WindowHasItsCaptionFrameAndClientSize) {
  MainForm& form = Open();
  HWND hwnd = form.Hwnd();
  EXPECT_EQ(Text(hwnd), shell::Form().caption);
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 632);
  EXPECT_EQ(client.bottom, 266);
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD));
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(MainFormTest, OpensCentredOnTheScreen) {
  MainForm& form = Open();
  RECT r{};
  GetWindowRect(form.Hwnd(), &r);
  const POINT at = CentredPosition({r.right - r.left, r.bottom - r.top});
  EXPECT_EQ(r.left, at.x);
  EXPECT_EQ(r.top, at.y);
}

TEST_F(MainFormTest, EverythingScalesWithTheDpi) {
  MainForm& form = Open({}, 144);
  RECT client{};
  GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, 948);
  EXPECT_EQ(client.bottom, 399);
  EXPECT_EQ(Str(InParent(form.Control("BClose"))), Str(RECT{384, 48, 384 + 134, 48 + 38}));
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.Control("Label3"), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -24);
}

// Dragged to a monitor of another scale: laid out and lettered as if it had
// opened there, in the frame Windows suggests.
TEST_F(MainFormTest, AMonitorOfAnotherScaleRescalesEverything) {
  MainForm& form = Open({}, 96);
  RECT suggested{10, 20, 10 + 960, 20 + 440};
  SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form.Dpi(), 144);
  RECT frame{};
  GetWindowRect(form.Hwnd(), &frame);
  EXPECT_EQ(Str(frame), Str(suggested));
  for (std::size_t p = 0; p < shell::Panels().size(); ++p) {
    EXPECT_EQ(Str(InParent(form.Panel(p))), Str(ScaleRect(shell::Panels()[p].rect, 144))) << p;
  }
  for (const shell::ControlLayout& layout : shell::Controls()) {
    HWND control = form.Control(layout.name);
    const RECT want = ScaleRect(layout.rect, 144), got = InParent(control);
    if (layout.sized_to_text) {
      EXPECT_EQ(got.left, want.left) << layout.name;
      EXPECT_EQ(got.top, want.top) << layout.name;
    } else {
      EXPECT_EQ(Str(got), Str(want)) << layout.name;
    }
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -Scale(shell::Font(layout.font).pixel_height, 144)) << layout.name;
  }
}

TEST_F(MainFormTest, PanelsHaveTheirPlacesAndGradients) {
  MainForm& form = Open();
  const auto panels = shell::Panels();
  for (std::size_t i = 0; i < panels.size(); ++i) {
    SCOPED_TRACE(std::string(panels[i].name));
    HWND panel = form.Panel(i);
    EXPECT_EQ(GetParent(panel), form.Hwnd());
    EXPECT_EQ(Str(InParent(panel)), Str(ToRect(panels[i].rect)));
    EXPECT_TRUE(GetWindowLongPtrW(panel, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    const Picture p = Paint(panel);
    ASSERT_EQ(p.height, panels[i].rect.height);
    const int x = p.width - 2;  // clear of the controls
    EXPECT_EQ(p.At(x, 0), Packed(panels[i].top));
    EXPECT_EQ(p.At(x, p.height - 1), Packed(panels[i].bottom));
    EXPECT_EQ(p.At(x, (p.height - 1) / 2), Packed(shell::GradientRow(panels[i], (p.height - 1) / 2, p.height)));
    EXPECT_EQ(p.At(x, 5), p.At(0, 5)) << "one colour across a row";
  }
}

TEST_F(MainFormTest, ControlsHaveTheirPlacesTextsAndFonts) {
  MainForm& form = Open();
  for (const shell::ControlLayout& layout : shell::Controls()) {
    SCOPED_TRACE(std::string(layout.name));
    HWND control = form.Control(layout.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), form.Panel(static_cast<std::size_t>(layout.panel)));
    EXPECT_EQ(Text(control), layout.text);
    const RECT r = InParent(control);
    if (layout.sized_to_text) {
      EXPECT_EQ(r.left, layout.rect.left);
      EXPECT_EQ(r.top, layout.rect.top);
      EXPECT_GT(r.right - r.left, 60);
      EXPECT_NEAR(r.bottom - r.top, layout.rect.height, 3);
    } else {
      EXPECT_EQ(Str(r), Str(ToRect(layout.rect)));
    }
    const bool button = layout.kind == shell::ControlKind::kButton;
    EXPECT_EQ((GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) != 0, button);

    const shell::FontFace& font = shell::Font(layout.font);
    LOGFONTW lf{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfHeight, -font.pixel_height);
    EXPECT_EQ(lf.lfWeight, font.bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(std::wstring(lf.lfFaceName), InstalledFamily(font));
    const std::string face = Utf8(lf.lfFaceName);
    EXPECT_NE(std::find(font.families.begin(), font.families.end(), face), font.families.end()) << face;
  }
}

TEST_F(MainFormTest, VersionLabelIsRedAndTheCaptionsAreNot) {
  MainForm& form = Open();
  EXPECT_GT(Paint(form.Control("Label1")).Count(IsRed), 20);
  EXPECT_EQ(Paint(form.Control("Label3")).Count(IsRed), 0);
  // Drawn over the gradient: the caption's corner is the panel's colour.
  const Picture label = Paint(form.Control("Label4"));
  EXPECT_EQ(label.At(label.width - 1, 0), Packed(shell::GradientRow(shell::Panels()[1], 24, 169)));
}

// A bold that the system cannot give is drawn regular without a word: the
// version label paints clearly more ink than it does in its face's regular.
TEST_F(MainFormTest, VersionLabelIsDrawnBold) {
  MainForm& form = Open();
  HWND label = form.Control("Label1");
  // Red over the cool gradient, where green is never below red.
  auto ink = [&] {
    long total = 0;
    for (std::uint32_t px : Paint(label).pixels) total += std::max(0, static_cast<int>((px >> 16) & 0xFF) - static_cast<int>((px >> 8) & 0xFF));
    return total;
  };
  const auto bold_font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  LOGFONTW lf{};
  ASSERT_NE(GetObjectW(bold_font, sizeof lf, &lf), 0);
  lf.lfWeight = FW_NORMAL;
  HFONT regular_font = CreateFontIndirectW(&lf);
  const long bold = ink();
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(regular_font), FALSE);
  const long regular = ink();
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold_font), FALSE);
  DeleteObject(regular_font);
  EXPECT_GT(regular, 50 * 255);
  EXPECT_GE(bold * 100, regular * 125) << "bold " << bold << ", regular " << regular;
}

TEST_F(MainFormTest, CheckMarksAreGreenUntilTheButtonsAreDisabled) {
  MainForm& form = Open();
  EXPECT_GT(Paint(form.Control("BExportar")).Count(IsGreen), 10);
  EXPECT_EQ(Paint(form.Control("Button1")).Count(IsGreen), 0);
  form.DisableConversionButtons();
  for (const char* name : {"BExportar", "BImportar"}) {
    EXPECT_FALSE(IsWindowEnabled(form.Control(name))) << name;
    EXPECT_EQ(Paint(form.Control(name)).Count(IsGreen), 0) << name;
  }
  EXPECT_TRUE(IsWindowEnabled(form.Control("BClose")));
  EXPECT_TRUE(IsWindowEnabled(form.Control("Button1")));
}

TEST_F(MainFormTest, GlyphOverTheButtonFaceBlends) {
  const COLORREF face = RGB(0xD4, 0xD0, 0xC8);
  const auto none = GlyphOver(shell::Glyph::kNone, true, face);
  EXPECT_TRUE(std::all_of(none.begin(), none.end(), [](std::uint32_t px) { return px == 0xD4D0C8; }));
  const auto check = GlyphOver(shell::Glyph::kCheckMark, true, face);
  EXPECT_GT(std::count_if(check.begin(), check.end(), IsGreen), 10);
}

// Where Windows hides keyboard cues (its default, until Alt is pressed) it
// tells the owner-drawn button so: "&Salir" is then drawn without its
// underline. Wine always shows the cues, so the button is drawn here directly.
TEST_F(MainFormTest, SalirUnderlinesItsAcceleratorOnlyWhileKeyboardCuesShow) {
  MainForm& form = Open();
  HWND close = form.Control("BClose");
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  const std::uint32_t text = (std::uint32_t{GetRValue(ink)} << 16) | (GetGValue(ink) << 8) | GetBValue(ink);
  auto ink_pixels = [&](UINT state) {
    const Picture p = Render(close, [&](HDC dc, const RECT& client) {
      DrawGlyphButton(DRAWITEMSTRUCT{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, state, close, dc, client, 0}, 96);
    });
    return static_cast<int>(std::count(p.pixels.begin(), p.pixels.end(), text));
  };
  const int shown = ink_pixels(0), hidden = ink_pixels(ODS_NOACCEL);
  EXPECT_GT(hidden, 20) << "the text is drawn either way";
  EXPECT_GE(shown - hidden, 3) << "the underline under S";
  EXPECT_LE(shown - hidden, 12) << "and nothing else";
}

TEST_F(MainFormTest, EachAceptarIsNamedAfterItsConversion) {
  MainForm& form = Open();
  auto name = [&](const char* control) {
    const auto* text = static_cast<const wchar_t*>(GetPropW(form.Control(control), kAccessibleNameProperty));
    return text == nullptr ? std::string("<none>") : Utf8(text);
  };
  EXPECT_EQ(name("BExportar"), "Aceptar: Transformar datos desde SAGA hacia Zeltimor");
  EXPECT_EQ(name("BImportar"), "Aceptar: Transformar datos desde Zeltimor hacia SAGA");
  EXPECT_EQ(name("BClose"), "<none>");
}

TEST_F(MainFormTest, TabOrderRunsBottomThenLeftThenRight) {
  MainForm& form = Open();
  EXPECT_EQ(GetFocus(), form.Control(shell::kInitialFocus));
  HWND at = form.Control(shell::TabOrder().front());
  for (std::size_t i = 1; i <= shell::TabOrder().size(); ++i) {
    at = GetNextDlgTabItem(form.Hwnd(), at, FALSE);
    const std::string_view want = shell::TabOrder()[i % shell::TabOrder().size()];
    EXPECT_EQ(at, form.Control(want)) << want;
  }
  PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), form.Control("Button1"));
}

TEST_F(MainFormTest, F1AnywhereAndTheHelpButtonGoToTheHelpSeam) {
  MainForm& form = Open();
  PostMessageW(form.Control("BExportar"), WM_KEYDOWN, VK_F1, 1);
  PostMessageW(form.Panel(2), WM_KEYDOWN, VK_F1, 1);
  Pump();
  SendMessageW(form.Control("Button1"), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(help_.calls, (std::vector<std::string>{"context:1", "context:1", "contents:SAGA.chm"}));
}

TEST_F(MainFormTest, EnterPressesTheFocusedButton) {
  MainForm& form = Open();
  SetFocus(form.Control("Button1"));
  PressKey(VK_RETURN);
  EXPECT_EQ(help_.calls, std::vector<std::string>{"contents:SAGA.chm"});
  EXPECT_FALSE(form.Closed());
  SetFocus(form.Control("BClose"));
  PressKey(VK_RETURN);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(closed_, 1);
}

TEST_F(MainFormTest, AltSCloses) {
  MainForm& form = Open();
  SetFocus(form.Control("Button1"));
  PostMessageW(GetFocus(), WM_SYSCHAR, 's', 1 << 29);
  Pump();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(closed_, 1);
}

TEST_F(MainFormTest, CloseBoxClosesAndEndsTheProgram) {
  MainForm& form = Open();
  SendMessageW(form.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(form.Hwnd(), nullptr);
  EXPECT_EQ(closed_, 1);
  EXPECT_EQ(ResultText(), "<none>");  // not a host launch
}

TEST_F(MainFormTest, BusyCursorWhileConverting) {
  MainForm& form = Open();
  HWND button = form.Control("BImportar");
  const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  form.SetBusyCursor(true);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(SendMessageW(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), hit), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  form.SetBusyCursor(false);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
  SendMessageW(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), hit);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

// The focused "Aceptar" is disabled by the conversion it started: the focus
// must not stay on it, or the keyboard reaches nothing from then on.
TEST_F(MainFormTest, KeyboardStillWorksAfterACompletedConversion) {
  MainForm& form = Open();
  dialog_answer_ = tmp_ / "escuela.xml";
  std::filesystem::copy_file(VELQUIOR_EXAMPLES "/escuela.xml", *dialog_answer_);
  SetFocus(form.Control("BExportar"));
  PressKey(VK_RETURN);
  ASSERT_EQ(boxes_, std::vector<std::string>{"message:Proceso finalizado:visible"});
  ASSERT_FALSE(IsWindowEnabled(form.Control("BExportar")));
  EXPECT_EQ(GetFocus(), form.Control(shell::kFocusAfterConversion));
  PressKey(VK_F1);
  EXPECT_EQ(help_.calls, std::vector<std::string>{"context:1"});
  PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), form.Control("Button1"));
  // Away and back: the focus returns to a control that takes keys.
  SendMessageW(form.Hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(form.Control("BClose"));
  SendMessageW(form.Hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(IsWindowEnabled(GetFocus()));
}

TEST_F(MainFormTest, MissingFileIsSaidInAPlainBoxAndTheButtonsStay) {
  MainForm& form = Open();
  dialog_answer_ = tmp_ / "nada.xml";
  SendMessageW(form.Control("BExportar"), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(dialogs_shown_, 1);
  EXPECT_EQ(boxes_, std::vector<std::string>{"message:No existe archivo:visible"});
  EXPECT_TRUE(IsWindowEnabled(form.Control("BExportar")));
  EXPECT_FALSE(form.Busy());
}

TEST_F(MainFormTest, ConversionErrorGoesToTheErrorBox) {
  MainForm& form = Open();
  testing::WriteFile(tmp_ / "roto.xml", "<document><subjects>");
  dialog_answer_ = tmp_ / "roto.xml";
  SendMessageW(form.Control("BImportar"), BM_CLICK, 0, 0);
  Pump();
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_TRUE(boxes_[0].starts_with("error:")) << boxes_[0];
  EXPECT_TRUE(boxes_[0].ends_with(".:visible")) << boxes_[0];
  EXPECT_TRUE(IsWindowEnabled(form.Control("BImportar")));
}

}  // namespace
}  // namespace velquior::win32
