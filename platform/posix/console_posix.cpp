#include "platform/console.h"

namespace velquior::platform {

// A terminal takes the bytes as they are.
void UseUtf8Console() {}

}  // namespace velquior::platform
