#pragma once
// The process's help, set up in this order: the framework's WinHelp viewer
// is there first; then the HTML help viewer is created, registered and made
// the selector, and a tester makes the WinHelp viewer decline. Destroying it
// is process end: the viewer unregisters, then is released.

#include <memory>

#include "help/help_manager.h"
#include "help/html_help_viewer.h"
#include "help/winhelp_viewer.h"

namespace velquior::help {

class HelpSystem {
 public:
  HelpSystem(const EngineLoader& load_engine, DirectoryFunction exe_dir);
  ~HelpSystem();
  HelpSystem(const HelpSystem&) = delete;
  HelpSystem& operator=(const HelpSystem&) = delete;

  HelpManager& Manager() { return manager_; }
  THtmlHelpViewer& Viewer() { return *viewer_; }
  WinHelpViewer& WinHelp() { return *winhelp_; }

 private:
  HelpManager manager_;
  std::shared_ptr<WinHelpViewer> winhelp_;
  std::shared_ptr<THtmlHelpViewer> viewer_;
};

}  // namespace velquior::help
