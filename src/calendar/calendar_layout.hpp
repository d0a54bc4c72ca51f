#pragma once
// Where everything of the calendar strip goes: the window at the right edge of the work area,
// its regions (top strip, day area, bottom strip, month / day / entry columns) and the day
// rows. All in pixels. A theme's values are designed at 96 dots per inch and its pictures at
// its DesignDpi: ScaleThemeGeometry turns every one of them into pixels at the calendar's
// scale (its monitor's, or the user's zoom), and everything that draws, hit-tests or places
// a dialog reads the result. Hit tests and hotspots work on CalendarMetrics
// (calendar_interaction.hpp), which a layout gives.
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

// The dots per inch a theme's values are designed at.
inline constexpr int kThemeDesignDpi = 96;

// The scale the calendar is drawn at: the zoom's when one is chosen, else the monitor's.
int CalendarDpi(TwipsScale monitor_twips_per_pixel, int zoom_percent);

struct PixelSize {
  int width = 0, height = 0;
  bool operator==(const PixelSize&) const = default;
};

// Every pixel value of a theme at one scale. Each is the theme's value times the scale,
// rounded once to the nearest pixel (halves to the even neighbour, the rule of every
// conversion); the two widths come from the theme's twips. Pictures get their natural size
// times the display's dpi over the theme's DesignDpi, rounded the same way.
struct ThemeGeometry {
  int dpi = kThemeDesignDpi;  // the calendar's scale: fonts and the mode hotspot follow it
  int MonthLeft = 0, MonthTop = 0, MonthWidth = 0, MonthPictureLeft = 0, MonthPictureTop = 0;
  int DayHeight = 1;
  int FullWidth = 0, MiniWidth = 0;
  int LastweekHeight = 0, NextweekHeight = 0;
  int CalendarYearLeft = 0, CalendarYearTop = 0;
  int ExtraTitleLeft = 0, ExtraTitleTop = 0, ExtraLeft = 0;
  int TitleLeft = 0, TitleTop = 0;
  // The row's own spacing: between the day number's box and the weekday, between an amount
  // and its cash mark, around the cash outline, and the lift of a vertical month label.
  int WeekdayGap = 6, CashGap = 6, CashOutlinePad = 4, VerticalLabelLift = 4;
  int ModeChangeWidth = 17;  // the mode hotspot: 255 twips
  PixelSize Lastweek, Nextweek, Body, Month, CashIcon, Title;
  bool operator==(const ThemeGeometry&) const = default;
};

ThemeGeometry ScaleThemeGeometry(const ThemeRecord& theme, int dpi);

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
  ThemeGeometry geometry;   // the theme at the calendar's scale

  int RowTop(int row) const { return day_area_top + row * day_height; }
  CalendarMetrics Metrics() const;
};

// CalendarWidth: the wide width when entries are shown, else the narrow one.
int CalendarWidth(const ThemeRecord& theme, int calendar_mode, TwipsScale twips_per_pixel_x,
                  int zoom_percent = 0);

// The widest the window gets with this theme, in any mode: the wallpaper copy keeps that many
// columns at the right.
int WidestCalendarWidth(const ThemeRecord& theme, TwipsScale twips_per_pixel_x, int zoom_percent = 0);

CalendarLayout ComputeCalendarLayout(const ThemeRecord& theme, int calendar_mode,
                                     const Rect32& work_area, TwipsScale twips_per_pixel_x,
                                     int zoom_percent = 0);

}  // namespace orv
