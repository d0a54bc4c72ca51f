#pragma once
// Wheel hook slots 1 (calendar window) and 2 (add-entry dialog): each replaces its window's
// procedure with one that turns wheel messages into a new value of the window's target (the
// calendar's scroll bar, the dialog's list selection), then passes every message on to the
// procedure it replaced. The slots are the one place the platform forces global state on us.
#include <windows.h>

#include <functional>

#include "core/app_state.hpp"

namespace orv {

// What one wheel message moves. SetValue runs the target's change handling.
struct WheelTarget {
  std::function<int()> Value;
  std::function<void(int)> SetValue;
  std::function<int()> Low;   // clamps first
  std::function<int()> High;  // then this
};

// The option values the procedures read (MicrosoftWheelMouseChange, WheelMessageId); set
// once by the program before any slot is installed.
void SetWheelState(const AppState* state);
// Registers "MSWHEEL_ROLLMSG" and returns its id.
std::int32_t RegisterWheelMessage();

// Install does nothing when the slot is in use; a window procedure that cannot be replaced
// leaves the slot free. Remove puts the previous procedure back; on a free slot it does
// nothing.
void HookCalendarWheel(HWND window, WheelTarget target);
void UnhookCalendarWheel();
void HookAddDialogWheel(HWND window, WheelTarget target);
void UnhookAddDialogWheel();
bool CalendarWheelHooked();

}  // namespace orv
