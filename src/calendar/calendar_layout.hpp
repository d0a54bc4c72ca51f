#pragma once
// Where everything of the calendar strip goes: the window at the right edge of the work area,
// its regions (top strip, day area, bottom strip, month / day / entry columns) and the day
// rows. All in pixels; theme widths come in twips and are converted with the screen's twips
// per pixel. Hit tests and hotspots work on CalendarMetrics (calendar_interaction.hpp), which
// a layout gives.
#include <array>
#include <string_view>

#include "calendar/calendar_interaction.hpp"
#include "core/app_state.hpp"
#include "core/twips.hpp"
#include "platform/canvas.hpp"

namespace orv {

inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
inline constexpr std::array<std::string_view, 7> kWeekNames = {"SUN", "MON", "TUE", "WED",
                                                               "THU", "FRI", "SAT"};

struct CalendarLayout {
  PixelRect window;         // screen pixels
  int width = 0;            // of the picture, = window width
  int height = 0;           // of the picture, = window height
  int day_area_left = 0;    // DayAreaLeft
  int day_area_top = 0;     // DayAreaTop
  int day_area_bottom = 0;  // DayAreaBottom
  int day_height = 1;
  int rows = 0;             // whole rows only: the pixels left below them stay empty
  int entry_x = 0;          // EntryX: MiniWidth + ExtraLeft
  int mini_width = 0;       // pixels
  int full_width = 0;       // pixels
  int month_width = 0;
  int lastweek_height = 0;
  int nextweek_height = 0;

  int RowTop(int row) const { return day_area_top + row * day_height; }
  CalendarMetrics Metrics() const;
};

// CalendarWidth: the wide width when entries are shown, else the narrow one.
int CalendarWidth(const ThemeRecord& theme, int calendar_mode, TwipsScale twips_per_pixel_x);

// The widest the window gets with this theme, in any mode: the wallpaper copy keeps that many
// columns at the right.
int WidestCalendarWidth(const ThemeRecord& theme, TwipsScale twips_per_pixel_x);

CalendarLayout ComputeCalendarLayout(const ThemeRecord& theme, int calendar_mode,
                                     const Rect32& work_area, TwipsScale twips_per_pixel_x);

}  // namespace orv
