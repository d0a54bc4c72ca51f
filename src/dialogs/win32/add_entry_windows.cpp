#include "dialogs/win32/add_entry_windows.hpp"

#include <commctrl.h>

#include "desktop/win32/wheel_hook.hpp"
#include "dialogs/dialog_texts.hpp"
#include "dialogs/win32/series_window.hpp"
#include "platform/win32/state_report.hpp"
#include "platform/win32/wide.hpp"

namespace orv {

DataAddWindow::~DataAddWindow() { Unhook(); }

void DataAddWindow::Unhook() {
  if (hooked_) UnhookAddDialogWheel();
  hooked_ = false;
}

void DataAddWindow::OnInit() {
  SetCaption(AddDialogCaption(SplitDate(day_)));
  list_ = PickvaneHost::Create();
  if (list_ && list_->PlaceIn(hwnd(), RECT{12, 12, 325, 236})) {
    SetWindowLongPtrW(list_->window(), GWLP_ID, kListId);
    // No label stands before the list: its own text names it for screen readers.
    SetWindowTextW(list_->window(), Utf8ToWide(texts::kAddListName).c_str());
    for (const AddListItem& item : BuildAddList(state_.DefaultUserLists))
      list_->AddItem(item.Key, item.Caption, item.Comment,
                     icons_ ? icons_->GetIconPicture(0, item.IconKind) : nullptr);
    list_->Refresh();
    list_->OnDblClick([this] { OnOK(); });
    SetFocus(list_->window());
  }
  AddButton(texts::kOkButton, IDOK, 118, 246, 100, 28, kAddDialogOkColor, true);
  AddButton(texts::kCancelButton, IDCANCEL, 224, 246, 100, 28, kAddDialogCancelColor);
  if (state_.MicrosoftWheelMouse && list_) {
    PickvaneHost* list = list_.get();
    HookAddDialogWheel(hwnd(), WheelTarget{
        [list] { return static_cast<int>(list->Selected().value_or(0)); },
        [list](int v) { list->SetSelected(static_cast<std::int16_t>(v)); },
        [] { return 1; }, [list] { return static_cast<int>(list->Count().value_or(0)); }});
    hooked_ = true;
  }
}

void DataAddWindow::OnOK() {
  if (!list_) return;
  const auto selected = list_->Selected();
  if (!selected || *selected < 1) return;
  const auto key = list_->KeyAt(*selected);
  if (!key) return;
  chosen_ = RequestForItem(*key, state_.DefaultUserLists);
  if (chosen_) End(IDOK);
}

void DataAddWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED && code != 0) return;
  if (id == IDOK) {
    OnOK();
  } else if (id == IDCANCEL) {
    End(IDCANCEL);
  }
}

bool DataAddWindow::OnMessage(UINT message, WPARAM wparam, LPARAM, INT_PTR& result) {
  // The hook must be gone before the window procedure it replaced goes away.
  if (message == WM_DESTROY) Unhook();
  if (IsStateReportRequest(message)) {
    // The list's captions as the control holds them, one TAB between two.
    std::string text = "AddList=";
    const std::int32_t count = list_ ? list_->Count().value_or(0) : 0;
    for (std::int32_t i = 1; i <= count; ++i) text += (i > 1 ? "\t" : "") + list_->CaptionAt(i).value_or("");
    SendStateReport(reinterpret_cast<HWND>(wparam), hwnd(), text + "\n");
    result = TRUE;
    return true;
  }
  return false;
}

