#include "platform/process.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/windows/utf16.h"

namespace velquior::platform {

// argv holds the command line in the ANSI code page, which loses what it
// lacks ("日本.xml"); the system's UTF-16 copy has every character.
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return argc < 1 ? std::vector<std::string>() : std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> out;
  for (int i = 1; i < count; ++i) out.push_back(WideToUtf8(wide[i]));
  ::LocalFree(wide);
  return out;
}

}  // namespace velquior::platform
