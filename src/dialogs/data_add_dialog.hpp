#pragma once
// Adding a schedule entry: the add-entry dialog (frmDataAddDialog) offers the presets and one
// catch-all item per entry kind; the input dialog (frmInputDialog) takes the name and amount
// (or title and comment), checks them and adds the entry to the day.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.hpp"
#include "platform/canvas.hpp"
#include "platform/number_conversion.hpp"
#include "platform/prompts.hpp"
#include "platform/settings_store.hpp"
#include "dialogs/series_dialog.hpp"
#include "series/series.hpp"

namespace orv {

// The order of the kinds in the add list: very special days, special days, automatic
// transfers, cash payments.
inline constexpr std::array<int, 4> kAddListKindOrder{kVerySpecialDays, kSpecialDays,
                                                      kAutomaticTransfers, kCashPayments};

inline constexpr Rgb kAddDialogCancelColor = MakeRgb(206, 226, 245);
inline constexpr Rgb kAddDialogOkColor = MakeRgb(217, 232, 247);

// One item of the add list. The key is the kind, "#" and the preset's key ("2#5"); a
// catch-all item has the kind and "#" alone ("0#"). The icon is the kind's 32-pixel icon.
struct AddListItem {
  std::string Key;
  std::string Caption;
  std::string Comment;
  int IconKind = 0;
};
std::vector<AddListItem> BuildAddList(const DefaultUserListArray& lists);

// "3月8日 - 予定の追加"
std::string AddDialogCaption(const DateParts& day);

// What choosing an add list item asks of the input dialog: the kind, and the preset's name
// when a preset was chosen.
struct InputRequest {
  std::int32_t EditType = 0;
  std::optional<std::string> Value1;
};
// nullopt for a key that does not name a kind.
std::optional<InputRequest> RequestForItem(std::string_view key, const DefaultUserListArray& lists);

// Where the input dialog puts the focus when it becomes active.
enum class InputFocus { Unchanged, OkButton, SecondBox };

class InputDialogModel {
public:
  InputDialogModel(AppState& state, NumberConversion& numbers, Prompts& prompts,
                   SettingsStore& store)
      : state_(state), numbers_(numbers), prompts_(prompts), store_(store) {}

  // The add-entry dialog's hand-over: day, kind and, for a preset, its name.
  void Open(Date day, const InputRequest& request);

  void SetEditDay(Date day);
  Date EditDay() const { return EditDay_; }
  const DateParts& EditDayParts() const { return EditDayParts_; }
  // 0..3 configures icon, field captions and prompt; other values leave icon and captions.
  void SetEditType(std::int32_t kind);
  std::int32_t EditType() const { return EditType_; }
  void SetValue1(std::string value);  // also the first box's text
  void SetValue2(std::string value);  // also the second box's text
  const std::string& Value1() const { return Value1_; }
  const std::string& Value2() const { return Value2_; }

  const std::string& Caption() const { return caption_; }
  const std::string& Message() const { return message_; }  // lblMsg
  const std::string& FieldCaption(int index) const { return field_captions_[index & 1]; }
  const std::string& BoxText(int index) const { return box_texts_[index & 1]; }
  std::optional<int> Icon() const { return icon_; }  // the kind's 64-pixel icon

  // The dialog became active. Only the first time, when it first shows, does the focus move
  // by what is filled in and the Shift state start afresh; later activations change nothing.
  InputFocus OnActivate(std::string_view text0, std::string_view text1);
  // Every key press and release reaches the dialog before its controls.
  void OnKey(bool shift, bool ctrl, bool alt) { ShiftDown_ = shift && !ctrl && !alt; }
  bool ShiftDown() const { return ShiftDown_; }

  // The repeat choice ("繰り返し(&R)"): none until the series dialog sets a rule.
  const std::optional<SeriesRule>& Series() const { return series_; }
  void SetSeries(std::optional<SeriesRule> rule) { series_ = std::move(rule); }
  std::string RepeatText() const;
  // The rule the series dialog opens with: the one chosen, or a new monthly one, on the day
  // and the entry as the boxes hold it now (a stand-in name and amount while they are empty,
  // so that the preview can count).
  SeriesRule SeriesDraft(const std::string& text0, const std::string& text1) const;
  // The series dialog's model for that draft.
  SeriesDialogModel SeriesDialog(const std::string& text0, const std::string& text1) const {
    return SeriesDialogModel(SeriesDraft(text0, text1), state_.Years, state_.Today, prompts_);
  }

  // cmdOK with the boxes' texts. With a rule set, every occurrence is added or none.
  // Refused input is reported and leaves everything as it was
  // (the dialog stays open); accepted input is added to the day and true is returned, after
  // which the dialog closes and AfterClose runs.
  bool OnOK(const std::string& text0, const std::string& text1);
  // Once the dialog is gone: the automatic save of an added entry.
  void AfterClose();

private:
  bool Refuse(const std::string& text);
  bool RefuseUnstorable(int field, const std::string& why);
  bool AddSeriesOf(const NewEntry& entry);

  AppState& state_;
  NumberConversion& numbers_;
  Prompts& prompts_;
  SettingsStore& store_;

  Date EditDay_{};
  DateParts EditDayParts_;
  std::int32_t EditType_ = -1;
  std::string Value1_, Value2_;
  bool ShiftDown_ = false;
  bool activated_ = false;
  std::string caption_, message_;
  std::array<std::string, 2> field_captions_, box_texts_;
  std::optional<int> icon_;
  std::optional<SeriesRule> series_;
  bool added_ = false;
};

}  // namespace orv
