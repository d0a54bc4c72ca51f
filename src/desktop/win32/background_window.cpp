#include "desktop/win32/background_window.hpp"

#include <wtsapi32.h>

#include <algorithm>
#include <utility>

#include "desktop/desktop_attachment.hpp"
#include "desktop/win32/win32_desktop_facts.hpp"
#include "platform/win32/display_scale.hpp"
#include "schedule/user_data_file.hpp"
#include "platform/win32/state_report.hpp"
#include "platform/win32/system_function.hpp"
#include "platform/win32/wide.hpp"
#include "platform/windows_path.hpp"

namespace orv {
namespace {

constexpr wchar_t kClassName[] = L"OrvantaBackground";
constexpr UINT_PTR kSettleTimer = 1;    // the watch, a moment after a burst of change reports
constexpr UINT_PTR kDesktopTimer = 2;   // the calendar's place on the desktop, while something is pending
constexpr UINT_PTR kTrayTimer = 3;      // another try at adding the tray icon
constexpr UINT_PTR kMidnightTimer = 4;  // the date
constexpr UINT kCalendarLost = WM_APP + 1;
// How long after a change report the watch runs, and how long a burst may put it off: every
// change is seen within a second.
constexpr auto kSettle = std::chrono::milliseconds(120);
constexpr auto kLongestSettle = std::chrono::milliseconds(600);
// Posted by the desktop facts when an answer about the wallpaper file comes late.
constexpr UINT kLateFileAnswer = WM_APP + 0x31;

HMENU BuildPopup(const MenuNode& node) {
  HMENU menu = CreatePopupMenu();
  for (const MenuNode& child : node.children) {
    if (child.caption == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (!child.children.empty()) {
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(BuildPopup(child)),
                  Utf8ToWide(child.caption).c_str());
    } else {
      AppendMenuW(menu, MF_STRING, child.command, Utf8ToWide(child.caption).c_str());
    }
  }
  return menu;
}

// One line per entry: depth, caption, checked, for the test driver.
void Describe(HMENU menu, int depth, std::wstring& out) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    out += std::wstring(static_cast<std::size_t>(depth) * 2, L' ');
    out += (info.fType & MFT_SEPARATOR) ? std::wstring(L"-") : std::wstring(text);
    if (info.fState & MFS_CHECKED) out += L" [x]";
    out += L'\n';
    if (info.hSubMenu) Describe(info.hSubMenu, depth + 1, out);
  }
}

}  // namespace

BackgroundWindow::BackgroundWindow(AppState& state, Win32DesktopFacts& facts, PictureLoader& pictures,
                                   HostCalendar& calendar, HostDialogs& dialogs, HandleWaits& waits, Wiring wiring)
    : state_(state), facts_(facts), pictures_(pictures), calendar_(calendar), dialogs_(dialogs),
      wiring_(std::move(wiring)), controller_(state, *this),
      image_(1, 1, 24),  // opaque: three bytes a pixel
      waits_(waits),
      folders_(waits, [this] { OnWatchEvent(WatchEvent::kFolder); }) {}

BackgroundWindow::~BackgroundWindow() {
  StopWatching();
  if (session_notices_ && hwnd()) {
    if (auto unregister = SystemFunction<BOOL(WINAPI*)(HWND)>(L"wtsapi32.dll", "WTSUnRegisterSessionNotification"))
      unregister(hwnd());
  }
  RemoveTrayIcon();
}

bool BackgroundWindow::Load() {
  Register(kClassName, 0, nullptr);
  if (!Create(WS_EX_TOOLWINDOW, kClassName, L"Orvanta", WS_POPUP, 0, 0, 0, 0, nullptr)) return false;
  state_.XPThemeAvailable = SystemHasVisualStyles();
  tray_icon_ = MakeTrayIcon(!state_.XPThemeAvailable, TrayIconPixels());

  pmenu_.reset(CreateMenu());
  tray_popup_ = BuildPopup(TrayMenu());
  AppendMenuW(pmenu_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(tray_popup_), L"ポップアップ");
  extra_popup_ = GetSubMenu(tray_popup_, 5);
  pmenu_scroll_.reset(CreateMenu());
  scroll_popup_ = BuildPopup(ScrollMenu());
  AppendMenuW(pmenu_scroll_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(scroll_popup_), L"スクロール");

  // After the shell restarts, the notification area is empty again; the icon must come back
  // or the program could no longer be reached.
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  ChangeWindowMessageFilterEx(hwnd(), taskbar_created_, MSGFLT_ALLOW, nullptr);
  AddTrayIcon();
  facts_.PostLateAnswersTo(hwnd(), kLateFileAnswer);
  folders_.ReportRemovalTo(hwnd());
  return true;
}

