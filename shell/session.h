#pragma once
// What a window keeps for the conversions while the process runs: the state
// shared with the host launch, and the conversions' workspace.

#include "conversion/workspace.h"
#include "shell/run_state.h"

namespace velquior::shell {

struct Session {
  RunState state;
  Workspace workspace;
};

}  // namespace velquior::shell
