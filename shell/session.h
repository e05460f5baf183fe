#pragma once
// What a window keeps for the conversions while the process runs: the state
// shared with the host launch, and the conversions' workspace.

#include <optional>

#include "conversion/workspace.h"
#include "history/store.h"
#include "shell/run_state.h"

namespace velquior::shell {

struct Session {
  RunState state;
  Workspace workspace;
  std::optional<history::Store> history;  // none: the conversions keep nothing
};

}  // namespace velquior::shell
