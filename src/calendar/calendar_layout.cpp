#include "calendar/calendar_layout.hpp"

#include <algorithm>

namespace orv {

int CalendarWidth(const ThemeRecord& theme, int calendar_mode, TwipsScale twips_per_pixel_x) {
  return TwipsToPixels(calendar_mode != 0 ? theme.FullWidth : theme.MiniWidth, twips_per_pixel_x);
}

int WidestCalendarWidth(const ThemeRecord& theme, TwipsScale twips_per_pixel_x) {
  return std::max(CalendarWidth(theme, 0, twips_per_pixel_x), CalendarWidth(theme, 1, twips_per_pixel_x));
}

CalendarMetrics CalendarLayout::Metrics() const {
  CalendarMetrics m;
  m.MiniWidth = mini_width;
  m.FullWidth = full_width;
  m.LastweekHeight = lastweek_height;
  m.NextweekHeight = nextweek_height;
  m.MonthWidth = month_width;
  m.DayHeight = day_height;
  m.DayAreaTop = day_area_top;
  m.DayAreaBottom = day_area_bottom;
  return m;
}

CalendarLayout ComputeCalendarLayout(const ThemeRecord& theme, int calendar_mode,
                                     const Rect32& work_area, TwipsScale twips_per_pixel_x) {
  CalendarLayout l;
  l.width = CalendarWidth(theme, calendar_mode, twips_per_pixel_x);
  l.height = work_area.Bottom - work_area.Top;
  l.window = PlaceCalendar(work_area, l.width);
  l.mini_width = TwipsToPixels(theme.MiniWidth, twips_per_pixel_x);
  l.full_width = TwipsToPixels(theme.FullWidth, twips_per_pixel_x);
  l.month_width = theme.MonthWidth;
  l.lastweek_height = theme.LastweekHeight;
  l.nextweek_height = theme.NextweekHeight;
  l.day_area_left = theme.MonthWidth;
  l.day_area_top = theme.LastweekHeight;
  l.day_area_bottom = l.height - theme.NextweekHeight;
  l.day_height = theme.DayHeight > 0 ? theme.DayHeight : 1;
  l.rows = l.day_area_bottom > l.day_area_top ? (l.day_area_bottom - l.day_area_top) / l.day_height : 0;
  l.entry_x = l.mini_width + theme.ExtraLeft;
  return l;
}

}  // namespace orv
