#include "dialogs/data_add_dialog.hpp"

#include <charconv>

#include "dialogs/dialog_texts.hpp"
#include "dialogs/save_user_data.hpp"
#include "dialogs/series_dialog.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/user_data_file.hpp"

namespace orv {
namespace {

bool IsKind(std::int32_t kind) { return kind >= 0 && kind <= 3; }

std::string DayCaption(const DateParts& day, std::string_view tail) {
  return std::to_string(day.Month) + "月" + std::to_string(day.Day) + "日 - " + std::string(tail);
}

// "支払いの名称(&N):" -> "支払いの名称": the field as the refusal names it.
std::string FieldName(const char* caption) {
  std::string_view text(caption);
  return std::string(text.substr(0, text.find('(')));
}

}  // namespace

std::vector<AddListItem> BuildAddList(const DefaultUserListArray& lists) {
  std::vector<AddListItem> items;
  for (int kind : kAddListKindOrder) {
    const auto& kind_texts = texts::kKinds[static_cast<std::size_t>(kind)];
    for (const auto& preset : lists[static_cast<std::size_t>(kind)])
      items.push_back({std::to_string(kind) + "#" + preset.Key, preset.strValue1,
                       kind_texts.list_comment, kind});
  }
  for (int kind : kAddListKindOrder) {
    const auto& kind_texts = texts::kKinds[static_cast<std::size_t>(kind)];
    items.push_back({std::to_string(kind) + "#", kind_texts.catch_all, kind_texts.list_comment, kind});
  }
  return items;
}

std::string AddDialogCaption(const DateParts& day) { return DayCaption(day, "予定の追加"); }

std::optional<InputRequest> RequestForItem(std::string_view key, const DefaultUserListArray& lists) {
  const auto hash = key.find('#');
  if (hash == std::string_view::npos) return std::nullopt;
  std::int32_t kind = 0;
  const auto kind_text = key.substr(0, hash);
  const auto [end, error] = std::from_chars(kind_text.data(), kind_text.data() + kind_text.size(), kind);
  if (error != std::errc() || end != kind_text.data() + kind_text.size() || !IsKind(kind))
    return std::nullopt;
  InputRequest request;
  request.EditType = kind;
  const auto preset_key = key.substr(hash + 1);
  if (!preset_key.empty()) {
    // A preset removed since the list was built leaves the name empty, as a catch-all would.
    const auto* preset = lists[static_cast<std::size_t>(kind)].Find(preset_key);
    request.Value1 = preset ? preset->strValue1 : std::string();
  }
  return request;
}

void InputDialogModel::Open(Date day, const InputRequest& request) {
  SetEditDay(day);
  SetEditType(request.EditType);
  if (request.Value1) SetValue1(*request.Value1);
}

void InputDialogModel::SetEditDay(Date day) {
  EditDay_ = day;
  EditDayParts_ = SplitDate(day);
  caption_ = DayCaption(EditDayParts_, "予定の追加（入力）");
}

void InputDialogModel::SetEditType(std::int32_t kind) {
  EditType_ = kind;
  if (!IsKind(kind)) {
    message_ = texts::kInputPromptTail;
    return;
  }
  const auto& kind_texts = texts::kKinds[static_cast<std::size_t>(kind)];
  icon_ = kind;
  field_captions_ = {kind_texts.field_captions[0], kind_texts.field_captions[1]};
  message_ = std::string(kind_texts.input_word) + texts::kInputPromptTail;
}

void InputDialogModel::SetValue1(std::string value) {
  Value1_ = std::move(value);
  box_texts_[0] = Value1_;
}

void InputDialogModel::SetValue2(std::string value) {
  Value2_ = std::move(value);
  box_texts_[1] = Value2_;
}

InputFocus InputDialogModel::OnActivate(std::string_view text0, std::string_view text1) {
  if (activated_) return InputFocus::Unchanged;
  activated_ = true;
  ShiftDown_ = false;
  if (!text1.empty()) return InputFocus::OkButton;
  if (!text0.empty()) return InputFocus::SecondBox;
  return InputFocus::Unchanged;
}

bool InputDialogModel::Refuse(const std::string& text) {
  prompts_.Message(MessageIcon::Information, MessageButtons::Ok, texts::kInvalidInputTitle, text);
  return false;
}

bool InputDialogModel::RefuseUnstorable(int field, const std::string& why) {
  const auto& kind_texts = texts::kKinds[static_cast<std::size_t>(EditType_)];
  return Refuse(UnstorableTextMessage(FieldName(kind_texts.field_captions[field]), why));
}

bool InputDialogModel::OnOK(const std::string& text0, const std::string& text1) {
  NewEntry entry{EditType_, text0, 0, {}};
  const bool payment = IsPaymentKind(EditType_);
  if (payment) {
    const auto amount = numbers_.ToLong(text1);
    if (!amount) return Refuse(texts::kInvalidInputText);
    entry.amount = *amount;
  } else {
    entry.comment = text1;
  }
  switch (const EntryCheck check = CheckNewEntry(state_.Years, EditDayParts_, entry); check.refusal) {
    case EntryRefusal::kNone: break;
    case EntryRefusal::kMissingValue: return Refuse(texts::kInvalidInputText);
    case EntryRefusal::kUnstorableName: return RefuseUnstorable(0, check.why);
    case EntryRefusal::kUnstorableComment: return RefuseUnstorable(1, check.why);
    case EntryRefusal::kTotalOutOfRange:
      // A series names the day at fault itself (its first occurrence may be moved elsewhere).
      if (!series_) return Refuse(texts::kTotalOverflowText);
      break;
  }

  if (series_) {
    if (!AddSeriesOf(entry)) return false;
  } else {
    AddNewEntry(state_.Years, EditDayParts_, entry);
  }
  Value1_ = text0;
  Value2_ = payment ? std::to_string(entry.amount) : text1;
  if (state_.ShiftAuto && ShiftDown_) {
    // The same name may end up in the list twice; the user asked for it.
    auto& presets = state_.DefaultUserLists[static_cast<std::size_t>(EditType_)];
    presets.Add(NextDefaultUserKey(state_.DefaultUserLists, EditType_))->strValue1 = Value1_;
  }
  added_ = true;
  return true;
}

std::string InputDialogModel::RepeatText() const { return RepeatButtonText(series_); }

SeriesRule InputDialogModel::SeriesDraft(const std::string& text0, const std::string& text1) const {
  NewEntry entry{EditType_, text0, 0, {}};
  if (entry.name.empty() && IsKind(EditType_)) entry.name = texts::kKinds[static_cast<std::size_t>(EditType_)].input_word;
  if (IsPaymentKind(EditType_)) {
    const auto amount = numbers_.ToLong(text1);
    entry.amount = amount && *amount != 0 ? *amount : 1;
  } else {
    entry.comment = text1;
  }
  SeriesRule rule = series_ ? *series_ : DefaultSeriesRule(entry, EditDay_);
  rule.entry = entry;
  rule.start = EditDay_;
  return rule;
}

bool InputDialogModel::AddSeriesOf(const NewEntry& entry) {
  SeriesRule rule = *series_;
  rule.entry = entry;
  rule.start = EditDay_;
  const SeriesCheck check = CheckNewSeries(state_.Years, rule, state_.Today);
  if (!check.Accepted()) return Refuse(SeriesRefusalText(check));
  AddSeries(state_.Years, state_.Series, rule, state_.Today);
  series_ = rule;
  return true;
}

void InputDialogModel::AfterClose() {
  if (!added_) return;
  added_ = false;
  AutoSaveUserData(state_, store_, prompts_);
}

}  // namespace orv
