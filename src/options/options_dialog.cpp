#include "options/options_dialog.hpp"

#include <algorithm>

namespace orv {

TwipsRect OptionsDialogPlacement(std::int32_t screen_width, std::int32_t screen_height,
                                 std::int32_t calendar_width) {
  // Kept on the screen when the calendar is too wide to leave room beside it.
  const std::int32_t left = std::max<std::int32_t>(0, screen_width - calendar_width - kOptionsWidthTwips);
  const std::int32_t top = std::max<std::int32_t>(0, (screen_height - kOptionsHeightTwips) / 2);
  return {left, top, kOptionsWidthTwips, kOptionsHeightTwips};
}

Rgb PageBackColor(bool xp_theme_available, bool ignore_xp_theme, Rgb button_face) {
  return xp_theme_available && !ignore_xp_theme ? MakeRgb(255, 255, 255) : button_face;
}

int ClampTab(int index) { return std::clamp(index, 0, 2); }

std::optional<int> TabForKey(int virtual_key, int shift_state) {
  if (shift_state != 4) return std::nullopt;
  switch (virtual_key) {
    case 'U': return kTabPresets;
    case 'D': return kTabTheme;
    case 'R': return kTabBehaviour;
    default: return std::nullopt;
  }
}

OptionsDialog::OptionsDialog(AppState& state, Prompts& prompts, CalendarView& calendar,
                             const ThemeEnvironment& environment, WheelHookSwitch& wheel,
                             std::string program_folder)
    : state_(state), calendar_(calendar), environment_(environment), wheel_(wheel),
      theme_page_(state, prompts, environment.pictures, std::move(program_folder), apply_enabled_),
      preset_page_(state, prompts) {}

int ZoomChoiceIndex(std::int32_t zoom) {
  for (std::size_t i = 0; i < kZoomChoices.size(); ++i)
    if (kZoomChoices[i] == zoom) return static_cast<int>(i);
  return 0;
}

void OptionsDialog::Load() {
  tab_ = kTabPresets;
  controls_.optScroll = std::clamp(state_.ScrollMode, 0, 2);
  preset_page_.ChooseKind(0);
  theme_page_.ThemeListRefresh();
  controls_.optWheelChange = std::clamp(state_.MicrosoftWheelMouseChange, 0, 1);
  SetWheelBox(state_.MicrosoftWheelMouse);
  controls_.optStartDay = std::clamp(state_.TodayStart, 0, 2);
  controls_.ignore_xp_theme_enabled = state_.XPThemeAvailable;
  controls_.chkIgnoreXPTheme = state_.IgnoreXPTheme;
  controls_.chkCenterClick = state_.CenterClick;
  controls_.chkShiftAuto = state_.ShiftAuto;
  controls_.chkOverWriteMenu = state_.OverWriteMenu;
  controls_.chkAutoSave = state_.AutoSave;
  controls_.chkShowHolidays = state_.ShowHolidays;
  controls_.chkRemindPayments = state_.RemindPayments;
  controls_.txtRemindDays = std::clamp(state_.RemindDaysAhead, 0, 14);
  controls_.chkRemindVerySpecial = state_.RemindVerySpecial;
  controls_.cboZoom = ZoomChoiceIndex(state_.Zoom);
  dsChangeBackColors();
  apply_enabled_ = false;
}

void OptionsDialog::SetWheelBox(bool checked) {
  controls_.chkMicrosoftWheel = checked;
  controls_.wheel_change_enabled = checked;
  apply_enabled_ = true;
}

void OptionsDialog::Apply() {
  state_.ScrollMode = controls_.optScroll;
  state_.ShowHolidays = controls_.chkShowHolidays;  // before the redraw below, which shows it
  state_.RemindPayments = controls_.chkRemindPayments;
  state_.RemindDaysAhead = std::clamp(controls_.txtRemindDays, 0, 14);
  state_.RemindVerySpecial = controls_.chkRemindVerySpecial;

  state_.SelectedThemeKey = theme_page_.ChosenKey();
  // The zoom resizes the calendar as a change of the display scale would: the theme's redraw
  // below lays it out at the new scale.
  state_.Zoom = kZoomChoices[static_cast<std::size_t>(std::clamp(controls_.cboZoom, 0, 5))];
  ApplySelectedTheme(state_, environment_, calendar_);

  if (state_.MicrosoftWheelMouse && !controls_.chkMicrosoftWheel) {
    wheel_.UnhookCalendarWheel();
    state_.MicrosoftWheelMouse = false;
  } else if (!state_.MicrosoftWheelMouse && controls_.chkMicrosoftWheel) {
    state_.WheelMessageId = wheel_.RegisterWheelMessage();
    wheel_.HookCalendarWheel();
    state_.MicrosoftWheelMouse = true;
  }

  state_.MicrosoftWheelMouseChange = controls_.optWheelChange;
  state_.TodayStart = controls_.optStartDay;

  if (controls_.chkIgnoreXPTheme != state_.IgnoreXPTheme) {
    state_.IgnoreXPTheme = controls_.chkIgnoreXPTheme;
    dsChangeBackColors();
  }

  state_.CenterClick = controls_.chkCenterClick;
  state_.ShiftAuto = controls_.chkShiftAuto;
  state_.OverWriteMenu = controls_.chkOverWriteMenu;
  state_.AutoSave = controls_.chkAutoSave;
  apply_enabled_ = false;
}

void OptionsDialog::dsChangeBackColors() {
  page_color_ = PageBackColor(state_.XPThemeAvailable, state_.IgnoreXPTheme, button_face_);
}

}  // namespace orv
