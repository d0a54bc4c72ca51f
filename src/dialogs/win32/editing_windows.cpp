#include "dialogs/win32/editing_windows.hpp"

#include <commctrl.h>

#include "dialogs/dialog_texts.hpp"
#include "dialogs/data_add_dialog.hpp"
#include "platform/win32/list_view.hpp"
#include "platform/win32/wide.hpp"

namespace orv {

void YearDatasWindow::OnInit() {
  SetCaption(texts::kYearsCaption);
  AddControl(L"STATIC", texts::kYearsLabel1, SS_LEFT, 12, 10, 270, 32, 0);
  AddControl(L"STATIC", texts::kYearsLabel2, SS_LEFT, 12, 46, 270, 16, 0);
  AddCheckList(kListId, 12, 66, 270, 180, ListFont());
  AddButton(texts::kDayListDeleteButton, kDeleteId, 12, 256, 100, 28, GetSysColor(COLOR_BTNFACE));
  AddButton(texts::kDayListCloseButton, IDCANCEL, 182, 256, 100, 28, GetSysColor(COLOR_BTNFACE));
  model_.dsRefreshYearDatasList();
  SetListViewRows(GetDlgItem(hwnd(), kListId), model_.Rows());
}

void YearDatasWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED && code != 0) return;
  if (id == kDeleteId) {
    HWND list = GetDlgItem(hwnd(), kListId);
    if (model_.DeleteChecked(CheckedRows(list))) SetListViewRows(list, model_.Rows());
  } else if (id == IDCANCEL) {
    End(IDCANCEL);
  }
}

void UserDataListWindow::OnInit() {
  AddPictureBox(kIconId, 12, 12, 64, 64);
  AddControl(L"STATIC", "", SS_LEFT, 84, 12, 240, 18, kMessageId);
  AddCheckList(kListId, 84, 34, 240, 200, ListFont());
  AddButton(texts::kDayListAddButton, kAddId, 12, 246, 100, 28, kDayListAddColor);
  AddButton(texts::kDayListDeleteButton, kDeleteId, 118, 246, 100, 28, kDayListDeleteColor);
  // Both the default (Enter) and the cancel (Esc) button.
  AddButton(texts::kDayListCloseButton, IDCANCEL, 224, 246, 100, 28, kDayListCloseColor, true);
  ShowModel();
}

void UserDataListWindow::ShowModel() {
  SetCaption(model_.Caption());
  SetText(kMessageId, model_.Message());
  SetListViewRows(GetDlgItem(hwnd(), kListId), model_.Rows());
  ShowIcon();
}

void UserDataListWindow::ShowIcon() {
  const std::optional<std::int32_t> icon = model_.ShownIcon();
  SetPicture(kIconId, icons_ && icon ? icons_->GetIconPicture(1, *icon) : nullptr);
}

void UserDataListWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED && code != 0) return;
  switch (id) {
    case kAddId: {
      RECT r{};
      GetWindowRect(hwnd(), &r);
      if (add_entry_) add_entry_(context_, hwnd(), model_.EditDay(), r.left, r.top);
      model_.AfterAddEntry();
      ShowModel();
      break;
    }
    case kDeleteId:
      if (model_.DeleteChecked(CheckedRows(GetDlgItem(hwnd(), kListId)))) ShowModel();
      break;
    case kNextKindId:
      model_.OnNextKind();
      ShowModel();
      break;
    case IDCANCEL:
    case IDOK:
      End(IDCANCEL);
      break;
    default:
      break;
  }
}

bool UserDataListWindow::OnMessage(UINT message, WPARAM wparam, LPARAM, INT_PTR&) {
  // Back from another window (the bulk deletion of years among them): the rows show the day as
  // the schedule holds it now.
  if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE && model_.RefreshIfStale()) ShowModel();
  return false;  // the dialog manager puts the focus back as usual
}

LRESULT UserDataListWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != kListId) return 0;
  if (header.code == LVN_ITEMCHANGED) {
    // Whatever moved the selection (a click, the arrow keys, Home or End), the icon follows.
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) {
      model_.OnRowSelected(change.iItem);
      ShowIcon();
    }
  } else if (header.code == NM_CLICK) {
    // A click shows the clicked row's icon also where it selects nothing (on a check box).
    model_.OnRowSelected(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    ShowIcon();
  } else if (header.code == NM_RCLICK) {
    // Pmenu: one entry, at the pointer.
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kNextKindId, Utf8ToWide(texts::kDayListNextKindItem).c_str());
    POINT at{};
    GetCursorPos(&at);
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
    DestroyMenu(menu);
    if (chosen == kNextKindId) OnCommand(kNextKindId, 0);
  }
  return 0;
}

}  // namespace orv
