#pragma once
// Writing the user data file after an edit: the whole file at UserDataPath, then the path into
// the settings store whatever the outcome, and on failure the fixed save error message (the
// routine's error text itself is not shown). The schedule in memory is never touched.
#include "core/app_state.hpp"
#include "platform/prompts.hpp"
#include "platform/settings_store.hpp"

namespace orv {

// Returns true when the file was written.
bool SaveUserDataAndReport(const AppState& state, SettingsStore& store, Prompts& prompts);

// After an edit: the guard hears of it, then the same save, only when the option AutoSave is
// on; true when nothing had to be saved.
bool AutoSaveUserData(const AppState& state, SettingsStore& store, Prompts& prompts);

}  // namespace orv