NOTIFYICONDATAW BackgroundWindow::TrayRecord() const {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = hwnd();
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = tray_icon_.get();
  lstrcpynW(data.szTip, L"Orvanta", 64);
  return data;
}

// The notification area shows small icons of the primary monitor's scale.
int BackgroundWindow::TrayIconPixels() { return MetricForDpi(SM_CXSMICON, WindowDpi(nullptr)); }

void BackgroundWindow::RefreshTrayIcon() {
  const int pixels = TrayIconPixels();
  ICONINFO info{};
  BITMAP bitmap{};
  if (tray_icon_ && GetIconInfo(tray_icon_.get(), &info)) {
    BitmapHandle color(info.hbmColor), mask(info.hbmMask);
    if (GetObjectW(info.hbmMask, sizeof bitmap, &bitmap) && bitmap.bmWidth == pixels) return;
  }
  tray_icon_ = MakeTrayIcon(!state_.XPThemeAvailable, pixels);
  if (!tray_added_) return;
  NOTIFYICONDATAW data = TrayRecord();
  data.uFlags = NIF_ICON;
  Shell_NotifyIconW(NIM_MODIFY, &data);
}

void BackgroundWindow::AddTrayIcon() {
  NOTIFYICONDATAW data = TrayRecord();
  // An add that fails may still have reached a busy tray: a change it accepts tells that the
  // icon is there.
  tray_added_ = Shell_NotifyIconW(NIM_ADD, &data) || Shell_NotifyIconW(NIM_MODIFY, &data);
  tray_failures_ = tray_added_ ? 0 : tray_failures_ + 1;
  if (const auto delay = TrayAddRetryDelay(tray_failures_))
    SetTimer(hwnd(), kTrayTimer, static_cast<UINT>(delay->count()), nullptr);
  else
    KillTimer(hwnd(), kTrayTimer);
}

void BackgroundWindow::KeepCalendarOnDesktop() {
  if (shut_down_) return;
  const auto next = calendar_.KeepOnDesktop();
  desktop_timer_ = next.has_value();
  if (next) SetTimer(hwnd(), kDesktopTimer, static_cast<UINT>(next->count()), nullptr);
  else KillTimer(hwnd(), kDesktopTimer);
}

void BackgroundWindow::LookAtDesktopSoon() {
  look_posted_ = false;
  if (shut_down_ || desktop_timer_) return;  // a look is due within moments anyway
  KeepCalendarOnDesktop();
  // The shell makes and rearranges its windows in bursts: one more look once it is likely done.
  if (!desktop_timer_) {
    desktop_timer_ = true;
    SetTimer(hwnd(), kDesktopTimer, static_cast<UINT>(DesktopAttachment::kSettleCheck.count()), nullptr);
  }
}

void BackgroundWindow::CalendarLost() {
  if (!hwnd() || look_posted_) return;
  look_posted_ = true;
  PostMessageW(hwnd(), kCalendarLost, 0, 0);
}

void BackgroundWindow::RemoveTrayIcon() {
  if (!tray_added_) return;
  NOTIFYICONDATAW data = TrayRecord();
  Shell_NotifyIconW(NIM_DELETE, &data);
  tray_added_ = false;
}

void BackgroundWindow::dsDesktopImageCopy() {
  desktop_.Copy();
  ++copies_;
  if (watching_) WatchFolders();  // the wallpaper may be another file now
}

void BackgroundWindow::StartWallpaperTimer() { StartWatching(); }

