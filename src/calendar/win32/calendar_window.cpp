#include "calendar/win32/calendar_window.hpp"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "calendar/day_names.hpp"
#include "desktop/win32/desktop_snapshot.hpp"
#include "desktop/win32/wheel_hook.hpp"
#include "holidays/japanese_holidays.hpp"
#include "platform/win32/display_scale.hpp"
#include "platform/win32/gdi_canvas.hpp"
#include "platform/win32/state_report.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

constexpr wchar_t kClassName[] = L"OrvantaCalendar";

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

// A screen reader asked for a hotspot's or a day's action: it runs from the message loop,
// not inside the reader's call. wParam: the child id.
constexpr UINT kAccessibleAction = WM_APP + 1;

}  // namespace

CalendarWindow::CalendarWindow(AppState& state, CalendarRenderer& renderer, DayDialogs& dialogs, Menus menus)
    : state_(state), controller_(state, renderer, *this, dialogs), menus_(std::move(menus)), renderer_(renderer) {
  cursors_[0] = MakeCursor(CursorShape::ArrowUp);
  cursors_[1] = MakeCursor(CursorShape::ArrowDown);
  cursors_[2] = MakeCursor(CursorShape::Pointer);
  cursors_[3] = MakeCursor(CursorShape::NarrowBar);
  cursors_[4] = MakeCursor(CursorShape::WidenBar);
}

CalendarWindow::~CalendarWindow() { Unload(); }

namespace {
CalendarWindow* g_desktop_watcher = nullptr;  // the one calendar; WinEvent callbacks carry no context
std::chrono::milliseconds SteadyNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}
}  // namespace

bool CalendarWindow::Load() {
  Register(kClassName, CS_DBLCLKS, nullptr);
  KeepOnDesktop();
  g_desktop_watcher = this;
  // Out of context: the reports come as messages to this thread, nothing runs in the shell.
  // Location and name changes (every mouse move reports one) are left out of the ranges.
  constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  object_hook_.reset(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_REORDER, nullptr, DesktopWindowEvent, 0, 0, kFlags));
  parent_hook_.reset(SetWinEventHook(EVENT_OBJECT_PARENTCHANGE, EVENT_OBJECT_PARENTCHANGE, nullptr, DesktopWindowEvent,
                                     0, 0, kFlags));
  HearForeground(!place_.parent);
  return hwnd() != nullptr;
}

void CalendarWindow::HearForeground(bool hear) {
  if (hear == static_cast<bool>(foreground_hook_)) return;
  // Every switch between programs reports a new foreground window: heard only while it can
  // matter, when the calendar is a window of its own ("Show desktop" brings another in front).
  constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  foreground_hook_.reset(hear ? SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                                DesktopWindowEvent, 0, 0, kFlags)
                              : nullptr);
}

std::optional<std::chrono::milliseconds> CalendarWindow::KeepOnDesktop() {
  if (deciding_ || leaving_) return attachment_.NextCheck();
  deciding_ = true;
  struct Done {
    bool& deciding;
    ~Done() { deciding = false; }
  } done{deciding_};
  const DesktopSnapshot snapshot = ReadDesktopSnapshot(hwnd());
  desktop_windows_ = ShellDesktopWindows(snapshot);
  const AttachDecision decision = attachment_.Decide(snapshot, SteadyNow());
  switch (decision.step) {
    case AttachStep::Attach: AttachTo(decision.place); break;
    case AttachStep::Restack:
      place_ = decision.place;
      Restack();
      break;
    case AttachStep::Keep:
    case AttachStep::Wait: break;
  }
  if (object_hook_) HearForeground(!place_.parent);  // once Load has set up the hooks
  return attachment_.NextCheck();
}

