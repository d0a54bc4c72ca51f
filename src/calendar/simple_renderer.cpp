#include "calendar/simple_renderer.hpp"

#include <algorithm>

namespace orv {

namespace {
constexpr const char* kWeekNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
}  // namespace

const Canvas& SimpleCalendarRenderer::DrawCalendar(AppState& state) {
  const ThemeRecord& theme = state.CurrentTheme;
  const int tpx = std::max(1, facts_.TwipsPerPixelX());
  state.WorkArea = facts_.WorkArea();
  metrics_.MiniWidth = std::max(1, theme.MiniWidth / tpx);
  metrics_.FullWidth = std::max(1, theme.FullWidth / tpx);
  metrics_.LastweekHeight = theme.LastweekHeight;
  metrics_.NextweekHeight = theme.NextweekHeight;
  metrics_.MonthWidth = theme.MonthWidth;
  metrics_.DayHeight = std::max<int>(1, theme.DayHeight);
  const int width = state.CalendarMode != kShowNothing ? metrics_.FullWidth : metrics_.MiniWidth;
  const PixelRect place = PlaceCalendar(state.WorkArea, width);
  left_ = place.left;
  draw_.Resize(place.Width(), place.Height());
  draw_.CopyFrom(desktop_, place, {0, 0, place.Width(), place.Height()});
  metrics_.DayAreaTop = theme.LastweekHeight;
  metrics_.DayAreaBottom = draw_.Height() - theme.NextweekHeight;
  state.CurrentTheme.DayAreaLeft = theme.MonthWidth;
  state.CurrentTheme.DayAreaTop = metrics_.DayAreaTop;
  state.CurrentTheme.DayAreaBottom = metrics_.DayAreaBottom;
  draw_.KeepAsBackground();
  return DrawCalendarDays(state);
}

const Canvas& SimpleCalendarRenderer::DrawCalendarDays(AppState& state) {
  if (state.CalendarMode != kShowNothing) state.LastCalendarMode = state.CalendarMode;
  const ThemeRecord& theme = state.CurrentTheme;
  const int w = draw_.Width(), h = draw_.Height();
  draw_.Clear();
  const Rgb strip = MakeRgb(40, 48, 64);
  draw_.FillRect({0, 0, w, metrics_.DayAreaTop}, strip);
  draw_.FillRect({0, metrics_.DayAreaBottom, w, h}, strip);
  draw_.FillRect({w - ModeChangeHotspotWidth(facts_.TwipsPerPixelX()), metrics_.DayAreaTop, w,
                  metrics_.DayAreaBottom},
                 MakeRgb(70, 80, 100));
  draw_.SetFont(theme.WeekFont);
  draw_.SetTextColor(MakeRgb(255, 255, 255));
  draw_.DrawText(4, 2, "▲");
  draw_.DrawText(4, metrics_.DayAreaBottom + 1, "▼");
  if (state.CalendarMode != kShowNothing)
    draw_.DrawText(metrics_.MiniWidth + 4, 2,
                   state.CalendarMode == kShowPayments ? theme.ExtraTitle_Payment : theme.ExtraTitle_Special);

  const int rows = (metrics_.DayAreaBottom - metrics_.DayAreaTop) / metrics_.DayHeight;
  for (int i = 0; i < rows; ++i) {
    const Date date = state.StartDate + std::chrono::days{i};
    const DateParts parts = SplitDate(date);
    const int top = metrics_.DayAreaTop + i * metrics_.DayHeight;
    if (date == state.Today)
      draw_.FillRect({metrics_.MonthWidth, top, w, top + metrics_.DayHeight}, MakeRgb(255, 236, 160));
    const Rgb ink = date == state.Today ? MakeRgb(0, 0, 0)
                    : parts.Weekday == 1 ? MakeRgb(255, 120, 120)
                                         : MakeRgb(255, 255, 255);
    // The month is labelled where it begins, and in the top row unless a new month follows
    // too closely for two labels.
    const bool month_soon = SplitDate(date + std::chrono::days{2}).Month != parts.Month;
    if (parts.Day == 1 || (i == 0 && !month_soon)) {
      draw_.SetFont(theme.MonthFont);
      draw_.SetTextColor(MakeRgb(255, 255, 255));
      draw_.DrawText(2, top, std::to_string(parts.Month));
      draw_.SetFont(theme.MonthEnglishFont);
      draw_.DrawText(2, top + metrics_.DayHeight, kMonthNames[parts.Month - 1]);
    }
    draw_.SetFont(theme.DayFont);
    draw_.SetTextColor(ink);
    draw_.DrawText(metrics_.MonthWidth + 2, top, std::to_string(parts.Day));
    draw_.SetFont(theme.WeekFont);
    draw_.DrawText(metrics_.MonthWidth + 30, top + 2, kWeekNames[parts.Weekday - 1]);
    if (state.CalendarMode == kShowNothing) continue;
    const DayData* day = FindDay(state.Years, parts);
    if (!day) continue;
    const int entry_x = metrics_.MiniWidth + theme.ExtraLeft;
    if (state.CalendarMode == kShowPayments && day->TotalPaymentPrice != 0) {
      draw_.SetFont(theme.PaymentFont);
      draw_.DrawText(entry_x, top + 2, facts_.FormatCurrency(day->TotalPaymentPrice));
    } else if (state.CalendarMode == kShowSpecialDays && !day->SpecialTitle.empty()) {
      draw_.SetFont(theme.SpecialFont);
      draw_.DrawText(entry_x, top + 2, day->SpecialTitle);
    }
  }
  return draw_;
}

}  // namespace orv
