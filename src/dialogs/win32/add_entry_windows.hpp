#pragma once
// The Win32 views of adding an entry: the add-entry dialog (frmDataAddDialog) with the list
// control, and the input dialog (frmInputDialog). They only turn messages into model calls.
#include <memory>
#include <optional>

#include "dialogs/data_add_dialog.hpp"
#include "desktop/win32/entry_icon_sets.hpp"
#include "dialogs/win32/dialog_window.hpp"
#include "listcontrol/host/pickvane_host.hpp"
#include "platform/win32/win32_prompts.hpp"

namespace orv {

// `icons` (may be nullptr: items without icons) gives the list items their kind's icon.
class DataAddWindow : public DialogWindow {
public:
  DataAddWindow(AppState& state, Date day, EntryIconSets* icons = nullptr)
      : state_(state), day_(day), icons_(icons) {}
  ~DataAddWindow() override;
  static constexpr int kListId = 1001;
  // The calendar places day dialogs for an outer size of 5145 x 4815 twips.
  static constexpr int kWidth = 343, kHeight = 321;
  // What OK chose; empty after Cancel.
  const std::optional<InputRequest>& Chosen() const { return chosen_; }

protected:
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  void OnInit() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

private:
  void OnOK();
  void Unhook();
  AppState& state_;
  Date day_;
  EntryIconSets* icons_;  // not owned; the host window's
  std::unique_ptr<PickvaneHost> list_;
  bool hooked_ = false;
  std::optional<InputRequest> chosen_;
};

// imgIcon32 shows the kind's icon from the 64-pixel set of `icons` (may be nullptr: none).
class InputWindow : public DialogWindow {
public:
  InputWindow(InputDialogModel& model, Win32Prompts& prompts, EntryIconSets* icons = nullptr)
      : model_(model), prompts_(prompts), icons_(icons) {}
  static constexpr int kText0Id = 1001, kText1Id = 1002, kCaption0Id = 1003, kCaption1Id = 1004,
                       kMessageId = 1005, kIconId = 1006, kRepeatId = 1007;
  static constexpr int kWidth = 343, kHeight = 270;

protected:
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  void OnInit() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

private:
  static LRESULT CALLBACK KeyProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                  UINT_PTR id, DWORD_PTR self);
  std::string BoxText(int id) const;
  void ChooseSeries();
  InputDialogModel& model_;
  Win32Prompts& prompts_;
  EntryIconSets* icons_;  // not owned; the host window's
};

// The whole add flow for a day: the add-entry dialog modal to `owner` at (left, top) in screen
// pixels, then, when an item was chosen, the input dialog where the add-entry dialog stood. Returns when
// both have closed; an accepted entry has been added (and saved with AutoSave) by then.
void RunAddEntry(HWND owner, int left, int top, Date day, AppState& state, NumberConversion& numbers,
                 Win32Prompts& prompts, SettingsStore& store, EntryIconSets* icons);

}  // namespace orv
