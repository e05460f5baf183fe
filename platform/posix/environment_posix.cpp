#include "platform/environment.h"

#include <cstdlib>

namespace velquior::platform {

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::filesystem::path DefaultWorkDir() {
  if (auto dir = EnvironmentVariable("VELQUIOR_WORKDIR")) return *dir;
  std::filesystem::path prefix;
  if (auto wine = EnvironmentVariable("WINEPREFIX")) {
    prefix = *wine;
  } else {
    const char* home = std::getenv("HOME");  // set but empty counts as set
    prefix = std::filesystem::path(home != nullptr ? home : "") / ".wine";
  }
  return prefix / "drive_c" / "ZTEMP";
}

std::filesystem::path ProgramDataFolder() {
  // A relative XDG_DATA_HOME is to be ignored.
  if (auto data = EnvironmentVariable("XDG_DATA_HOME"); data && data->front() == '/') {
    return std::filesystem::path(*data) / "velquior";
  }
  if (auto home = EnvironmentVariable("HOME")) return std::filesystem::path(*home) / ".local" / "share" / "velquior";
  return {};
}

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec);
}

}  // namespace velquior::platform
