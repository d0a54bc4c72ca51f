#include "dialogs/year_datas_dialog.hpp"

#include <algorithm>

#include "dialogs/dialog_texts.hpp"

namespace orv {

DialogOrigin YearDatasDialogOrigin(int screen_width, int screen_height, int calendar_width,
                                   int dialog_width, int dialog_height) {
  return {screen_width - calendar_width - dialog_width, (screen_height - dialog_height) / 2};
}

void YearDatasModel::dsRefreshYearDatasList() {
  rows_.clear();
  YearKeys_.clear();
  for (const auto& year : state_.Years) {
    YearKeys_.push_back(year.Key);
    rows_.push_back(year.Key + texts::kYearSuffix);
  }
}

bool YearDatasModel::DeleteChecked(const std::vector<bool>& checked) {
  const std::size_t rows = std::min(checked.size(), rows_.size());
  if (std::find(checked.begin(), checked.begin() + static_cast<std::ptrdiff_t>(rows), true) ==
      checked.begin() + static_cast<std::ptrdiff_t>(rows)) {
    prompts_.Message(MessageIcon::Information, MessageButtons::Ok, texts::kNoYearCheckedTitle,
                     texts::kNoYearCheckedText);
    return false;
  }
  if (prompts_.Message(MessageIcon::Question, MessageButtons::OkCancel, texts::kConfirmDeleteTitle,
                       texts::kConfirmYearsText) != MessageAnswer::Ok)
    return false;
  // By key: earlier removals shift positions in the tree but not the remembered keys.
  for (std::size_t r = 0; r < rows; ++r)
    if (checked[r]) state_.Years.Remove(YearKeys_[r]);
  ScheduleEdited(state_);
  dsRefreshYearDatasList();
  calendar_.dsDrawCalendar();
  return true;
}

}  // namespace orv
