#include "help/program_help.h"

#include "help/deferred_engine.h"
#include "help/help_request.h"

namespace velquior::help {

std::unique_ptr<HelpService> CreateProgramHelp() {
  auto help = std::make_unique<HelpService>(Deferred(DefaultEngineLoader()));
  help->SetHelpFile(kHelpFile);
  return help;
}

}  // namespace velquior::help
