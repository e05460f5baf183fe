#include "platform/environment.h"

#include <windows.h>

#include <string>

#include "platform/windows/utf16.h"

namespace velquior::platform {
namespace {

std::optional<std::wstring> WideVariable(const std::wstring& name) {
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD n = ::GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) return std::nullopt;  // unset or empty
    if (n < value.size()) {
      value.resize(n);
      return value;
    }
    value.resize(n);  // n counts the closing zero here
  }
}

}  // namespace

std::optional<std::string> EnvironmentVariable(const char* name) {
  if (auto value = WideVariable(Utf8ToWide(name))) return WideToUtf8(*value);
  return std::nullopt;
}

std::filesystem::path DefaultWorkDir() {
  if (auto dir = WideVariable(L"VELQUIOR_WORKDIR")) return *dir;
  return L"C:\\ZTEMP";
}

std::filesystem::path ProgramDataFolder() {
  if (auto local = WideVariable(L"LOCALAPPDATA")) return std::filesystem::path(*local) / L"Velquior";
  if (auto profile = WideVariable(L"USERPROFILE")) {
    return std::filesystem::path(*profile) / L"AppData" / L"Local" / L"Velquior";
  }
  return {};
}

std::filesystem::path ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    if (buffer.size() >= 32768) return {};  // no path is longer
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace velquior::platform
