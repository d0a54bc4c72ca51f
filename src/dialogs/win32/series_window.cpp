#include "dialogs/win32/series_window.hpp"

#include <commctrl.h>

#include "dialogs/data_add_dialog.hpp"
#include "dialogs/dialog_texts.hpp"
#include "platform/win32/wide.hpp"
#include "series/series.hpp"

namespace orv {

HWND SeriesWindow::AddCombo(int id, int x, int y, int width, const auto& items, int selected) {
  HWND combo = AddControl(WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x, y, width, 160, id);
  for (const char* item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return combo;
}

void SeriesWindow::OnInit() {
  SetCaption(texts::kSeriesCaption);
  const SeriesForm& form = model_.Form();
  // Each label stands right before its control: its access key moves the focus there.
  constexpr int kLabelX = 12, kLabelWidth = 104, kFieldX = 120;
  AddControl(L"STATIC", texts::kSeriesEveryLabel, SS_LEFT, kLabelX, 15, kLabelWidth, 16, 0);
  AddControl(WC_EDITW, form.every, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kFieldX, 12, 48, 22, kEveryId);
  AddCombo(kUnitId, kFieldX + 54, 12, 100, kSeriesUnitNames, static_cast<int>(form.unit));
  AddControl(L"STATIC", texts::kSeriesMonthDayLabel, SS_LEFT, kLabelX, 45, kLabelWidth, 16, 0);
  AddCombo(kMonthDayId, kFieldX, 42, 154, texts::kSeriesMonthDays, form.last_day ? 1 : 0);
  AddControl(L"STATIC", texts::kSeriesEndLabel, SS_LEFT, kLabelX, 75, kLabelWidth, 16, 0);
  AddCombo(kEndId, kFieldX, 72, 154, texts::kSeriesEnds, static_cast<int>(form.end));
  AddControl(L"STATIC", texts::kSeriesCountLabel, SS_LEFT, kLabelX, 105, kLabelWidth, 16, 0);
  AddControl(WC_EDITW, form.count, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kFieldX, 102, 60, 22, kCountId);
  AddControl(L"STATIC", texts::kSeriesTimes, SS_LEFT, kFieldX + 66, 105, 30, 16, 0);
  AddControl(L"STATIC", texts::kSeriesUntilLabel, SS_LEFT, kLabelX, 135, kLabelWidth, 16, 0);
  AddControl(WC_EDITW, form.until, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kFieldX, 132, 110, 22, kUntilId);
  AddControl(L"STATIC", texts::kSeriesShiftLabel, SS_LEFT, kLabelX, 165, kLabelWidth, 16, 0);
  AddCombo(kShiftId, kFieldX, 162, 154, texts::kSeriesShifts, static_cast<int>(form.shift));
  AddControl(L"STATIC", texts::kSeriesPreviewLabel, SS_LEFT, kLabelX, 196, 200, 16, 0);
  // Read-only text rather than a label: it takes the focus, so a screen reader reads it.
  AddControl(WC_EDITW, "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
             kLabelX, 214, 322, 76, kPreviewId);
  AddButton(texts::kSeriesClearButton, kClearId, 12, 300, 106, 28, kAddDialogCancelColor);
  AddButton(texts::kOkButton, IDOK, 124, 300, 106, 28, kAddDialogOkColor, true);
  AddButton(texts::kCancelButton, IDCANCEL, 236, 300, 106, 28, kAddDialogCancelColor);
  ready_ = true;
  Follow();
  SetFocus(GetDlgItem(hwnd(), kEveryId));
  SendDlgItemMessageW(hwnd(), kEveryId, EM_SETSEL, 0, -1);
}

std::string SeriesWindow::ControlText(int id) const {
  HWND box = GetDlgItem(hwnd(), id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return WideToUtf8(text);
}

int SeriesWindow::Selected(int id) const {
  const auto selected = SendDlgItemMessageW(hwnd(), id, CB_GETCURSEL, 0, 0);
  return selected < 0 ? 0 : static_cast<int>(selected);
}

SeriesForm SeriesWindow::ReadForm() const {
  SeriesForm form;
  form.every = ControlText(kEveryId);
  form.unit = static_cast<SeriesUnit>(Selected(kUnitId));
  form.last_day = Selected(kMonthDayId) == 1;
  form.end = static_cast<SeriesEnd>(Selected(kEndId));
  form.count = ControlText(kCountId);
  form.until = ControlText(kUntilId);
  form.shift = static_cast<SeriesShift>(Selected(kShiftId));
  return form;
}

void SeriesWindow::Follow() {
  const SeriesForm form = ReadForm();
  EnableWindow(GetDlgItem(hwnd(), kMonthDayId), model_.MonthDayAllowed(form));
  EnableWindow(GetDlgItem(hwnd(), kCountId), form.end == SeriesEnd::kAfterCount);
  EnableWindow(GetDlgItem(hwnd(), kUntilId), form.end == SeriesEnd::kOnOrBefore);
  EnableWindow(GetDlgItem(hwnd(), kShiftId), model_.ShiftAllowed());
  SetText(kPreviewId, model_.Preview(form));
}

void SeriesWindow::OnCommand(int id, int code) {
  if (!ready_) return;
  if (((id == kEveryId || id == kCountId || id == kUntilId) && code == EN_CHANGE) ||
      ((id == kUnitId || id == kMonthDayId || id == kEndId || id == kShiftId) && code == CBN_SELCHANGE)) {
    Follow();
    return;
  }
  if (code != BN_CLICKED && code != 0) return;
  if (id == IDOK) {
    const HWND previous = prompts_.owner();
    prompts_.SetOwner(hwnd());
    const bool accepted = model_.OnOK(ReadForm());
    prompts_.SetOwner(previous);
    if (accepted) End(IDOK);
  } else if (id == kClearId) {
    End(kCleared);
  } else if (id == IDCANCEL) {
    End(IDCANCEL);
  }
}

}  // namespace orv
