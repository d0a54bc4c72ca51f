#include "calendar/calendar_interaction.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/recording_canvas.hpp"

namespace orv {
namespace {

// Metrics of a plain theme: narrow 120, wide 300, 40-pixel strips, 60-pixel month column,
// 20-pixel rows in a day area from 40 to 1010 (48 rows and a 10-pixel empty band).
CalendarMetrics TestMetrics() {
  CalendarMetrics m;
  m.MiniWidth = 120;
  m.FullWidth = 300;
  m.LastweekHeight = 40;
  m.NextweekHeight = 14;
  m.MonthWidth = 60;
  m.DayHeight = 20;
  m.DayAreaTop = 40;
  m.DayAreaBottom = 1010;
  return m;
}

class FakeRenderer : public CalendarRenderer {
public:
  RecordingCanvas picture{120, 1024};
  std::vector<std::string> log;  // "full" / "days:<start date as day count>"
  const Canvas& DrawCalendar(AppState& state) override {
    log.push_back("full@" + std::to_string(state.StartDate.time_since_epoch().count()));
    return picture;
  }
  const Canvas& DrawCalendarDays(AppState& state) override {
    log.push_back("days@" + std::to_string(state.StartDate.time_since_epoch().count()));
    return picture;
  }
  CalendarMetrics Metrics() const override { return TestMetrics(); }
};

class FakeView : public CalendarWindowView {
public:
  std::vector<std::string> log;
  int resets = 0;
  void Present(const Canvas&, bool) override {}
  void ResetScrollValue() override { ++resets; }
  void OpenScrollMenu() override { log.push_back("scroll menu"); }
  void OpenExtraMenu() override { log.push_back("extra menu"); }
  void TakeFocus() override { log.push_back("focus"); }
  int WindowTop() override { return 0; }
  int WindowWidth() override { return 120; }
  ScreenFacts Screen() override { return {1280, 1024, {}, {}}; }
};

class RecordingDialogs : public DayDialogs {
public:
  std::vector<std::string> log;
  bool showing_seen = false;
  AppState* state = nullptr;
  void ShowDayList(Date day, DialogPlacement) override {
    showing_seen = state->DialogShowing;
    log.push_back("list " + std::to_string(SplitDate(day).Day));
  }
  void ShowAddEntry(Date day, DialogPlacement) override {
    showing_seen = state->DialogShowing;
    log.push_back("add " + std::to_string(SplitDate(day).Day));
  }
};

struct Fixture : ::testing::Test {
  AppState state;
  FakeRenderer renderer;
  FakeView view;
  RecordingDialogs dialogs;
  CalendarController calendar{state, renderer, view, dialogs};
  Fixture() {
    dialogs.state = &state;
    state.clock = [] { return MakeDate(2026, 3, 31); };
    SetStartDate(state, MakeDate(2026, 3, 1));
  }
  int StartDay() const { return SplitDate(state.StartDate).Day; }
};

using CalendarControllerTest = Fixture;

TEST(PlanScrollTest, RollsDayByDayOnlyWhereTheScrollModeSaysSo) {
  struct Case { int days, scroll_mode, calendar_mode, steps, step; };
  const Case cases[] = {
      {28, 0, 0, 28, 1},  {-3, 0, 2, 3, -1}, {0, 0, 0, 0, 1},    // mode 0: always roll
      {-7, 1, 0, 7, -1},  {-7, 1, 1, 1, -7}, {7, 1, 2, 1, 7},    // 1: roll only when narrow
      {28, 2, 0, 1, 28},  {0, 2, 1, 1, 0},                        // others: one jump
  };
  for (const Case& c : cases) {
    const ScrollPlan plan = PlanScroll(c.days, c.scroll_mode, c.calendar_mode);
    EXPECT_EQ(plan.steps, c.steps) << c.days << " " << c.scroll_mode << " " << c.calendar_mode;
    EXPECT_EQ(plan.step, c.step) << c.days << " " << c.scroll_mode << " " << c.calendar_mode;
  }
}

TEST_F(CalendarControllerTest, StepwiseScrollRedrawsEveryDayAndZeroRedrawsNothing) {
  calendar.dsCalendarScroll(3);
  EXPECT_EQ(StartDay(), 4);
  EXPECT_EQ(renderer.log.size(), 3u);
  renderer.log.clear();
  calendar.dsCalendarScroll(0);
  EXPECT_TRUE(renderer.log.empty());
  state.ScrollMode = 2;
  calendar.dsCalendarScroll(0);
  EXPECT_EQ(renderer.log.size(), 1u);  // a jump of nothing still redraws once
}

TEST_F(CalendarControllerTest, ScrollBarValueScrollsOnceAndTheResetIsIgnored) {
  struct ReentrantView : FakeView {
    CalendarController* calendar = nullptr;
    void ResetScrollValue() override {
      ++resets;
      calendar->OnScrollValue(0);  // the control reports the reset as a change
    }
  } reentrant;
  CalendarController c(state, renderer, reentrant, dialogs);
  reentrant.calendar = &c;
  state.ScrollMode = 2;
  c.OnScrollValue(ScrollValueFor(ScrollRequest::Bottom, 0));
  EXPECT_EQ(SplitDate(state.StartDate), SplitDate(MakeDate(2026, 3, 29)));
  EXPECT_EQ(reentrant.resets, 1);
  EXPECT_EQ(renderer.log.size(), 1u);
  c.OnScrollValue(-1);  // the busy flag is clear again
  EXPECT_EQ(StartDay(), 28);
}

TEST(ScrollValueTest, KeysMoveFromRestByTheirDays) {
  EXPECT_EQ(ScrollValueFor(ScrollRequest::LineUp, 0), -1);
  EXPECT_EQ(ScrollValueFor(ScrollRequest::LineDown, 0), 1);
  EXPECT_EQ(ScrollValueFor(ScrollRequest::PageUp, 0), -7);
  EXPECT_EQ(ScrollValueFor(ScrollRequest::PageDown, 0), 7);
  EXPECT_EQ(ScrollValueFor(ScrollRequest::Top, 5), -28);
  EXPECT_EQ(ScrollValueFor(ScrollRequest::Bottom, -5), 28);
  EXPECT_EQ(ScrollValueFor(ScrollRequest::PageDown, 25), 28);
}

TEST(KeyActionTest, CtrlLettersNeedCtrlAloneAndTheMenuKeyNoCtrl) {
  const KeyModifiers none{}, ctrl{true, false, false}, ctrl_shift{true, true, false},
      ctrl_alt{true, false, true}, shift{false, true, false};
  EXPECT_EQ(ActionForKey(CalendarKey::D, ctrl), KeyAction::ShowToday);
  EXPECT_EQ(ActionForKey(CalendarKey::E, ctrl), KeyAction::ToggleMode);
  EXPECT_EQ(ActionForKey(CalendarKey::N, ctrl), KeyAction::CycleMode);
  for (CalendarKey key : {CalendarKey::D, CalendarKey::E, CalendarKey::N}) {
    EXPECT_EQ(ActionForKey(key, none), KeyAction::None);
    EXPECT_EQ(ActionForKey(key, ctrl_shift), KeyAction::None);
    EXPECT_EQ(ActionForKey(key, ctrl_alt), KeyAction::None);
  }
  EXPECT_EQ(ActionForKey(CalendarKey::Apps, none), KeyAction::ScrollMenu);
  EXPECT_EQ(ActionForKey(CalendarKey::Apps, shift), KeyAction::ScrollMenu);
  EXPECT_EQ(ActionForKey(CalendarKey::Apps, ctrl), KeyAction::None);
  EXPECT_EQ(ActionForKey(CalendarKey::Other, ctrl), KeyAction::None);
}

TEST_F(CalendarControllerTest, CtrlDShowsTodayByTheStartOption) {
  state.TodayStart = 2;
  EXPECT_TRUE(calendar.OnKey(CalendarKey::D, {true, false, false}));
  EXPECT_EQ(SplitDate(state.StartDate), SplitDate(MakeDate(2026, 3, 24)));
  state.TodayStart = 1;
  calendar.OnKey(CalendarKey::D, {true, false, false});
  EXPECT_EQ(StartDay(), 30);
  EXPECT_FALSE(calendar.OnKey(CalendarKey::D, {true, true, false}));
}

TEST_F(CalendarControllerTest, ModeToggleRemembersTheLastModeAndRedrawsFully) {
  calendar.OnKey(CalendarKey::E, {true, false, false});
  EXPECT_EQ(state.CalendarMode, 1);  // first showing: payments
  EXPECT_EQ(state.LastCalendarMode, 1);
  calendar.OnKey(CalendarKey::N, {true, false, false});
  EXPECT_EQ(state.CalendarMode, 2);
  state.LastCalendarMode = 2;  // the day pass keeps it
  calendar.OnKey(CalendarKey::E, {true, false, false});
  EXPECT_EQ(state.CalendarMode, 0);
  calendar.OnKey(CalendarKey::E, {true, false, false});
  EXPECT_EQ(state.CalendarMode, 2);
  EXPECT_EQ(renderer.log[0].substr(0, 4), "full");
  EXPECT_EQ(renderer.log[1].substr(0, 4), "days");
}

TEST(DayRowTest, MonthColumnStripsAndTheEmptyBandHitNoDay) {
  const CalendarMetrics m = TestMetrics();
  EXPECT_EQ(DayRowAt(m, 60, 50), std::nullopt);  // exactly on the month column's edge
  EXPECT_EQ(DayRowAt(m, 61, 50), 0);
  EXPECT_EQ(DayRowAt(m, 61, 39), std::nullopt);
  EXPECT_EQ(DayRowAt(m, 100, 40 + 47 * 20), 47);
  EXPECT_EQ(DayRowAt(m, 100, 40 + 48 * 20), std::nullopt);  // the band below the last row
  EXPECT_EQ(DayRowAt(m, 100, 1015), std::nullopt);
}

TEST(DialogPositionTest, EndsBesideTheDayColumnAndStaysOnTheScreen) {
  const ScreenFacts screen{1280, 1024, {}, {}};
  const DialogPlacement p = DialogPositionFor(screen, 0, 300, 60, 100);
  EXPECT_EQ(p.Left, 1280 * 15 - 300 * 15 - 5145 + 50 * 15);
  EXPECT_EQ(p.Top, 1500);
  EXPECT_EQ(DialogPositionFor(screen, 0, 300, 60, 1000).Top, 1024 * 15 - 4815);
  EXPECT_EQ(DialogPositionFor(screen, 20, 300, 60, 10).Top, 30 * 15);
}

TEST_F(CalendarControllerTest, DayDialogsOpenOnlyInEntryModesWithTheDialogFlagSet) {
  calendar.OnPictureMouseDown(MouseButton::Right, 100, 40 + 2 * 20 + 5);
  EXPECT_TRUE(calendar.ClickedDayValid());  // mode 0 records the day, opens nothing
  calendar.OnPictureDoubleClick();
  EXPECT_TRUE(dialogs.log.empty());

  state.CalendarMode = 1;
  calendar.OnPictureMouseDown(MouseButton::Right, 100, 40 + 2 * 20 + 5);
  calendar.OnPictureDoubleClick();
  EXPECT_EQ(dialogs.log, (std::vector<std::string>{"list 3", "add 3"}));
  EXPECT_TRUE(dialogs.showing_seen);
  EXPECT_FALSE(state.DialogShowing);
  EXPECT_EQ(renderer.log.back().substr(0, 4), "days");  // after adding, the days are redrawn

  calendar.OnPictureMouseDown(MouseButton::Left, 30, 100);  // month column
  calendar.OnPictureDoubleClick();
  EXPECT_EQ(dialogs.log.size(), 2u);
}

// Whatever ends a day dialog early, the tray must not stay blocked for the rest of the run.
TEST_F(CalendarControllerTest, TheDialogFlagIsClearedEvenWhenADialogEndsByAnError) {
  struct FailingDialogs : DayDialogs {
    void ShowDayList(Date, DialogPlacement) override { throw std::runtime_error("list"); }
    void ShowAddEntry(Date, DialogPlacement) override { throw std::runtime_error("add"); }
  } failing;
  CalendarController c(state, renderer, view, failing);
  state.CalendarMode = 1;
  EXPECT_THROW(c.OnPictureMouseDown(MouseButton::Right, 100, 50), std::runtime_error);
  EXPECT_FALSE(state.DialogShowing);
  EXPECT_THROW(c.OnPictureDoubleClick(), std::runtime_error);
  EXPECT_FALSE(state.DialogShowing);
}

TEST_F(CalendarControllerTest, MiddleClickCyclesOnlyWithTheOption) {
  state.CalendarMode = 1;
  calendar.OnPictureMouseDown(MouseButton::Middle, 100, 100);
  EXPECT_EQ(state.CalendarMode, 2);
  state.CenterClick = false;
  calendar.OnPictureMouseDown(MouseButton::Middle, 100, 100);
  EXPECT_EQ(state.CalendarMode, 2);
  EXPECT_TRUE(calendar.ClickedDayValid());  // treated as an ordinary press
}

TEST_F(CalendarControllerTest, HotspotsScrollToggleAndOpenMenus) {
  state.ScrollMode = 2;
  calendar.OnHotspot(Hotspot::WeekBack, MouseButton::Left);
  EXPECT_EQ(SplitDate(state.StartDate), SplitDate(MakeDate(2026, 2, 22)));
  calendar.OnHotspot(Hotspot::WeekForward, MouseButton::Left);
  EXPECT_EQ(StartDay(), 1);
  calendar.OnHotspot(Hotspot::WeekForward, MouseButton::Right);
  calendar.OnHotspot(Hotspot::ModeChange, MouseButton::Right);
  calendar.OnHotspot(Hotspot::ExtraMode, MouseButton::Right);
  EXPECT_EQ(view.log, (std::vector<std::string>{"scroll menu", "focus", "extra menu", "focus", "extra menu", "focus"}));
  calendar.OnHotspot(Hotspot::ModeChange, MouseButton::Left);
  EXPECT_EQ(state.CalendarMode, 1);
  calendar.OnHotspot(Hotspot::ExtraMode, MouseButton::Left);
  EXPECT_EQ(state.CalendarMode, 2);
}

// The menus open on the hidden host window; once they close, by a choice or by Esc, the
// calendar takes the keys again.
TEST_F(CalendarControllerTest, EveryMenuOpenedForTheCalendarGivesItTheFocusBack) {
  calendar.OnKey(CalendarKey::Apps, {});
  EXPECT_EQ(view.log, (std::vector<std::string>{"scroll menu", "focus"}));
  view.log.clear();
  calendar.OnHotspot(Hotspot::WeekBack, MouseButton::Right);
  calendar.OnHotspot(Hotspot::ExtraMode, MouseButton::Right);
  EXPECT_EQ(view.log, (std::vector<std::string>{"scroll menu", "focus", "extra menu", "focus"}));
}

TEST(HotspotTest, LayoutFollowsTheThemeAndTheModeHotspotIsOnTop) {
  const HotspotRects r = LayoutHotspots(TestMetrics(), 300, 1024, ModeChangeHotspotWidth(TwipsScale{}));
  EXPECT_EQ(r.ModeChange, (PixelRect{283, 0, 300, 1024}));
  EXPECT_EQ(r.WeekBack, (PixelRect{0, 0, 120, 40}));
  EXPECT_EQ(r.WeekForward, (PixelRect{0, 1010, 300, 1024}));
  EXPECT_EQ(r.ExtraMode, (PixelRect{120, 0, 300, 40}));
  EXPECT_EQ(HotspotAt(r, 5, 5), Hotspot::WeekBack);
  EXPECT_EQ(HotspotAt(r, 150, 5), Hotspot::ExtraMode);
  EXPECT_EQ(HotspotAt(r, 290, 5), Hotspot::ModeChange);
  EXPECT_EQ(HotspotAt(r, 290, 1020), Hotspot::ModeChange);
  EXPECT_EQ(HotspotAt(r, 100, 1020), Hotspot::WeekForward);
  EXPECT_EQ(HotspotAt(r, 100, 500), Hotspot::None);
  EXPECT_STREQ(HotspotTooltip(Hotspot::ModeChange, 0), "予定を表示します");
  EXPECT_STREQ(HotspotTooltip(Hotspot::ModeChange, 2), "予定を隠します");
}

TEST(PlaceCalendarTest, StandsAtTheWorkAreaRightEdgeOverItsFullHeight) {
  EXPECT_EQ(PlaceCalendar({0, 30, 1180, 1024}, 120), (PixelRect{1060, 30, 1180, 1024}));
}

}  // namespace
}  // namespace orv
