#pragma once
// A CalendarView that counts the redraws it is asked for.
#include "calendar/calendar_view.hpp"

namespace orv::test {

class RecordingCalendarView : public CalendarView {
public:
  int full_draws = 0;
  int day_draws = 0;
  void dsDrawCalendar() override { ++full_draws; }
  void dsDrawCalendarDays() override { ++day_draws; }
};

}  // namespace orv::test
