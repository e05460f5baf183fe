#include "app/win32/main_form.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "app/win32/glyph_button.h"
#include "app/win32/gradient_panel.h"
#include "app/win32/host_embedding.h"
#include "app/win32/message_boxes.h"
#include "app/win32/program_icon.h"
#include "app/win32/win32_basics.h"
#include "common/format.h"
#include "common/messages.h"
#include "shell/form_layout.h"

namespace velquior::win32 {
namespace {

constexpr int kFirstId = 100;  // control i has id kFirstId + i
// A fixed dialog frame: caption and close box, no resizing, no minimise or
// maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

void RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, kFormClass, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = SharedProgramIcon(false);
  wc.hIconSm = SharedProgramIcon(true);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
}

// Both conversion buttons read "Aceptar": each is named by its text and
// the label above it.
std::wstring ConversionButtonName(std::string_view label) {
  std::string name = Format(msg::kNombreBotonConversion, {msg::kBotonAceptar, label});
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return Wide(name);
}

std::size_t IndexOf(std::string_view name) {
  const auto controls = shell::Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].name == name) return i;
  }
  return controls.size();
}

}  // namespace

MainForm::MainForm(FormSetup setup)
    : setup_(std::move(setup)),
      handlers_({setup_.params, setup_.work_dir, setup_.result_file, setup_.history_folder}, *this, notices_),
      OpenDialogXML(setup_.work_dir, setup_.open_dialog),
      dpi_(setup_.dpi > 0 ? setup_.dpi : ScreenDpi()),
      fonts_(std::make_unique<FontSet>(dpi_)) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterFormClass(instance, Proc);
  RegisterGradientPanelClass(instance);
  const shell::FormLayout& form = shell::Form();
  RECT frame{0, 0, Scale(form.client_width, dpi_), Scale(form.client_height, dpi_)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  const POINT at = CentredPosition(size);  // opens centred on the screen
  CreateWindowExW(kExStyle, kFormClass, Wide(form.caption).c_str(), kStyle, at.x, at.y, size.cx, size.cy, nullptr,
                  nullptr, instance, this);
  if (hwnd_ == nullptr) throw std::runtime_error("CreateWindowEx failed for the main window");
  SetProgramIcons(hwnd_, dpi_);
  BuildControls();
  // Keyboard cues as Windows decides from the user's setting and the last
  // input, as it does for a dialog: opened by a mouse click, "&Salir" shows
  // its underline once Alt is pressed. Sent while the window is still its own
  // top level; embedded, it follows the host's.
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEACCEL), 0);
  FormCreate();
}

MainForm::~MainForm() {
  if (busy_) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  if (hwnd_ != nullptr) {
    quiet_ = true;
    DestroyWindow(hwnd_);
  }
}

void MainForm::BuildControls() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto control_layouts = shell::Controls();
  const auto panel_layouts = shell::Panels();

  // Tab walks the window's children in their order of creation: the panels
  // go in the order their buttons are visited, and the buttons in tab order
  // before the labels. A panel made first is also on top where two touch.
  std::vector<std::size_t> panel_order;
  auto add_panel = [&](std::size_t p) {
    if (std::find(panel_order.begin(), panel_order.end(), p) == panel_order.end()) panel_order.push_back(p);
  };
  for (std::string_view name : shell::TabOrder()) add_panel(static_cast<std::size_t>(control_layouts[IndexOf(name)].panel));
  for (std::size_t p = 0; p < panel_layouts.size(); ++p) add_panel(p);
  panels_.assign(panel_layouts.size(), nullptr);
  for (std::size_t p : panel_order) {
    panels_[p] = CreateGradientPanel(hwnd_, panel_layouts[p], ScaleRect(panel_layouts[p].rect, dpi_), dpi_, instance);
  }

  controls_.assign(control_layouts.size(), nullptr);
  accessible_names_.assign(control_layouts.size(), std::wstring());
  auto create = [&](std::size_t i) {
    if (i >= control_layouts.size() || controls_[i] != nullptr) return;
    const shell::ControlLayout& layout = control_layouts[i];
    HWND panel = panels_.at(static_cast<std::size_t>(layout.panel));
    const RECT rect = ScaleRect(layout.rect, dpi_);
    HFONT font = fonts_->Get(layout.font);
    const int id = kFirstId + static_cast<int>(i);
    controls_[i] = layout.kind == shell::ControlKind::kLabel ? CreateLabel(panel, layout, rect, font, id, instance)
                                                           : CreateGlyphButton(panel, layout, rect, font, id, instance);
    if (!layout.described_by.empty()) {
      accessible_names_[i] = ConversionButtonName(layout.described_by);
      SetPropW(controls_[i], kAccessibleNameProperty,
               reinterpret_cast<HANDLE>(const_cast<wchar_t*>(accessible_names_[i].c_str())));
    }
  };
  for (std::string_view name : shell::TabOrder()) create(IndexOf(name));
  for (std::size_t i = 0; i < control_layouts.size(); ++i) create(i);
}

