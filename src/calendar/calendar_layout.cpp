#include "calendar/calendar_layout.hpp"

#include <algorithm>

namespace orv {
namespace {

int Round(std::int64_t numerator, std::int64_t denominator) {
  return static_cast<int>(RoundRatio(numerator, denominator));
}

}  // namespace

int CalendarDpi(TwipsScale monitor_twips_per_pixel, int zoom_percent) {
  if (zoom_percent > 0) return Round(std::int64_t{kThemeDesignDpi} * zoom_percent, 100);
  return monitor_twips_per_pixel.Dpi();
}

ThemeGeometry ScaleThemeGeometry(const ThemeRecord& theme, int dpi) {
  if (dpi <= 0) dpi = kThemeDesignDpi;
  const bool scaled = theme.ScaleToDisplay;
  // A value of the theme's 96-dpi pixels, and a picture length of its DesignDpi pixels.
  auto value = [&](std::int64_t v) { return scaled ? Round(v * dpi, kThemeDesignDpi) : static_cast<int>(v); };
  const int design_dpi = theme.DesignDpi > 0 ? theme.DesignDpi : kThemeDesignDpi;
  auto picture = [&](const ThemePicture& slot) {
    if (!slot.HasPicture || !slot.Picture) return PixelSize{};
    const int w = slot.Picture->Width(), h = slot.Picture->Height();
    if (!scaled) return PixelSize{w, h};
    // A picture never shrinks to nothing: its edges stay whole pixels apart.
    return PixelSize{std::max(1, Round(std::int64_t{w} * dpi, design_dpi)),
                     std::max(1, Round(std::int64_t{h} * dpi, design_dpi))};
  };
  // The widths are kept in twips of the scale they were read at (the built-in theme's are 96-dpi
  // twips, which need not be whole pixels): theme pixels = twips × pixels / twips of that
  // scale, times the display's scale, rounded once.
  const TwipsScale read_at = theme.WidthTwipsPerPixel.twips > 0 && theme.WidthTwipsPerPixel.pixels > 0
                                 ? theme.WidthTwipsPerPixel
                                 : TwipsScale{};
  auto width = [&](std::int32_t twips) {
    if (!scaled) return Round(std::int64_t{twips} * read_at.pixels, read_at.twips);
    return Round(std::int64_t{twips} * read_at.pixels * dpi, std::int64_t{read_at.twips} * kThemeDesignDpi);
  };

  ThemeGeometry g;
  g.dpi = dpi;  // text and the program's own controls follow the scale whatever the theme says
  g.MonthLeft = value(theme.MonthLeft);
  g.MonthTop = value(theme.MonthTop);
  g.MonthWidth = value(theme.MonthWidth);
  g.MonthPictureLeft = value(theme.MonthPictureLeft);
  g.MonthPictureTop = value(theme.MonthPictureTop);
  g.DayHeight = std::max(1, value(theme.DayHeight));
  g.FullWidth = width(theme.FullWidth);
  g.MiniWidth = width(theme.MiniWidth);
  g.LastweekHeight = value(theme.LastweekHeight);
  g.NextweekHeight = value(theme.NextweekHeight);
  g.CalendarYearLeft = value(theme.CalendarYearLeft);
  g.CalendarYearTop = value(theme.CalendarYearTop);
  g.ExtraTitleLeft = value(theme.ExtraTitleLeft);
  g.ExtraTitleTop = value(theme.ExtraTitleTop);
  g.ExtraLeft = value(theme.ExtraLeft);
  g.TitleLeft = value(theme.TitleLeft);
  g.TitleTop = value(theme.TitleTop);
  g.WeekdayGap = value(6);
  g.CashGap = value(6);
  g.CashOutlinePad = value(4);
  g.VerticalLabelLift = value(4);
  g.ModeChangeWidth = ModeChangeHotspotWidth(TwipsScale::ForDpi(g.dpi));
  g.Lastweek = picture(theme.Lastweek);
  g.Nextweek = picture(theme.Nextweek);
  g.Body = picture(theme.Body);
  g.Month = picture(theme.Month);
  g.CashIcon = picture(theme.CashIcon);
  g.Title = picture(theme.Title);
  return g;
}

int CalendarWidth(const ThemeRecord& theme, int calendar_mode, TwipsScale twips_per_pixel_x, int zoom_percent) {
  const ThemeGeometry g = ScaleThemeGeometry(theme, CalendarDpi(twips_per_pixel_x, zoom_percent));
  return calendar_mode != 0 ? g.FullWidth : g.MiniWidth;
}

int WidestCalendarWidth(const ThemeRecord& theme, TwipsScale twips_per_pixel_x, int zoom_percent) {
  const ThemeGeometry g = ScaleThemeGeometry(theme, CalendarDpi(twips_per_pixel_x, zoom_percent));
  return std::max(g.FullWidth, g.MiniWidth);
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
  m.ModeChangeWidth = geometry.ModeChangeWidth;
  return m;
}

CalendarLayout ComputeCalendarLayout(const ThemeRecord& theme, int calendar_mode, const Rect32& work_area,
                                     TwipsScale twips_per_pixel_x, int zoom_percent) {
  CalendarLayout l;
  l.geometry = ScaleThemeGeometry(theme, CalendarDpi(twips_per_pixel_x, zoom_percent));
  const ThemeGeometry& g = l.geometry;
  l.width = calendar_mode != 0 ? g.FullWidth : g.MiniWidth;
  l.height = work_area.Bottom - work_area.Top;
  l.window = PlaceCalendar(work_area, l.width);
  l.mini_width = g.MiniWidth;
  l.full_width = g.FullWidth;
  l.month_width = g.MonthWidth;
  l.lastweek_height = g.LastweekHeight;
  l.nextweek_height = g.NextweekHeight;
  l.day_area_left = g.MonthWidth;
  l.day_area_top = g.LastweekHeight;
  l.day_area_bottom = l.height - g.NextweekHeight;
  l.day_height = g.DayHeight;
  l.rows = l.day_area_bottom > l.day_area_top ? (l.day_area_bottom - l.day_area_top) / l.day_height : 0;
  l.entry_x = g.MiniWidth + g.ExtraLeft;
  return l;
}

}  // namespace orv
