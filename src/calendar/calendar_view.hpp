#pragma once
// The calendar window's two public redraws, as the code that changes the theme, the schedule
// or the display mode sees them. The calendar window implements it; the theme loader, the
// dialogs and the tray only call it.
namespace orv {

class CalendarView {
public:
  virtual ~CalendarView() = default;
  // Full redraw: placement, wallpaper copy, decoration pictures, then the days.
  virtual void dsDrawCalendar() = 0;
  // The day pass only, over the kept background.
  virtual void dsDrawCalendarDays() = 0;
};

}  // namespace orv
