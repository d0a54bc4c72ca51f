#pragma once
// The one window base class: keeps `this` in GWLP_USERDATA and hands every message to
// OnMessage. Exceptions never leave a window procedure: they end at the boundary and the
// message gets the default handling.
#include <windows.h>

namespace orv {

class WindowBase {
public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase();

  HWND hwnd() const { return hwnd_; }
  void Destroy();

protected:
  // Registers `class_name` once per process with this base's procedure.
  static void Register(const wchar_t* class_name, UINT style, HCURSOR cursor);
  bool Create(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style,
              int x, int y, int width, int height, HWND parent);
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(hwnd_, message, wparam, lparam);
  }

private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

// Loads the common controls library and registers its classes, once. The program loads it
// with the first window that uses a common control (a dialog, the calendar's first tooltip),
// not at start: the calendar's first picture needs none of it. False when the library or a
// function the program takes from it is missing.
bool EnsureCommonControls();

}  // namespace orv
