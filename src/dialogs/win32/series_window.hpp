#pragma once
// The Win32 view of the series dialog: its controls hold a SeriesForm; every change shows the
// model's preview at once.
#include "dialogs/series_dialog.hpp"
#include "dialogs/win32/dialog_window.hpp"
#include "platform/win32/win32_prompts.hpp"

namespace orv {

class SeriesWindow : public DialogWindow {
public:
  SeriesWindow(SeriesDialogModel& model, Win32Prompts& prompts) : model_(model), prompts_(prompts) {}
  static constexpr int kEveryId = 1101, kUnitId = 1102, kMonthDayId = 1103, kEndId = 1104, kCountId = 1105,
                       kUntilId = 1106, kShiftId = 1107, kPreviewId = 1108, kClearId = 1109;
  // What ShowModal returns for "繰り返さない(&X)": the entry is not to repeat.
  static constexpr INT_PTR kCleared = kClearId;
  static constexpr int kWidth = 360, kHeight = 372;

protected:
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  void OnInit() override;
  void OnCommand(int id, int code) override;

private:
  HWND AddCombo(int id, int x, int y, int width, const auto& items, int selected);
  SeriesForm ReadForm() const;
  std::string ControlText(int id) const;
  int Selected(int id) const;
  // Enables what the form's choices use and shows the preview.
  void Follow();

  SeriesDialogModel& model_;
  Win32Prompts& prompts_;
  bool ready_ = false;  // the controls stand: their change notices are the user's
};

}  // namespace orv
