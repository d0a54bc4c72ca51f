#pragma once
// The options, the user data path and the selected theme in the settings store, and the
// list of installed themes in the theme list file. Everything is read once at start-up and
// written once at shutdown (the user data path also after every save of the data file).
#include <string>
#include <string_view>

#include "core/app_state.hpp"
#include "platform/settings_store.hpp"

namespace orv {

inline constexpr std::string_view kApplicationName = "Orvanta";
inline constexpr std::string_view kThemeListFileName = "Orvanta.INI";
inline constexpr std::string_view kThemeListSection = "CalendarDraw";

// `folder` + "\" + `name`, without doubling a separator the folder already ends in.
std::string JoinPath(std::string_view folder, std::string_view name);
// The theme list file in the program's folder.
std::string ThemeListIniPathFor(std::string_view program_folder);

// Section "Option" and "Run": defaults for missing values, out-of-range numbers mapped.
void ReadOptions(const SettingsStore& store, AppState& state);
// "UserData"/"FileName".
void ReadUserDataPath(const SettingsStore& store, AppState& state);
void SaveUserDataPath(SettingsStore& store, const AppState& state);

// Reads "Theme"/"Selected", empties SelectedThemeKey and fills ThemeList from the file at
// state.ThemeListIniPath, marking the entry whose path is the selected one. Entries that
// begin with "Theme\" are made full paths under `program_folder`.
void ReadThemeList(const SettingsStore& store, std::string_view program_folder, AppState& state);

// Writes everything back: the options ("IgnoreXPTheme" only on a system with visual
// styles), the theme list file, the selected theme's path and the last display mode.
void SaveSettings(SettingsStore& store, const AppState& state);

}  // namespace orv
