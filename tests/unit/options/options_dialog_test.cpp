#include "options/options_dialog.hpp"

#include <gtest/gtest.h>

#include "options_fakes.hpp"

namespace orv {
namespace {

using test::CallLog;

class OptionsDialogTest : public testing::Test {
protected:
  test::TempDir dir;
  AppState state;
  test::ScriptedPrompts prompts;
  test::FakePictures pictures;
  ThemeEnvironment environment{pictures, 15};
  CallLog log;
  test::LoggingCalendar calendar{log, state};
  test::LoggingWheel wheel{log, state};
  OptionsDialog dialog{state, prompts, calendar, environment, wheel, dir.File("")};

  void SetUp() override {
    LoadDefaultTheme(state.CurrentTheme);
    state.XPThemeAvailable = true;
  }
  std::string Install(const std::string& name, const std::string& head = "") { return test::InstallTheme(state, dir, name, head); }
};

TEST_F(OptionsDialogTest, LoadShowsTheGlobalsOnThePresetPageWithApplyDisabled) {
  state.ScrollMode = 2;
  state.MicrosoftWheelMouse = false;
  state.MicrosoftWheelMouseChange = 1;
  state.TodayStart = 0;
  state.IgnoreXPTheme = true;
  state.CenterClick = false;
  state.AutoSave = true;
  state.ShowHolidays = false;
  state.RemindPayments = false;
  state.RemindDaysAhead = 40;  // out of range: shown as the nearest day count
  state.RemindVerySpecial = false;
  dialog.Load();
  const OptionControls& c = dialog.controls();
  EXPECT_EQ(dialog.tab(), kTabPresets);
  EXPECT_FALSE(dialog.apply_enabled());
  EXPECT_EQ(c.optScroll, 2);
  EXPECT_FALSE(c.chkMicrosoftWheel);
  EXPECT_FALSE(c.wheel_change_enabled);
  EXPECT_EQ(c.optWheelChange, 1);
  EXPECT_EQ(c.optStartDay, 0);
  EXPECT_TRUE(c.chkIgnoreXPTheme);
  EXPECT_TRUE(c.ignore_xp_theme_enabled);
  EXPECT_FALSE(c.chkCenterClick);
  EXPECT_TRUE(c.chkShiftAuto);
  EXPECT_FALSE(c.chkOverWriteMenu);
  EXPECT_TRUE(c.chkAutoSave);
  EXPECT_FALSE(c.chkShowHolidays);
  EXPECT_FALSE(c.chkRemindPayments);
  EXPECT_EQ(c.txtRemindDays, 14);
  EXPECT_FALSE(c.chkRemindVerySpecial);
  EXPECT_TRUE(log.calls.empty()) << "loading neither redraws nor touches the hook";
}

TEST_F(OptionsDialogTest, AnyClickEnablesApplyAndApplyDisablesItAgain) {
  dialog.Load();
  dialog.controls().chkCenterClick = false;
  dialog.ControlClicked();
  EXPECT_TRUE(dialog.apply_enabled());
  dialog.Apply();
  EXPECT_FALSE(dialog.apply_enabled());
  dialog.theme_page().Choose(0);
  EXPECT_TRUE(dialog.apply_enabled()) << "choosing a theme counts as a change";
}

TEST_F(OptionsDialogTest, WheelBoxSwitchesTheStepControls) {
  dialog.Load();
  dialog.SetWheelBox(false);
  EXPECT_FALSE(dialog.controls().wheel_change_enabled);
  EXPECT_TRUE(dialog.apply_enabled());
  dialog.SetWheelBox(true);
  EXPECT_TRUE(dialog.controls().wheel_change_enabled);
}

TEST_F(OptionsDialogTest, ApplyStoresEveryValueInItsOrder) {
  std::string key = Install("a.ini", "Title=A\r\n");
  dialog.Load();
  OptionControls& c = dialog.controls();
  c.optScroll = 1;
  c.chkMicrosoftWheel = false;
  c.optWheelChange = 1;
  c.optStartDay = 1;
  c.chkCenterClick = false;
  c.chkShiftAuto = false;
  c.chkOverWriteMenu = true;
  c.chkAutoSave = true;
  c.chkShowHolidays = false;
  c.chkRemindPayments = false;
  c.txtRemindDays = 7;
  c.chkRemindVerySpecial = false;
  dialog.theme_page().Choose(1);
  dialog.Apply();

  // The scroll mode and the holiday switch are stored before the theme redraws; the theme
  // before the hook goes; the wheel step and the start day only after both.
  EXPECT_EQ(log.calls, (std::vector<std::string>{"draw key=" + key + " width=4500 scroll=1 today=2 holidays=0",
                                                 "unhook step=0"}));
  EXPECT_EQ(state.SelectedThemeKey, key);
  EXPECT_EQ(state.ScrollMode, 1);
  EXPECT_FALSE(state.MicrosoftWheelMouse);
  EXPECT_EQ(state.MicrosoftWheelMouseChange, 1);
  EXPECT_EQ(state.TodayStart, 1);
  EXPECT_FALSE(state.CenterClick);
  EXPECT_FALSE(state.ShiftAuto);
  EXPECT_TRUE(state.OverWriteMenu);
  EXPECT_TRUE(state.AutoSave);
  EXPECT_FALSE(state.ShowHolidays);
  EXPECT_FALSE(state.RemindPayments);
  EXPECT_EQ(state.RemindDaysAhead, 7);
  EXPECT_FALSE(state.RemindVerySpecial);
}

// "表示倍率": the stored zoom is shown as its choice (one that is none of them as 自動), and
// Apply stores the choice before the calendar is laid out again, so it is drawn at the new size.
TEST_F(OptionsDialogTest, ZoomShowsTheStoredChoiceAndApplyRedrawsAtTheNewOne) {
  for (auto [stored, index] : {std::pair{0, 0}, {100, 1}, {175, 4}, {200, 5}, {130, 0}}) {
    state.Zoom = stored;
    dialog.Load();
    EXPECT_EQ(dialog.controls().cboZoom, index) << stored;
  }
  dialog.controls().cboZoom = 3;
  std::int32_t zoom_at_redraw = -1;
  calendar.on_draw = [&] { zoom_at_redraw = state.Zoom; };
  dialog.Apply();
  EXPECT_EQ(state.Zoom, 150);
  EXPECT_EQ(zoom_at_redraw, 150);
  EXPECT_STREQ(kZoomTexts[ZoomChoiceIndex(150)], "150%");
}

TEST_F(OptionsDialogTest, CheckingTheWheelBoxAgainRegistersAndHooks) {
  state.MicrosoftWheelMouse = false;
  dialog.Load();
  dialog.SetWheelBox(true);
  dialog.Apply();
  ASSERT_EQ(log.calls.size(), 3u);
  EXPECT_EQ(log.calls[1], "register");
  EXPECT_EQ(log.calls[2], "hook step=0");
  EXPECT_TRUE(state.MicrosoftWheelMouse);
  EXPECT_EQ(state.WheelMessageId, 0xC123);

  log.calls.clear();
  dialog.Apply();
  EXPECT_EQ(log.calls.size(), 1u) << "an unchanged box leaves the hook alone";
}

TEST_F(OptionsDialogTest, OkWithoutChangesStillReloadsTheThemeAndRedraws) {
  std::string key = Install("a.ini");
  state.SelectedThemeKey = key;
  dialog.Load();
  state.CurrentTheme = DefaultTheme();  // so the reload shows
  dialog.OK();
  ASSERT_EQ(log.calls.size(), 1u);
  EXPECT_TRUE(log.calls[0].starts_with("draw key=" + key + " width=4500")) << log.calls[0];
}

TEST_F(OptionsDialogTest, ChoosingTheBuiltInThemeClearsTheSelection) {
  state.SelectedThemeKey = Install("a.ini");
  dialog.Load();
  dialog.theme_page().Choose(0);
  dialog.Apply();
  EXPECT_EQ(state.SelectedThemeKey, "");
  EXPECT_EQ(state.CurrentTheme.FullWidth, DefaultTheme().FullWidth);
}

struct ColorCase {
  bool available, ignore;
  bool white;
};
class PageColors : public OptionsDialogTest, public testing::WithParamInterface<ColorCase> {};

TEST_P(PageColors, WhiteOnlyForAThemedSystemNotIgnoringIt) {
  const Rgb face = MakeRgb(1, 2, 3);
  EXPECT_EQ(PageBackColor(GetParam().available, GetParam().ignore, face),
            GetParam().white ? MakeRgb(255, 255, 255) : face);
}
INSTANTIATE_TEST_SUITE_P(All, PageColors,
                         testing::Values(ColorCase{true, false, true}, ColorCase{true, true, false},
                                         ColorCase{false, false, false}, ColorCase{false, true, false}),
                         [](const testing::TestParamInfo<ColorCase>& param_info) {
                           return std::string(param_info.param.available ? "Themed" : "Classic") +
                                  (param_info.param.ignore ? "Ignored" : "Followed");
                         });

TEST_F(OptionsDialogTest, ApplyingTheClassicBoxRecoloursThePagesAtOnce) {
  const Rgb face = MakeRgb(10, 20, 30);
  dialog.set_button_face(face);
  dialog.Load();
  EXPECT_EQ(dialog.page_color(), MakeRgb(255, 255, 255));
  dialog.controls().chkIgnoreXPTheme = true;
  dialog.ControlClicked();
  dialog.Apply();
  EXPECT_TRUE(state.IgnoreXPTheme);
  EXPECT_EQ(dialog.page_color(), face);
}

TEST_F(OptionsDialogTest, ClassicSystemDisablesTheClassicBox) {
  state.XPThemeAvailable = false;
  dialog.set_button_face(MakeRgb(10, 20, 30));
  dialog.Load();
  EXPECT_FALSE(dialog.controls().ignore_xp_theme_enabled);
  EXPECT_EQ(dialog.page_color(), MakeRgb(10, 20, 30));
}

TEST(OptionsTabs, IndexIsClampedNeverRejected) {
  EXPECT_EQ(ClampTab(-5), 0);
  EXPECT_EQ(ClampTab(0), 0);
  EXPECT_EQ(ClampTab(2), 2);
  EXPECT_EQ(ClampTab(3), 2);
}

TEST(OptionsTabs, AltAloneWithUDRSelectsATab) {
  EXPECT_EQ(TabForKey('U', 4), kTabPresets);
  EXPECT_EQ(TabForKey('D', 4), kTabTheme);
  EXPECT_EQ(TabForKey('R', 4), kTabBehaviour);
  EXPECT_EQ(TabForKey('X', 4), std::nullopt);
  EXPECT_EQ(TabForKey('D', 0), std::nullopt);
  EXPECT_EQ(TabForKey('D', 5), std::nullopt) << "Alt+Shift is not Alt alone";
  EXPECT_EQ(TabForKey('D', 6), std::nullopt);
}

TEST(OptionsPlacement, LeftOfTheCalendarAndCentredVertically) {
  EXPECT_EQ(OptionsDialogPlacement(19200, 14400, 3600), (TwipsRect{19200 - 3600 - 6885, (14400 - 6450) / 2, 6885, 6450}));
  // A screen too small for both keeps the dialog on it.
  EXPECT_EQ(OptionsDialogPlacement(9000, 4000, 3600), (TwipsRect{0, 0, 6885, 6450}));
}

}  // namespace
}  // namespace orv
