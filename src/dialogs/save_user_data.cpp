#include "dialogs/save_user_data.hpp"

#include "core/settings.hpp"
#include "dialogs/dialog_texts.hpp"
#include "schedule/user_data_file.hpp"

namespace orv {

bool SaveUserDataAndReport(const AppState& state, SettingsStore& store, Prompts& prompts) {
  const std::string error =
      state.guard ? state.guard->Save() : sfSaveUserData(state.UserDataPath, state.Years, state.DefaultUserLists);
  SaveUserDataPath(store, state);
  if (error.empty()) return true;
  prompts.Message(MessageIcon::Critical, MessageButtons::Ok, kSaveErrorTitle,
                  kSaveErrorText);
  return false;
}

bool AutoSaveUserData(const AppState& state, SettingsStore& store, Prompts& prompts) {
  ScheduleEdited(state);  // durable now, whatever the option says
  if (!state.AutoSave) return true;
  return SaveUserDataAndReport(state, store, prompts);
}

}  // namespace orv
