#pragma once
// A CalendarView that counts the redraws asked of it.
#include "calendar/calendar_view.hpp"

namespace orv::test {

class RecordingCalendarView : public CalendarView {
public:
  int full = 0, days = 0;
  void DrawCalendar() override { ++full; }
  void DrawCalendarDays() override { ++days; }
};

}  // namespace orv::test
