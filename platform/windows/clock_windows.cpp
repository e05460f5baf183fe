#include <windows.h>

#include "platform/clock.h"

namespace velquior::platform {

CalendarDate LocalToday() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace velquior::platform
