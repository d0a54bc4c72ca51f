#pragma once
// The host window's tray icon and popup menus as data and rules: the menu tree with its
// captions, what each tray mouse message does, paging with month-end clamping, and the
// controller that carries out the menu commands. The Win32 window builds real menus from
// the tree and forwards messages here.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.hpp"

namespace orv {

inline constexpr char kTrayTip[] = "Orvanta";
inline constexpr unsigned kTrayCallbackMessage = 512;  // the mouse-move message number

// Command identifiers of the menu entries (also the Win32 menu item ids).
enum MenuCommand : std::uint16_t {
  kCmdNone = 0,
  kCmdSaveUserCalendar = 1001,
  kCmdDelYearDatas,
  kCmdRedraw,
  kCmdPage0 = 1010,  // + index 0..3
  kCmdExtraMode0 = 1020,  // + index 0..2
  kCmdOption = 1030,
  kCmdVersion,
  kCmdQuit,
  kCmdToday = 1040,
  kCmdScrollDays0 = 1050,  // + index 0..3
  kCmdOpenDataFile = 1060,
  kCmdNewDataFile,
  kCmdRestoreBackup,
  kCmdUpcoming = 1070,
};

// The tray's word that the user clicked the notification shown from the icon.
inline constexpr unsigned kBalloonUserClick = 0x0405;  // NIN_BALLOONUSERCLICK

struct MenuNode {
  std::string name;     // the control's name, e.g. "Pmenu_Today"
  std::string caption;  // "-" for a separator
  std::uint16_t command = kCmdNone;
  std::vector<MenuNode> children;
};

// "Pmenu" and "Pmenu_Scroll" with every caption as shown (accelerator hints after a tab).
MenuNode TrayMenu();
MenuNode ScrollMenu();

enum class TrayAction { Nothing, FocusCalendar, ShowToday, OpenMenu, ShowUpcoming };
struct TrayResponse {
  bool foreground = false;  // bring the host window forward and let pending messages run first
  TrayAction action = TrayAction::Nothing;
};
// What a mouse message over the tray icon does; a day dialog on the screen blocks all but
// the focus move.
TrayResponse TrayCallback(unsigned mouse_message, bool dialog_showing);

// When to try adding the tray icon again after `failures` failed adds in a row (the tray is
// still starting at logon, or busy): soon at first, then less often; nullopt after a success
// (0 failures) or when it is time to give up. The shell's "TaskbarCreated" starts it afresh.
std::optional<std::chrono::milliseconds> TrayAddRetryDelay(int failures);

// StartDate moved by a page command: a year or a month back or forward, the day of the
// month clamped to the end of a shorter month.
Date PageDate(Date start, int index);
// Days of a scroll command: -28, -7, 7, 28; 0 for an unknown index.
std::int16_t ScrollDaysFor(int index);

// The check mark per display-mode entry, for the current mode.
std::vector<bool> ExtraModeChecks(std::int32_t calendar_mode);


// What the host window's commands act on.
class HostPorts {
public:
  virtual ~HostPorts() = default;
  virtual void DrawCalendar() = 0;              // the calendar's full redraw
  virtual void CalendarScroll(std::int16_t days) = 0;
  virtual void FocusCalendar() = 0;             // errors ignored
  virtual void CopyWallpaper() = 0;             // dsDesktopImageCopy
  virtual std::string SaveUserData() = 0;       // sfSaveUserData with UserDataPath
  virtual void StoreUserDataPath() = 0;         // "UserData"/"FileName"
  virtual void ShowSaveError() = 0;             // the critical message box
  virtual void ShowYearDatasDialog() = 0;
  virtual void ShowOptionDialog() = 0;
  virtual void ShowVersionDialog() = 0;
  virtual void Quit() = 0;                      // unload the host window
  // Another data file: open one, or start a new one (the current one saved first).
  virtual void OpenDataFile() {}
  virtual void NewDataFile() {}
  virtual void RestoreBackup() {}  // "バックアップから復元..."
  virtual void ShowUpcoming() {}   // "今後の予定(&U)..."
};

class HostController {
public:
  HostController(AppState& state, HostPorts& ports) : state_(state), ports_(ports) {}

  // Runs a menu command. Returns false for an unknown command.
  bool OnCommand(std::uint16_t command);
  void ShowToday();
  // Whether the tray menu offers its save entry now.
  bool SaveEntryVisible() const { return state_.OverWriteMenu; }

private:
  AppState& state_;
  HostPorts& ports_;
};

}  // namespace orv