bool CalendarWindow::AttachTo(const CalendarPlace& place) {
  ReleaseParts();
  leaving_ = true;
  Destroy();
  leaving_ = false;
  place_ = place;
  HWND parent = HwndOf(place.parent);
  // A day's dialog is open: the calendar takes no input until it closes, as before.
  const DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_CLIPCHILDREN | (state_.DialogShowing ? WS_DISABLED : 0);
  const DWORD ex_style = CalendarExStyle(place);
  if (!Create(ex_style, kClassName, L"Orvanta", style, 0, 0, 1, 1, parent)) return false;
  // Opaque: a layered child needs its attributes before it shows anything.
  if (place.layered) SetLayeredWindowAttributes(hwnd(), 0, 255, LWA_ALPHA);
  CreateParts();
  if (shown_) {
    controller_.dsDrawCalendar();
    Show();
  }
  return true;
}

void CalendarWindow::CreateParts() {
  vscroll_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 1, 0, 16, 64,
                             hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, kScrollMin, kScrollMax, 0, 0, 0};
  SetScrollInfo(vscroll_, SB_CTL, &si, FALSE);
  // Subclassed the plain way, not through the common controls library, which the calendar
  // would otherwise load at start for this alone. The scroll bar is ours and never shown.
  SetWindowLongPtrW(vscroll_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  scroll_bar_procedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(vscroll_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ScrollBarProc)));
  // The tooltips come with the first mouse move over the calendar (see WM_MOUSEMOVE).
  if (state_.MicrosoftWheelMouse) {
    if (!state_.WheelMessageId) state_.WheelMessageId = RegisterWheelMessage();
    HookWheel();
  }
}

void CalendarWindow::ReleaseParts() {
  accessible_.Disconnect();
  // The hook's window procedure is put back before the window goes; the tooltip is owned by
  // the calendar's top-level ancestor (the shell's window when attached), so it would outlive
  // the calendar.
  if (hwnd()) UnhookCalendarWheel();
  if (vscroll_ && scroll_bar_procedure_)
    SetWindowLongPtrW(vscroll_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(scroll_bar_procedure_));
  scroll_bar_procedure_ = nullptr;
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
  vscroll_ = nullptr;
  tooltip_ = nullptr;
}

void CalendarWindow::HookWheel() {
  HWND bar = vscroll_;
  HookCalendarWheel(hwnd(), WheelTarget{
      [bar] { return GetScrollPos(bar, SB_CTL); },
      [this, bar](int v) {
        SetScrollPos(bar, SB_CTL, v, TRUE);
        ScrollTo(v);
      },
      [] { return kScrollMin; }, [] { return kScrollMax; }});
}

void CalendarWindow::Unload() {
  if (g_desktop_watcher == this) g_desktop_watcher = nullptr;
  object_hook_.reset();
  parent_hook_.reset();
  foreground_hook_.reset();
  leaving_ = true;  // for good: nothing attaches it again
  if (!hwnd()) return;
  ReleaseParts();
  Destroy();
}

