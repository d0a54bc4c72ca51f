#include "app/startup.hpp"

#include <algorithm>
#include <iterator>

#include "app/series_upkeep.hpp"
#include "core/safe.hpp"
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
  KeepSeriesAhead(state);  // drawn by the first full redraw
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

bool SaveFailedOnPathOrNetwork(std::string_view error) {
  // The system's error numbers of a folder, drive, share or connection that is not there or
  // does not answer.
  static constexpr long kUnreachable[] = {
      3,     // ERROR_PATH_NOT_FOUND
      15,    // ERROR_INVALID_DRIVE
      21,    // ERROR_NOT_READY
      51,    // ERROR_REM_NOT_LIST
      53,    // ERROR_BAD_NETPATH
      54,    // ERROR_NETWORK_BUSY
      55,    // ERROR_DEV_NOT_EXIST
      58,    // ERROR_BAD_NET_RESP
      59,    // ERROR_UNEXP_NET_ERR
      64,    // ERROR_NETNAME_DELETED
      67,    // ERROR_BAD_NET_NAME
      121,   // ERROR_SEM_TIMEOUT
      1203,  // ERROR_NO_NET_OR_BAD_PATH
      1231,  // ERROR_NETWORK_UNREACHABLE
      1232,  // ERROR_HOST_UNREACHABLE
      1236,  // ERROR_CONNECTION_ABORTED
      2250,  // ERROR_NOT_CONNECTED
  };
  // One line per failure: routine TAB number TAB description.
  while (!error.empty()) {
    const std::size_t end = std::min(error.find('\n'), error.size());
    const std::string_view line = error.substr(0, end);
    error.remove_prefix(std::min(end + 1, error.size()));
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    const std::string_view rest = line.substr(tab + 1);
    const auto number = ParseWholeNumber(rest.substr(0, rest.find('\t')));
    if (number && std::find(std::begin(kUnreachable), std::end(kUnreachable), *number) != std::end(kUnreachable))
      return true;
  }
  return false;
}

bool RunShutdown(const AppState& state, ShutdownPorts& ports, ShutdownCause cause) {
  ports.SaveSettings(state);
  const std::string error = ports.SaveUserData(state);
  ports.StoreUserDataPath(state);
  // Comparing reads the data file again: where it stands on a share that stopped answering,
  // that read waits as long as the save did, and nothing is learnt from it.
  // With no data file named there is no share to wait on, and a schedule with nothing in it
  // needs no recovery file.
  const bool unreachable = !error.empty() && !state.UserDataPath.empty() && SaveFailedOnPathOrNetwork(error);
  if (!error.empty() && cause == ShutdownCause::EndOfSession) {
    // The system may end the process at any moment: the session's edits go to the recovery
    // file before anything else; it goes again if the data file turns out to hold them.
    const std::string recovery = ports.WriteRecoveryFile(state);
    if (!recovery.empty() && !unreachable && ports.ScheduleAlreadyStored(state)) ports.DiscardRecoveryFile(recovery);
  } else if (!error.empty() && (unreachable || !ports.ScheduleAlreadyStored(state))) {
    // The session's edits must survive whatever stopped the save.
    const std::string recovery = ports.WriteRecoveryFile(state);
    if (!recovery.empty())
      ports.ShowShutdownSaveError(RecoverySavedMessage(recovery));
    else if (!ports.ConfirmQuit(QuitWithoutSavingMessage()))
      return false;  // running on, the schedule still in memory
  }
  ports.RemoveTrayIcon();
  ports.UnloadCalendar();
  ports.UnloadVersionDialog();
  ports.EndProgram();
  return true;
}

}  // namespace orv
