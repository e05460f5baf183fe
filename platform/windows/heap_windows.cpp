#include "platform/heap.h"

namespace velquior::platform {

// The system's heap has no settings of this kind.
void TuneHeapForOneLargeTree() {}

}  // namespace velquior::platform
