#include "app/startup.hpp"

#include <algorithm>

#include "core/settings.hpp"
#include "schedule/user_data_file.hpp"

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

std::string RecoverySavedMessage(std::string_view recovery_path) {
  return std::string(kSaveErrorText) + "\r\nこのセッションの予定は、次の復旧用ファイルに保存しました:\r\n" +
         std::string(recovery_path) + std::string(kRecoveryNextSteps);
}

std::string QuitWithoutSavingMessage() {
  return std::string(kSaveErrorText) +
         "\r\n復旧用ファイルも作成できませんでした。\r\n"
         "終了すると、このセッションで編集した予定は失われます。終了しますか？";
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
  ports.KeepUserData(state);

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

bool RunShutdown(const AppState& state, ShutdownPorts& ports, ShutdownCause cause) {
  ports.SaveSettings(state);
  const std::string error = ports.SaveUserData(state);
  ports.StoreUserDataPath(state);
  if (!error.empty() && !ports.ScheduleAlreadyStored(state)) {
    // The session's edits must survive whatever stopped the save.
    const std::string recovery = ports.WriteRecoveryFile(state);
    if (cause == ShutdownCause::Quit) {
      if (!recovery.empty())
        ports.ShowShutdownSaveError(RecoverySavedMessage(recovery));
      else if (!ports.ConfirmQuit(QuitWithoutSavingMessage()))
        return false;  // running on, the schedule still in memory
    }
  }
  ports.RemoveTrayIcon();
  ports.UnloadCalendar();
  ports.UnloadVersionDialog();
  ports.EndProgram();
  return true;
}

}  // namespace orv
