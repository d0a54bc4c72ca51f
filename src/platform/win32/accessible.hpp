#pragma once
// What a window we paint ourselves tells a screen reader: an IAccessible for its client area
// whose own answers (parent, place, focus state, keyboard shortcut) come from the system's
// standard object for the window, and whose children -- rows, days, hotspots -- the window
// describes through AccessibleSource.
//
// MSAA rather than a UI Automation provider: screen readers reach both through it (UI
// Automation clients through the system's MSAA proxy), it needs no more than oleacc, which
// Wine has, and the standard object gives the window's own part for free.
//
// Lifetime: the window owns an AccessibleSlot; the slot hands out one COM object that clients
// may keep as long as they like. When the window goes, the slot disconnects the object: from
// then on every method answers CO_E_OBJNOTCONNECTED and the object no longer touches the
// window. oleacc is loaded on the first request, so a program that is never asked loads
// nothing.
#include <windows.h>
#include <oleacc.h>

#include <string>

#include "platform/win32/com_object.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

struct AccessibleChild {
  std::wstring name, description, help, default_action;
  long role = ROLE_SYSTEM_LISTITEM;
  long state = 0;
  RECT screen{};  // screen pixels; empty when the child is not shown
};

// A window's description of itself. Child ids run 1..ChildCount(); 0 is the window itself.
class AccessibleSource {
public:
  virtual ~AccessibleSource() = default;
  virtual long AccessibleRole() = 0;
  // The window's name; empty lets the standard object name it (from its text).
  virtual std::wstring AccessibleName() { return {}; }
  virtual long ChildCount() = 0;
  // False when there is no such child (any more).
  virtual bool DescribeChild(long id, AccessibleChild& out) = 0;
  // The child under a screen point, 0 for none. By default the first whose rectangle holds it.
  virtual long ChildAt(POINT screen);
  // The child that has the keyboard focus while the window has it; 0 for the window itself.
  virtual long FocusedChild() { return 0; }
  virtual long SelectedChild() { return 0; }
  virtual bool SelectChild(long /*id*/, long /*flags*/) { return false; }
  virtual bool DoDefaultAction(long /*id*/) { return false; }
};

class WindowAccessible;

// The window's hold on its accessible object.
class AccessibleSlot {
public:
  // `count` lets a library count the object among its live ones (so it is not unloaded while
  // a client holds it).
  explicit AccessibleSlot(LiveObjectCount count = {}) : count_(count) {}
  ~AccessibleSlot() { Disconnect(); }
  AccessibleSlot(const AccessibleSlot&) = delete;
  AccessibleSlot& operator=(const AccessibleSlot&) = delete;

  // The answer to WM_GETOBJECT for `window`, or nothing (`handled` false) when the request is
  // not for the client area or cannot be met; then the window passes the message on.
  LRESULT Answer(HWND window, WPARAM wparam, LPARAM lparam, AccessibleSource& source, bool& handled);
  // The window is going: clients holding the object get CO_E_OBJNOTCONNECTED from now on.
  void Disconnect();

private:
  LiveObjectCount count_;
  WindowAccessible* object_ = nullptr;  // one reference, ours
};

// Tells listening screen readers about a change of `child` (0 = the window itself) of
// `window`'s client area.
void NotifyAccessibleEvent(HWND window, DWORD event, long child);

// The label a dialog gives `control`: the static text or group box just before it in the tab
// order (mnemonic markers removed), or else the control's own window text.
std::wstring LabelOf(HWND control);

// High Contrast is on: windows that pick their own colours use the system's instead.
bool HighContrastOn();

// A report list view with a check box per row answers screen readers with rows that are
// check boxes, named by their text, checked or not. Lasts as long as the list.
void DescribeCheckList(HWND list_view);

}  // namespace orv
