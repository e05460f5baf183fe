#pragma once
// The date and time on the user's clock.

namespace velquior::platform {

struct CalendarDate {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

// Today in the user's time zone; all zero when the system cannot say.
CalendarDate LocalToday();

struct LocalTime {
  CalendarDate date;
  int hour = 0, minute = 0, second = 0;
};

// Now on the user's clock; all zero when the system cannot say.
LocalTime LocalNow();

}  // namespace velquior::platform
