#include "app/startup.hpp"

#include <algorithm>

#include "core/settings.hpp"

namespace orv {

bool HasDebugSwitch(std::string_view command_line) {
  return command_line.find(kDebugSwitch) != std::string_view::npos;
}

bool HasTestingSwitch(const std::vector<std::string>& words) {
  return words.size() > 1 && std::find(words.begin() + 1, words.end(), kTestingSwitch) != words.end();
}

std::string LoadFailureMessage(std::string_view path) {
  return "ユーザーデータファイル " + std::string(path) +
         "の読込に失敗しました！\r\nデータファイルが破損しているか？有効なデータファイルではない可能性があります";
}

bool RunStartup(AppState& state, StartupPorts& ports) {
  if (!ports.AcquireSingleInstance()) return false;
  ports.ReadOptions(state);
  if (HasDebugSwitch(ports.CommandLine())) state.MicrosoftWheelMouse = false;
  ports.ReadUserDataPath(state);

  for (;;) {
    if (state.UserDataPath.empty() || !ports.FileExists(state.UserDataPath)) {
      ports.ShowFirstRunDialog(state);
      // A new file (or none) was named: run with an empty schedule; the first save creates it.
      if (state.UserDataPath.empty() || !ports.FileExists(state.UserDataPath)) break;
    }
    if (ports.LoadUserData(state).empty()) break;
    ports.ShowLoadFailure(LoadFailureMessage(state.UserDataPath));
    state.UserDataPath.clear();
  }

  ports.CreateWindows(state);
  UpdateToday(state);
  SetStartDate(state, StartDateForToday(state));
  state.CalendarMode = kShowNothing;
  state.ThemeListIniPath = ThemeListIniPathFor(ports.ProgramFolder());
  ports.CopyWallpaper();
  ports.ReadThemeList(state);
  ports.ApplySelectedTheme(state);
  ports.ShowCalendar();
  ports.StartWallpaperTimer();
  return true;
}

void RunShutdown(const AppState& state, ShutdownPorts& ports) {
  ports.SaveSettings(state);
  (void)ports.SaveUserData(state);  // reported nowhere: the program is ending
  ports.StoreUserDataPath(state);
  ports.RemoveTrayIcon();
  ports.UnloadCalendar();
  ports.UnloadVersionDialog();
  ports.EndProgram();
}

}  // namespace orv
