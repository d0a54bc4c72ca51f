#include "calendar/calendar_layout.hpp"

#include <gtest/gtest.h>

#include "calendar_test_theme.hpp"

namespace orv {
namespace {

const Rect32 kWorkArea{0, 0, 1024, 768};

TEST(CalendarLayoutTest, WidthFollowsTheModeAndTheWindowHugsTheWorkAreasRightEdge) {
  ThemeRecord theme = test::CalendarTestTheme();
  auto narrow = ComputeCalendarLayout(theme, 0, kWorkArea, TwipsScale{});
  auto wide = ComputeCalendarLayout(theme, 1, kWorkArea, TwipsScale{});
  EXPECT_EQ(narrow.width, 150);
  EXPECT_EQ(wide.width, 240);
  EXPECT_EQ(ComputeCalendarLayout(theme, 2, kWorkArea, TwipsScale{}).width, 240);
  EXPECT_EQ(narrow.window, (PixelRect{874, 0, 1024, 768}));
  // A taskbar on the right: the work area ends before the screen does.
  auto taskbar = ComputeCalendarLayout(theme, 1, {0, 30, 960, 768}, TwipsScale{});
  EXPECT_EQ(taskbar.window, (PixelRect{720, 30, 960, 768}));
  EXPECT_EQ(taskbar.height, 738);
  EXPECT_EQ(TwipsToPixels(2200, TwipsScale{}), 147);  // 146.67
  EXPECT_EQ(TwipsToPixels(3600, TwipsScale{}), 240);
}

TEST(CalendarLayoutTest, RowsAreWholeAndTheBandBelowThemHitsNothing) {
  ThemeRecord theme = test::CalendarTestTheme();
  auto l = ComputeCalendarLayout(theme, 0, kWorkArea, TwipsScale{});
  EXPECT_EQ(l.day_area_top, 20);
  EXPECT_EQ(l.day_area_bottom, 738);
  EXPECT_EQ(l.rows, 28);  // 718 / 25 = 28.72
  EXPECT_EQ(l.RowTop(27), 20 + 27 * 25);
  // Hit tests see the same rows through the layout's metrics.
  const CalendarMetrics m = l.Metrics();
  EXPECT_EQ(DayRowAt(m, 100, 19), std::nullopt);
  EXPECT_EQ(DayRowAt(m, 100, 20), 0);
  EXPECT_EQ(DayRowAt(m, 100, 45), 1);
  EXPECT_EQ(DayRowAt(m, 100, 20 + 28 * 25 - 1), 27);
  EXPECT_EQ(DayRowAt(m, 100, 20 + 28 * 25), std::nullopt);  // the empty band
  EXPECT_EQ(l.entry_x, 155);
}

}  // namespace
}  // namespace orv
