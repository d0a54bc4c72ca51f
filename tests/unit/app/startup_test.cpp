#include "app/startup.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace orv {
namespace {

class ScriptedStartup : public StartupPorts {
public:
  std::vector<std::string> log;
  bool first_copy = true;
  std::string command_line = "orvanta.exe";
  std::string stored_path;
  std::set<std::string> existing;
  std::deque<std::string> first_run_answers;  // each dialog names this path ("" = closed)
  std::deque<std::string> load_results;        // error texts, "" = loaded

  bool AcquireSingleInstance() override {
    log.push_back("instance");
    return first_copy;
  }
  void ReadOptions(AppState&) override { log.push_back("options"); }
  std::string CommandLine() override { return command_line; }
  void ReadUserDataPath(AppState& state) override {
    log.push_back("path");
    state.UserDataPath = stored_path;
  }
  bool FileExists(const std::string& path) override { return existing.count(path) > 0; }
  void ShowFirstRunDialog(AppState& state) override {
    log.push_back("first run");
    std::string answer = first_run_answers.empty() ? "" : first_run_answers.front();
    if (!first_run_answers.empty()) first_run_answers.pop_front();
    if (!answer.empty()) state.UserDataPath = answer;
  }
  std::string LoadUserData(AppState& state) override {
    log.push_back("load " + state.UserDataPath);
    std::string result = load_results.empty() ? "" : load_results.front();
    if (!load_results.empty()) load_results.pop_front();
    return result;
  }
  void ShowLoadFailure(const std::string& message) override { log.push_back("failure: " + message); }
  void KeepUserData(AppState& state) override { log.push_back("keep " + state.UserDataPath); }
  void CreateWindows(AppState& state) override {
    log.push_back("windows wheel=" + std::to_string(state.MicrosoftWheelMouse));
  }
  std::string ProgramFolder() override { return "C:\\Apps\\Orvanta"; }
  void CopyWallpaper() override { log.push_back("wallpaper"); }
  void ReadThemeList(AppState& state) override { log.push_back("theme list " + state.ThemeListIniPath); }
  void ApplySelectedTheme(AppState&) override { log.push_back("theme"); }
  void ShowCalendar() override { log.push_back("show"); }
  void StartWallpaperTimer() override { log.push_back("timer"); }
};

struct StartupFixture : ::testing::Test {
  AppState state;
  ScriptedStartup ports;
  StartupFixture() { state.clock = [] { return MakeDate(2026, 12, 7); }; }
};
using StartupTest = StartupFixture;

const std::vector<std::string> kWindowsOnward = {
    "windows wheel=1", "wallpaper", "theme list C:\\Apps\\Orvanta\\Orvanta.INI", "theme", "show", "timer"};

std::vector<std::string> Then(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST_F(StartupTest, ASecondCopyEndsBeforeReadingAnything) {
  ports.first_copy = false;
  EXPECT_FALSE(RunStartup(state, ports));
  EXPECT_EQ(ports.log, (std::vector<std::string>{"instance"}));
}

TEST_F(StartupTest, StoredFileLoadsWithoutTheDialogInOrder) {
  ports.stored_path = "C:\\d\\my.orv";
  ports.existing = {"C:\\d\\my.orv"};
  state.TodayStart = 1;
  state.CalendarMode = 2;
  EXPECT_TRUE(RunStartup(state, ports));
  EXPECT_EQ(ports.log, Then({"instance", "options", "path", "load C:\\d\\my.orv", "keep C:\\d\\my.orv"},
                            kWindowsOnward));
  EXPECT_EQ(state.StartDate, MakeDate(2026, 12, 6));
  EXPECT_EQ(state.StartDateParts, SplitDate(MakeDate(2026, 12, 6)));
  EXPECT_EQ(state.Today, MakeDate(2026, 12, 7));
  EXPECT_EQ(state.CalendarMode, 0);
}

TEST_F(StartupTest, FirstRunNamingANewFileRunsEmptyWithThatPath) {
  ports.first_run_answers = {"C:\\d\\new.orv"};
  EXPECT_TRUE(RunStartup(state, ports));
  EXPECT_EQ(ports.log, Then({"instance", "options", "path", "first run", "keep C:\\d\\new.orv"}, kWindowsOnward));
  EXPECT_EQ(state.UserDataPath, "C:\\d\\new.orv");
  EXPECT_EQ(state.StartDate, MakeDate(2026, 11, 30));  // TodayStart 2: a week back
}

TEST_F(StartupTest, CorruptFileShowsTheFailureThenTheDialogAgain) {
  ports.stored_path = "C:\\d\\bad.orv";
  ports.existing = {"C:\\d\\bad.orv", "C:\\d\\good.orv"};
  ports.load_results = {"sfLoadUserData\t1\tversion\n", ""};
  ports.first_run_answers = {"C:\\d\\good.orv"};
  EXPECT_TRUE(RunStartup(state, ports));
  const std::string message =
      "failure: ユーザーデータファイル C:\\d\\bad.orvの読込に失敗しました！\r\n"
      "データファイルが破損しているか？有効なデータファイルではない可能性があります";
  EXPECT_EQ(ports.log, Then({"instance", "options", "path", "load C:\\d\\bad.orv", message,
                             "first run", "load C:\\d\\good.orv", "keep C:\\d\\good.orv"},
                            kWindowsOnward));
}

TEST_F(StartupTest, ClosingTheFirstRunDialogRunsWithoutAPath) {
  ports.stored_path = "C:\\gone.orv";  // deleted since the last run
  EXPECT_TRUE(RunStartup(state, ports));
  EXPECT_EQ(ports.log, Then({"instance", "options", "path", "first run", "keep C:\\gone.orv"}, kWindowsOnward));
  EXPECT_EQ(state.UserDataPath, "C:\\gone.orv");  // unchanged: the dialog keeps what it got
}

TEST_F(StartupTest, DebugSwitchTurnsTheWheelOffBeforeTheWindowsExist) {
  ports.command_line = "orvanta.exe /x /Debug:PLUM-TREE /y";
  ports.first_run_answers = {"C:\\n.orv"};
  RunStartup(state, ports);
  EXPECT_FALSE(state.MicrosoftWheelMouse);
  EXPECT_EQ(ports.log[5], "windows wheel=0");
  EXPECT_FALSE(HasDebugSwitch("/debug:plum-tree"));
  EXPECT_TRUE(HasDebugSwitch("a/Debug:PLUM-TREEb"));
}

TEST(TestingSwitchTest, OnlyTheWholeWordAfterTheProgramName) {
  EXPECT_TRUE(HasTestingSwitch({"orvanta.exe", "/x", "--testing"}));
  EXPECT_FALSE(HasTestingSwitch({"orvanta.exe"}));
  EXPECT_FALSE(HasTestingSwitch({"--testing"}));  // a program named so
  EXPECT_FALSE(HasTestingSwitch({"orvanta.exe", "--testing-not", "--TESTING", "x--testing"}));
}


class RecordingShutdown : public ShutdownPorts {
public:
  std::vector<std::string> log;
  std::string save_error = "sfSaveUserData\t32\tlocked\n";
  std::string recovery = "C:\\R\\data-20261207-183000.ORV";  // "" = could not be written
  bool quit_anyway = true;
  bool already_stored = false;
  void SaveSettings(const AppState&) override { log.push_back("settings"); }
  std::string SaveUserData(const AppState&) override {
    log.push_back("save");
    return save_error;
  }
  void StoreUserDataPath(const AppState&) override { log.push_back("path"); }
  bool ScheduleAlreadyStored(const AppState&) override {
    log.push_back("compare");
    return already_stored;
  }
  std::string WriteRecoveryFile(const AppState&) override {
    log.push_back("recovery");
    return recovery;
  }
  void DiscardRecoveryFile(const std::string& path) override { log.push_back("discard " + path); }
  void ShowShutdownSaveError(const std::string& message) override { log.push_back("error: " + message); }
  bool ConfirmQuit(const std::string& message) override {
    log.push_back("ask: " + message);
    return quit_anyway;
  }
  void RemoveTrayIcon() override { log.push_back("tray"); }
  void UnloadCalendar() override { log.push_back("calendar"); }
  void UnloadVersionDialog() override { log.push_back("version"); }
  void EndProgram() override { log.push_back("end"); }
};

const std::vector<std::string> kTakeDown = {"tray", "calendar", "version", "end"};

TEST(ShutdownTest, ASuccessfulSaveNeedsNoRecoveryWhateverEndedTheProgram) {
  for (ShutdownCause cause : {ShutdownCause::Quit, ShutdownCause::EndOfSession}) {
    AppState state;
    state.AutoSave = false;
    RecordingShutdown ports;
    ports.save_error.clear();
    EXPECT_TRUE(RunShutdown(state, ports, cause));
    EXPECT_EQ(ports.log, Then({"settings", "save", "path"}, kTakeDown));
  }
}

TEST(ShutdownTest, AFailedSaveAtQuitWritesTheRecoveryFileAndNamesIt) {
  AppState state;
  RecordingShutdown ports;
  EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::Quit));
  const std::string error =
      "error: ユーザーデータを保存する事が出来ませんでした!\r\n\r\n"
      "このセッションの予定は、次の復旧用ファイルに保存しました:\r\nC:\\R\\data-20261207-183000.ORV" +
      std::string(kRecoveryNextSteps);
  EXPECT_EQ(ports.log, Then({"settings", "save", "path", "compare", "recovery", error}, kTakeDown));
}