void CALLBACK CalendarWindow::DesktopWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                                                 DWORD, DWORD) {
  CalendarWindow* self = g_desktop_watcher;
  if (!self || self->leaving_ || object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
  WindowEvent what = WindowEvent::Created;
  switch (event) {
    case EVENT_OBJECT_CREATE: what = WindowEvent::Created; break;
    case EVENT_OBJECT_DESTROY: what = WindowEvent::Destroyed; break;
    case EVENT_OBJECT_SHOW: what = WindowEvent::Shown; break;
    case EVENT_OBJECT_HIDE: what = WindowEvent::Hidden; break;
    case EVENT_OBJECT_REORDER: what = WindowEvent::Reordered; break;
    case EVENT_OBJECT_PARENTCHANGE: what = WindowEvent::NewParent; break;
    case EVENT_SYSTEM_FOREGROUND: what = WindowEvent::Foreground; break;
    default: return;
  }
  // Only the system's own record of the window is read: no message goes to its program.
  wchar_t class_name[64] = L"";
  if (what != WindowEvent::Destroyed) GetClassNameW(window, class_name, 64);
  const WindowId id = IdOf(window);
  const bool known = std::find(self->desktop_windows_.begin(), self->desktop_windows_.end(), id) !=
                     self->desktop_windows_.end();
  if (!MayMoveTheCalendar(what, WideToUtf8(class_name), known, self->place_.parent == 0)) return;
  // Looked at once the current message is done: a report may come in the middle of a move.
  if (self->menus_.lost) self->menus_.lost();
}

std::optional<HWND> CalendarWindow::InsertAfterForOwnWindow() const {
  HWND desktop = place_.z == ZPlace::AboveDesktop ? HwndOf(place_.desktop) : nullptr;
  if (!desktop || !IsWindow(desktop)) return HWND_BOTTOM;
  HWND above = GetWindow(desktop, GW_HWNDPREV);
  if (above == hwnd()) return std::nullopt;
  // The desktop window in front of all normal windows: the front of them is just before it.
  if (!above || (GetWindowLongPtrW(above, GWL_EXSTYLE) & WS_EX_TOPMOST)) return HWND_TOP;
  return above;
}

void CalendarWindow::Restack() {
  if (!hwnd()) return;
  constexpr UINT kZOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (place_.parent) {
    // In front of the icon view (and the wallpaper painter), which cover the whole desktop.
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, kZOnly);
  } else if (const auto after = InsertAfterForOwnWindow()) {
    SetWindowPos(hwnd(), *after, 0, 0, 0, 0, kZOnly);
  }
}

void CalendarWindow::Show() {
  shown_ = true;
  Restack();
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd());
}

void CalendarWindow::Focus() {
  if (!hwnd()) return;
  if (!place_.parent) SetForegroundWindow(hwnd());
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
  const TwipsScale scale = TwipsScale::ForDpi(WindowDpi(hwnd()));
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), scale, scale};
}

