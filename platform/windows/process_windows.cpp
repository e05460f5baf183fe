#include "platform/process.h"

#include <windows.h>

#include "platform/windows/utf16.h"

// The C runtime's own split of the UTF-16 command line, by the same rules
// that made argv. Taken from it rather than from the shell's library, whose
// loading costs a console program a good part of its start.
struct StartupInfo {
  int new_mode;
};
extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int glob, StartupInfo* info);

namespace velquior::platform {

// argv holds the command line in the ANSI code page, which loses what it
// lacks ("日本.xml"); the system's UTF-16 copy has every character.
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = nullptr;
  wchar_t** env = nullptr;
  StartupInfo info{0};
  if (::__wgetmainargs(&count, &wide, &env, 0, &info) < 0 || wide == nullptr) {
    return argc < 1 ? std::vector<std::string>() : std::vector<std::string>(argv + 1, argv + argc);
  }
  std::vector<std::string> out;
  for (int i = 1; i < count; ++i) out.push_back(WideToUtf8(wide[i]));
  return out;
}

}  // namespace velquior::platform
