#pragma once
// How a conversion ended when it raised no error. An error propagates as
// Error instead, and then nothing the run would change has changed.

namespace velquior {

// kCancelled: the user declined at a window's question; nothing was written.
enum class Outcome { kCompleted, kMissingFile, kCancelled };

}  // namespace velquior
