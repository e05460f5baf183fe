#pragma once
// The program's help as a window's main sets it up, before the window
// exists: the platform's engine and SAGA.chm beside the executable. The
// window gives its handle with SetOwner once it has one, and calls ShutDown
// when its message loop has ended.

#include <memory>

#include "help/help_service.h"

namespace velquior::help {

std::unique_ptr<HelpService> CreateProgramHelp();

}  // namespace velquior::help
