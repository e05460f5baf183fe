#include "platform/windows/long_path.h"

#include <windows.h>

namespace velquior::platform {

// Below MAX_PATH with room for the 8.3 name a new directory's path must leave.
constexpr std::size_t kShortEnough = MAX_PATH - 12;

std::wstring Win32Path(const std::filesystem::path& path) {
  const std::wstring& given = path.native();
  if (given.starts_with(L"\\\\?\\") || given.starts_with(L"\\\\.\\")) return given;
  const DWORD needed = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (needed == 0 || needed - 1 < kShortEnough) return given;
  std::wstring full(needed, L'\0');
  const DWORD n = ::GetFullPathNameW(given.c_str(), needed, full.data(), nullptr);
  if (n == 0 || n >= needed) return given;
  full.resize(n);
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share
  return L"\\\\?\\" + full;
}

}  // namespace velquior::platform
