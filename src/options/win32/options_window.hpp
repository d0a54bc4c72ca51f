#pragma once
// The options dialog's window: a tab strip over three pages, the OK / Cancel / Apply
// buttons. It shows what the OptionsDialog model holds and forwards every click to it.
// The dialog is not modal; OptionsDialogHost keeps at most one open.
#include <windows.h>

#include <memory>
#include <string>

#include "options/options_dialog.hpp"
#include "platform/win32/gdi_canvas.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/win32_prompts.hpp"
#include "platform/win32/window_base.hpp"

namespace orv {

// What the dialog needs of the calendar window: its size, for the placement, and its
// composed picture, for the sample copy.
class CalendarPictureSource {
public:
  virtual ~CalendarPictureSource() = default;
  virtual HWND CalendarWindow() const = 0;              // null when there is none
  virtual const GdiCanvas* CalendarPicture() const = 0;  // null when nothing is drawn
};

// Everything the dialog works with; all of it outlives the dialog.
struct OptionsContext {
  AppState& state;
  CalendarView& calendar;
  const ThemeEnvironment& environment;
  WheelHookSwitch& wheel;
  CalendarPictureSource& calendar_picture;
  std::string program_folder;
  Prompts* prompts = nullptr;  // null: the system's prompts, owned by the dialog
};

// Control identifiers, also what tests look controls up by.
enum OptionsControlId : int {
  kIdTabStrip = 1000,
  kIdOK = IDOK,
  kIdCancel = IDCANCEL,
  kIdApply = 1001,
  kIdFrame0 = 1010,  // Frame(0) to Frame(4): 1010 to 1014
  kIdDUDType = 1020,
  kIdDUDList,
  kIdDUDAdd,
  kIdDUDDel,
  kIdShiftAuto,
  kIdAutoSave,
  kIdOverWriteMenu,
  kIdThemeTitles = 1040,
  kIdThemeSample,
  kIdThemeComment,
  kIdThemeCopyright,
  kIdAddTheme,
  kIdThemeDel,
  kIdClipCopySample,
  kIdThemeNote,
  kIdZoomLabel,
  kIdZoom,
  kIdMicrosoftWheel = 1060,
  kIdWheelChange0,
  kIdWheelChange1,
  kIdWheelChangeLabel,
  kIdWheelNote,
  kIdScroll0,
  kIdScroll1,
  kIdScroll2,
  kIdStartDay0,
  kIdStartDay1,
  kIdStartDay2,
  kIdCenterClick,
  kIdIgnoreXPTheme,
  kIdShowHolidays,
  kIdRemindPayments,
  kIdRemindDaysLabel,
  kIdRemindDays,
  kIdRemindDaysSpin,
  kIdRemindVerySpecial,
};

class OptionsWindow;

// A page, or the tab strip's host: a plain panel that paints in the page colour and hands
// control notifications to the dialog.
class OptionsPanel : public WindowBase {
public:
  explicit OptionsPanel(OptionsWindow& owner) : owner_(owner) {}
  bool Create(HWND parent, const RECT& rect, bool visible);

private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  OptionsWindow& owner_;
};

class OptionsWindow : public WindowBase {
public:
  explicit OptionsWindow(OptionsContext context);
  ~OptionsWindow() override;

  // Creates the dialog, fills it from the globals and shows it.
  bool Open();
  // Keys reach the dialog before its controls: Alt+U/D/R switch pages; then the usual
  // dialog keys (Tab, Enter, Esc, mnemonics). True when the message was used.
  bool PreTranslate(MSG& msg);

  void ChangedTab(int index);
  void ForcedChangeTab(int index);

  HWND Control(int id) const;
  HWND Page(int index) const { return pages_[index] ? pages_[index]->hwnd() : nullptr; }
  OptionsDialog& model() { return model_; }

private:
  friend class OptionsPanel;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  LRESULT PanelMessage(HWND panel, UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  void OnCommand(int id, int code);
  void CreateControls();
  void Close();

  void ShowBehaviour();
  void ShowPresets();
  void ShowThemeList();
  void ShowThemeChoice();
  void ShowColors();
  void ShowApply();
  void DrawSample(const DRAWITEMSTRUCT& item);
  void CopyCalendarPicture();

  OptionsContext context_;
  Win32Prompts own_prompts_;
  OptionsDialog model_;
  std::unique_ptr<OptionsPanel> tab_host_;        // picTabControl
  std::unique_ptr<OptionsPanel> pages_[3];        // picContainer(0..2)
  HWND tab_strip_ = nullptr;                      // owned by tab_host_
  FontHandle font_;
  bool showing_ = false;  // the controls are being filled from the model, not changed by the user
  int dpi_ = 96;  // of the calendar's monitor: controls are laid out for 96 dpi and scaled to it
  BrushHandle page_brush_;
  Rgb page_color_ = 0;  // the colour page_brush_ paints
  std::unique_ptr<GdiCanvas> built_in_sample_;    // imgDefalutTheme
};

// What the tray menu calls: opens the dialog, or brings the open one forward.
class OptionsDialogHost {
public:
  explicit OptionsDialogHost(OptionsContext context) : context_(std::move(context)) {}
  void Show();
  // For the program's message loop; false when the dialog is closed or the message not its.
  bool PreTranslate(MSG& msg);
  OptionsWindow* window() { return window_ && window_->hwnd() ? window_.get() : nullptr; }

private:
  OptionsContext context_;
  std::unique_ptr<OptionsWindow> window_;
};

}  // namespace orv
