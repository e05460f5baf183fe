#include "help/html_help_engine.h"

#include <climits>
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
  const std::string file = Utf8ToAnsi(name);
  const std::string keyword = Utf8ToAnsi(data.text);
  // The index takes its keyword by address; every other command a number.
  const DWORD_PTR argument =
      command == kHhDisplayIndex ? reinterpret_cast<DWORD_PTR>(keyword.c_str()) : static_cast<DWORD_PTR>(data.number);
  entry_(static_cast<HWND>(owner), file.empty() ? nullptr : file.c_str(), command, argument);
  shown_ = command != kHhCloseAll;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  const std::wstring wide = platform::Utf8ToWide(utf8);
  if (wide.empty() || wide.size() > INT_MAX / 4) return {};
  const int in = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), in, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), in, out.data(), n, nullptr, nullptr);
  return out;
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
