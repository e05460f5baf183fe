#include "common/work_dir.h"

#include <cstdlib>

namespace velquior {

std::filesystem::path ResolveWorkDir(const std::optional<std::filesystem::path>& explicit_dir) {
#ifdef _WIN32
  if (explicit_dir) return *explicit_dir;
  return "C:\\ZTEMP";
#else
  if (explicit_dir && !explicit_dir->empty()) return *explicit_dir;
  if (const char* env = std::getenv("VELQUIOR_WORKDIR"); env != nullptr && *env != '\0') return env;
  std::filesystem::path prefix;
  if (const char* wine = std::getenv("WINEPREFIX"); wine != nullptr && *wine != '\0') {
    prefix = wine;
  } else {
    const char* home = std::getenv("HOME");
    prefix = std::filesystem::path(home != nullptr ? home : "") / ".wine";
  }
  return prefix / "drive_c" / "ZTEMP";
#endif
}

}  // namespace velquior
