#include "dialogs/win32/dialog_window.hpp"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/accessible.hpp"
#include "platform/win32/display_scale.hpp"
#include "platform/win32/ole_picture.hpp"
#include "platform/win32/wide.hpp"
#include "platform/win32/window_base.hpp"
#include "platform/win32/delay_load.hpp"

namespace orv {
namespace {

// An empty dialog template: the frame only; the controls are created on init, in pixels of a
// 96-dpi screen scaled to the monitor the dialog opens on.
struct EmptyTemplate {
  DLGTEMPLATE dialog;
  WORD menu, window_class, title;
};

FontHandle MakeFont(double points, int dpi) {
  const int height = -MulDiv(static_cast<int>(points * 100), dpi, 7200);
  return FontHandle(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック"));
}

}  // namespace

DialogWindow::~DialogWindow() {
  if (hwnd_ && !modal_) DestroyWindow(hwnd_);
}

INT_PTR DialogWindow::ShowModal(HWND owner, int left, int top) {
  modal_ = true;
  left_ = left;
  top_ = top;
  EmptyTemplate t{};
  t.dialog.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  if (!DialogLibrariesReady(owner) || !EnsureCommonControls()) return -1;  // as when the dialog cannot be made
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &t.dialog, owner, Procedure,
                                 reinterpret_cast<LPARAM>(this));
}

HWND DialogWindow::Create(HWND owner, int left, int top) {
  modal_ = false;
  left_ = left;
  top_ = top;
  EmptyTemplate t{};
  t.dialog.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  if (!DialogLibrariesReady(owner) || !EnsureCommonControls()) return nullptr;
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.dialog, owner, Procedure,
                                    reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<DialogWindow*>(lparam);
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    self->hwnd_ = dialog;
  }
  if (!self) return FALSE;
  try {
    return self->Handle(message, wparam, lparam);
  } catch (...) {
    return FALSE;  // nothing may escape into the system's dialog manager
  }
}

INT_PTR DialogWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      // Laid out for the scale of the monitor the dialog opens on.
      dpi_ = MonitorDpi(MonitorFromPoint(POINT{left_, top_}, MONITOR_DEFAULTTONEAREST));
      dialog_font_ = MakeFont(9, dpi_);
      list_font_ = MakeFont(11.25, dpi_);
      SetWindowPos(hwnd_, nullptr, left_, top_, Scaled(Width()), Scaled(Height()), SWP_NOZORDER | SWP_NOACTIVATE);
      OnInit();
      if (default_id_) SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(default_id_), 0);
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, OnNotify(*reinterpret_cast<const NMHDR*>(lparam)));
      return TRUE;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item.CtlType == ODT_STATIC)
        DrawPictureBox(item);
      else
        DrawButton(item);
      return TRUE;
    }
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_DESTROY: {
      RECT r{};
      if (GetWindowRect(hwnd_, &r)) {
        left_ = r.left;
        top_ = r.top;
      }
      INT_PTR result = FALSE;
      return OnMessage(message, wparam, lparam, result) ? result : FALSE;
    }
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      return FALSE;
    default: {
      INT_PTR result = FALSE;
      return OnMessage(message, wparam, lparam, result) ? result : FALSE;
    }
  }
}

POINT DialogWindow::Place() const {
  RECT r{};
  if (hwnd_ && GetWindowRect(hwnd_, &r)) return POINT{r.left, r.top};
  return POINT{left_, top_};
}

void DialogWindow::OnClose() { End(IDCANCEL); }

void DialogWindow::End(INT_PTR result) {
  if (modal_)
    EndDialog(hwnd_, result);
  else
    DestroyWindow(hwnd_);
}

HWND DialogWindow::AddControl(const wchar_t* window_class, std::string_view text, DWORD style, int x,
                              int y, int width, int height, int id, HFONT font) {
  HWND control = CreateWindowExW(0, window_class, Utf8ToWide(text).c_str(), style | WS_CHILD | WS_VISIBLE,
                                 Scaled(x), Scaled(y), Scaled(width), Scaled(height), hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : DialogFont()), FALSE);
  return control;
}

