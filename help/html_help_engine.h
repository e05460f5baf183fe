#pragma once
// The HTML Help engine of Windows: HtmlHelpA from HHCtrl.ocx, loaded when
// the help is set up and freed with the viewer. It reads names and
// keywords in the ANSI code page.

#include <windows.h>

#include <string>
#include <string_view>

#include "help/html_help_viewer.h"

namespace velquior::help {

// HtmlHelpA's own signature, so that a stand-in can take its place.
using HtmlHelpEntry = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);

inline constexpr const wchar_t* kHtmlHelpLibrary = L"HHCtrl.ocx";
inline constexpr const char* kHtmlHelpEntryName = "HtmlHelpA";

class HhCtrlEngine : public HtmlHelpEngine {
 public:
  // `library` (may be null) is freed when the engine goes.
  HhCtrlEngine(HtmlHelpEntry entry, HMODULE library);
  // Closes the windows still open first: their code lives in the library.
  ~HhCtrlEngine() override;
  HhCtrlEngine(const HhCtrlEngine&) = delete;
  HhCtrlEngine& operator=(const HhCtrlEngine&) = delete;

  void HtmlHelp(HelpOwner owner, const std::string& name, unsigned command, const HtmlHelpData& data) override;

 private:
  HtmlHelpEntry entry_;
  HMODULE library_;
  bool shown_ = false;  // a window may be open
};

// UTF-8 to the ANSI code page; what it lacks becomes its default character.
std::string Utf8ToAnsi(std::string_view utf8);

// Loads `library` and its HtmlHelpA; no engine when either is missing.
EngineLoader HhCtrlEngineLoader(const wchar_t* library = kHtmlHelpLibrary);

}  // namespace velquior::help
