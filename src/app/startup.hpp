#pragma once
// The order in which the program starts and ends, over ports so that the order itself is
// tested natively. The Win32 entry point fills the ports with the real settings store,
// windows and dialogs.
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.hpp"

namespace orv {

inline constexpr char kApplicationTitle[] = "Orvanta";
inline constexpr char kSingleInstanceName[] = "Orvanta.SingleInstance";
inline constexpr char kDebugSwitch[] = "/Debug:PLUM-TREE";
// Started by the end-to-end tests: the windows answer their state report.
inline constexpr char kTestingSwitch[] = "--testing";

// The exact, case-sensitive switch anywhere in the command line.
bool HasDebugSwitch(std::string_view command_line);
// The testing switch as a word of its own among the command line's words (the program's
// name first, never a switch).
bool HasTestingSwitch(const std::vector<std::string>& words);
// The message shown when the user data file cannot be loaded.
std::string LoadFailureMessage(std::string_view path);
// What the user can do next about a recovery file.
inline constexpr char kRecoveryNextSteps[] =
    "\r\n\r\n次に起動したときに、この予定を復元するかどうかをお尋ねします。"
    "データファイルを保存できる場所に移すには、通知領域のアイコンのメニューの"
    "「データファイルを開く...」または「新しいデータファイル...」を使ってください。";
// After a quit whose save failed: the save error, where the schedule went instead, and what
// the user can do about it.
std::string RecoverySavedMessage(std::string_view recovery_path);
// After a quit whose save failed and no recovery file could be written either: quit anyway?
std::string QuitWithoutSavingMessage();

class StartupPorts {
public:
  virtual ~StartupPorts() = default;
  // False when another copy of the program runs already.
  virtual bool AcquireSingleInstance() = 0;
  virtual void ReadOptions(AppState& state) = 0;
  virtual std::string CommandLine() = 0;
  virtual void ReadUserDataPath(AppState& state) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // The first-run dialog, modal; it may change state.UserDataPath.
  virtual void ShowFirstRunDialog(AppState& state) = 0;
  // sfLoadUserData into the state; the error text, empty on success.
  virtual std::string LoadUserData(AppState& state) = 0;
  // The message box with the error icon and the application title.
  virtual void ShowLoadFailure(const std::string& message) = 0;
  // The schedule is there (loaded, or empty for a new file): from now on it is kept safe, and
  // what earlier sessions could not save is offered back.
  virtual void KeepUserData(AppState& state) = 0;
  // The calendar window, then the host window, both hidden.
  virtual void CreateWindows(AppState& state) = 0;
  virtual std::string ProgramFolder() = 0;
  virtual void CopyWallpaper() = 0;
  // "Theme"/"Selected" and the theme list file.
  virtual void ReadThemeList(AppState& state) = 0;
  // The selected or the built-in theme, and the first full redraw.
  virtual void ApplySelectedTheme(AppState& state) = 0;
  virtual void ShowCalendar() = 0;
  virtual void StartWallpaperTimer() = 0;
};

// The start-up sequence. Returns false when the program must end at once (a second copy).
bool RunStartup(AppState& state, StartupPorts& ports);

// What ended the program: the user (the menu's quit, a close), or the end of the Windows
// session, when there is no time to ask anything.
enum class ShutdownCause { Quit, EndOfSession };

class ShutdownPorts {
public:
  virtual ~ShutdownPorts() = default;
  virtual void SaveSettings(const AppState& state) = 0;
  virtual std::string SaveUserData(const AppState& state) = 0;
  virtual void StoreUserDataPath(const AppState& state) = 0;
  // True when a failed save loses nothing (the file holds this schedule already, or there is
  // nothing to keep).
  virtual bool ScheduleAlreadyStored(const AppState& state) = 0;
  // The schedule into a new recovery file; its path, or empty when that failed as well.
  virtual std::string WriteRecoveryFile(const AppState& state) = 0;
  // Deletes a recovery file that turned out to hold nothing the data file lacks.
  virtual void DiscardRecoveryFile(const std::string& path) = 0;
  // The save error message box (critical icon, OK).
  virtual void ShowShutdownSaveError(const std::string& message) = 0;
  // The warning message box with OK and Cancel; true for OK.
  virtual bool ConfirmQuit(const std::string& message) = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void UnloadCalendar() = 0;
  virtual void UnloadVersionDialog() = 0;
  virtual void EndProgram() = 0;
};

// Whether a save's error text tells of a path, drive or network that is not there or does
// not answer (the system's error numbers).
bool SaveFailedOnPathOrNetwork(std::string_view error);

// The shutdown sequence, whatever ended the program. The user data file is saved whether or
// not automatic saving is on. When that save fails, the session's schedule goes to a recovery
// file, and a quit by the user says where; at the end of the session nothing is shown and the
// recovery file is written before the data file is read again to compare. Returns
// false when the user chose to keep the program running (nothing could be saved at all).
bool RunShutdown(const AppState& state, ShutdownPorts& ports, ShutdownCause cause);

}  // namespace orv
