#include "calendar/win32/calendar_window.hpp"

#include <commctrl.h>
#include <windowsx.h>

#include "desktop/win32/wheel_hook.hpp"
#include "platform/win32/gdi_canvas.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

constexpr wchar_t kClassName[] = L"OrvantaCalendar";
constexpr UINT_PTR kScrollSubclass = 1;

CalendarKey KeyOf(WPARAM vk) {
  switch (vk) {
    case 'D': return CalendarKey::D;
    case 'E': return CalendarKey::E;
    case 'N': return CalendarKey::N;
    case VK_APPS: return CalendarKey::Apps;
    default: return CalendarKey::Other;
  }
}

KeyModifiers CurrentModifiers() {
  return {GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
}

const Hotspot kTools[] = {Hotspot::WeekBack, Hotspot::WeekForward, Hotspot::ExtraMode, Hotspot::ModeChange};

}  // namespace

CalendarWindow::CalendarWindow(AppState& state, CalendarRenderer& renderer, DayDialogs& dialogs, Menus menus)
    : state_(state), controller_(state, renderer, *this, dialogs), menus_(std::move(menus)) {
  cursors_[0] = MakeCursor(CursorShape::ArrowUp);
  cursors_[1] = MakeCursor(CursorShape::ArrowDown);
  cursors_[2] = MakeCursor(CursorShape::Pointer);
  cursors_[3] = MakeCursor(CursorShape::NarrowBar);
  cursors_[4] = MakeCursor(CursorShape::WidenBar);
}

CalendarWindow::~CalendarWindow() { Unload(); }

bool CalendarWindow::Load() {
  Register(kClassName, CS_DBLCLKS, nullptr);
  parent_ = FindWindowW(L"Progman", L"Program Manager");
  // Under the desktop's window the calendar stays behind all normal windows by nature;
  // without one, a frameless tool window held at the bottom of the z-order does the same.
  const DWORD style = (parent_ ? WS_CHILD : WS_POPUP) | WS_CLIPCHILDREN;
  const DWORD ex_style = parent_ ? 0 : WS_EX_TOOLWINDOW;
  if (!Create(ex_style, kClassName, L"Orvanta", style, 0, 0, 1, 1, parent_)) return false;
  vscroll_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 1, 0, 16, 64,
                             hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, kScrollMin, kScrollMax, 0, 0, 0};
  SetScrollInfo(vscroll_, SB_CTL, &si, FALSE);
  SetWindowSubclass(vscroll_, ScrollBarProc, kScrollSubclass, reinterpret_cast<DWORD_PTR>(this));

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  for (Hotspot h : kTools) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = static_cast<UINT_PTR>(h);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  if (state_.MicrosoftWheelMouse) {
    state_.WheelMessageId = RegisterWheelMessage();
    HookWheel();
  }
  return true;
}

void CalendarWindow::HookWheel() {
  HWND bar = vscroll_;
  HookCalendarWheel(hwnd(), WheelTarget{
      [bar] { return GetScrollPos(bar, SB_CTL); },
      [this, bar](int v) {
        SetScrollPos(bar, SB_CTL, v, TRUE);
        controller_.OnScrollValue(v);
      },
      [] { return kScrollMin; }, [] { return kScrollMax; }});
}

void CalendarWindow::Unload() {
  if (!hwnd()) return;
  if (state_.MicrosoftWheelMouse) UnhookCalendarWheel();
  if (vscroll_) RemoveWindowSubclass(vscroll_, ScrollBarProc, kScrollSubclass);
  Destroy();
  vscroll_ = nullptr;
  tooltip_ = nullptr;
}

void CalendarWindow::Show() {
  if (!parent_) SetWindowPos(hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd());
}

void CalendarWindow::Focus() {
  if (!hwnd()) return;
  if (!parent_) SetForegroundWindow(hwnd());
  SetFocus(vscroll_);  // errors (the window cannot take the focus) are of no concern
}

int CalendarWindow::WindowTop() {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.top;
}

int CalendarWindow::WindowWidth() {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.right - r.left;
}

ScreenFacts CalendarWindow::Screen() {
  HDC screen = GetDC(nullptr);
  const int dx = GetDeviceCaps(screen, LOGPIXELSX), dy = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dx > 0 ? 1440 / dx : 15,
          dy > 0 ? 1440 / dy : 15};
}