void CalendarWindow::Present(const Canvas& picture, bool placement_changed) {
  picture_ = &picture;
  if (placement_changed) {
    const PixelRect place = PlaceCalendar(state_.WorkArea, picture.Width());
    POINT origin{place.left, place.top};
    HWND parent = HwndOf(place_.parent);
    if (parent) ScreenToClient(parent, &origin);
    const auto after = parent ? std::nullopt : InsertAfterForOwnWindow();
    SetWindowPos(hwnd(), after.value_or(nullptr), origin.x, origin.y, place.Width(), place.Height(),
                 SWP_NOACTIVATE | (after ? 0 : SWP_NOZORDER));
    // The scroll bar stands just right of the picture: inside the window's tree, never seen.
    SetWindowPos(vscroll_, nullptr, place.Width(), 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateTooltips();
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

void CalendarWindow::ResetScrollValue() { SetScrollPos(vscroll_, SB_CTL, 0, TRUE); }

bool CalendarWindow::CreateTooltips() {
  if (tooltips_failed_) return false;
  if (EnsureCommonControls())
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) {
    tooltips_failed_ = true;  // for the program's run: the library will not come later
    return false;
  }
  for (Hotspot h : kTools) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = static_cast<UINT_PTR>(h);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  UpdateTooltips();
  return true;
}

void CalendarWindow::UpdateTooltips() {
  if (!tooltip_) return;
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

void CalendarWindow::ScrollTo(int value) {
  controller_.OnScrollValue(value);
  // The strip moved under the reader: the top day is the one to hear.
  focused_row_ = 0;
  AnnounceFocus();
}

void CalendarWindow::AnnounceFocus() {
  HWND focus = GetFocus();
  if (!hwnd() || !focus || (focus != hwnd() && !IsChild(hwnd(), focus))) return;
  if (focused_row_ >= DayRows()) focused_row_ = 0;
  NotifyAccessibleEvent(hwnd(), EVENT_OBJECT_FOCUS, focused_row_ + 1);
}

int CalendarWindow::DayRows() const {
  const CalendarMetrics m = renderer_.Metrics();
  if (m.DayHeight <= 0 || m.DayAreaBottom <= m.DayAreaTop) return 0;
  return (m.DayAreaBottom - m.DayAreaTop) / m.DayHeight;
}

bool CalendarWindow::DescribeChild(long id, AccessibleChild& out) {
  if (!hwnd() || id < 1) return false;
  const CalendarMetrics m = renderer_.Metrics();
  const int rows = DayRows();
  const bool inside = [this] {
    HWND focus = GetFocus();
    return focus && (focus == hwnd() || IsChild(hwnd(), focus));
  }();
  RECT r{};
  if (id <= rows) {
    const int row = static_cast<int>(id - 1);
    const Date date = state_.StartDate + std::chrono::days{row};
    const DateParts parts = SplitDate(date);
    std::optional<std::string_view> holiday;
    if (state_.ShowHolidays)
      if (const std::string_view name = HolidayName(date); !name.empty()) holiday = name;
    out.name = Utf8ToWide(DayAccessibleName(parts, FindDay(state_.Years, parts), holiday));
    out.role = ROLE_SYSTEM_LISTITEM;
    out.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (inside && row == focused_row_) out.state |= STATE_SYSTEM_FOCUSED;
    if (id == SelectedChild()) out.state |= STATE_SYSTEM_SELECTED;
    // A double click adds an entry, while the entry column is shown.
    if (state_.CalendarMode != kShowNothing) out.default_action = L"予定の追加";
    const int width = picture_ ? picture_->Width() : 0;
    r = RECT{m.MonthWidth + 1, m.DayAreaTop + row * m.DayHeight, width, m.DayAreaTop + (row + 1) * m.DayHeight};
  } else if (id <= rows + 4) {
    const Hotspot hotspot = kTools[id - rows - 1];
    out.name = Utf8ToWide(std::string(HotspotName(hotspot, state_.CalendarMode)));
    out.description = Utf8ToWide(HotspotTooltip(hotspot, state_.CalendarMode));
    out.default_action = out.description;
    out.role = ROLE_SYSTEM_PUSHBUTTON;
    const HotspotRects& h = controller_.Hotspots();
    const PixelRect& p = hotspot == Hotspot::WeekBack      ? h.WeekBack
                         : hotspot == Hotspot::WeekForward ? h.WeekForward
                         : hotspot == Hotspot::ExtraMode   ? h.ExtraMode
                                                           : h.ModeChange;
    r = RECT{p.left, p.top, p.right, p.bottom};
    if (IsRectEmpty(&r)) out.state |= STATE_SYSTEM_INVISIBLE;
  } else {
    return false;
  }
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  out.screen = r;
  return true;
}

long CalendarWindow::SelectedChild() {
  if (!controller_.ClickedDayValid()) return 0;
  const auto row = (controller_.ClickedDate() - state_.StartDate).count();
  return row >= 0 && row < DayRows() ? static_cast<long>(row + 1) : 0;
}

bool CalendarWindow::DoDefaultAction(long id) {
  const int rows = DayRows();
  if (id < 1 || id > rows + 4) return false;
  if (id <= rows && state_.CalendarMode == kShowNothing) return false;
  return PostMessageW(hwnd(), kAccessibleAction, static_cast<WPARAM>(id), 0) != FALSE;
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
  if (const long day = SelectedChild(); day > 0 && button != MouseButton::Middle) {
    focused_row_ = static_cast<int>(day - 1);
    NotifyAccessibleEvent(hwnd(), EVENT_OBJECT_SELECTION, day);
    AnnounceFocus();
  }
  if (double_click) controller_.OnPictureDoubleClick();
}

LRESULT CalendarWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsStateReportRequest(message)) {
    SendStateReport(reinterpret_cast<HWND>(wparam), hwnd(),
                    DescribeGeometry(controller_.Metrics(), controller_.Hotspots()));
    return 0;
  }
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFOCUS:
      if (vscroll_) SetFocus(vscroll_);
      return 0;
    case WM_MOUSEACTIVATE: return MA_ACTIVATE;
    case WM_WINDOWPOSCHANGING:
      // A window of its own never comes in front of other windows, even when activated.
      if (!place_.parent) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
        if (const auto after = InsertAfterForOwnWindow()) {
          pos->hwndInsertAfter = *after;
          pos->flags &= ~static_cast<UINT>(SWP_NOZORDER);
        } else {
          pos->flags |= SWP_NOZORDER;
        }
      }
      return 0;
    case WM_DESTROY:
    case WM_NCDESTROY:
      // Gone with the shell's window it stood on (under Wine only WM_NCDESTROY comes when
      // the shell's process ends): the host looks for the new desktop.
      if (!leaving_) {
        ReleaseParts();
        if (message == WM_NCDESTROY && menus_.lost) menus_.lost();
      }
      break;
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
      ScrollTo(value);
      return 0;
    }
    case WM_KEYDOWN:
      if (controller_.OnKey(KeyOf(wparam), CurrentModifiers())) {
        focused_row_ = 0;
        AnnounceFocus();
        return 0;
      }
      break;
    case WM_GETOBJECT: {
      bool handled = false;
      const LRESULT result = accessible_.Answer(hwnd(), wparam, lparam, *this, handled);
      if (handled) return result;
      break;
    }
    case kAccessibleAction: {
      const long id = static_cast<long>(wparam);
      const int rows = DayRows();
      if (id > rows && id <= rows + 4) {
        controller_.OnHotspot(kTools[id - rows - 1], MouseButton::Left);
      } else if (id >= 1 && id <= rows) {
        // As a double click in the middle of the day's row.
        const CalendarMetrics m = renderer_.Metrics();
        const int y = m.DayAreaTop + static_cast<int>(id - 1) * m.DayHeight + m.DayHeight / 2;
        controller_.OnPictureMouseDown(MouseButton::Left, m.MonthWidth + 1, y);
        controller_.OnPictureDoubleClick();
      }
      return 0;
    }
    case WM_LBUTTONDOWN: MouseDown(MouseButton::Left, lparam, false); return 0;
    case WM_LBUTTONDBLCLK: MouseDown(MouseButton::Left, lparam, true); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(MouseButton::Right, lparam, false); return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(MouseButton::Middle, lparam, false); return 0;
    case WM_CONTEXTMENU: return 0;  // the context-menu key is handled on key down
    case WM_MOUSEMOVE:
      if (!tooltip_ && CreateTooltips()) {
        // The tooltip watches the window from the next message on; this one starts its wait.
        MSG current{hwnd(), message, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {}};
        GetCursorPos(&current.pt);
        SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&current));
      }
      break;
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

LRESULT CALLBACK CalendarWindow::ScrollBarProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<CalendarWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->scroll_bar_procedure_) return DefWindowProcW(hwnd, message, wparam, lparam);
  // The window sees keys before the focused scroll bar.
  try {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
      if (self->controller_.OnKey(KeyOf(wparam), CurrentModifiers())) {
        self->focused_row_ = 0;
        self->AnnounceFocus();
        return 0;
      }
    } else if (message == WM_GETOBJECT) {
      // The scroll bar only carries the focus: a screen reader asking it meets the calendar.
      bool handled = false;
      const LRESULT result = self->accessible_.Answer(self->hwnd(), wparam, lparam, *self, handled);
      if (handled) return result;
    } else if (message == WM_SETFOCUS) {
      const LRESULT result = CallWindowProcW(self->scroll_bar_procedure_, hwnd, message, wparam, lparam);
      self->AnnounceFocus();
      return result;
    }
  } catch (...) {
    return 0;
  }
  if (message == WM_CHAR && wparam < 0x20) return 0;  // Ctrl+letters: no beep
  return CallWindowProcW(self->scroll_bar_procedure_, hwnd, message, wparam, lparam);
}

}  // namespace orv
