#pragma once
// frmBackground: the hidden host window. It owns the wallpaper copy and its
// change watch, the tray icon and the two popup menus, and runs the menu commands through
// HostController. Closing it (menu, end of session, WM_CLOSE) runs the shutdown.
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "desktop/change_watch.hpp"
#include "desktop/tray_menu.hpp"
#include "desktop/wallpaper.hpp"
#include "desktop/win32/entry_icon_sets.hpp"
#include "desktop/win32/folder_watches.hpp"
#include "desktop/win32/program_icons.hpp"
#include "desktop/win32/win32_desktop_facts.hpp"
#include "platform/picture_loader.hpp"
#include "platform/win32/change_notices.hpp"
#include "platform/win32/gdi_canvas.hpp"
#include "platform/win32/window_base.hpp"

namespace orv {

// The calendar as the host window uses it.
class HostCalendar {
public:
  virtual ~HostCalendar() = default;
  virtual void dsDrawCalendar() = 0;
  virtual void dsCalendarScroll(std::int16_t days) = 0;
  virtual void Focus() = 0;
  // Puts the calendar back where it belongs on the desktop when it is not there; returns
  // when to look again by itself (nothing: only when the desktop's windows change).
  virtual std::optional<std::chrono::milliseconds> KeepOnDesktop() = 0;
  // The monitors or their scale changed: fonts, widths and dialogs follow the new scale.
  virtual void Rescale() { dsDrawCalendar(); }
  // The date moved on (midnight, a wake or an unlock on another day); a redraw follows.
  virtual void TodayChanged() {}
};

// The dialogs the menu opens (the bulk deletion and options dialogs come later).
class HostDialogs {
public:
  virtual ~HostDialogs() = default;
  virtual void ShowYearDatasDialog() {}
  virtual void ShowOptionDialog() {}
  virtual void ShowVersionDialog() {}
  virtual void OpenDataFile() {}
  virtual void NewDataFile() {}
  virtual void RestoreBackup() {}
};

class BackgroundWindow : public WindowBase, private HostPorts {
public:
  struct Wiring {
    std::function<std::string()> save_user_data;       // sfSaveUserData with UserDataPath
    std::function<void()> store_user_data_path;        // "UserData"/"FileName"
    // The shutdown sequence; ends the loop. `session_ending`: the end of the Windows session,
    // no time to ask anything. False when the user chose to keep the program running.
    std::function<bool(bool session_ending)> shutdown;
  };
  // `waits`: the message loop's wait, where the change reports are waited on.
  BackgroundWindow(AppState& state, Win32DesktopFacts& facts, PictureLoader& pictures, HostCalendar& calendar,
                   HostDialogs& dialogs, HandleWaits& waits, Wiring wiring);
  ~BackgroundWindow() override;

