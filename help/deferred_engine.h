#pragma once
// An engine loaded on the first request that needs one, not at start-up: the
// engine's library drags in much of the system (HHCtrl.ocx loads OLE), and a
// host launch must show its file dialog at once. Loaded once; a missing
// engine then leaves every request without effect, as at start-up.

#include <memory>
#include <string>

#include "help/html_help_viewer.h"

namespace velquior::help {

class DeferredEngine : public HtmlHelpEngine {
 public:
  explicit DeferredEngine(EngineLoader load) : load_(std::move(load)) {}

  // Closing every window needs no engine that was never loaded.
  void HtmlHelp(HelpOwner owner, const std::string& name, unsigned command, const HtmlHelpData& data) override;

  bool Loaded() const { return loaded_; }

 private:
  EngineLoader load_;
  bool loaded_ = false;
  std::shared_ptr<HtmlHelpEngine> engine_;
};

// A loader whose engine loads through `load` on its first request.
EngineLoader Deferred(EngineLoader load);

}  // namespace velquior::help
