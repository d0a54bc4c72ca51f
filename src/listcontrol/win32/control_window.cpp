#include "listcontrol/win32/control_window.hpp"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>

#include "listcontrol/win32/module.hpp"
#include "platform/accessible_text.hpp"
#include "platform/win32/wide.hpp"

namespace orv::pickvane {
namespace {

constexpr const wchar_t* kControlClass = L"KestrovePickvaneControl";
constexpr const wchar_t* kContainerClass = L"KestrovePickvaneContainer";
constexpr const wchar_t* kCanvasClass = L"KestrovePickvaneCanvas";

// Window classes belong to the module, which may be unloaded and loaded again: they are
// registered with the first window and removed with the last.
int live_windows = 0;

bool RegisterClasses(WNDPROC proc) {
  if (live_windows++ > 0) return true;
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  struct Class {
    const wchar_t* name;
    UINT style;
    HBRUSH background;
  };
  const Class classes[] = {
      {kControlClass, CS_DBLCLKS, nullptr},
      {kContainerClass, 0, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))},
      {kCanvasClass, CS_DBLCLKS, nullptr},
  };
  for (const auto& c : classes) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = c.style;
    wc.lpfnWndProc = proc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = c.background;
    wc.lpszClassName = c.name;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  }
  return true;
}

void UnregisterClasses() {
  if (--live_windows > 0) return;
  for (const wchar_t* name : {kControlClass, kContainerClass, kCanvasClass}) UnregisterClassW(name, ModuleInstance());
}

int ToInt(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN / 2, INT_MAX / 2)); }

}  // namespace

std::unique_ptr<ControlWindow> ControlWindow::Create(ControlWindowArgs args) {
  std::unique_ptr<ControlWindow> window(new ControlWindow(std::move(args)));
  if (!window->control_ || !window->container_ || !window->canvas_window_ || !window->scroll_bar_) return nullptr;
  return window;
}

ControlWindow::ControlWindow(ControlWindowArgs args)
    : args_(std::move(args)), accessible_(kModuleObjects) {
  // The destructor balances this, whether or not the classes could be registered.
  if (!RegisterClasses(&ControlWindow::Proc)) return;
  const RECT& p = args_.place;
  control_ = CreateWindowExW(0, kControlClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, p.left, p.top,
                             p.right - p.left, p.bottom - p.top, args_.parent, nullptr, ModuleInstance(), this);
  if (!control_) return;
  container_ = CreateWindowExW(0, kContainerClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, control_,
                               nullptr, ModuleInstance(), this);
  if (!container_) return;
  canvas_window_ = CreateWindowExW(0, kCanvasClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, container_, nullptr,
                                   ModuleInstance(), this);
  scroll_bar_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0, container_,
                                nullptr, ModuleInstance(), nullptr);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control_, nullptr,
                             ModuleInstance(), nullptr);
  if (tooltip_ && canvas_window_) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = container_;
    tool.uId = reinterpret_cast<UINT_PTR>(canvas_window_);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  RECT client{};
  GetClientRect(control_, &client);
  args_.model->SetHighContrast(HighContrastOn());
  args_.model->Resize(client.right, client.bottom, GetSystemMetrics(SM_CXVSCROLL));
  announced_selected_ = args_.model->Selected();
  announced_count_ = args_.model->Items().Count();
  ShowState();
}

ControlWindow::~ControlWindow() {
  accessible_.Disconnect();
  if (control_) {
    SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
    DestroyWindow(control_);  // children and the owned tooltip go with it
  }
  UnregisterClasses();
}

