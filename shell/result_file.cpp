#include "shell/result_file.h"

#include <string>

#include "shell/ini_file.h"

namespace velquior::shell {

std::filesystem::path ResultFilePath(const std::filesystem::path& executable_dir) {
  return executable_dir / "Zeltimor.ini";
}

void WriteResultCode(const std::filesystem::path& file, std::int32_t code) {
  WriteIniValue(file, "Transformadores", "Transformado", std::to_string(code));
}

}  // namespace velquior::shell
