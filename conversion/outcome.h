#pragma once
// How a conversion ended when it raised no error. An error propagates as
// Error instead, and then nothing the run would change has changed.

namespace velquior {

enum class Outcome { kCompleted, kMissingFile };

}  // namespace velquior