void BackgroundWindow::StartWatching() {
  if (watching_) return;
  watching_ = true;
  settings_event_ = facts_.DesktopSettingsEvent();
  waits_.Add(settings_event_, [this] {
    facts_.DesktopSettingsSignalled();
    OnWatchEvent(WatchEvent::kDesktopSettings);
  });
  if (colors_notice_.Watch(HKEY_CURRENT_USER, L"Control Panel\\Colors"))
    waits_.Add(colors_notice_.Event(), [this] {
      colors_notice_.Rearm();
      OnWatchEvent(WatchEvent::kDesktopColors);
    });
  WatchFolders();
  ArmMidnightTimer();
  // The session unlocked: the machine may have stood locked past a midnight. (Loaded here,
  // after the calendar shows, rather than with the program.)
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  if (auto reg = SystemFunction<Register>(L"wtsapi32.dll", "WTSRegisterSessionNotification"); reg && !session_notices_)
    session_notices_ = reg(hwnd(), NOTIFY_FOR_THIS_SESSION) != FALSE;
}

void BackgroundWindow::StopWatching() {
  if (!watching_) return;
  watching_ = false;
  if (settings_event_) waits_.Remove(std::exchange(settings_event_, nullptr));
  if (colors_notice_.Armed()) waits_.Remove(colors_notice_.Event());
  folders_.Stop();
  KillTimer(hwnd(), kSettleTimer);
  KillTimer(hwnd(), kMidnightTimer);
  settling_ = {};
}

void BackgroundWindow::WatchFolders() { folders_.Follow(wallpaper_.LastWallpaper, facts_.TranscodedWallpaper()); }

void BackgroundWindow::ArmMidnightTimer() {
  if (!watching_) return;
  SetTimer(hwnd(), kMidnightTimer, static_cast<UINT>(facts_.UntilMidnight().count()), nullptr);
}

void BackgroundWindow::OnWatchEvent(WatchEvent event) {
  if (shut_down_ || !watching_) return;
  const WatchResponse response = RespondTo(event);
  if (response.rearm_midnight) ArmMidnightTimer();
  const bool burst = event == WatchEvent::kDesktopSettings || event == WatchEvent::kDesktopColors ||
                     event == WatchEvent::kFolder;
  if (!burst) {
    RunWatch(response);
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  const bool pending = settling_.check;
  if (!pending) settle_since_ = now;
  settling_.check = true;
  settling_.copy = settling_.copy || response.copy;
  // Each report of a burst puts the watch off a little, never past the longest wait.
  if (!pending || now - settle_since_ < kLongestSettle - kSettle)
    SetTimer(hwnd(), kSettleTimer, static_cast<UINT>(kSettle.count()), nullptr);
}

void BackgroundWindow::RunWatch(const WatchResponse& response) {
  if (response.rescale) {
    // Monitors or their scale changed: everything is laid out again at the new scale.
    facts_.Refresh();
    RefreshTrayIcon();
    dsDesktopImageCopy();
    calendar_.Rescale();
    return;
  }
  if (response.copy) {
    dsDesktopImageCopy();
    calendar_.dsDrawCalendar();
    return;
  }
  if (response.check) OnWatchTick();
}

void BackgroundWindow::SetClockForTesting(std::chrono::milliseconds before_midnight) {
  facts_.ShiftClockForTesting(before_midnight);
  OnWatchEvent(WatchEvent::kClockSet);
}

void BackgroundWindow::dsPmenuExtraModeCheck() {
  const std::vector<bool> checks = ExtraModeChecks(state_.CalendarMode);
  for (std::size_t i = 0; i < checks.size(); ++i)
    CheckMenuItem(extra_popup_, static_cast<UINT>(kCmdExtraMode0 + i),
                  MF_BYCOMMAND | (checks[i] ? MF_CHECKED : MF_UNCHECKED));
}

void BackgroundWindow::SetSaveEntryVisible(bool visible) {
  const bool present = GetMenuState(tray_popup_, kCmdSaveUserCalendar, MF_BYCOMMAND) != static_cast<UINT>(-1);
  if (visible && !present)
    InsertMenuW(tray_popup_, 0, MF_BYPOSITION | MF_STRING, kCmdSaveUserCalendar,
                Utf8ToWide(TrayMenu().children.front().caption).c_str());
  else if (!visible && present)
    RemoveMenu(tray_popup_, kCmdSaveUserCalendar, MF_BYCOMMAND);
  extra_popup_ = GetSubMenu(tray_popup_, visible ? 5 : 4);
}

void BackgroundWindow::OpenMenu(HMENU menu) {
  POINT p;
  GetCursorPos(&p);
  SetForegroundWindow(hwnd());
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, p.x, p.y, 0, hwnd(), nullptr));
  PostMessageW(hwnd(), WM_NULL, 0, 0);  // lets the menu close properly when the user clicks away
  if (command) controller_.OnCommand(static_cast<std::uint16_t>(command));
}

