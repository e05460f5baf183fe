#include "help/help_system.h"

namespace velquior::help {

HelpSystem::HelpSystem(const EngineLoader& load_engine, DirectoryFunction exe_dir)
    : winhelp_(std::make_shared<WinHelpViewer>()) {
  manager_.RegisterViewer(winhelp_);
  viewer_ = std::make_shared<THtmlHelpViewer>(load_engine, std::move(exe_dir));
  viewer_->Registered(manager_.RegisterViewer(viewer_));
  manager_.AssignHelpSelector(viewer_);
  winhelp_->SetTester(std::make_shared<TWinHelpTester>());
}

HelpSystem::~HelpSystem() {
  viewer_->Unregister();
  manager_.AssignHelpSelector(nullptr);
}

}  // namespace velquior::help
