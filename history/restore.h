#pragma once
// Putting back what a history entry replaced.

#include "common/set_replacement.h"
#include "history/entry.h"
#include "history/store.h"

namespace velquior::history {

// Puts back every file `entry` kept and removes those that did not exist
// before its run, all or none, under the lock of the folder that holds them
// (and of the entry's work directory). First the present state of those
// files becomes the history's newest entry, which is returned, so that the
// restore can itself be undone; a file changed since the entry's run is
// restored all the same. A kept copy that is no longer what its manifest
// says stops the restore before anything changes. Raises Error.
Entry Restore(Store& store, const Entry& entry, const SetReplacement::MoveFile& move = SetReplacement::RenameFile);

}  // namespace velquior::history
