#pragma once
// "今後の予定": the coming month in a list the keyboard and a screen reader can walk, opened
// from the tray (and by a click on a reminder). Not modal; it can be resized, and it comes
// back where and as large as the user left it. Enter or a double click opens the day's list.
#include <functional>

#include "dialogs/upcoming_list.hpp"
#include "dialogs/win32/dialog_window.hpp"

namespace orv {

class UpcomingWindow : public DialogWindow {
public:
  // Opens the day list of `day` in `mode`, modally to `owner` (this dialog).
  using OpenDay = std::function<void(HWND owner, Date day, std::int32_t mode)>;
  UpcomingWindow(AppState& state, SettingsStore& store, OpenDay open_day)
      : state_(state), store_(store), open_day_(std::move(open_day)) {}
  static constexpr int kLabelId = 1001, kListId = 1002, kTotalsId = 1003, kOpenId = 1004;
  // Default and smallest outer sizes, in pixels of a 96-dpi screen.
  static constexpr int kWidth = 460, kHeight = 520, kMinWidth = 300, kMinHeight = 260;

  // Opens the dialog where it was left, or brings the open one forward with fresh rows.
  void Show();
  // Rebuilds the rows from the schedule as it stands (keeps the chosen day when it is still there).
  void Refresh();
  const UpcomingList& List() const { return list_; }

protected:
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  void OnInit() override;
  void OnCommand(int id, int code) override;
  LRESULT OnNotify(const NMHDR& header) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

private:
  void Layout();
  void OpenSelected();
  int SelectedRow() const;
  void Remember();

  AppState& state_;
  SettingsStore& store_;
  OpenDay open_day_;
  UpcomingList list_;
  FontHandle bold_font_;  // the days' own rows
  std::optional<WindowBox> box_;  // where to open, in screen pixels
};

}  // namespace orv
