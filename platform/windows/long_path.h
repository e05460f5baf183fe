#pragma once
// Paths for the Win32 "W" functions: one longer than the system's old limit
// of 260 characters is given in its extended form (\\?\C:\... or
// \\?\UNC\server\share\...), which the system takes without that limit.

#include <filesystem>
#include <string>

namespace velquior::platform {

// `path` as the system should be given it: itself while short enough,
// else absolute, with backslashes, "." and ".." resolved, and the prefix.
std::wstring Win32Path(const std::filesystem::path& path);

}  // namespace velquior::platform
