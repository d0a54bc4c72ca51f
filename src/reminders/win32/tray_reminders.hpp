#pragma once
// The reminders as the user meets them: one notification from the tray icon of what is due,
// at start, after a date change, a wake from sleep or an unlock, and right after the schedule
// changed (debounced: one look after a burst of edits). Outside the user's quiet
// time only; what could not be shown is tried again a little later, and only what was shown
// is remembered as reminded.
#include <windows.h>

#include <functional>
#include <string_view>

#include "core/app_state.hpp"
#include "platform/settings_store.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/window_base.hpp"

namespace orv {

class TrayReminders : public WindowBase {
public:
  // Shows a notification from the tray icon; false when it could not.
  using Notify = std::function<bool(std::string_view title, std::string_view text, HICON icon)>;
  TrayReminders(AppState& state, SettingsStore& store, Notify notify)
      : state_(state), store_(store), notify_(std::move(notify)) {}
  ~TrayReminders() override;

  // Gathers what is due and not yet reminded into one notification.
  void Look();
  // The schedule changed: a look a moment after the last change of a burst.
  void ScheduleChanged();

private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void TryLater();
  bool EnsureWindow();
  static bool UserTakesNotifications();
  HICON LargeIcon();

  AppState& state_;
  SettingsStore& store_;
  Notify notify_;
  IconHandle icon_;  // the program's icon at the large notification size
};

}  // namespace orv