void BackgroundWindow::OpenScrollMenu() { OpenMenu(scroll_popup_); }

void BackgroundWindow::OpenExtraMenu() {
  dsPmenuExtraModeCheck();
  OpenMenu(extra_popup_);
}

void BackgroundWindow::ShowSaveError() {
  MessageBoxW(nullptr, Utf8ToWide(kSaveErrorText).c_str(), Utf8ToWide(kSaveErrorTitle).c_str(),
              MB_OK | MB_ICONERROR);
}

void BackgroundWindow::OnTray(unsigned mouse_message) {
  const TrayResponse response = TrayCallback(mouse_message, state_.DialogShowing);
  if (response.foreground) {
    SetForegroundWindow(hwnd());
    MSG msg;  // let pending messages run
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  switch (response.action) {
    case TrayAction::FocusCalendar: calendar_.Focus(); break;
    case TrayAction::ShowToday: controller_.ShowToday(); break;
    case TrayAction::OpenMenu:
      dsPmenuExtraModeCheck();
      SetSaveEntryVisible(controller_.SaveEntryVisible());
      OpenMenu(tray_popup_);
      break;
    case TrayAction::Nothing: break;
  }
}

void BackgroundWindow::OnWatchTick() {
  switch (CheckWallpaper(wallpaper_, facts_, state_.WorkArea, state_.Today)) {
    case WallpaperWatch::kCopyAndRedraw:
      FollowToday();
      dsDesktopImageCopy();
      calendar_.dsDrawCalendar();
      break;
    case WallpaperWatch::kRedrawOnly:
      FollowToday();
      calendar_.dsDrawCalendar();
      break;
    case WallpaperWatch::kNothing: break;
  }
}

void BackgroundWindow::FollowToday() {
  const Date before = state_.Today;
  UpdateToday(state_);
  if (state_.Today != before) calendar_.TodayChanged();
}

// Every day with a payment total, in tree order, as the calendar formats it: "Y-M-D amount;".
std::string BackgroundWindow::PaymentTotals() const {
  std::string text;
  for (const auto& year : state_.Years)
    for (const auto& month : year.MonthDatas)
      for (const auto& day : month.DayDatas)
        if (day.TotalPaymentPrice != 0)
          text += year.Key + "-" + month.Key + "-" + day.Key + " " + facts_.FormatCurrency(day.TotalPaymentPrice) + ";";
  return text;
}

void BackgroundWindow::ShutDown(bool session_ending) {
  if (shut_down_) return;
  shut_down_ = true;
  const bool watched = watching_;
  StopWatching();  // no redraw of a calendar that is going away
  KillTimer(hwnd(), kDesktopTimer);
  desktop_timer_ = false;
  KillTimer(hwnd(), kTrayTimer);
  if (wiring_.shutdown(session_ending)) return;
  // Called off (nothing could be saved, and the user keeps the program): everything runs on.
  shut_down_ = false;
  if (watched) StartWatching();
  KeepCalendarOnDesktop();
  if (!tray_added_) AddTrayIcon();
}

void BackgroundWindow::DescribeMenuTo(HWND requester) {
  const DateParts start = state_.StartDateParts;
  std::wstring text = L"StartDate=" + std::to_wstring(start.Year) + L"-" + std::to_wstring(start.Month) + L"-" +
                      std::to_wstring(start.Day) + L"\nCalendarMode=" + std::to_wstring(state_.CalendarMode) +
                      L"\nTray=" + std::to_wstring(tray_added_) +
                      L"\nDialogShowing=" + std::to_wstring(state_.DialogShowing) +
                      L"\nToday=" + std::to_wstring(state_.TodayParts.Year) + L"-" + std::to_wstring(state_.TodayParts.Month) +
                      L"-" + std::to_wstring(state_.TodayParts.Day) + L"\nCopies=" + std::to_wstring(copies_) +
                      L"\nTimerWakeups=" + std::to_wstring(waits_.TimerWakeups()) +
                      L"\nNoticeWakeups=" + std::to_wstring(waits_.Wakeups()) + L"\nTotals=" +
                      Utf8ToWide(PaymentTotals()) + L"\n";
  Describe(tray_popup_, 0, text);
  text += L"--\n";
  Describe(scroll_popup_, 0, text);
  SendStateReport(requester, hwnd(), WideToUtf8(text));
}

LRESULT BackgroundWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kTrayCallbackMessage) {
    OnTray(static_cast<unsigned>(lparam));
    return 0;
  }
  if (taskbar_created_ && message == taskbar_created_) {
    // The shell (re)started: its notification area is empty and its desktop windows are new.
    tray_failures_ = 0;
    AddTrayIcon();
    KeepCalendarOnDesktop();
    return 0;
  }
  if (IsTestingClockRequest(message)) {
    SetClockForTesting(std::chrono::milliseconds(wparam));
    return 0;
  }
  if (IsTestingWorkAreaRequest(message)) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    work.right = static_cast<LONG>(wparam);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    return 0;
  }
  if (IsStateReportRequest(message)) {
    // Reports the scroll position, the mode and the menus as they stand, for the
    // end-to-end tests (they run in another process and cannot read our menus).
    DescribeMenuTo(reinterpret_cast<HWND>(wparam));
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wparam == kSettleTimer) {
        KillTimer(hwnd(), kSettleTimer);
        RunWatch(std::exchange(settling_, WatchResponse{}));
      }
      if (wparam == kMidnightTimer) OnWatchEvent(WatchEvent::kMidnight);
      if (wparam == kDesktopTimer) {
        KillTimer(hwnd(), kDesktopTimer);
        desktop_timer_ = false;
        KeepCalendarOnDesktop();
      }
      if (wparam == kTrayTimer && !shut_down_) AddTrayIcon();
      return 0;
    case kCalendarLost: LookAtDesktopSoon(); return 0;
    case WM_COMMAND:
      if (HIWORD(wparam) == 0) controller_.OnCommand(LOWORD(wparam));
      return 0;
    case kLateFileAnswer:
      // The wallpaper file answered after the watch stopped waiting: judge it now.
      OnWatchEvent(WatchEvent::kLateFileAnswer);
      return 0;
    case WM_SETTINGCHANGE:
      // Environment, colour-set and other announcements leave the desktop picture as it is.
      if (SettingChangeConcernsDesktop(static_cast<unsigned>(wparam))) RunWatch(RespondTo(WatchEvent::kSettingChange));
      return 0;
    case WM_SYSCOLORCHANGE: RunWatch(RespondTo(WatchEvent::kSysColorChange)); return 0;
    case WM_DEVICECHANGE: folders_.OnDeviceChange(wparam, lparam); return TRUE;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED: RunWatch(RespondTo(WatchEvent::kDisplayChange)); return 0;
    case WM_TIMECHANGE: OnWatchEvent(WatchEvent::kClockSet); return 0;
    case WM_POWERBROADCAST:
      if (wparam == PBT_APMRESUMEAUTOMATIC || wparam == PBT_APMRESUMESUSPEND) OnWatchEvent(WatchEvent::kResume);
      return TRUE;
    case WM_WTSSESSION_CHANGE:
      if (wparam == WTS_SESSION_UNLOCK || wparam == WTS_CONSOLE_CONNECT || wparam == WTS_REMOTE_CONNECT)
        OnWatchEvent(WatchEvent::kUnlock);
      return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      // The system may end the process as soon as this returns: everything happens now.
      if (wparam) ShutDown(true);
      return 0;
    case WM_CLOSE: ShutDown(false); return 0;
    default: break;
  }
  return Default(message, wparam, lparam);
}

}  // namespace orv
