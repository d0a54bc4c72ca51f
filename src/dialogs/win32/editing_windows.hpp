#pragma once
// The Win32 views of the day schedule list and the bulk deletion of years. They only turn
// messages into model calls and show what the models say.
#include "desktop/win32/entry_icon_sets.hpp"
#include "dialogs/user_data_list.hpp"
#include "dialogs/win32/dialog_window.hpp"
#include "dialogs/year_datas_dialog.hpp"

namespace orv {

class YearDatasWindow : public DialogWindow {
public:
  explicit YearDatasWindow(YearDatasModel& model) : model_(model) {}
  static constexpr int kListId = 1001, kDeleteId = 1002;
  // Outer size in pixels.
  static constexpr int kWidth = 300, kHeight = 330;

protected:
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  void OnInit() override;
  void OnCommand(int id, int code) override;

private:
  YearDatasModel& model_;
};

// `add_entry` runs the add-entry dialog for the day, modally to this one. imgIcon64 shows the
// model's icon from the 64-pixel set of `icons` (may be nullptr: none).
class UserDataListWindow : public DialogWindow {
public:
  using AddEntry = void (*)(void* context, HWND owner, Date day, int left, int top);
  UserDataListWindow(UserDataListModel& model, AddEntry add_entry, void* context, EntryIconSets* icons = nullptr)
      : model_(model), add_entry_(add_entry), context_(context), icons_(icons) {}
  static constexpr int kListId = 1001, kAddId = 1002, kDeleteId = 1003, kMessageId = 1004,
                       kNextKindId = 1005, kIconId = 1006;
  // The calendar places day dialogs for an outer size of 5145 x 4815 twips.
  static constexpr int kWidth = 343, kHeight = 321;

protected:
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  void OnInit() override;
  void OnCommand(int id, int code) override;
  LRESULT OnNotify(const NMHDR& header) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

private:
  void ShowModel();
  void ShowIcon();
  UserDataListModel& model_;
  AddEntry add_entry_;
  void* context_;
  EntryIconSets* icons_;  // not owned; the host window's
};

}  // namespace orv
