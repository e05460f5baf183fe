#pragma once
// The window's help requests (F1, the "F1 AYUDA" button) served by the
// process's help system: F1 asks the manager for a context of the current
// help file, the button for its table of contents.

#include <string>

#include "help/help_request.h"
#include "help/help_system.h"

namespace velquior::help {

// The directory of the running executable, ending in a separator.
std::string ExecutableDirectory();
// The platform's engine, defined by velquior_help: HHCtrl.ocx's on Windows
// (help/html_help_engine.h), the chmlib help windows elsewhere
// (help/help_window.h).
EngineLoader DefaultEngineLoader();

class HelpService : public HelpRequests {
 public:
  // Set up before the application object exists; the engine makes its
  // windows only when a request needs one.
  explicit HelpService(const EngineLoader& load_engine = DefaultEngineLoader(),
                       DirectoryFunction exe_dir = ExecutableDirectory);

  void ShowContext(int context) override;
  void ShowContents() override;
  // Closes every help window (the viewer's soft shut-down).
  void CloseAll() { system_.Viewer().SoftShutDown(); }
  // The window the help windows belong to; none until it exists.
  void SetOwner(HelpOwner owner) { system_.Manager().SetOwner(owner); }
  // Process end: every viewer closes its windows and lets the manager go.
  void ShutDown() { system_.Manager().ShutDownViewers(); }

  HelpSystem& System() { return system_; }

 private:
  HelpSystem system_;
};

}  // namespace velquior::help
