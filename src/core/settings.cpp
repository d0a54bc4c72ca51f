#include "core/settings.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/safe.hpp"
#include "platform/ini_file.hpp"

namespace orv {
namespace {

std::string Text(bool value) { return value ? "True" : "False"; }

// An integer option whose values outside [low, high] read as `fallback`.
std::int32_t ReadRanged(const SettingsStore& store, std::string_view key, std::string_view def,
                        std::int32_t low, std::int32_t high, std::int32_t fallback) {
  std::int32_t value = SafeInteger(store.Get(kApplicationName, "Option", key, def));
  return value < low || value > high ? fallback : value;
}

bool ReadFlag(const SettingsStore& store, std::string_view key, std::string_view def) {
  return ParseBoolean(store.Get(kApplicationName, "Option", key, def));
}

constexpr std::string_view kRelativeThemePrefix = "Theme\\";

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += name;
  return path;
}

std::string ThemeListIniPathFor(std::string_view program_folder) {
  return JoinPath(program_folder, kThemeListFileName);
}

void ReadOptions(const SettingsStore& store, AppState& state) {
  state.MicrosoftWheelMouse = ReadFlag(store, "MicrosoftWheelMouse", "True");
  state.MicrosoftWheelMouseChange = ReadRanged(store, "MicrosoftWheelMouseChange", "0", 0, 1, 0);
  state.TodayStart = ReadRanged(store, "TodayStart", "2", 0, 2, 2);
  state.IgnoreXPTheme = ReadFlag(store, "IgnoreXPTheme", "False");
  state.CenterClick = ReadFlag(store, "CenterClick", "True");
  state.ShiftAuto = ReadFlag(store, "ShiftAuto", "True");
  state.OverWriteMenu = ReadFlag(store, "OverWriteMenu", "False");
  state.AutoSave = ReadFlag(store, "AutoSave", "False");
  state.ShowHolidays = ReadFlag(store, "ShowHolidays", "True");
  state.RemindPayments = ReadFlag(store, "RemindPayments", "True");
  state.RemindDaysAhead = ReadRanged(store, "RemindDaysAhead", "2", 0, 14, 2);
  state.RemindVerySpecial = ReadFlag(store, "RemindVerySpecial", "True");
  // A zoom that is not one of the choices follows the monitor.
  const std::int32_t zoom = SafeInteger(store.Get(kApplicationName, "Option", "Zoom", "0"));
  state.Zoom = std::find(kZoomChoices.begin(), kZoomChoices.end(), zoom) != kZoomChoices.end() ? zoom : 0;
  state.LastCalendarMode = SafeInteger(store.Get(kApplicationName, "Run", "LastCalendarMode", "0"));
}

void ReadUserDataPath(const SettingsStore& store, AppState& state) {
  state.UserDataPath = store.Get(kApplicationName, "UserData", "FileName", "");
}

void SaveUserDataPath(SettingsStore& store, const AppState& state) {
  store.Set(kApplicationName, "UserData", "FileName", state.UserDataPath);
}

void ReadThemeList(const SettingsStore& store, std::string_view program_folder, AppState& state) {
  const std::string selected = store.Get(kApplicationName, "Theme", "Selected", "");
  state.SelectedThemeKey.clear();
  state.ThemeList.Clear();

  const IniFile file = IniFile::Load(state.ThemeListIniPath);
  const std::int32_t count = SafeInteger(file.Get(kThemeListSection, "Count", "0"));
  for (std::int32_t i = 1; i <= count; ++i) {
    std::string path = file.Get(kThemeListSection, "File_" + std::to_string(i), "");
    if (path.empty()) continue;
    if (path.starts_with(kRelativeThemePrefix)) path = JoinPath(program_folder, path);
    const std::string key = NextThemeKey(state.ThemeList);
    state.ThemeList.Add(key)->IniFilePath = path;
    if (path == selected) state.SelectedThemeKey = key;
  }
}

void SaveSettings(SettingsStore& store, const AppState& state) {
  auto option = [&store](std::string_view key, std::string value) {
    store.Set(kApplicationName, "Option", key, value);
  };
  option("MicrosoftWheelMouse", Text(state.MicrosoftWheelMouse));
  option("MicrosoftWheelMouseChange", std::to_string(state.MicrosoftWheelMouseChange));
  option("TodayStart", std::to_string(state.TodayStart));
  if (state.XPThemeAvailable) option("IgnoreXPTheme", Text(state.IgnoreXPTheme));
  option("CenterClick", Text(state.CenterClick));
  option("ShiftAuto", Text(state.ShiftAuto));
  option("OverWriteMenu", Text(state.OverWriteMenu));
  option("AutoSave", Text(state.AutoSave));
  option("ShowHolidays", Text(state.ShowHolidays));
  option("RemindPayments", Text(state.RemindPayments));
  option("RemindDaysAhead", std::to_string(state.RemindDaysAhead));
  option("RemindVerySpecial", Text(state.RemindVerySpecial));
  option("Zoom", std::to_string(state.Zoom));

  // The list is written in one replacement of the file; when the system refuses it the
  // file keeps its old list. "File_" keys above the new count stay but are never read.
  if (!state.ThemeListIniPath.empty()) {
    std::vector<std::pair<std::string, std::string>> values;
    std::int64_t i = 0;
    for (const CDrawLoad& entry : state.ThemeList)
      values.emplace_back("File_" + std::to_string(++i), entry.IniFilePath);
    values.emplace_back("Count", std::to_string(state.ThemeList.Count()));
    WriteIniStrings(state.ThemeListIniPath, kThemeListSection, values);
  }

  const CDrawLoad* selected =
      state.SelectedThemeKey.empty() ? nullptr : state.ThemeList.Find(state.SelectedThemeKey);
  store.Set(kApplicationName, "Theme", "Selected", selected ? selected->IniFilePath : "");
  store.Set(kApplicationName, "Run", "LastCalendarMode", std::to_string(state.LastCalendarMode));
}

}  // namespace orv
