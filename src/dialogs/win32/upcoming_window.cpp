#include "dialogs/win32/upcoming_window.hpp"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/display_scale.hpp"
#include "platform/win32/list_view.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

WindowBox WorkAreaNear(POINT point) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY), &info);
  const RECT& r = info.rcWork;
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

void UpcomingWindow::Show() {
  if (hwnd()) {
    Refresh();
    ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd());
    return;
  }
  const std::optional<WindowBox> saved = ReadUpcomingPlace(store_);
  POINT centre{0, 0};
  if (saved) centre = POINT{saved->left + saved->width / 2, saved->top + saved->height / 2};
  const WindowBox work = WorkAreaNear(centre);
  const int dpi = MonitorDpi(MonitorFromPoint(centre, MONITOR_DEFAULTTOPRIMARY));
  box_ = PlaceOnScreen(saved, work, MulDiv(kMinWidth, dpi, 96), MulDiv(kMinHeight, dpi, 96),
                       {0, 0, MulDiv(kWidth, dpi, 96), MulDiv(kHeight, dpi, 96)});
  if (HWND dialog = Create(nullptr, box_->left, box_->top)) SetForegroundWindow(dialog);
}

void UpcomingWindow::OnInit() {
  SetCaption(kUpcomingCaption);
  // Resizable, and on the taskbar: the list is a window of its own, not a question.
  SetWindowLongPtrW(hwnd(), GWL_STYLE, GetWindowLongPtrW(hwnd(), GWL_STYLE) | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & ~WS_EX_DLGMODALFRAME) | WS_EX_APPWINDOW);
  if (box_)
    SetWindowPos(hwnd(), nullptr, box_->left, box_->top, box_->width, box_->height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

  LOGFONTW lf{};
  GetObjectW(ListFont(), sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  bold_font_.reset(CreateFontIndirectW(&lf));

  // The label comes first: it names the list for a screen reader, and Alt+L reaches it.
  AddControl(L"STATIC", "", SS_LEFT, 8, 8, 200, 16, kLabelId);
  HWND list = AddControl(WC_LISTVIEWW, "",
                         LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                         8, 28, 200, 200, kListId, ListFont());
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ListView_InsertColumn(list, 0, &column);
  AddControl(L"STATIC", "", SS_LEFT | SS_NOPREFIX, 8, 240, 200, 16, kTotalsId);
  AddControl(L"BUTTON", "日の予定を開く(&O)", BS_PUSHBUTTON | WS_TABSTOP, 8, 260, 120, 24, kOpenId);
  AddControl(L"BUTTON", "閉じる", BS_PUSHBUTTON | WS_TABSTOP, 140, 260, 80, 24, IDCANCEL);
  Refresh();
  Layout();
  SetFocus(list);
}

void UpcomingWindow::Refresh() {
  HWND list = GetDlgItem(hwnd(), kListId);
  if (!list) return;
  const int previous = SelectedRow();
  // The chosen row stays chosen: the same entry of the same day, else that day's own row.
  const std::optional<UpcomingRow> chosen =
      previous >= 0 && previous < static_cast<int>(list_.rows.size()) ? std::optional(list_.rows[previous]) : std::nullopt;
  list_ = BuildUpcoming(state_.Years, state_.clock(), state_.ShowHolidays);
  SetText(kLabelId, list_.list_name);
  SetText(kTotalsId, list_.totals);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  std::vector<std::string> texts;
  texts.reserve(list_.rows.size());
  for (const UpcomingRow& row : list_.rows) texts.push_back(row.text);
  SetListViewRows(list, texts);
  int select = -1, day_row = 0;
  for (std::size_t i = 0; i < list_.rows.size(); ++i) {
    if (chosen && list_.rows[i].date == chosen->date) {
      if (list_.rows[i].text == chosen->text && select < 0) select = static_cast<int>(i);
      if (list_.rows[i].heading) day_row = static_cast<int>(i);
    }
  }
  if (select < 0) select = day_row;
  ListView_SetItemState(list, select, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, select, FALSE);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void UpcomingWindow::Layout() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int w = client.right, h = client.bottom;
  const int margin = Scaled(8), line = Scaled(18), button = Scaled(26);
  auto place = [this](int id, int x, int y, int cx, int cy) {
    SetWindowPos(GetDlgItem(hwnd(), id), nullptr, x, y, std::max(cx, 0), std::max(cy, 0), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int buttons_top = h - margin - button;
  const int totals_top = buttons_top - Scaled(6) - line;
  place(kLabelId, margin, margin, w - 2 * margin, line);
  place(kListId, margin, margin + line + Scaled(2), w - 2 * margin, totals_top - Scaled(6) - (margin + line + Scaled(2)));
  place(kTotalsId, margin, totals_top, w - 2 * margin, line);
  const int close_width = Scaled(88), open_width = Scaled(140);
  place(IDCANCEL, w - margin - close_width, buttons_top, close_width, button);
  place(kOpenId, w - margin - close_width - Scaled(8) - open_width, buttons_top, open_width, button);
  HWND list = GetDlgItem(hwnd(), kListId);
  RECT inner{};
  GetClientRect(list, &inner);
  ListView_SetColumnWidth(list, 0, inner.right);
}

int UpcomingWindow::SelectedRow() const {
  HWND list = hwnd() ? GetDlgItem(hwnd(), kListId) : nullptr;
  return list ? ListView_GetNextItem(list, -1, LVNI_SELECTED) : -1;
}

void UpcomingWindow::OpenSelected() {
  const int row = SelectedRow();
  if (row < 0 || row >= static_cast<int>(list_.rows.size())) return;
  const UpcomingRow chosen = list_.rows[static_cast<std::size_t>(row)];
  open_day_(hwnd(), chosen.date, DayListModeFor(chosen, state_.Years, state_.CalendarMode));
  if (!hwnd()) return;
  Refresh();  // the day's entries may have changed there
  SetFocus(GetDlgItem(hwnd(), kListId));
}

void UpcomingWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED && code != 0) return;
  switch (id) {
    case IDOK:  // Enter, wherever the focus is
    case kOpenId: OpenSelected(); break;
    case IDCANCEL: End(IDCANCEL); break;
    default: break;
  }
}

LRESULT UpcomingWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != kListId) return 0;
  if (header.code == NM_DBLCLK || header.code == NM_RETURN) {
    OpenSelected();
    return 0;
  }
  if (header.code == NM_CUSTOMDRAW) {
    // The days' own rows in bold, so the eye finds the days; the text is the same.
    const auto& draw = reinterpret_cast<const NMLVCUSTOMDRAW&>(header);
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
      const std::size_t row = draw.nmcd.dwItemSpec;
      if (row < list_.rows.size() && list_.rows[row].heading && bold_font_) {
        SelectObject(draw.nmcd.hdc, bold_font_.get());
        return CDRF_NEWFONT;
      }
    }
  }
  return 0;
}

void UpcomingWindow::Remember() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(hwnd(), &placement)) return;
  // The normal place, also when the dialog is closed maximized or minimized. (Work-area
  // coordinates, the same as the screen's while the taskbar stands at the bottom or right.)
  const RECT& r = placement.rcNormalPosition;
  SaveUpcomingPlace(store_, {r.left, r.top, r.right - r.left, r.bottom - r.top});
}

bool UpcomingWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  switch (message) {
    case WM_ACTIVATE:
      // Back to the list: the schedule may have changed meanwhile (the calendar, another
      // dialog, the data file), or the date.
      if (LOWORD(wparam) != WA_INACTIVE) Refresh();
      return false;
    case WM_SIZE:
      Layout();
      result = 0;
      return true;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      info->ptMinTrackSize = POINT{Scaled(kMinWidth), Scaled(kMinHeight)};
      result = 0;
      return true;
    }
    case WM_DESTROY:
      Remember();
      return false;
    default: return false;
  }
}

}  // namespace orv