// Moved to a monitor of another scale: everything again as BuildControls
// placed it, at the new dpi, in the frame Windows suggests.
void MainForm::Rescale(int dpi, const RECT& suggested) {
  auto fonts = std::make_unique<FontSet>(dpi);
  const auto panel_layouts = shell::Panels();
  for (std::size_t p = 0; p < panels_.size(); ++p) {
    SetPanelDpi(panels_[p], dpi);
    const RECT r = ScaleRect(panel_layouts[p].rect, dpi);
    SetWindowPos(panels_[p], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const auto control_layouts = shell::Controls();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const shell::ControlLayout& layout = control_layouts[i];
    HFONT font = fonts->Get(layout.font);
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const RECT r = ScaleRect(layout.rect, dpi);
    SetWindowPos(controls_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (layout.sized_to_text) SizeLabelToText(controls_[i], font);
  }
  fonts_ = std::move(fonts);  // the old fonts go once no control uses them
  dpi_ = dpi;
  SetProgramIcons(hwnd_, dpi);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

HWND MainForm::Control(std::string_view name) const {
  const std::size_t i = IndexOf(name);
  return i < controls_.size() ? controls_[i] : nullptr;
}

void MainForm::ShowForm() {
  FormShow();
  if (closed_ || hwnd_ == nullptr) return;
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  SetFocus(Control(shell::kInitialFocus));
}

bool MainForm::PreTranslate(MSG& msg) {
  if (hwnd_ == nullptr || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
    HelpFrom(msg.hwnd);
    return true;
  }
  return IsDialogMessageW(hwnd_, &msg) != 0;
}

int MainForm::RunMessageLoop() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void MainForm::Button1Click() {
  if (setup_.help == nullptr) return;
  setup_.help->SetHelpFile(help::kHelpFile);
  setup_.help->ShowContents();
}

void MainForm::HelpFrom(HWND control) {
  if (setup_.help == nullptr) return;
  int context = shell::Form().help_context;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == control && shell::Controls()[i].help_context != 0) context = shell::Controls()[i].help_context;
  }
  setup_.help->ShowContext(context);
}

LRESULT CALLBACK MainForm::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* form = reinterpret_cast<MainForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    form = static_cast<MainForm*>(reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->hwnd_ = hwnd;
  }
  if (form == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    form->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return form->Handle(message, wparam, lparam);
}

LRESULT MainForm::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:  // the close box, Alt+F4, "Salir" or the shell
      if (!closed_) {
        closed_ = true;
        // A result that cannot be written is reported, and the window
        // closes all the same.
        if (!quiet_) FormClose();
      }
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      Destroyed();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) Command(LOWORD(wparam));
      return 0;
    case DM_GETDEFID: {  // Enter presses the focused button
      HWND focus = GetFocus();
      for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == focus && shell::Controls()[i].kind == shell::ControlKind::kButton) {
          return MAKELRESULT(kFirstId + static_cast<int>(i), DC_HASDEFID);
        }
      }
      return 0;
    }
    case WM_SETCURSOR:
      if (!busy_) break;
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case WM_DPICHANGED:  // embedded, the host's window decides
      if (!embedded_) Rescale(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_HELP:
      HelpFrom(static_cast<HWND>(reinterpret_cast<const HELPINFO*>(lparam)->hItemHandle));
      return TRUE;
    case WM_ACTIVATE:  // the focus comes back where it was
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) last_focus_ = focus;
      } else if (last_focus_ != nullptr && IsWindow(last_focus_)) {
        SetFocus(last_focus_);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void MainForm::Command(int id) {
  const std::size_t i = static_cast<std::size_t>(id - kFirstId);
  if (id < kFirstId || i >= shell::Controls().size()) return;
  const std::string_view name = shell::Controls()[i].name;
  if (name == "BExportar") {
    BExportarClick();
  } else if (name == "BImportar") {
    BImportarClick();
  } else if (name == "BClose") {
    Close();
  } else if (name == "Button1") {
    Button1Click();
  }
}

void MainForm::Destroyed() {
  ReleaseProgramIcons(hwnd_);
  for (HWND control : controls_) {
    if (control != nullptr && IsWindow(control)) RemovePropW(control, kAccessibleNameProperty);
  }
  if (quiet_) return;
  if (!closed_) {
    // Not asked for: the host's window went away and took ours with it.
    // Closing as by any other means, so the host gets ResultCode.
    closed_ = true;
    FormClose();
    if (setup_.on_host_lost) {
      setup_.on_host_lost();
      return;
    }
  }
  if (setup_.on_closed) {
    setup_.on_closed();
  } else {
    PostQuitMessage(0);
  }
}

HWND MainForm::BoxOwner() const {
  return hwnd_ != nullptr && !closed_ && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
}

void MainForm::Box(std::string_view text, BoxKind kind) {
  if (setup_.show_box) {
    setup_.show_box(BoxOwner(), text, kind);
  } else {
    ShowBox(BoxOwner(), text, kind);
  }
}

shell::Window::Answer MainForm::Ask(std::string_view question, std::string_view first, std::string_view second,
                                    std::string_view cancel) {
  const std::array<std::string_view, 3> buttons{first, second, cancel};
  const int pressed = setup_.ask ? setup_.ask(BoxOwner(), question, buttons) : AskBox(BoxOwner(), question, buttons);
  return pressed == 0 ? Answer::kFirst : pressed == 1 ? Answer::kSecond : Answer::kCancel;
}

std::optional<std::filesystem::path> MainForm::ChooseXmlFile(const std::filesystem::path&) {
  // The dialog's own memory is the last confirmed name.
  return OpenDialogXML.Execute(BoxOwner());
}

void MainForm::ShowMessage(std::string_view utf8_text) { Box(utf8_text, BoxKind::kPlain); }

void MainForm::ShowError(std::string_view utf8_text) { Box(utf8_text, BoxKind::kError); }

void MainForm::SetBusyCursor(bool busy) {
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void MainForm::DisableConversionButtons() {
  // A disabled control keeps the focus, and then Tab, Enter and F1 reach
  // nothing: the focus moves on first, also where it returns on activation.
  HWND next = Control(shell::kFocusAfterConversion);
  for (std::string_view name : {"BExportar", "BImportar"}) {
    HWND button = Control(name);
    if (button == nullptr || !IsWindow(button)) continue;
    if (GetFocus() == button) SetFocus(next);
    if (last_focus_ == button) last_focus_ = next;
    EnableWindow(button, FALSE);
  }
}

void MainForm::Close() {
  if (hwnd_ != nullptr && !closed_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void MainForm::EmbedInHost(std::uint32_t handle) {
  // A handle that names no window leaves the window framed in its own
  // place; the host launch still goes on.
  embedded_ = hwnd_ != nullptr && EmbedInto(hwnd_, handle);
}

}  // namespace velquior::win32
