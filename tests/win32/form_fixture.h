#pragma once
// The Win32 main window under test: made with a help seam that records, a
// file dialog and boxes that answer at once, and a way to run its messages.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/main_form.h"
#include "app/win32/win32_basics.h"
#include "tests/test_util.h"

namespace velquior::win32 {

class RecordingHelp : public help::HelpRequests {
 public:
  std::vector<std::string> calls;
  void ShowContext(int context) override { calls.push_back("context:" + std::to_string(context)); }
  void ShowContents() override { calls.push_back("contents:" + HelpFile()); }
};

class FormFixture : public ::testing::Test {
 protected:
  // Each box as "kind:text:visible", visible telling whether the window was
  // on screen when it came.
  std::vector<std::string> boxes_;
  std::optional<std::filesystem::path> dialog_answer_;  // nullopt: cancel
  int ask_answer_ = 2;                                  // the question's: cancel
  std::vector<std::string> asked_;                      // "first|second|cancel:visible"
  int dialogs_shown_ = 0;
  int closed_ = 0, host_lost_ = 0;
  RecordingHelp help_;
  testing::TempDir tmp_;
  std::filesystem::path result_file_ = tmp_ / "Zeltimor.ini";
  std::unique_ptr<MainForm> form_;

  FormSetup Setup(std::vector<std::string> params = {}, int dpi = 96) {
    FormSetup s;
    s.params = std::move(params);
    s.work_dir = tmp_.path();
    s.result_file = result_file_;
    s.help = &help_;
    s.dpi = dpi;
    s.on_closed = [this] { ++closed_; };
    s.on_host_lost = [this] { ++host_lost_; };
    s.open_dialog = [this](OPENFILENAMEW& ofn) {
      ++dialogs_shown_;
      if (!dialog_answer_) return false;
      const std::wstring name = dialog_answer_->wstring();
      name.copy(ofn.lpstrFile, ofn.nMaxFile - 1);
      ofn.lpstrFile[name.size()] = L'\0';
      return true;
    };
    s.show_box = [this](HWND, std::string_view text, BoxKind kind) {
      const bool visible = form_ != nullptr && form_->Hwnd() != nullptr && IsWindowVisible(form_->Hwnd());
      boxes_.push_back(std::string(kind == BoxKind::kError ? "error:" : "message:") + std::string(text) +
                       (visible ? ":visible" : ":hidden"));
    };
    s.ask = [this](HWND, std::string_view, const std::array<std::string_view, 3>& b) {
      const bool visible = form_ != nullptr && form_->Hwnd() != nullptr && IsWindowVisible(form_->Hwnd());
      asked_.push_back(std::string(b[0]) + "|" + std::string(b[1]) + "|" + std::string(b[2]) +
                       (visible ? ":visible" : ":hidden"));
      return ask_answer_;
    };
    return s;
  }

  MainForm& Open(std::vector<std::string> params = {}, int dpi = 96) {
    form_ = std::make_unique<MainForm>(Setup(std::move(params), dpi));
    form_->ShowForm();
    Pump();
    return *form_;
  }

  // Runs the thread's pending messages as the program's loop would.
  void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (form_ != nullptr && form_->PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  // A key pressed and let go on the focused control.
  void PressKey(UINT key, bool alt = false) {
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN, up = alt ? WM_SYSKEYUP : WM_KEYUP;
    const LPARAM alt_bit = alt ? (1 << 29) : 0;
    PostMessageW(focus, down, key, 1 | alt_bit);
    PostMessageW(focus, up, key, static_cast<LPARAM>(0xC0000001u) | alt_bit);
    Pump();
  }

  // `window`'s rectangle in its parent's client area.
  static RECT InParent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  std::string ResultText() const {
    return std::filesystem::exists(result_file_) ? testing::ReadFile(result_file_) : "<none>";
  }
};

inline std::string Text(HWND window) { return Utf8(WindowText(window)); }

}  // namespace velquior::win32
