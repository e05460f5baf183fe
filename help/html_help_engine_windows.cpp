#include "help/html_help_engine.h"

#include <memory>

#include "help/help_service.h"
#include "platform/windows/utf16.h"

namespace velquior::help {

HhCtrlEngine::HhCtrlEngine(HtmlHelpEntry entry, HMODULE library) : entry_(entry), library_(library) {}

HhCtrlEngine::~HhCtrlEngine() {
  if (shown_ && entry_ != nullptr) entry_(nullptr, nullptr, kHhCloseAll, 0);
  if (library_ != nullptr) ::FreeLibrary(library_);
}

void HhCtrlEngine::HtmlHelp(HelpOwner owner, const std::string& name, unsigned command, const HtmlHelpData& data) {
  if (entry_ == nullptr) return;
  const std::wstring file = platform::Utf8ToWide(name);
  const std::wstring keyword = platform::Utf8ToWide(data.text);
  // The index takes its keyword by address; every other command a number.
  const DWORD_PTR argument =
      command == kHhDisplayIndex ? reinterpret_cast<DWORD_PTR>(keyword.c_str()) : static_cast<DWORD_PTR>(data.number);
  entry_(static_cast<HWND>(owner), file.empty() ? nullptr : file.c_str(), command, argument);
  shown_ = command != kHhCloseAll;
}

EngineLoader HhCtrlEngineLoader(const wchar_t* library) {
  return [library]() -> std::shared_ptr<HtmlHelpEngine> {
    HMODULE module = ::LoadLibraryW(library);
    if (module == nullptr) return nullptr;
    // GetProcAddress's generic pointer to the entry's real type, through
    // the one function type a cast may pass without a warning.
    const auto entry =
        reinterpret_cast<HtmlHelpEntry>(reinterpret_cast<void (*)()>(::GetProcAddress(module, kHtmlHelpEntryName)));
    if (entry == nullptr) {
      ::FreeLibrary(module);
      return nullptr;
    }
    return std::make_shared<HhCtrlEngine>(entry, module);
  };
}

EngineLoader DefaultEngineLoader() { return HhCtrlEngineLoader(); }

}  // namespace velquior::help
