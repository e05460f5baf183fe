#pragma once
// What the process learns from its surroundings: environment variables, the
// timetabling program's default work directory, its own executable.

#include <filesystem>
#include <optional>
#include <string>

namespace velquior::platform {

// The variable's value; nullopt when it is unset or empty.
std::optional<std::string> EnvironmentVariable(const char* name);

// Where the timetabling program keeps its tables when nobody says: on POSIX
// $VELQUIOR_WORKDIR, else drive_c/ZTEMP inside the Wine prefix ($WINEPREFIX,
// default ~/.wine). Never created here.
std::filesystem::path DefaultWorkDir();

// The program's own folder among the user's data, which nobody else may
// read: $XDG_DATA_HOME/velquior (else ~/.local/share/velquior) on POSIX,
// %LOCALAPPDATA%\Velquior on Windows. Empty when the system does not say.
// Never created here.
std::filesystem::path ProgramDataFolder();

// The running executable's full path; empty when the system does not say.
std::filesystem::path ExecutablePath();

}  // namespace velquior::platform
