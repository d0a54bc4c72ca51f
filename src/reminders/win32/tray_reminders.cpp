#include "reminders/win32/tray_reminders.hpp"

#include <shellapi.h>

#include "platform/win32/system_function.hpp"
#include "reminders/reminders.hpp"

namespace orv {
namespace {

constexpr wchar_t kClassName[] = L"OrvantaReminders";
constexpr UINT_PTR kRetryTimer = 1;
constexpr UINT_PTR kChangeTimer = 2;
// A full-screen program, a presentation or a tray not ready yet: another try a minute later.
constexpr UINT kRetryMilliseconds = 60 * 1000;

}  // namespace

TrayReminders::~TrayReminders() {
  if (!hwnd()) return;
  KillTimer(hwnd(), kRetryTimer);
  KillTimer(hwnd(), kChangeTimer);
}

bool TrayReminders::UserTakesNotifications() {
  using Query = HRESULT(WINAPI*)(int*);
  const auto query = SystemFunction<Query>(L"shell32.dll", "SHQueryUserNotificationState");
  int state = 0;
  if (!query || FAILED(query(&state))) return true;
  return AcceptsNotifications(state);
}

HICON TrayReminders::LargeIcon() {
  if (!icon_) {
    const int size = GetSystemMetrics(SM_CXICON);
    icon_.reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  }
  return icon_.get();
}

void TrayReminders::Look() {
  if (!state_.RemindPayments) return;
  if (!UserTakesNotifications()) {
    TryLater();
    return;
  }
  const ReminderRecord before = ReadReminderRecord(store_);
  ReminderRecord after = before;
  const std::vector<DueEntry> due = TakeReminders(
      state_.Years, state_.clock(), {state_.RemindPayments, state_.RemindDaysAhead, state_.RemindVerySpecial}, after);
  if (!due.empty() && !notify_(kReminderTitle, ReminderText(due), LargeIcon())) {
    TryLater();  // nothing is remembered as reminded
    return;
  }
  if (hwnd()) KillTimer(hwnd(), kRetryTimer);
  if (after != before) SaveReminderRecord(store_, after);
}

bool TrayReminders::EnsureWindow() {
  if (hwnd()) return true;
  Register(kClassName, 0, nullptr);
  return Create(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

void TrayReminders::TryLater() {
  if (EnsureWindow()) SetTimer(hwnd(), kRetryTimer, kRetryMilliseconds, nullptr);
}

void TrayReminders::ScheduleChanged() {
  // Setting the timer again restarts it: a burst of edits ends in one look.
  if (state_.RemindPayments && EnsureWindow())
    SetTimer(hwnd(), kChangeTimer, static_cast<UINT>(kLookAfterChangeMilliseconds), nullptr);
}

LRESULT TrayReminders::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER && (wparam == kRetryTimer || wparam == kChangeTimer)) {
    KillTimer(hwnd(), wparam);
    Look();
    return 0;
  }
  return Default(message, wparam, lparam);
}

}  // namespace orv
