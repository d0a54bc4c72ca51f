#include "options/preset_page.hpp"

#include "schedule/schedule.hpp"
#include "schedule/user_data_file.hpp"

namespace orv {

namespace {
const char* FieldWord(int kind) { return kind <= kCashPayments ? "名称" : "タイトル"; }
}  // namespace

std::string PresetPrompt(int kind) {
  return std::string(kPresetKindNames[kind]) + "データの" + FieldWord(kind) + "を入力してください";
}

void PresetPage::ChooseKind(int kind) {
  kind_ = kind;
  RefreshDUDList();
}

void PresetPage::RefreshDUDList() {
  lines_.clear();
  dud_keys_.clear();
  if (!KindValid()) return;
  for (const DefaultUserD& preset : state_.DefaultUserLists[static_cast<std::size_t>(kind_)]) {
    lines_.push_back(preset.strValue1);
    dud_keys_.push_back(preset.Key);
  }
}

void PresetPage::AddPreset() {
  if (!KindValid()) return;
  std::string typed;
  for (;;) {
    auto answer = prompts_.Input(PresetPrompt(kind_), kAddPresetTitle, typed);
    if (!answer || answer->empty()) break;
    // A name the user data file cannot hold would make every later save fail: it is refused
    // here, and the box comes back with what was typed so that it can be corrected.
    const std::string why = CheckStorableText(*answer);
    if (why.empty()) {
      auto key = NextDefaultUserKey(state_.DefaultUserLists, kind_);
      if (DefaultUserD* preset = state_.DefaultUserLists[static_cast<std::size_t>(kind_)].Add(key))
        preset->strValue1 = *answer;
      ScheduleEdited(state_);
      break;
    }
    prompts_.Message(MessageIcon::Information, MessageButtons::Ok, kAddPresetTitle,
                     UnstorableTextMessage(FieldWord(kind_), why));
    typed = *answer;
  }
  RefreshDUDList();
}

void PresetPage::DeleteTickedPresets(const std::vector<bool>& ticked) {
  bool any = false;
  for (std::size_t i = 0; i < ticked.size() && i < dud_keys_.size(); ++i) any = any || ticked[i];
  if (!any) {
    prompts_.Message(MessageIcon::Information, MessageButtons::Ok, "一覧からの削除について",
                     "チェックをつけた項目を一覧から削除することが出来ます");
    return;
  }
  auto answer = prompts_.Message(MessageIcon::Question, MessageButtons::OkCancel, "削除の確認",
                                 "チェックがつけられた項目を、一覧から削除します\r\n本当に削除しますか？");
  if (answer == MessageAnswer::Ok && KindValid()) {
    // The keys were taken at the last refresh, so removing one never shifts another line.
    auto& list = state_.DefaultUserLists[static_cast<std::size_t>(kind_)];
    for (std::size_t i = 0; i < ticked.size() && i < dud_keys_.size(); ++i) {
      if (ticked[i]) list.Remove(dud_keys_[i]);
    }
    ScheduleEdited(state_);
  }
  RefreshDUDList();
}

}  // namespace orv
