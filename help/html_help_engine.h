#pragma once
// The HTML Help engine of Windows: HtmlHelpW from HHCtrl.ocx, loaded when
// the help is set up and freed with the viewer. Names and keywords go as
// UTF-16, so an install folder named in any script is found.

#include <windows.h>

#include <string>
#include <string_view>

#include "help/html_help_viewer.h"

namespace velquior::help {

// HtmlHelpW's own signature, so that a stand-in can take its place.
using HtmlHelpEntry = HWND(WINAPI*)(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data);

inline constexpr const wchar_t* kHtmlHelpLibrary = L"HHCtrl.ocx";
inline constexpr const char* kHtmlHelpEntryName = "HtmlHelpW";

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

// Loads `library` and its HtmlHelpW; no engine when either is missing.
EngineLoader HhCtrlEngineLoader(const wchar_t* library = kHtmlHelpLibrary);

}  // namespace velquior::help
