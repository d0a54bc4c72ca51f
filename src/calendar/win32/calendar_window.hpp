#pragma once
// frmCalendar: the frameless calendar strip on the desktop. It lives as a child of the
// desktop's "Progman" window; where there is none it is a frameless tool window kept at
// the bottom of the z-order. A hidden scroll bar holds the keyboard focus and turns keys
// (and the wheel, through hook slot 1) into day steps; the window itself only translates
// messages into CalendarController calls.
#include <windows.h>

#include <functional>

#include "calendar/calendar_interaction.hpp"
#include "desktop/win32/program_icons.hpp"
#include "platform/win32/window_base.hpp"

namespace orv {

class CalendarWindow : public WindowBase, private CalendarWindowView {
public:
  struct Menus {
    std::function<void()> open_scroll;  // Pmenu_Scroll at the mouse position
    std::function<void()> open_extra;   // check marks, then Pmenu_Extra
  };
  CalendarWindow(AppState& state, CalendarRenderer& renderer, DayDialogs& dialogs, Menus menus);
  ~CalendarWindow() override;

  // The window's load: creation (hidden), re-parenting, wheel hook slot 1.
  bool Load();
  // The window's unload: hook slot 1 removed before the window goes away.
  void Unload();
  void Show();
  void Focus();
  // Wheel hook slot 1 on this window; the options dialog switches it at run time.
  void HookWheel();

  CalendarController& Controller() { return controller_; }
  bool UnderProgman() const { return parent_ != nullptr; }
  HWND ScrollBar() const { return vscroll_; }

private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  static LRESULT CALLBACK ScrollBarProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  // CalendarWindowView
  void Present(const Canvas& picture, bool placement_changed) override;
  void ResetScrollValue() override;
  void OpenScrollMenu() override { menus_.open_scroll(); }
  void OpenExtraMenu() override { menus_.open_extra(); }
  int WindowTop() override;
  int WindowWidth() override;
  ScreenFacts Screen() override;

  void Paint();
  void MouseDown(MouseButton button, LPARAM lparam, bool double_click);
  void UpdateTooltips();
  HCURSOR CursorFor(Hotspot hotspot) const;

  AppState& state_;
  CalendarController controller_;
  Menus menus_;
  HWND parent_ = nullptr;  // the "Progman" window, or none
  HWND vscroll_ = nullptr;
  HWND tooltip_ = nullptr;
  const Canvas* picture_ = nullptr;  // the last presented picture, owned by the renderer
  CursorHandle cursors_[5];
};

}  // namespace orv