  // The window's load: system check, tray picture, tray icon, menus with their key hints.
  bool Load();
  void dsDesktopImageCopy();
  WallpaperCopy& DesktopImage() { return desktop_; }
  // Starts the change watch: the system's change reports and the midnight timer.
  void StartWallpaperTimer();
  void RemoveTrayIcon();
  // The calendar went away without being asked (with the shell's window it stood on), or the
  // system reported a change of the desktop's windows: look for the desktop again as soon as
  // the current message is done.
  void CalendarLost();
  void dsPmenuExtraModeCheck();
  // Pmenu_Scroll / Pmenu_Extra at the mouse position; the command runs before it returns.
  void OpenScrollMenu();
  void OpenExtraMenu();
  HostController& Controller() { return controller_; }
  // The entry-kind icons the dialogs show: size 0 the 32-pixel set, 1 the 64-pixel set,
  // index the entry kind; nullptr for anything else.
  IPicture* GetIconPicture(int size, int index) { return icons_.GetIconPicture(size, index); }
  EntryIconSets& IconSets() { return icons_; }

private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnTray(unsigned mouse_message);
  void OnWatchTick();
  // UpdateToday, and the calendar told when the date moved.
  void FollowToday();
  // A change report: what it asks for runs at once or, for reports that come in bursts (a file
  // written piece by piece, settings written one by one), a moment after the burst.
  void OnWatchEvent(WatchEvent event);
  void RunWatch(const WatchResponse& response);
  void StartWatching();
  void StopWatching();
  // The folders of the wallpaper and of the shell's copy, after each copy.
  void WatchFolders();
  void ArmMidnightTimer();
  void LookAtDesktopSoon();
  // "--testing" only: the program's clock stands `before_midnight` before the next midnight.
  void SetClockForTesting(std::chrono::milliseconds before_midnight);
  // The one shutdown, whatever asks for it (quit, close, end of session); runs once, unless
  // the user called it off.
  void ShutDown(bool session_ending);
  void OpenMenu(HMENU menu);
  void AddTrayIcon();
  void KeepCalendarOnDesktop();
  static int TrayIconPixels();
  // A new tray picture when the scale has changed its size.
  void RefreshTrayIcon();
  NOTIFYICONDATAW TrayRecord() const;
  void SetSaveEntryVisible(bool visible);
  void DescribeMenuTo(HWND requester);
  std::string PaymentTotals() const;

  // HostPorts
  void DrawCalendar() override { calendar_.dsDrawCalendar(); }
  void CalendarScroll(std::int16_t days) override { calendar_.dsCalendarScroll(days); }
  void FocusCalendar() override { calendar_.Focus(); }
  void CopyWallpaper() override { dsDesktopImageCopy(); }
  std::string SaveUserData() override { return wiring_.save_user_data(); }
  void StoreUserDataPath() override { wiring_.store_user_data_path(); }
  void ShowSaveError() override;
  void ShowYearDatasDialog() override { dialogs_.ShowYearDatasDialog(); }
  void ShowOptionDialog() override { dialogs_.ShowOptionDialog(); }
  void ShowVersionDialog() override { dialogs_.ShowVersionDialog(); }
  void OpenDataFile() override { dialogs_.OpenDataFile(); }
  void NewDataFile() override { dialogs_.NewDataFile(); }
  void RestoreBackup() override { dialogs_.RestoreBackup(); }
  void Quit() override { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

  AppState& state_;
  Win32DesktopFacts& facts_;
  PictureLoader& pictures_;
  HostCalendar& calendar_;
  HostDialogs& dialogs_;
  Wiring wiring_;
  HostController controller_;
  GdiCanvas image_;  // picDesktopImage
  WallpaperState wallpaper_;
  WallpaperCopy desktop_{wallpaper_, facts_, pictures_, image_};
  IconHandle tray_icon_;
  EntryIconSets icons_;  // imgIcon32, imgIcon64
  bool tray_added_ = false;
  int tray_failures_ = 0;  // failed adds in a row; the tray may still be starting
  MenuHandle pmenu_;          // holds "Pmenu" as its one popup
  MenuHandle pmenu_scroll_;   // holds "Pmenu_Scroll"
  HMENU tray_popup_ = nullptr, extra_popup_ = nullptr, scroll_popup_ = nullptr;
  UINT taskbar_created_ = 0;
  bool shut_down_ = false;
  HandleWaits& waits_;
  bool watching_ = false;
  HANDLE settings_event_ = nullptr;  // "Control Panel\Desktop", the facts' notice
  KeyChangeNotice colors_notice_;    // "Control Panel\Colors"
  FolderWatches folders_;
  WatchResponse settling_;  // what the settle timer will run; nothing while it is not set
  std::chrono::steady_clock::time_point settle_since_;
  bool look_posted_ = false;   // a look at the desktop is queued
  bool desktop_timer_ = false; // the desktop timer is set
  bool session_notices_ = false;
  unsigned long copies_ = 0;   // desktop copies made (the state report shows it)
};

}  // namespace orv
