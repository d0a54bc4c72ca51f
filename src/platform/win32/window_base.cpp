#include "platform/win32/window_base.hpp"

#include <commctrl.h>

#include "platform/win32/delay_load.hpp"

namespace orv {

WindowBase::~WindowBase() { Destroy(); }

void WindowBase::Destroy() {
  if (hwnd_) {
    HWND h = hwnd_;
    DestroyWindow(h);  // WM_NCDESTROY clears hwnd_
    hwnd_ = nullptr;
  }
}

void WindowBase::Register(const wchar_t* class_name, UINT style, HCURSOR cursor) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), class_name, &wc)) return;
  wc.style = style;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = class_name;
  RegisterClassExW(&wc);
}

bool WindowBase::Create(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style,
                        int x, int y, int width, int height, HWND parent) {
  return CreateWindowExW(ex_style, class_name, title, style, x, y, width, height, parent, nullptr,
                         GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT WindowBase::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return Default(message, wparam, lparam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* self = static_cast<WindowBase*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  LRESULT result = 0;
  try {
    result = self->OnMessage(message, wparam, lparam);
  } catch (...) {
    result = DefWindowProcW(hwnd, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

bool EnsureCommonControls() {
  static bool registered = false;
  if (registered) return true;
  if (!DelayLoadedLibraryUsable("comctl32.dll")) return false;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  registered = InitCommonControlsEx(&controls) != FALSE;
  return registered;
}

}  // namespace orv