void InputWindow::OnInit() {
  SetCaption(model_.Caption());
  AddPictureBox(kIconId, 12, 12, 64, 64);
  if (icons_ && model_.Icon()) SetPicture(kIconId, icons_->GetIconPicture(1, *model_.Icon()));
  AddControl(L"STATIC", model_.Message(), SS_LEFT, 84, 12, 240, 18, kMessageId);
  AddControl(L"STATIC", model_.FieldCaption(0), SS_LEFT, 84, 40, 240, 16, kCaption0Id);
  AddControl(WC_EDITW, model_.BoxText(0), ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 84, 58, 240, 24,
             kText0Id, ListFont());
  AddControl(L"STATIC", model_.FieldCaption(1), SS_LEFT, 84, 92, 240, 16, kCaption1Id);
  AddControl(WC_EDITW, model_.BoxText(1), ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 84, 110, 240, 24,
             kText1Id, ListFont());
  // The button's text says how the entry repeats ("なし" until a rule is chosen).
  AddButton(model_.RepeatText(), kRepeatId, 84, 142, 240, 40, kAddDialogCancelColor);
  AddButton(texts::kOkButton, IDOK, 118, 194, 100, 28, kAddDialogOkColor, true);
  AddButton(texts::kCancelButton, IDCANCEL, 224, 194, 100, 28, kAddDialogCancelColor);
  // Every key press and release reaches the dialog before its controls.
  for (int id : {kText0Id, kText1Id, kRepeatId, static_cast<int>(IDOK), static_cast<int>(IDCANCEL)})
    SetWindowSubclass(GetDlgItem(hwnd(), id), KeyProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SetFocus(GetDlgItem(hwnd(), kText0Id));
}

LRESULT CALLBACK InputWindow::KeyProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR self) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      reinterpret_cast<InputWindow*>(self)->model_.OnKey(GetKeyState(VK_SHIFT) < 0,
                                                         GetKeyState(VK_CONTROL) < 0,
                                                         GetKeyState(VK_MENU) < 0);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, KeyProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

std::string InputWindow::BoxText(int id) const {
  HWND box = GetDlgItem(hwnd(), id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return WideToUtf8(text);
}

void InputWindow::OnCommand(int id, int code) {
  if ((id == kText0Id || id == kText1Id) && code == EN_SETFOCUS) {
    SendDlgItemMessageW(hwnd(), id, EM_SETSEL, 0, -1);
    return;
  }
  if (code != BN_CLICKED && code != 0) return;
  if (id == kRepeatId) {
    ChooseSeries();
  } else if (id == IDOK) {
    HWND previous = prompts_.owner();
    prompts_.SetOwner(hwnd());
    const bool accepted = model_.OnOK(BoxText(kText0Id), BoxText(kText1Id));
    prompts_.SetOwner(previous);
    if (accepted) End(IDOK);
  } else if (id == IDCANCEL) {
    End(IDCANCEL);
  }
}

void InputWindow::ChooseSeries() {
  SeriesDialogModel series = model_.SeriesDialog(BoxText(kText0Id), BoxText(kText1Id));
  SeriesWindow window(series, prompts_);
  // A little below and to the right of the input dialog, which stays in sight behind it.
  const POINT at = Place();
  const INT_PTR result = window.ShowModal(hwnd(), at.x + Scaled(24), at.y + Scaled(24));
  if (result == IDOK)
    model_.SetSeries(series.Result());
  else if (result == SeriesWindow::kCleared)
    model_.SetSeries(std::nullopt);
  SetText(kRepeatId, model_.RepeatText());
}

bool InputWindow::OnMessage(UINT message, WPARAM wparam, LPARAM, INT_PTR&) {
  if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE) {
    HWND target = nullptr;
    switch (model_.OnActivate(BoxText(kText0Id), BoxText(kText1Id))) {
      case InputFocus::OkButton: target = GetDlgItem(hwnd(), IDOK); break;
      case InputFocus::SecondBox: target = GetDlgItem(hwnd(), kText1Id); break;
      case InputFocus::Unchanged: break;
    }
    // The activation itself ends by putting the focus back where the dialog had it; the move
    // comes after it, the dialog manager's way, so that the default button follows as well.
    if (target) PostMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
  }
  return false;
}

void RunAddEntry(HWND owner, int left, int top, Date day, AppState& state, NumberConversion& numbers,
                 Win32Prompts& prompts, SettingsStore& store, EntryIconSets* icons) {
  std::optional<InputRequest> chosen;
  POINT at{left, top};
  {
    DataAddWindow add(state, day, icons);
    add.ShowModal(owner, left, top);
    chosen = add.Chosen();
    at = add.Place();  // the input dialog takes its place, also when the user moved it
  }
  if (!chosen) return;
  // A fresh model each time: nothing typed for one entry shows up in the next.
  InputDialogModel model(state, numbers, prompts, store);
  model.Open(day, *chosen);
  InputWindow input(model, prompts, icons);
  const HWND previous = prompts.owner();
  if (input.ShowModal(owner, at.x, at.y) == IDOK) {
    prompts.SetOwner(owner);
    model.AfterClose();
  }
  prompts.SetOwner(previous);
}

}  // namespace orv
