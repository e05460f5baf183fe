#include "common/work_dir.h"

#include "platform/environment.h"

namespace velquior {

std::filesystem::path ResolveWorkDir(const std::optional<std::filesystem::path>& explicit_dir) {
  if (explicit_dir && !explicit_dir->empty()) return *explicit_dir;
  return platform::DefaultWorkDir();
}

}  // namespace velquior
