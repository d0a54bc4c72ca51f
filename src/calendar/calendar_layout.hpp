#pragma once
// Where everything of the calendar strip goes: the window at the right edge of the work area,
// its regions (top strip, day area, bottom strip, month / day / entry columns), the day rows
// and the four hotspots. All in pixels; theme widths come in twips and are converted with the
// screen's twips per pixel.
#include <array>
#include <string_view>

#include "core/app_state.hpp"
#include "platform/canvas.hpp"

namespace orv {

inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
inline constexpr std::array<std::string_view, 7> kWeekNames = {"SUN", "MON", "TUE", "WED",
                                                               "THU", "FRI", "SAT"};

// The mode hotspot is 255 twips wide (17 pixels at 96 dpi).
inline constexpr int kModeHotspotTwips = 255;

enum class Hotspot { kNone, kExtraMode, kWeekBack, kWeekForward, kModeChange };

struct CalendarLayout {
  Rect32 window;           // screen pixels
  int width = 0;           // of the picture, = window width
  int height = 0;          // of the picture, = window height
  int day_area_left = 0;   // DayAreaLeft
  int day_area_top = 0;    // DayAreaTop
  int day_area_bottom = 0; // DayAreaBottom
  int day_height = 1;
  int rows = 0;
  int entry_x = 0;         // EntryX: MiniWidth + ExtraLeft
  int mini_width = 0;      // pixels
  int full_width = 0;      // pixels
  PixelRect week_back, week_forward, extra_mode, mode_change;

  // Top of row `row` (0-based).
  int RowTop(int row) const { return day_area_top + row * day_height; }
  // The row a y coordinate falls in, or -1 outside the rows (strips, the band below them).
  int RowAt(int y) const;
  // The topmost hotspot under (x, y): the mode hotspot lies over the others.
  Hotspot HotspotAt(int x, int y) const;
};

// Twips to whole pixels, halves to even.
int TwipsToPixels(int twips, int twips_per_pixel);

// CalendarWidth: the wide width when entries are shown, else the narrow one.
int CalendarWidth(const ThemeRecord& theme, int calendar_mode, int twips_per_pixel_x);

CalendarLayout ComputeCalendarLayout(const ThemeRecord& theme, int calendar_mode,
                                     const Rect32& work_area, int twips_per_pixel_x);

// Show or hide the entry column (the width changes, so a full redraw follows). Showing it
// again brings back the last mode shown, payments on a first run.
void ToggleCalendarMode(AppState& state);

}  // namespace orv
