#pragma once
// MForm on Win32: the two conversions side by side, the exit and help
// buttons, and the host launch. Built from the toolkit-free description
// (shell/form_layout.h); a thin window over the shell's handlers, which
// decide everything: it only chooses the file, shows the boxes, sets the
// cursor and the buttons, embeds and closes itself.

#include <windows.h>

#include <array>
#include <filesystem>
#include <optional>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/fonts.h"
#include "app/win32/message_boxes.h"
#include "app/win32/open_dialog.h"
#include "conversion/reporter.h"
#include "help/help_request.h"
#include "shell/form_handlers.h"
#include "shell/window.h"

namespace velquior::win32 {

inline constexpr wchar_t kFormClass[] = L"VelquiorMainForm";
// The window property holding a button's accessible name (a const wchar_t*
// owned by the form) where its text alone does not name it.
inline constexpr wchar_t kAccessibleNameProperty[] = L"Velquior.AccessibleName";

struct FormSetup {
  std::vector<std::string> params;  // the command line, program not counted
  std::filesystem::path work_dir;
  std::filesystem::path result_file;  // written on close in host mode
  // Where the conversions keep what they replace; unset: nowhere.
  std::optional<std::filesystem::path> history_folder;
  help::HelpRequests* help = nullptr;  // outlives the form
  int dpi = 0;                         // 0: the screen's
  // The window has closed: end the program. Empty: PostQuitMessage(0).
  std::function<void()> on_closed;
  // The host's window went away with ours inside; the result is written.
  // Ends the program there and then, even inside a box. Empty: on_closed.
  std::function<void()> on_host_lost;
  // Tests answer the file dialog and the boxes here; empty: the real ones.
  XmlOpenDialog::Runner open_dialog;
  std::function<void(HWND owner, std::string_view text, BoxKind kind)> show_box;
  // The question's answer (0, 1 or 2); empty: the real box.
  std::function<int(HWND owner, std::string_view text, const std::array<std::string_view, 3>& buttons)> ask;
};

class MainForm : public shell::Window {
 public:
  // Builds the window, hidden and centred, and runs FormCreate.
  explicit MainForm(FormSetup setup);
  ~MainForm() override;
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // FormShow first, so a host launch's dialog and boxes come before the
  // window is drawn; the window then appears unless it has closed.
  void ShowForm();
  // The dialog keys (Tab, Enter, Alt+letter) and F1; true when `msg` was
  // handled and must not be dispatched.
  bool PreTranslate(MSG& msg);
  // GetMessage until the quit message; returns its code.
  int RunMessageLoop();

  HWND Hwnd() const { return hwnd_; }  // also the help viewer's owner
  HWND Control(std::string_view name) const;
  HWND Panel(std::size_t index) const { return panels_.at(index); }
  int Dpi() const { return dpi_; }
  bool Closed() const { return closed_; }
  bool Embedded() const { return embedded_; }
  bool Busy() const { return busy_; }
  const shell::RunState& State() const { return handlers_.State(); }

  // Handlers, named after their control and event.
  void FormCreate() { handlers_.FormCreate(); }
  void FormShow() { handlers_.FormShow(); }
  void FormClose() { handlers_.FormClose(); }
  void BExportarClick() { handlers_.BExportarClick(); }
  void BImportarClick() { handlers_.BImportarClick(); }
  void Button1Click();
  void HelpFrom(HWND control);

  // shell::Window
  std::optional<std::filesystem::path> ChooseXmlFile(const std::filesystem::path& last) override;
  void ShowMessage(std::string_view utf8_text) override;
  void ShowError(std::string_view utf8_text) override;
  Answer Ask(std::string_view utf8_question, std::string_view first, std::string_view second,
             std::string_view cancel) override;
  void SetBusyCursor(bool busy) override;
  void DisableConversionButtons() override;
  void Close() override;
  void EmbedInHost(std::uint32_t handle) override;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void BuildControls();
  void Rescale(int dpi, const RECT& suggested);
  void Command(int id);
  void Destroyed();
  HWND BoxOwner() const;
  void Box(std::string_view text, BoxKind kind);

  FormSetup setup_;
  Reporter notices_;  // the window shows none of the conversions' reports
  shell::FormHandlers handlers_;
  XmlOpenDialog OpenDialogXML;
  int dpi_;
  std::unique_ptr<FontSet> fonts_;
  HWND hwnd_ = nullptr;
  std::vector<HWND> panels_;
  std::vector<HWND> controls_;  // as Controls() lists them
  std::vector<std::wstring> accessible_names_;  // by control, empty where none
  bool quiet_ = false;  // being destroyed by its owner: no handler runs
  HWND last_focus_ = nullptr;
  bool closed_ = false;
  bool embedded_ = false;
  bool busy_ = false;
};

}  // namespace velquior::win32
