#pragma once
// The options dialog as a model: the values its controls hold, the Apply / OK / Cancel
// rules, change tracking of the Apply button, the tab rules and the page colour. The Win32
// view shows these values and forwards clicks; it decides nothing itself.
#include <cstdint>
#include <optional>
#include <string>

#include "calendar/calendar_view.hpp"
#include "core/app_state.hpp"
#include "options/preset_page.hpp"
#include "options/theme_page.hpp"
#include "platform/canvas.hpp"
#include "platform/prompts.hpp"
#include "theme/theme.hpp"

namespace orv {

// The calendar window's wheel hook, as Apply switches it while the program runs.
class WheelHookSwitch {
public:
  virtual ~WheelHookSwitch() = default;
  // Registers "MSWHEEL_ROLLMSG" and returns its message id.
  virtual std::int32_t RegisterWheelMessage() = 0;
  virtual void HookCalendarWheel() = 0;
  virtual void UnhookCalendarWheel() = 0;
};

// The dialog's size and place in twips: immediately left of the calendar window, centred
// vertically.
struct TwipsRect {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipsRect&) const = default;
};
inline constexpr std::int32_t kOptionsWidthTwips = 6885;
inline constexpr std::int32_t kOptionsHeightTwips = 6450;
TwipsRect OptionsDialogPlacement(std::int32_t screen_width, std::int32_t screen_height,
                                 std::int32_t calendar_width);

// White to match a themed tab strip; the button-face colour on classic systems or when the
// user asks for the classic look.
Rgb PageBackColor(bool xp_theme_available, bool ignore_xp_theme, Rgb button_face);

// The three pages, in tab order.
enum OptionsTab : int { kTabPresets = 0, kTabTheme = 1, kTabBehaviour = 2 };
inline constexpr const char* kOptionsTabTexts[3] = {" 予定の追加(&U) ", " デザイン(&D) ", " 動作(&R) "};
// Any index becomes a valid tab: below 0 the first, above 2 the last.
int ClampTab(int index);
// Alt alone with U, D or R selects a tab; `shift_state` has 1 Shift, 2 Ctrl, 4 Alt.
std::optional<int> TabForKey(int virtual_key, int shift_state);

// The texts of the zoom choices (kZoomChoices), in their order.
inline constexpr const char* kZoomTexts[6] = {"自動", "100%", "125%", "150%", "175%", "200%"};
// The index of a zoom among the choices; one that is none of them is 自動.
int ZoomChoiceIndex(std::int32_t zoom);

// What the behaviour controls hold while the dialog is open.
struct OptionControls {
  int optScroll = 0;
  int optWheelChange = 0;
  int optStartDay = 0;
  bool chkMicrosoftWheel = false;
  bool chkIgnoreXPTheme = false;
  bool chkCenterClick = false;
  bool chkShiftAuto = false;
  bool chkOverWriteMenu = false;
  bool chkAutoSave = false;
  bool chkShowHolidays = false;
  bool chkRemindPayments = false;   // "支払いを事前に知らせる"
  int txtRemindDays = 0;            // its days ahead, 0..14
  bool chkRemindVerySpecial = false;
  int cboZoom = 0;  // the theme page's "表示倍率": an index of kZoomChoices (0 自動)
  bool ignore_xp_theme_enabled = false;  // the box exists only on systems with visual styles
  bool wheel_change_enabled = false;     // optWheelChange and lblWheelChange
};

class OptionsDialog {
public:
  OptionsDialog(AppState& state, Prompts& prompts, CalendarView& calendar,
                const ThemeEnvironment& environment, WheelHookSwitch& wheel, std::string program_folder);
  OptionsDialog(const OptionsDialog&) = delete;
  OptionsDialog& operator=(const OptionsDialog&) = delete;

  // Fills every control from the globals; Apply starts disabled.
  void Load();

  // A click on a behaviour check box or option button (after the view stored the new value
  // in controls()).
  void ControlClicked() { apply_enabled_ = true; }
  // The wheel box also switches its step controls.
  void SetWheelBox(bool checked);
  OptionControls& controls() { return controls_; }
  const OptionControls& controls() const { return controls_; }

  void Apply();
  // OK applies whether or not anything changed; the caller then closes the dialog.
  void OK() { Apply(); }
  // Cancel (and the close box) closes without applying: nothing to do here.

  // The page shown; the view shows it and focuses its first control.
  void ChangedTab(int index) { tab_ = ClampTab(index); }
  int tab() const { return tab_; }

  // The page colour for the current globals.
  void dsChangeBackColors();
  Rgb page_color() const { return page_color_; }
  void set_button_face(Rgb color) { button_face_ = color; }

  bool apply_enabled() const { return apply_enabled_; }
  ThemePage& theme_page() { return theme_page_; }
  PresetPage& preset_page() { return preset_page_; }

private:
  AppState& state_;
  CalendarView& calendar_;
  const ThemeEnvironment& environment_;
  WheelHookSwitch& wheel_;
  bool apply_enabled_ = false;
  OptionControls controls_;
  int tab_ = kTabPresets;
  Rgb button_face_ = MakeRgb(212, 208, 200);
  Rgb page_color_ = MakeRgb(255, 255, 255);
  ThemePage theme_page_;
  PresetPage preset_page_;
};

}  // namespace orv
