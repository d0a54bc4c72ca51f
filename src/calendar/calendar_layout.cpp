#include "calendar/calendar_layout.hpp"

#include <cmath>

namespace orv {
namespace {

bool Inside(const PixelRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

int TwipsToPixels(int twips, int twips_per_pixel) {
  if (twips_per_pixel <= 0) return twips;
  return static_cast<int>(std::nearbyint(static_cast<double>(twips) / twips_per_pixel));
}

int CalendarWidth(const ThemeRecord& theme, int calendar_mode, int twips_per_pixel_x) {
  return TwipsToPixels(calendar_mode != 0 ? theme.FullWidth : theme.MiniWidth, twips_per_pixel_x);
}

int CalendarLayout::RowAt(int y) const {
  if (y < day_area_top || day_height <= 0) return -1;
  const int row = (y - day_area_top) / day_height;
  return row < rows ? row : -1;
}

Hotspot CalendarLayout::HotspotAt(int x, int y) const {
  if (Inside(mode_change, x, y)) return Hotspot::kModeChange;
  if (Inside(week_forward, x, y)) return Hotspot::kWeekForward;
  if (Inside(week_back, x, y)) return Hotspot::kWeekBack;
  if (Inside(extra_mode, x, y)) return Hotspot::kExtraMode;
  return Hotspot::kNone;
}

CalendarLayout ComputeCalendarLayout(const ThemeRecord& theme, int calendar_mode,
                                     const Rect32& work_area, int twips_per_pixel_x) {
  CalendarLayout l;
  l.width = CalendarWidth(theme, calendar_mode, twips_per_pixel_x);
  l.height = work_area.Bottom - work_area.Top;
  l.window = {work_area.Right - l.width, work_area.Top, work_area.Right, work_area.Bottom};
  l.mini_width = TwipsToPixels(theme.MiniWidth, twips_per_pixel_x);
  l.full_width = TwipsToPixels(theme.FullWidth, twips_per_pixel_x);
  l.day_area_left = theme.MonthWidth;
  l.day_area_top = theme.LastweekHeight;
  l.day_area_bottom = l.height - theme.NextweekHeight;
  l.day_height = theme.DayHeight > 0 ? theme.DayHeight : 1;
  // Rows only in whole: the pixels left below the last row stay empty.
  l.rows = l.day_area_bottom > l.day_area_top ? (l.day_area_bottom - l.day_area_top) / l.day_height : 0;
  l.entry_x = l.mini_width + theme.ExtraLeft;
  l.week_back = {0, 0, l.mini_width, theme.LastweekHeight};
  l.week_forward = {0, l.height - theme.NextweekHeight, l.width, l.height};
  l.extra_mode = {l.mini_width, 0, l.full_width, theme.LastweekHeight};
  const int mode_width = TwipsToPixels(kModeHotspotTwips, twips_per_pixel_x);
  l.mode_change = {l.width - mode_width, 0, l.width, l.height};
  return l;
}

void ToggleCalendarMode(AppState& state) {
  if (state.CalendarMode != kShowNothing) {
    state.CalendarMode = kShowNothing;
    return;
  }
  if (state.LastCalendarMode == 0) state.LastCalendarMode = kShowPayments;
  state.CalendarMode = state.LastCalendarMode;
}

}  // namespace orv
