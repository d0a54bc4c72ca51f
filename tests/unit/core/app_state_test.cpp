#include "core/app_state.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Dates, SplitDateGivesPartsWithSundayAsOne) {
  EXPECT_EQ(SplitDate(MakeDate(2002, 4, 1)), (DateParts{2002, 4, 1, 2}));   // Monday
  EXPECT_EQ(SplitDate(MakeDate(2026, 12, 6)), (DateParts{2026, 12, 6, 1}));  // Sunday
  EXPECT_EQ(SplitDate(MakeDate(2004, 2, 29)), (DateParts{2004, 2, 29, 1}));
  EXPECT_EQ(SplitDate(MakeDate(2026, 12, 12)).Weekday, 7);  // Saturday
  EXPECT_EQ(SplitDate(MakeDate(1999, 12, 31) + std::chrono::days{1}), (DateParts{2000, 1, 1, 7}));
}

TEST(AppStateTest, UpdateTodayUsesTheInjectedClockAndStartFollowsTodayStart) {
  AppState state;
  state.clock = [] { return MakeDate(2026, 3, 1); };
  UpdateToday(state);
  EXPECT_EQ(state.TodayParts, (DateParts{2026, 3, 1, 1}));
  state.TodayStart = 0;
  EXPECT_EQ(StartDateForToday(state), MakeDate(2026, 3, 1));
  state.TodayStart = 1;
  EXPECT_EQ(StartDateForToday(state), MakeDate(2026, 2, 28));
  state.TodayStart = 2;
  EXPECT_EQ(StartDateForToday(state), MakeDate(2026, 2, 22));
  SetStartDate(state, StartDateForToday(state));
  EXPECT_EQ(state.StartDateParts, SplitDate(MakeDate(2026, 2, 22)));
}

TEST(AppStateTest, FreshStateHasTheDefaultsOfANewAccount) {
  AppState state;
  EXPECT_TRUE(state.MicrosoftWheelMouse);
  EXPECT_EQ(state.TodayStart, 2);
  EXPECT_TRUE(state.CenterClick);
  EXPECT_TRUE(state.ShiftAuto);
  EXPECT_FALSE(state.OverWriteMenu);
  EXPECT_FALSE(state.AutoSave);
  EXPECT_EQ(state.LastCalendarMode, 0);
  EXPECT_EQ(state.CalendarMode, 0);
  EXPECT_TRUE(state.UserDataPath.empty());
}

TEST(AppStateTest, CycleCalendarModeAlternatesOneAndTwoAndLeavesZero) {
  AppState state;
  CycleCalendarMode(state);
  EXPECT_EQ(state.CalendarMode, 0);
  state.CalendarMode = 1;
  CycleCalendarMode(state);
  EXPECT_EQ(state.CalendarMode, 2);
  CycleCalendarMode(state);
  EXPECT_EQ(state.CalendarMode, 1);
}

}  // namespace
}  // namespace orv