void ControlWindow::Move(const RECT& place) {
  if (control_) {
    MoveWindow(control_, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
  }
}

void ControlWindow::ShowState() {
  if (!control_) return;
  const PickvaneModel& model = *args_.model;
  const PixelRect& c = model.Layout().container;
  SetWindowPos(container_, nullptr, c.left, c.top, std::max(0, c.Width()), std::max(0, c.Height()),
               SWP_NOZORDER | SWP_NOACTIVATE);
  const ScrollFigures& s = model.Scroll();
  SetWindowPos(scroll_bar_, nullptr, s.bar.left, s.bar.top, std::max(0, s.bar.Width()), std::max(0, s.bar.Height()),
               SWP_NOZORDER | SWP_NOACTIVATE);
  // Win32 scroll bars count the thumb into the range: positions run 0..nMax - nPage + 1.
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nPage = static_cast<UINT>(ToInt(s.large_change));
  info.nMin = 0;
  info.nMax = ToInt(s.max + s.large_change - 1);
  info.nPos = ToInt(model.ScrollValue());
  SetScrollInfo(scroll_bar_, SB_CTL, &info, TRUE);
  EnableWindow(scroll_bar_, s.enabled);
  SetWindowPos(canvas_window_, nullptr, 0, model.CanvasWindowTop(), args_.canvas->Width(), args_.canvas->Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  const bool moved = model.CanvasWindowTop() != shown_top_;
  shown_top_ = model.CanvasWindowTop();
  const bool redrawn = model.DrawCount() != shown_draw_;
  if (redrawn) {
    shown_draw_ = model.DrawCount();
    InvalidateRect(canvas_window_, nullptr, FALSE);
  }
  if (redrawn || moved) FollowTooltip();
  InvalidateRect(control_, nullptr, FALSE);
  AnnounceChanges();
}

void ControlWindow::AnnounceChanges() {
  const std::int64_t count = args_.model->Items().Count();
  const std::int64_t selected = args_.model->Selected();
  if (count != announced_count_) {
    announced_count_ = count;
    NotifyAccessibleEvent(control_, EVENT_OBJECT_REORDER, CHILDID_SELF);
  }
  if (selected == announced_selected_) return;
  const std::int64_t before = std::exchange(announced_selected_, selected);
  auto in_range = [count](std::int64_t row) { return row >= 1 && row <= count && row <= LONG_MAX; };
  if (in_range(before)) NotifyAccessibleEvent(control_, EVENT_OBJECT_STATECHANGE, static_cast<long>(before));
  if (!in_range(selected)) return;
  const long row = static_cast<long>(selected);
  NotifyAccessibleEvent(control_, EVENT_OBJECT_SELECTION, row);
  NotifyAccessibleEvent(control_, EVENT_OBJECT_STATECHANGE, row);
  // The row that is selected is the one the keys move from: the focus follows it.
  if (GetFocus() == control_) NotifyAccessibleEvent(control_, EVENT_OBJECT_FOCUS, row);
}

long ControlWindow::ChildCount() {
  return static_cast<long>(std::min<std::int64_t>(args_.model->Items().Count(), LONG_MAX));
}

bool ControlWindow::DescribeChild(long id, AccessibleChild& out) {
  const SelectItems& items = args_.model->Items();
  const auto& item = items.At(id);
  if (!item || !canvas_window_) return false;
  out.name = Utf8ToWide(item->Caption);
  out.description = Utf8ToWide(item->Comment);
  out.help = Utf8ToWide(ItemPositionText(id, items.Count()));
  out.role = ROLE_SYSTEM_LISTITEM;
  out.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
  if (id == args_.model->Selected()) {
    out.state |= STATE_SYSTEM_SELECTED;
    if (GetFocus() == control_) out.state |= STATE_SYSTEM_FOCUSED;
  }
  // The row's band on the canvas window, which slides inside the viewport.
  const std::int64_t top = RowTop(id) - args_.model->BandTop();
  RECT row{0, ToInt(top), args_.canvas->Width(), ToInt(top + kRowPitch)};
  RECT viewport{};
  GetClientRect(container_, &viewport);
  MapWindowPoints(container_, canvas_window_, reinterpret_cast<POINT*>(&viewport), 2);
  RECT shown{};
  if (!IntersectRect(&shown, &row, &viewport)) out.state |= STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE;
  MapWindowPoints(canvas_window_, nullptr, reinterpret_cast<POINT*>(&row), 2);
  out.screen = row;
  return true;
}

long ControlWindow::ChildAt(POINT screen) {
  if (!container_ || !canvas_window_) return 0;
  POINT in_view = screen;
  RECT viewport{};
  GetClientRect(container_, &viewport);
  if (!ScreenToClient(container_, &in_view) || !PtInRect(&viewport, in_view)) return 0;
  POINT on_canvas = screen;
  ScreenToClient(canvas_window_, &on_canvas);
  const std::int64_t row = RowAt(args_.model->ListY(on_canvas.y));
  return row >= 1 && row <= ChildCount() ? static_cast<long>(row) : 0;
}

long ControlWindow::SelectedChild() {
  const std::int64_t selected = args_.model->Selected();
  return selected >= 1 && selected <= ChildCount() ? static_cast<long>(selected) : 0;
}

long ControlWindow::FocusedChild() { return GetFocus() == control_ ? SelectedChild() : 0; }

bool ControlWindow::SelectChild(long id, long flags) {
  if (!(flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION))) return false;
  if (flags & SELFLAG_TAKEFOCUS) SetFocus(control_);
  // Selecting from a screen reader is the host setting `Selected`: the row scrolls into view.
  args_.model->SetSelected(id);
  ShowState();
  return true;
}

void ControlWindow::FollowTooltip() {
  // The rows moved or were drawn anew (scroll bar, keys, the host setting the selection from
  // the wheel) while the pointer stood still: a tip on the screen would name the row that
  // was there before. It goes, and its text follows the row now under the pointer, so that
  // it comes back right when the pointer moves again.
  if (!tooltip_ || !canvas_window_) return;
  SendMessageW(tooltip_, TTM_POP, 0, 0);
  POINT at{};
  RECT canvas{};
  if (!GetCursorPos(&at) || !ScreenToClient(canvas_window_, &at) || !GetClientRect(canvas_window_, &canvas)) return;
  if (PtInRect(&canvas, at))
    UpdateTooltip(at.y);
  else
    SetTipText(L"");
}

void ControlWindow::UpdateTooltip(int canvas_y) {
  SetTipText(Utf8ToWide(args_.model->TooltipAt(args_.model->ListY(canvas_y))));
}

void ControlWindow::SetTipText(std::wstring text) {
  if (!tooltip_ || text == tip_text_) return;
  tip_text_ = std::move(text);
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = container_;
  tool.uId = reinterpret_cast<UINT_PTR>(canvas_window_);
  tool.lpszText = tip_text_.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CALLBACK ControlWindow::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  try {
    // The parts are told apart by the window; their handles are stored once creation returns.
    if (message == WM_NCCREATE || message == WM_CREATE) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (hwnd == self->control_) return self->OnControl(message, wparam, lparam);
    if (hwnd == self->container_) return self->OnContainer(message, wparam, lparam);
    if (hwnd == self->canvas_window_) return self->OnCanvas(message, wparam, lparam);
  } catch (...) {
    // Nothing may leave a window procedure; the message counts as handled.
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT ControlWindow::OnControl(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      args_.model->Resize(LOWORD(lparam), HIWORD(lparam), GetSystemMetrics(SM_CXVSCROLL));
      ShowState();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_GETOBJECT: {
      bool handled = false;
      const LRESULT result = accessible_.Answer(control_, wparam, lparam, *this, handled);
      return handled ? result : DefWindowProcW(control_, message, wparam, lparam);
    }
    case WM_SETFOCUS: {
      // The system reports the control; the row a screen reader should read is the selected one.
      const long row = SelectedChild();
      if (row) NotifyAccessibleEvent(control_, EVENT_OBJECT_FOCUS, row);
      return 0;
    }
    case WM_KEYDOWN:
      args_.model->KeyDown(static_cast<int>(wparam));
      ShowState();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(control_, &ps);
      RECT client{};
      GetClientRect(control_, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      const PixelRect& o = args_.model->Layout().outline;
      const RECT outline{o.left, o.top, o.right, o.bottom};
      FrameRect(dc, &outline, GetSysColorBrush(COLOR_BTNSHADOW));
      EndPaint(control_, &ps);
      return 0;
    }
    case WM_NCDESTROY: {
      // The host destroyed its window with ours inside: forget the handles.
      accessible_.Disconnect();
      HWND hwnd = control_;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      control_ = container_ = canvas_window_ = scroll_bar_ = tooltip_ = nullptr;
      return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    default:
      return DefWindowProcW(control_, message, wparam, lparam);
  }
}

LRESULT ControlWindow::OnContainer(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) {
    // Below the last row: the rows' own back colour, white or the system's window colour.
    RECT r{};
    GetClientRect(container_, &r);
    const Rgb back = args_.model->Colors().back;
    BrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(back)));
    FillRect(reinterpret_cast<HDC>(wparam), &r, brush.get());
    return 1;
  }
  if (message != WM_VSCROLL) return DefWindowProcW(container_, message, wparam, lparam);
  PickvaneModel& model = *args_.model;
  const ScrollFigures& s = model.Scroll();
  std::int64_t value = model.ScrollValue();
  switch (LOWORD(wparam)) {
    case SB_LINEUP: value -= s.small_change; break;
    case SB_LINEDOWN: value += s.small_change; break;
    case SB_PAGEUP: value -= s.large_change; break;
    case SB_PAGEDOWN: value += s.large_change; break;
    case SB_TOP: value = 0; break;
    case SB_BOTTOM: value = s.max; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(scroll_bar_, SB_CTL, &info)) value = info.nTrackPos;
      break;
    }
    default: return 0;
  }
  model.SetScrollValue(value);
  ShowState();
  return 0;
}