// No time for questions: the system may end the process as soon as the notification returns.
// A file that could not be replaced but holds this very schedule (nothing was changed, or the
// program ran without a file and nothing was entered) loses nothing: no recovery, no message.
TEST(ShutdownTest, AFailedSaveThatLosesNothingNeedsNoRecovery) {
  AppState state;
  RecordingShutdown ports;
  ports.already_stored = true;
  EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::Quit));
  EXPECT_EQ(ports.log, Then({"settings", "save", "path", "compare"}, kTakeDown));
}

TEST(ShutdownTest, AFailedSaveAtTheEndOfTheSessionWritesTheRecoveryFileBeforeComparing) {
  AppState state;
  RecordingShutdown ports;
  EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::EndOfSession));
  EXPECT_EQ(ports.log, Then({"settings", "save", "path", "recovery", "compare"}, kTakeDown));
  ports.log.clear();
  ports.already_stored = true;  // the file held this schedule after all: no leftover to offer
  EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::EndOfSession));
  EXPECT_EQ(ports.log, Then({"settings", "save", "path", "recovery", "compare", "discard " + ports.recovery}, kTakeDown));
  ports.log.clear();
  ports.recovery.clear();  // not even that could be written: nothing more to do
  EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::EndOfSession));
  EXPECT_EQ(ports.log, Then({"settings", "save", "path", "recovery"}, kTakeDown));
}

