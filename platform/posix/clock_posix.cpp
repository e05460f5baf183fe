#include <ctime>

#include "platform/clock.h"

namespace velquior::platform {

CalendarDate LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (::localtime_r(&now, &tm) == nullptr) return {};
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

LocalTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (::localtime_r(&now, &tm) == nullptr) return {};
  return {{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace velquior::platform
