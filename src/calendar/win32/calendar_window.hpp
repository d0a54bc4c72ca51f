#pragma once
// frmCalendar: the frameless calendar strip on the desktop. It lives as a child of the
// shell's desktop window that DesktopAttachment picks, in front of the icon view (layered
// where the parent has no surface of its own); where there is no shell it is a frameless
// tool window behind every normal window. When the shell restarts or rearranges its windows
// the calendar is created anew at its new place, in the same state. A hidden scroll bar holds
// the keyboard focus and turns keys (and the wheel, through hook slot 1) into day steps; the
// window itself only translates messages into CalendarController calls.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <optional>
#include <vector>

#include "calendar/calendar_interaction.hpp"
#include "desktop/desktop_attachment.hpp"
#include "desktop/win32/program_icons.hpp"
#include "platform/win32/accessible.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/window_base.hpp"

namespace orv {

// Screen readers see the calendar as a list of the days it shows, each named with its entries,
// followed by its hotspots as buttons.
class CalendarWindow : public WindowBase, private CalendarWindowView, private AccessibleSource {
public:
  struct Menus {
    std::function<void()> open_scroll;  // Pmenu_Scroll at the mouse position
    std::function<void()> open_extra;   // check marks, then Pmenu_Extra
    // The window went without being asked, or the system reported a change of the desktop's
    // windows: look again soon.
    std::function<void()> lost;
  };
  CalendarWindow(AppState& state, CalendarRenderer& renderer, DayDialogs& dialogs, Menus menus);
  ~CalendarWindow() override;

  // The window's load: creation (hidden) at its place on the desktop, wheel hook slot 1.
  bool Load();
  // The window's unload: hook slot 1 removed before the window goes away.
  void Unload();
  void Show();
  void Focus();
  // Wheel hook slot 1 on this window; the options dialog switches it at run time.
  void HookWheel();
  // Looks at the desktop and, when the calendar is not where it belongs (or gone), puts it
  // there; returns when to look again by itself (nothing: when the system reports a change).
  std::optional<std::chrono::milliseconds> KeepOnDesktop();

  CalendarController& Controller() { return controller_; }
  const CalendarPlace& Place() const { return place_; }
  HWND ScrollBar() const { return vscroll_; }

private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  static LRESULT CALLBACK ScrollBarProc(HWND, UINT, WPARAM, LPARAM);

  // CalendarWindowView
  void Present(const Canvas& picture, bool placement_changed) override;
  void ResetScrollValue() override;
  void OpenScrollMenu() override { menus_.open_scroll(); }
  void OpenExtraMenu() override { menus_.open_extra(); }
  void TakeFocus() override { Focus(); }
  int WindowTop() override;
  int WindowWidth() override;
  ScreenFacts Screen() override;

  // The window and its parts at `place`; the old window, if any, goes first.
  bool AttachTo(const CalendarPlace& place);
  void CreateParts();
  // Takes down what lives outside the window's own tree before the window goes.
  void ReleaseParts();
  void Restack();
  // Where a window of its own is inserted in the z-order (HWND_TOP is a null handle); none
  // where it stands already.
  std::optional<HWND> InsertAfterForOwnWindow() const;
  // Hooks foreground changes, or drops the hook (only when that changes).
  void HearForeground(bool hear);
  static void CALLBACK DesktopWindowEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD);

  // AccessibleSource: children 1..rows are the days shown, then the four hotspots.
  long AccessibleRole() override { return ROLE_SYSTEM_LIST; }
  long ChildCount() override { return DayRows() + 4; }
  bool DescribeChild(long id, AccessibleChild& out) override;
  long FocusedChild() override { return focused_row_ + 1; }
  long SelectedChild() override;
  bool DoDefaultAction(long id) override;
  int DayRows() const;
  // The keyboard focus is on the calendar: screen readers hear of the day it rests on.
  void AnnounceFocus();
  void ScrollTo(int value);

  void Paint();
  void MouseDown(MouseButton button, LPARAM lparam, bool double_click);
  // False when they cannot be made (then never tried again).
  bool CreateTooltips();
  void UpdateTooltips();
  HCURSOR CursorFor(Hotspot hotspot) const;

  AppState& state_;
  CalendarController controller_;
  Menus menus_;
  DesktopAttachment attachment_;
  CalendarPlace place_;
  bool shown_ = false;     // shown once: a new window is drawn and shown at once
  bool leaving_ = false;   // our own destruction of the window is under way
  bool deciding_ = false;  // KeepOnDesktop runs (it may dispatch messages that ask again)
  // Reports of other programs' windows: created, destroyed, shown, hidden, reordered (one
  // range), given a new parent, brought to the foreground ("Show desktop" moves a window of
  // our own out of place; heard only while the calendar is one).
  WinEventHook object_hook_, parent_hook_, foreground_hook_;
  std::vector<WindowId> desktop_windows_;  // the shell's windows at the last look
  HWND vscroll_ = nullptr;
  WNDPROC scroll_bar_procedure_ = nullptr;  // the scroll bar's own, called after ours
  HWND tooltip_ = nullptr;  // owned by the calendar's top-level ancestor, so destroyed by us
  // The tooltips could not be made (the common controls are missing): not tried again at
  // every mouse move.
  bool tooltips_failed_ = false;
  const Canvas* picture_ = nullptr;  // the last presented picture, owned by the renderer
  CursorHandle cursors_[5];
  CalendarRenderer& renderer_;
  int focused_row_ = 0;  // the day row screen readers are told has the focus
  AccessibleSlot accessible_;  // disconnected whenever the window goes
};

}  // namespace orv
