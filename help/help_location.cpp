#include "help/help_location.h"

#include <filesystem>

#include "common/files.h"

namespace velquior::help {

std::string HelpDirectory(const std::string& exe_dir, std::string_view file) {
  if (exe_dir.empty()) return exe_dir;
  const std::filesystem::path beside = PathFromUtf8(exe_dir);
  std::error_code ec;
  if (std::filesystem::exists(beside / PathFromUtf8(file), ec)) return exe_dir;
  const std::filesystem::path installed = (beside / ".." / "share" / "velquior").lexically_normal();
  if (!std::filesystem::exists(installed / PathFromUtf8(file), ec)) return exe_dir;
  return PathToUtf8(installed) + static_cast<char>(std::filesystem::path::preferred_separator);
}

}  // namespace velquior::help