HWND DialogWindow::AddButton(std::string_view text, int id, int x, int y, int width, int height,
                             Rgb back, bool is_default) {
  button_colors_[id] = back;
  if (is_default) default_id_ = id;
  return AddControl(L"BUTTON", text, BS_OWNERDRAW | WS_TABSTOP, x, y, width, height, id);
}

HWND DialogWindow::AddCheckList(int id, int x, int y, int width, int height, HFONT font) {
  HWND list = AddControl(WC_LISTVIEWW, "",
                         LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                             WS_BORDER | WS_TABSTOP,
                         x, y, width, height, id, font);
  // A row cut off at the edge shows whole in a tip under the pointer.
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = Scaled(width) - MetricForDpi(SM_CXVSCROLL, dpi_) - Scaled(4);
  ListView_InsertColumn(list, 0, &column);
  DescribeCheckList(list);
  return list;
}

HWND DialogWindow::AddPictureBox(int id, int x, int y, int width, int height) {
  return AddControl(L"STATIC", "", SS_OWNERDRAW, x, y, width, height, id);
}

void DialogWindow::SetPicture(int id, IPicture* picture) {
  pictures_[id] = ComPtr<IPicture>(picture);
  if (HWND box = GetDlgItem(hwnd_, id)) InvalidateRect(box, nullptr, TRUE);
}

IPicture* DialogWindow::PictureOf(int id) const {
  const auto found = pictures_.find(id);
  return found == pictures_.end() ? nullptr : found->second.get();
}

void DialogWindow::DrawPictureBox(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  // Pictures keep their natural size, from the box's top-left corner; icons blend their
  // soft edges into the dialog's face colour.
  if (IPicture* picture = PictureOf(static_cast<int>(item.CtlID))) {
    const OlePicture ole(picture);
    const RECT dest{item.rcItem.left, item.rcItem.top, item.rcItem.left + ole.Width(), item.rcItem.top + ole.Height()};
    ole.Render(item.hDC, dest, RasterOp::Copy);
  }
}

std::vector<bool> DialogWindow::CheckedRows(HWND list) {
  std::vector<bool> checked(static_cast<std::size_t>(ListView_GetItemCount(list)));
  for (std::size_t i = 0; i < checked.size(); ++i)
    checked[i] = ListView_GetCheckState(list, static_cast<int>(i)) != 0;
  return checked;
}

void DialogWindow::SetText(int id, std::string_view text) {
  SetDlgItemTextW(hwnd_, id, Utf8ToWide(text).c_str());
}

void DialogWindow::SetCaption(std::string_view text) { SetWindowTextW(hwnd_, Utf8ToWide(text).c_str()); }

void DialogWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return;
  const auto color = button_colors_.find(static_cast<int>(item.CtlID));
  RECT r = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool is_default = static_cast<int>(item.CtlID) == default_id_;
  // Under High Contrast the buttons' own colours give way to the system's.
  const bool own_colors = !HighContrastOn();
  if (is_default) {
    FrameRect(item.hDC, &r, own_colors ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)) : GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  BrushHandle back(CreateSolidBrush(color == button_colors_.end() || !own_colors ? GetSysColor(COLOR_BTNFACE) : color->second));
  FillRect(item.hDC, &r, back.get());
  DrawEdge(item.hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  wchar_t text[256] = {};
  GetWindowTextW(item.hwndItem, text, 256);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(item.itemState & ODS_DISABLED ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  SelectedObject font(item.hDC, DialogFont());
  RECT text_rect = r;
  InflateRect(&text_rect, -Scaled(4), 0);
  // A caption too long for one line (one that says a chosen setting) wraps, centred as a block.
  RECT needed = text_rect;
  DrawTextW(item.hDC, text, -1, &needed, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  const int height = std::min<int>(needed.bottom - needed.top, text_rect.bottom - text_rect.top);
  text_rect.top += (text_rect.bottom - text_rect.top - height) / 2;
  text_rect.bottom = text_rect.top + height;
  if (pressed) OffsetRect(&text_rect, 1, 1);
  DrawTextW(item.hDC, text, -1, &text_rect, DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&r, -4, -4);
    DrawFocusRect(item.hDC, &r);
  }
}

}  // namespace orv