LRESULT ControlWindow::OnCanvas(UINT message, WPARAM wparam, LPARAM lparam) {
  const int y = GET_Y_LPARAM(lparam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetFocus(control_);
      left_down_ = message == WM_LBUTTONDOWN;
      args_.model->MouseDown(args_.model->ListY(y));
      ShowState();
      return 0;
    case WM_LBUTTONUP:
      if (left_down_) {
        left_down_ = false;
        if (args_.on_click) args_.on_click();  // may destroy this window: touch nothing after
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      left_down_ = false;
      if (args_.on_dblclick) args_.on_dblclick();
      return 0;
    case WM_MOUSEMOVE:
      UpdateTooltip(y);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      // High Contrast may have come or gone: child windows hear of it only by asking.
      if (args_.model->HighContrast() != HighContrastOn()) {
        args_.model->SetHighContrast(!args_.model->HighContrast());
        ShowState();
        InvalidateRect(container_, nullptr, TRUE);
      }
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(canvas_window_, &ps);
      const RECT& r = ps.rcPaint;
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, args_.canvas->dc(), r.left, r.top, SRCCOPY);
      EndPaint(canvas_window_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      BitBlt(reinterpret_cast<HDC>(wparam), 0, 0, args_.canvas->Width(), args_.canvas->Height(), args_.canvas->dc(), 0,
             0, SRCCOPY);
      return 0;
    default:
      return DefWindowProcW(canvas_window_, message, wparam, lparam);
  }
}

}  // namespace orv::pickvane
