#include "desktop/win32/wheel_hook.hpp"

#include "desktop/wheel.hpp"

namespace orv {
namespace {

struct HookSlot {
  WNDPROC previous = nullptr;  // nullptr: the slot is free
  HWND window = nullptr;
  WheelTarget target;
};

const AppState* g_state = nullptr;
HookSlot g_calendar;
HookSlot g_add_dialog;

LRESULT HandleWheel(HookSlot& slot, WheelSlot which, HWND hwnd, UINT message, WPARAM wparam,
                    LPARAM lparam) {
  WNDPROC previous = slot.previous;
  try {
    const unsigned registered = g_state ? static_cast<unsigned>(g_state->WheelMessageId) : 0u;
    if (auto rotation = WheelRotation(message, wparam, registered); rotation && g_state &&
                                                                    slot.target.Value) {
      const int step = WheelStep(which, g_state->MicrosoftWheelMouseChange);
      const int v = WheelValue(slot.target.Value(), *rotation, step, slot.target.Low(),
                               slot.target.High());
      slot.target.SetValue(v);
    }
  } catch (...) {
    // The message still goes on below.
  }
  return previous ? CallWindowProcW(previous, hwnd, message, wparam, lparam)
                  : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK CalendarWheelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return HandleWheel(g_calendar, WheelSlot::Calendar, hwnd, message, wparam, lparam);
}

LRESULT CALLBACK AddDialogWheelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return HandleWheel(g_add_dialog, WheelSlot::AddDialog, hwnd, message, wparam, lparam);
}

void Install(HookSlot& slot, WNDPROC procedure, HWND window, WheelTarget target) {
  if (slot.previous) return;
  slot.target = std::move(target);
  auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
  slot.previous = previous;
  if (previous) slot.window = window;
}

void Remove(HookSlot& slot) {
  if (!slot.previous) return;
  SetWindowLongPtrW(slot.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(slot.previous));
  slot.previous = nullptr;
  slot.target = {};
}

}  // namespace

void SetWheelState(const AppState* state) { g_state = state; }

std::int32_t RegisterWheelMessage() {
  return static_cast<std::int32_t>(RegisterWindowMessageW(L"MSWHEEL_ROLLMSG"));
}

void HookCalendarWheel(HWND window, WheelTarget target) {
  Install(g_calendar, CalendarWheelProc, window, std::move(target));
}
void UnhookCalendarWheel() { Remove(g_calendar); }
void HookAddDialogWheel(HWND window, WheelTarget target) {
  Install(g_add_dialog, AddDialogWheelProc, window, std::move(target));
}
void UnhookAddDialogWheel() { Remove(g_add_dialog); }
bool CalendarWheelHooked() { return g_calendar.previous != nullptr; }

}  // namespace orv