void CalendarWindow::Present(const Canvas& picture, bool placement_changed) {
  picture_ = &picture;
  if (placement_changed) {
    const PixelRect place = PlaceCalendar(state_.WorkArea, picture.Width());
    POINT origin{place.left, place.top};
    if (parent_) ScreenToClient(parent_, &origin);
    SetWindowPos(hwnd(), parent_ ? nullptr : HWND_BOTTOM, origin.x, origin.y, place.Width(), place.Height(),
                 SWP_NOACTIVATE | (parent_ ? SWP_NOZORDER : 0));
    // The scroll bar stands just right of the picture: inside the window's tree, never seen.
    SetWindowPos(vscroll_, nullptr, place.Width(), 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateTooltips();
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

void CalendarWindow::ResetScrollValue() { SetScrollPos(vscroll_, SB_CTL, 0, TRUE); }

void CalendarWindow::UpdateTooltips() {
  const HotspotRects& r = controller_.Hotspots();
  for (Hotspot h : kTools) {
    const PixelRect& p = h == Hotspot::WeekBack      ? r.WeekBack
                         : h == Hotspot::WeekForward ? r.WeekForward
                         : h == Hotspot::ExtraMode   ? r.ExtraMode
                                                     : r.ModeChange;
    std::wstring text = Utf8ToWide(HotspotTooltip(h, state_.CalendarMode));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd();
    tool.uId = static_cast<UINT_PTR>(h);
    tool.rect = RECT{p.left, p.top, p.right, p.bottom};
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = text.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

HCURSOR CalendarWindow::CursorFor(Hotspot hotspot) const {
  switch (hotspot) {
    case Hotspot::WeekBack: return cursors_[0].get();
    case Hotspot::WeekForward: return cursors_[1].get();
    case Hotspot::ExtraMode: return cursors_[2].get();
    case Hotspot::ModeChange: return state_.CalendarMode != kShowNothing ? cursors_[3].get() : cursors_[4].get();
    case Hotspot::None: break;
  }
  return LoadCursorW(nullptr, IDC_ARROW);
}

void CalendarWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (auto* gdi = dynamic_cast<const GdiCanvas*>(picture_)) {
    BitBlt(dc, 0, 0, gdi->Width(), gdi->Height(), gdi->dc(), 0, 0, SRCCOPY);
  }
  EndPaint(hwnd(), &ps);
}

void CalendarWindow::MouseDown(MouseButton button, LPARAM lparam, bool double_click) {
  const int x = GET_X_LPARAM(lparam), y = GET_Y_LPARAM(lparam);
  Focus();
  const Hotspot hotspot = HotspotAt(controller_.Hotspots(), x, y);
  if (hotspot != Hotspot::None) {
    controller_.OnHotspot(hotspot, button);
    return;
  }
  controller_.OnPictureMouseDown(button, x, y);
  if (double_click) controller_.OnPictureDoubleClick();
}

LRESULT CalendarWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFOCUS:
      if (vscroll_) SetFocus(vscroll_);
      return 0;
    case WM_MOUSEACTIVATE: return MA_ACTIVATE;
    case WM_WINDOWPOSCHANGING:
      // Never above other windows, even when activated.
      if (!parent_) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
        pos->hwndInsertAfter = HWND_BOTTOM;
        pos->flags &= ~static_cast<UINT>(SWP_NOZORDER);
      }
      return 0;
    case WM_VSCROLL: {
      int value = GetScrollPos(vscroll_, SB_CTL);
      switch (LOWORD(wparam)) {
        case SB_LINEUP: value = ScrollValueFor(ScrollRequest::LineUp, value); break;
        case SB_LINEDOWN: value = ScrollValueFor(ScrollRequest::LineDown, value); break;
        case SB_PAGEUP: value = ScrollValueFor(ScrollRequest::PageUp, value); break;
        case SB_PAGEDOWN: value = ScrollValueFor(ScrollRequest::PageDown, value); break;
        case SB_TOP: value = ScrollValueFor(ScrollRequest::Top, value); break;
        case SB_BOTTOM: value = ScrollValueFor(ScrollRequest::Bottom, value); break;
        default: return 0;
      }
      SetScrollPos(vscroll_, SB_CTL, value, TRUE);
      controller_.OnScrollValue(value);
      return 0;
    }
    case WM_KEYDOWN:
      if (controller_.OnKey(KeyOf(wparam), CurrentModifiers())) return 0;
      break;
    case WM_LBUTTONDOWN: MouseDown(MouseButton::Left, lparam, false); return 0;
    case WM_LBUTTONDBLCLK: MouseDown(MouseButton::Left, lparam, true); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(MouseButton::Right, lparam, false); return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(MouseButton::Middle, lparam, false); return 0;
    case WM_CONTEXTMENU: return 0;  // the context-menu key is handled on key down
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        SetCursor(CursorFor(HotspotAt(controller_.Hotspots(), p.x, p.y)));
        return TRUE;
      }
      break;
    default: break;
  }
  return Default(message, wparam, lparam);
}

LRESULT CALLBACK CalendarWindow::ScrollBarProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                               UINT_PTR, DWORD_PTR data) {
  // The window sees keys before the focused scroll bar.
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
    try {
      auto* self = reinterpret_cast<CalendarWindow*>(data);
      if (self->controller_.OnKey(KeyOf(wparam), CurrentModifiers())) return 0;
    } catch (...) {
      return 0;
    }
  }
  if (message == WM_CHAR && wparam < 0x20) return 0;  // Ctrl+letters: no beep
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace orv
