#include "shell/xml_dialog.h"

#include <system_error>

#include "common/files.h"

namespace velquior::shell {

std::filesystem::path XmlDialogStartDir(const std::filesystem::path& work_dir) {
  std::error_code ec;
  if (auto saga = FindFileNoCase(work_dir, "saga"); saga && std::filesystem::is_directory(*saga, ec)) {
    return *saga;
  }
  return work_dir;
}

}  // namespace velquior::shell
