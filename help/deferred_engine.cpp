#include "help/deferred_engine.h"

namespace velquior::help {

void DeferredEngine::HtmlHelp(HelpOwner owner, const std::string& name, unsigned command,
                              const HtmlHelpData& data) {
  if (!loaded_) {
    if (command == kHhCloseAll) return;
    loaded_ = true;
    try {
      engine_ = load_();
    } catch (...) {
      engine_.reset();  // no engine: help does nothing, silently
    }
  }
  if (engine_) engine_->HtmlHelp(owner, name, command, data);
}

EngineLoader Deferred(EngineLoader load) {
  return [load = std::move(load)]() -> std::shared_ptr<HtmlHelpEngine> {
    return std::make_shared<DeferredEngine>(load);
  };
}

}  // namespace velquior::help
