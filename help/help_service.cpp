#include "help/help_service.h"

#include <filesystem>

#include "common/files.h"
#include "platform/environment.h"

namespace velquior::help {

std::string ExecutableDirectory() {
  const std::filesystem::path exe = platform::ExecutablePath();
  if (exe.empty()) return {};
  std::string dir = PathToUtf8(exe.parent_path());
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\')
    dir += static_cast<char>(std::filesystem::path::preferred_separator);
  return dir;
}

HelpService::HelpService(const EngineLoader& load_engine, DirectoryFunction exe_dir)
    : system_(load_engine, std::move(exe_dir)) {}

void HelpService::ShowContext(int context) {
  HelpManager& manager = system_.Manager();
  manager.SetApplicationHelpFile(HelpFile());
  manager.HelpCommand(kHelpContext, context);
}

void HelpService::ShowContents() {
  HelpManager& manager = system_.Manager();
  manager.SetApplicationHelpFile(HelpFile());
  manager.HelpCommand(kHelpContents, 0);
}

}  // namespace velquior::help
