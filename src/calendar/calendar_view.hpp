#pragma once
// The calendar's two public redraws, as the windows that change the schedule or the display
// mode see them. The calendar window implements it; dialogs and the tray only call it.
namespace orv {

class CalendarView {
public:
  virtual ~CalendarView() = default;
  // Full redraw: placement, wallpaper copy, decoration, then the days.
  virtual void DrawCalendar() = 0;
  // The day pass only.
  virtual void DrawCalendarDays() = 0;
};

}  // namespace orv
