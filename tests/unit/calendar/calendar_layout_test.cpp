#include "calendar/calendar_layout.hpp"

#include <gtest/gtest.h>

#include "calendar_test_theme.hpp"

namespace orv {
namespace {

const Rect32 kWorkArea{0, 0, 1024, 768};

TEST(CalendarLayoutTest, WidthFollowsTheModeAndTheWindowHugsTheWorkAreasRightEdge) {
  ThemeRecord theme = test::CalendarTestTheme();
  auto narrow = ComputeCalendarLayout(theme, 0, kWorkArea, 15);
  auto wide = ComputeCalendarLayout(theme, 1, kWorkArea, 15);
  EXPECT_EQ(narrow.width, 150);
  EXPECT_EQ(wide.width, 240);
  EXPECT_EQ(ComputeCalendarLayout(theme, 2, kWorkArea, 15).width, 240);
  EXPECT_EQ(narrow.window, (Rect32{874, 0, 1024, 768}));
  // A taskbar on the right: the work area ends before the screen does.
  auto taskbar = ComputeCalendarLayout(theme, 1, {0, 30, 960, 768}, 15);
  EXPECT_EQ(taskbar.window, (Rect32{720, 30, 960, 768}));
  EXPECT_EQ(taskbar.height, 738);
  EXPECT_EQ(TwipsToPixels(2200, 15), 147);  // 146.67
  EXPECT_EQ(TwipsToPixels(3600, 15), 240);
}

TEST(CalendarLayoutTest, RowsAreWholeAndTheBandBelowThemHitsNothing) {
  ThemeRecord theme = test::CalendarTestTheme();
  auto l = ComputeCalendarLayout(theme, 0, kWorkArea, 15);
  EXPECT_EQ(l.day_area_top, 20);
  EXPECT_EQ(l.day_area_bottom, 738);
  EXPECT_EQ(l.rows, 28);  // 718 / 25 = 28.72
  EXPECT_EQ(l.RowTop(27), 20 + 27 * 25);
  EXPECT_EQ(l.RowAt(19), -1);
  EXPECT_EQ(l.RowAt(20), 0);
  EXPECT_EQ(l.RowAt(44), 0);
  EXPECT_EQ(l.RowAt(45), 1);
  EXPECT_EQ(l.RowAt(20 + 28 * 25 - 1), 27);
  EXPECT_EQ(l.RowAt(20 + 28 * 25), -1);  // the empty band
  EXPECT_EQ(l.entry_x, 155);
}

TEST(CalendarLayoutTest, HotspotsAndTheirStackingOrder) {
  ThemeRecord theme = test::CalendarTestTheme();
  auto wide = ComputeCalendarLayout(theme, 1, kWorkArea, 15);
  EXPECT_EQ(wide.week_back, (PixelRect{0, 0, 150, 20}));
  EXPECT_EQ(wide.extra_mode, (PixelRect{150, 0, 240, 20}));
  EXPECT_EQ(wide.week_forward, (PixelRect{0, 738, 240, 768}));
  EXPECT_EQ(wide.mode_change, (PixelRect{223, 0, 240, 768}));
  EXPECT_EQ(wide.HotspotAt(10, 5), Hotspot::kWeekBack);
  EXPECT_EQ(wide.HotspotAt(160, 5), Hotspot::kExtraMode);
  EXPECT_EQ(wide.HotspotAt(230, 5), Hotspot::kModeChange);    // on top of the extra hotspot
  EXPECT_EQ(wide.HotspotAt(230, 750), Hotspot::kModeChange);  // and of the bottom strip
  EXPECT_EQ(wide.HotspotAt(100, 750), Hotspot::kWeekForward);
  EXPECT_EQ(wide.HotspotAt(100, 300), Hotspot::kNone);
  auto narrow = ComputeCalendarLayout(theme, 0, kWorkArea, 15);
  EXPECT_EQ(narrow.HotspotAt(140, 5), Hotspot::kModeChange);
  EXPECT_EQ(narrow.HotspotAt(100, 5), Hotspot::kWeekBack);
}

TEST(CalendarLayoutTest, ToggleRemembersTheLastModeAndStartsWithPayments) {
  AppState state;
  ToggleCalendarMode(state);
  EXPECT_EQ(state.CalendarMode, 1);
  state.CalendarMode = 2;
  state.LastCalendarMode = 2;
  ToggleCalendarMode(state);
  EXPECT_EQ(state.CalendarMode, 0);
  ToggleCalendarMode(state);
  EXPECT_EQ(state.CalendarMode, 2);
}

}  // namespace
}  // namespace orv
