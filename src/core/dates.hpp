#pragma once
// Dates are whole days. DateParts is the split form every window works with.
#include <chrono>
#include <cstdint>
#include <functional>

namespace orv {

using Date = std::chrono::sys_days;

struct DateParts {
  std::int16_t Year = 0;
  std::int16_t Month = 0;
  std::int16_t Day = 0;
  std::int16_t Weekday = 0;  // 1 Sunday .. 7 Saturday
  bool operator==(const DateParts&) const = default;
};

DateParts SplitDate(Date date);
Date MakeDate(int year, int month, int day);

// Where "today" comes from; tests inject a fixed clock.
using Clock = std::function<Date()>;
// Today's date in the local time zone of the machine.
Date LocalToday();

// A moment of the local clock, to the second.
struct LocalTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};
LocalTime LocalNow();

}  // namespace orv
