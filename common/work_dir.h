#pragma once
// Where the timetabling program keeps its tables on this platform.

#include <filesystem>
#include <optional>

namespace velquior {

// The work directory: `explicit_dir` when given, else the platform's default
// (platform::DefaultWorkDir: on POSIX $VELQUIOR_WORKDIR, else drive_c/ZTEMP
// inside the Wine prefix; on Windows C:\ZTEMP). Never created here: a
// missing directory is reported by whoever needs it.
std::filesystem::path ResolveWorkDir(const std::optional<std::filesystem::path>& explicit_dir);

}  // namespace velquior
