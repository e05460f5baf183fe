#include <windows.h>

#include "platform/clock.h"

namespace velquior::platform {

CalendarDate LocalToday() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

LocalTime LocalNow() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {{now.wYear, now.wMonth, now.wDay}, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace velquior::platform