// A data file on a share that stopped answering is not read again to compare, at a quit or at
// the end of the session: that read would wait as long as the save did.
TEST(ShutdownTest, AFailedSaveOnADeadPathOrNetworkIsNeverComparedAgain) {
  const std::string error_with_recovery =
      "error: ユーザーデータを保存する事が出来ませんでした!\r\n\r\n"
      "このセッションの予定は、次の復旧用ファイルに保存しました:\r\nC:\\R\\data-20261207-183000.ORV" +
      std::string(kRecoveryNextSteps);
  for (const char* save_error : {"sfSaveUserData\t53\tThe network path was not found.\n",
                                 "sfSaveUserData\t64\tThe specified network name is no longer available.\n",
                                 "sfSaveUserData\t3\tThe system cannot find the path specified.\n",
                                 "sfSaveUserData\t21\tThe device is not ready.\n",
                                 "earlier\t5\tdenied\nsfSaveUserData\t1231\tunreachable\n"}) {
    SCOPED_TRACE(save_error);
    AppState state;
    state.UserDataPath = "\\\\server\\share\\data.ORV";
    RecordingShutdown ports;
    ports.save_error = save_error;
    ports.already_stored = true;  // would hide the failure, were it asked
    EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::EndOfSession));
    EXPECT_EQ(ports.log, Then({"settings", "save", "path", "recovery"}, kTakeDown));
    ports.log.clear();
    EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::Quit));
    EXPECT_EQ(ports.log, Then({"settings", "save", "path", "recovery", error_with_recovery}, kTakeDown));
  }
  // A run that goes on without a data file (its file would not load, no other was chosen) has
  // no share to wait on: the empty schedule is compared and needs nothing.
  {
    AppState state;
    RecordingShutdown ports;
    ports.save_error = "sfSaveUserData\t3\tThe system cannot find the path specified.\n";
    ports.already_stored = true;  // nothing in memory, no file named
    EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::Quit));
    EXPECT_EQ(ports.log, Then({"settings", "save", "path", "compare"}, kTakeDown));
  }
  for (const char* local : {"sfSaveUserData\t5\tAccess is denied.\n", "sfSaveUserData\t32\tlocked\n",
                            "sfSaveUserData\t530\tno number 53\n", "garbled"})
    EXPECT_FALSE(SaveFailedOnPathOrNetwork(local)) << local;
}

// With nowhere to put the session's edits, a quit asks first; cancelled, the program runs on
// with everything in memory and its icon in place, so the user can try again.
TEST(ShutdownTest, WhenNothingCanBeSavedAQuitAsksAndMayBeCalledOff) {
  AppState state;
  RecordingShutdown ports;
  ports.recovery.clear();
  ports.quit_anyway = false;
  EXPECT_FALSE(RunShutdown(state, ports, ShutdownCause::Quit));
  const std::string ask =
      "ask: ユーザーデータを保存する事が出来ませんでした!\r\n\r\n復旧用ファイルも作成できませんでした。\r\n"
      "終了すると、このセッションで編集した予定は失われます。終了しますか？";
  EXPECT_EQ(ports.log, (std::vector<std::string>{"settings", "save", "path", "compare", "recovery", ask}));
  ports.log.clear();
  ports.quit_anyway = true;
  EXPECT_TRUE(RunShutdown(state, ports, ShutdownCause::Quit));
  EXPECT_EQ(ports.log, Then({"settings", "save", "path", "compare", "recovery", ask}, kTakeDown));
}

}  // namespace
}  // namespace orv
