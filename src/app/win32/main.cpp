// orvanta.exe: wires the real adapters into the start-up and shutdown sequences and runs the
// message loop. There is no main window: the calendar stands on the desktop and the hidden
// host window owns the tray icon.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "app/render_options.hpp"
#include "app/backup_restore.hpp"
#include "app/conflict_offer.hpp"
#include "app/data_file_switch.hpp"
#include "app/restore_offer.hpp"
#include "app/series_upkeep.hpp"
#include "app/win32/data_file_keeper.hpp"
#include "app/startup.hpp"
#include "app/win32/render_command.hpp"
#include "calendar/calendar_picture.hpp"
#include "calendar/win32/calendar_window.hpp"
#include "core/settings.hpp"
#include "desktop/win32/background_window.hpp"
#include "desktop/win32/wheel_hook.hpp"
#include "desktop/win32/win32_desktop_facts.hpp"
#include "dialogs/win32/add_entry_windows.hpp"
#include "dialogs/win32/editing_windows.hpp"
#include "dialogs/first_run.hpp"
#include "dialogs/win32/first_run_dialogs.hpp"
#include "dialogs/win32/upcoming_window.hpp"
#include "options/win32/options_window.hpp"
#include "platform/file_system.hpp"
#include "platform/win32/change_notices.hpp"
#include "platform/win32/display_scale.hpp"
#include "platform/win32/known_folders.hpp"
#include "platform/win32/registry.hpp"
#include "platform/win32/startup_trace.hpp"
#include "platform/win32/state_report.hpp"
#include "platform/win32/delay_load.hpp"
#include "platform/win32/wic_picture_loader.hpp"
#include "platform/win32/wide.hpp"
#include "platform/win32/win32_number_conversion.hpp"
#include "platform/win32/win32_prompts.hpp"
#include "platform/windows_path.hpp"
#include "reminders/win32/tray_reminders.hpp"
#include "schedule/recovery_file.hpp"
#include "schedule/schedule_merge.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"
#include "theme/theme.hpp"

namespace orv {
namespace {

std::string ProgramFolderOfModule() {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring folder(path, n);
  const auto slash = folder.find_last_of(L"\\/");
  folder.resize(slash == std::wstring::npos ? 0 : slash);
  return WideToUtf8(folder);
}

// Message boxes owned by whichever of our windows is active (the open day dialog), so that
// a dialog cannot be used while its own question is on the screen.
class ActiveWindowPrompts : public Prompts {
public:
  ActiveWindowPrompts(Win32Prompts& prompts, HWND& fallback) : prompts_(prompts), fallback_(fallback) {}
  MessageAnswer Message(MessageIcon icon, MessageButtons buttons, std::string_view title,
                        std::string_view text) override {
    Own();
    return prompts_.Message(icon, buttons, title, text);
  }
  std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                   std::string_view default_text) override {
    Own();
    return prompts_.Input(prompt, title, default_text);
  }
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override {
    Own();
    return prompts_.OpenFile(request);
  }
  std::optional<std::size_t> Choose(const ChoiceRequest& request) override {
    Own();
    return prompts_.Choose(request);
  }

private:
  void Own() {
    HWND active = GetActiveWindow();
    prompts_.SetOwner(active ? active : fallback_);
  }
  Win32Prompts& prompts_;
  HWND& fallback_;
};

// The calendar takes no input while one of its day dialogs is open (they are modal to it).
class CalendarInputOff {
public:
  explicit CalendarInputOff(const std::function<HWND()>& calendar) : calendar_(calendar) {
    EnableWindow(calendar_(), FALSE);
  }
  ~CalendarInputOff() { EnableWindow(calendar_(), TRUE); }  // the calendar may be a new window by now
  CalendarInputOff(const CalendarInputOff&) = delete;
  CalendarInputOff& operator=(const CalendarInputOff&) = delete;

private:
  const std::function<HWND()>& calendar_;
};

// Schedule editing: the calendar's day dialogs and the tray's bulk deletion of years. The
// dialogs and their message boxes are owned by the hidden host window, never by the calendar:
// a modal dialog disables its owner's top-level window, which for the calendar is the
// shell's desktop window (icons and desktop would stop responding, for good if we died).
class EditingDialogs : public DayDialogs {
public:
  EditingDialogs(AppState& state, DesktopFacts& facts, SettingsStore& store, CalendarView& calendar,
                 EntryIconSets& icons, std::function<HWND()> calendar_window)
      : state_(state), facts_(facts), store_(store), calendar_(calendar), icons_(icons),
        calendar_window_(std::move(calendar_window)) {}
  void SetOwner(HWND owner) {
    owner_ = owner;
    prompts_.SetOwner(owner);
  }

  void ShowDayList(Date day, DialogPlacement at) override {
    CalendarInputOff off(calendar_window_);
    ActiveWindowPrompts prompts(prompts_, owner_);
    UserDataListModel model(state_, facts_, prompts, store_, calendar_);
    model.SetEditDay(day);
    UserDataListWindow window(model, &EditingDialogs::AddFromList, this, &icons_);
    window.ShowModal(owner_, TwipsToPixels(at.Left, facts_.TwipsPerPixelX()), TwipsToPixels(at.Top, facts_.TwipsPerPixelY()));
  }
  void ShowAddEntry(Date day, DialogPlacement at) override {
    CalendarInputOff off(calendar_window_);
    RunAddEntry(owner_, TwipsToPixels(at.Left, facts_.TwipsPerPixelX()), TwipsToPixels(at.Top, facts_.TwipsPerPixelY()), day, state_,
                numbers_, prompts_, store_, &icons_);
  }
  // Not modal: a second request brings the open one to the front.
  void ShowYearDatas(int calendar_width) {
    if (years_window_ && years_window_->hwnd()) {
      SetForegroundWindow(years_window_->hwnd());
      return;
    }
    years_window_.reset();
    years_model_ = std::make_unique<YearDatasModel>(state_, years_prompts_, calendar_);
    years_window_ = std::make_unique<YearDatasWindow>(*years_model_);
    const int dpi = WindowDpi(owner_);  // the dialog is laid out at its monitor's scale
    const DialogOrigin at =
        YearDatasDialogOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), calendar_width,
                              ScaleForDpi(YearDatasWindow::kWidth, dpi), ScaleForDpi(YearDatasWindow::kHeight, dpi));
    years_prompts_.SetOwner(years_window_->Create(nullptr, at.Left, at.Top));
  }
  HWND YearsWindow() const { return years_window_ ? years_window_->hwnd() : nullptr; }
  // "今後の予定": not modal either; its days open their lists modally to it.
  void ShowUpcoming() {
    if (!upcoming_)
      upcoming_ = std::make_unique<UpcomingWindow>(state_, store_, [this](HWND owner, Date day, std::int32_t mode) {
        ShowDayListOver(owner, day, mode);
      });
    upcoming_->Show();
  }
  HWND UpcomingHandle() const { return upcoming_ ? upcoming_->hwnd() : nullptr; }

private:
  // The day list in the kind of entry asked for (the calendar shows that kind too, as when the
  // list's own switch is used), a little below the top-left corner of `owner`.
  void ShowDayListOver(HWND owner, Date day, std::int32_t mode) {
    if (state_.DialogShowing) return;
    if (state_.CalendarMode != mode) {
      state_.CalendarMode = mode;
      calendar_.dsDrawCalendar();
    }
    state_.DialogShowing = true;
    CalendarInputOff off(calendar_window_);
    ActiveWindowPrompts prompts(prompts_, owner_);
    UserDataListModel model(state_, facts_, prompts, store_, calendar_);
    model.SetEditDay(day);
    UserDataListWindow window(model, &EditingDialogs::AddFromList, this, &icons_);
    RECT r{};
    GetWindowRect(owner, &r);
    const int offset = MulDiv(32, WindowDpi(owner), 96);
    window.ShowModal(owner, r.left + offset, r.top + offset);
    state_.DialogShowing = false;
  }
  static void AddFromList(void* self, HWND owner, Date day, int left, int top) {
    auto& dialogs = *static_cast<EditingDialogs*>(self);
    RunAddEntry(owner, left, top, day, dialogs.state_, dialogs.numbers_, dialogs.prompts_, dialogs.store_,
                &dialogs.icons_);
  }
  AppState& state_;
  DesktopFacts& facts_;
  SettingsStore& store_;
  CalendarView& calendar_;
  EntryIconSets& icons_;  // the host window's imgIcon32 and imgIcon64
  std::function<HWND()> calendar_window_;  // the calendar's current window (it may be created anew)
  Win32NumberConversion numbers_;
  Win32Prompts prompts_;
  HWND owner_ = nullptr;  // the host window
  Win32Prompts years_prompts_;
  std::unique_ptr<YearDatasModel> years_model_;
  std::unique_ptr<YearDatasWindow> years_window_;  // destroyed before its model
  std::unique_ptr<UpcomingWindow> upcoming_;
};

// Everything that lives for the run, in the order it must be built and torn down.
class Program : private StartupPorts, private ShutdownPorts, private HostCalendar, private HostDialogs,
                private CalendarView, private WheelHookSwitch, private CalendarPictureSource,
                private DataFileSwitchPorts, private ConflictPorts, private BackupRestorePorts {
public:
  Program()
      : facts_(registry_),
        background_(state_, facts_, pictures_, *this, *this, waits_,
                    {[this] { return keeper_.Keeper().Save(); },
                     [this] { SaveUserDataPath(store_, state_); },
                     [this](bool session_ending) {
                       if (session_ending) keeper_.Quiet();
                       return RunShutdown(state_, *this,
                                          session_ending ? ShutdownCause::EndOfSession : ShutdownCause::Quit);
                     },
                     [this] { reminders_.Look(); }}),
        renderer_(draw_, view_, background_.DesktopImage(), facts_),
        day_dialogs_(state_, facts_, store_, *this, background_.IconSets(), [this] { return calendar_.hwnd(); }),
        calendar_(state_, renderer_, day_dialogs_,
                  {[this] { background_.OpenScrollMenu(); }, [this] { background_.OpenExtraMenu(); },
                   [this] { background_.CalendarLost(); }}),
        theme_environment_{pictures_, facts_.TwipsPerPixelX()},
        options_({state_, *this, theme_environment_, *this, *this, ProgramFolderOfModule()}),
        keeper_(state_, waits_,
                {[this] { calendar_.Controller().dsDrawCalendar(); }, [this] { return background_.hwnd(); },
                 [this] {
                   if (OfferConflictCopies(state_, store_, *this) > 0) calendar_.Controller().dsDrawCalendar();
                 },
                 [this] { reminders_.ScheduleChanged(); }}) {
    SetWheelState(&state_);
    state_.clock = [this] { return facts_.Today(); };  // the date the change watch compares with
  }

  int Run() {
    if (!RunStartup(state_, *this)) return 0;
    // Sleeps until a message comes or the system reports a change the desktop watch follows.
    // (A modal dialog's own loop takes the messages meanwhile; what was reported then is
    // handled when it closes.)
    for (;;) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return 0;
        waits_.Taken(msg);
        if (version_.hwnd() && IsDialogMessageW(version_.hwnd(), &msg)) continue;
        if (options_.PreTranslate(msg)) continue;
        if (HWND years = day_dialogs_.YearsWindow(); years && IsDialogMessageW(years, &msg)) continue;
        if (HWND upcoming = day_dialogs_.UpcomingHandle(); upcoming && IsDialogMessageW(upcoming, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      waits_.WaitForMessageOrHandle();
    }
  }

private:
  // StartupPorts
  bool AcquireSingleInstance() override {
    instance_.reset(CreateMutexW(nullptr, FALSE, Utf8ToWide(kSingleInstanceName).c_str()));
    return instance_ && GetLastError() != ERROR_ALREADY_EXISTS;
  }
  void ReadOptions(AppState& state) override {
    orv::ReadOptions(store_, state);
    MarkStartup("options");
  }
  std::string CommandLine() override { return WideToUtf8(GetCommandLineW()); }
  void ReadUserDataPath(AppState& state) override { orv::ReadUserDataPath(store_, state); }
  bool FileExists(const std::string& path) override { return orv::FileExists(path); }
  void ShowFirstRunDialog(AppState& state) override { ShowUserDataDialog(state.UserDataPath); }
  std::string LoadUserData(AppState& state) override {
    std::string error = sfLoadUserData(state.UserDataPath, state.Years, state.DefaultUserLists);
    MarkStartup("user-data");
    return error;
  }
  void ShowLoadFailure(const std::string& message) override {
    MessageBoxW(nullptr, Utf8ToWide(message).c_str(), Utf8ToWide(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
  }
  void KeepUserData(AppState& state) override {
    keeper_.Start(!state.UserDataPath.empty() && orv::FileExists(state.UserDataPath));
    OfferWhatWasNotSaved();
    OfferConflictCopies(state, store_, *this);  // drawn by the first full redraw
  }
  // Recovery files of the data file in use, offered back; a restored one goes into the file.
  void OfferWhatWasNotSaved() {
    if (OfferRecoveries(state_, keeper_).restored == 0) return;
    keeper_.Keeper().Edited();  // durable at once
    const std::string error = keeper_.Keeper().Save();
    SaveUserDataPath(store_, state_);
    if (!error.empty()) ShowSaveError();
    MarkStartup("restore");
  }
  void CreateWindows(AppState&) override {
    calendar_.Load();
    facts_.SetScaleWindow(calendar_.hwnd());  // sizes and fonts follow the calendar's monitor
    MarkStartup("calendar-window");
    background_.Load();
    day_dialogs_.SetOwner(background_.hwnd());
    MarkStartup("host-window");
  }
  std::string ProgramFolder() override { return ProgramFolderOfModule(); }
  void CopyWallpaper() override {
    background_.dsDesktopImageCopy();
    MarkStartup("wallpaper");
  }
  void ReadThemeList(AppState& state) override { orv::ReadThemeList(store_, ProgramFolderOfModule(), state); }
  void ApplySelectedTheme(AppState& state) override {
    theme_environment_.twips_per_pixel_x = facts_.TwipsPerPixelX();
    orv::ApplySelectedTheme(state, theme_environment_, *this);
    MarkStartup("theme");
  }
  void ShowCalendar() override {
    calendar_.Show();
    MarkStartup("shown");
  }
  void StartWallpaperTimer() override {
    background_.StartWallpaperTimer();
    keeper_.Watch();
    reminders_.Look();  // what is due, and what fell due while the program was not running
  }

  // ShutdownPorts
  void SaveSettings(const AppState& state) override { orv::SaveSettings(store_, state); }
  std::string SaveUserData(const AppState&) override { return keeper_.Keeper().Save(); }
  void StoreUserDataPath(const AppState& state) override { SaveUserDataPath(store_, state); }
  bool ScheduleAlreadyStored(const AppState& state) override {
    if (!orv::ScheduleAlreadyStored(state.UserDataPath, state.Years, state.DefaultUserLists)) return false;
    // The series companion must hold the book as well (none: an empty book).
    std::string text;
    if (ReadWholeFile(SeriesFilePath(state.UserDataPath), text)) return state.Series == SeriesBook{};
    return ReadSeriesText(text) == state.Series;
  }
  // The journal holds the session's schedule (it stays pending for the next start); a failed
  // save's own file only when the journal could not be written either.
  std::string WriteRecoveryFile(const AppState& state) override {
    keeper_.Keeper().Edited();
    if (!keeper_.Keeper().JournalPath().empty()) return keeper_.Keeper().JournalPath();
    const std::string path =
        sfWriteRecoveryFile(RecoveryFolder(), state.UserDataPath, LocalNow(), state.Years, state.DefaultUserLists).path;
    // Its book beside it, as the journal has: the restore offer reads them together.
    if (!path.empty() && state.Series != SeriesBook{}) ReplaceFileContents(SeriesFilePath(path), WriteSeriesText(state.Series));
    return path;
  }
  void DiscardRecoveryFile(const std::string& path) override { DeleteFileW(Utf8ToWide(path).c_str()); }
  void ShowShutdownSaveError(const std::string& message) override {
    MessageBoxW(nullptr, Utf8ToWide(message).c_str(), Utf8ToWide(kSaveErrorTitle).c_str(), MB_OK | MB_ICONERROR);
  }
  bool ConfirmQuit(const std::string& message) override {
    return MessageBoxW(nullptr, Utf8ToWide(message).c_str(), Utf8ToWide(kSaveErrorTitle).c_str(),
                       MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) == IDOK;
  }
  void RemoveTrayIcon() override { background_.RemoveTrayIcon(); }
  void UnloadCalendar() override { calendar_.Unload(); }
  void UnloadVersionDialog() override { version_.Unload(); }
  void EndProgram() override { PostQuitMessage(0); }

  // HostCalendar and the theme loader's view of the calendar
  void dsDrawCalendar() override { calendar_.Controller().dsDrawCalendar(); }
  void dsDrawCalendarDays() override { calendar_.Controller().dsDrawCalendarDays(); }
  void dsCalendarScroll(std::int16_t days) override { calendar_.Controller().dsCalendarScroll(days); }
  void Focus() override { calendar_.Focus(); }
  std::optional<std::chrono::milliseconds> KeepOnDesktop() override { return calendar_.KeepOnDesktop(); }
  // Theme widths given in pixels are kept in twips at the scale they were read at: read the
  // theme again, so it stands as it would after a start at the new scale.
  void Rescale() override { ApplySelectedTheme(state_); }
  // Open-ended series move on with the date (the host window redraws next).
  void TodayChanged() override { KeepSeriesAhead(state_); }

  // HostDialogs
  void ShowVersionDialog() override { version_.Show(); }
  void OpenDataFile() override { SwitchDataFile(state_, DataFileCommand::kOpen, *this); }
  void NewDataFile() override { SwitchDataFile(state_, DataFileCommand::kNew, *this); }
  void RestoreBackup() override { RestoreFromBackup(state_, *this); }
  void ShowUpcoming() override { day_dialogs_.ShowUpcoming(); }

  // BackupRestorePorts
  std::vector<BackupInfo> Backups(const std::string& data_path) override { return ListBackups(BackupFolder(), data_path); }
  std::optional<BackupChoice> Choose(const std::vector<std::string>& lines) override {
    return ChooseBackupDialog(background_.hwnd(), lines);
  }
  bool ConfirmReplace(const std::string& text) override {
    return MessageBoxW(background_.hwnd(), Utf8ToWide(text).c_str(), Utf8ToWide(kRestoreBackupTitle).c_str(),
                       MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) == IDOK;
  }
  void Tell(const std::string& text) override {
    MessageBoxW(background_.hwnd(), Utf8ToWide(text).c_str(), Utf8ToWide(kRestoreBackupTitle).c_str(),
                MB_OK | MB_ICONINFORMATION);
  }
  void Restored(const std::string& text) override {
    keeper_.Keeper().Edited();
    const std::string error = keeper_.Keeper().Save();
    SaveUserDataPath(store_, state_);
    calendar_.Controller().dsDrawCalendar();
    Tell(text);
    if (!error.empty()) ShowSaveError();
  }

  // DataFileSwitchPorts
  std::string SaveCurrent() override {
    const std::string error = keeper_.Keeper().Save();
    SaveUserDataPath(store_, state_);
    return error;
  }
  void ShowSaveError() override {
    MessageBoxW(background_.hwnd(), Utf8ToWide(kSaveErrorText).c_str(), Utf8ToWide(kSaveErrorTitle).c_str(),
                MB_OK | MB_ICONERROR);
  }
  std::optional<std::string> ChooseFile(bool must_exist) override {
    Win32Prompts prompts(background_.hwnd());
    return prompts.OpenFile({kFileDialogTitle, kFileDialogFilter, FolderOf(state_.UserDataPath), "orv", must_exist});
  }
  bool Ask(const std::string& text) override {
    return MessageBoxW(background_.hwnd(), Utf8ToWide(text).c_str(), Utf8ToWide(kDataFileSwitchTitle).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray& lists) override {
    return sfLoadUserData(path, years, lists);
  }
  // A backup with the book kept beside it.
  std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray& lists, SeriesBook& book) override {
    std::string error = sfLoadUserData(path, years, lists), text;
    if (error.empty() && !ReadWholeFile(SeriesFilePath(path), text)) book = ReadSeriesText(text).value_or(SeriesBook{});
    return error;
  }
  void Switched(bool loaded) override {
    SaveUserDataPath(store_, state_);
    keeper_.Start(loaded);
    OfferWhatWasNotSaved();
    OfferConflictCopies(state_, store_, *this);
    KeepSeriesAhead(state_);
    keeper_.Watch();
    calendar_.Controller().dsDrawCalendar();
    reminders_.ScheduleChanged();  // what the other file has due
  }

  // ConflictPorts
  std::vector<std::string> FolderFiles(const std::string& folder) override { return FilesIn(folder); }
  std::string ComputerName() override {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = L"";
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? WideToUtf8(name) : std::string();
  }
  SeriesBook LoadSeries(const std::string& path) override {
    std::string text;
    if (ReadWholeFile(path, text)) return {};
    return ReadSeriesText(text).value_or(SeriesBook{});
  }
  bool AskMerge(const std::string& text) override {
    return MessageBoxW(background_.hwnd(), Utf8ToWide(text).c_str(), Utf8ToWide(kConflictCopyTitle).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void Merged(const std::string& text) override {
    keeper_.Keeper().Edited();
    const std::string error = keeper_.Keeper().Save();
    SaveUserDataPath(store_, state_);
    MessageBoxW(background_.hwnd(), Utf8ToWide(text).c_str(), Utf8ToWide(kMergeMessageTitle).c_str(),
                MB_OK | MB_ICONINFORMATION);
    if (!error.empty()) ShowSaveError();
  }
  void ShowOptionDialog() override { options_.Show(); }

  // WheelHookSwitch: the options dialog turns the calendar's wheel hook on and off.
  std::int32_t RegisterWheelMessage() override { return orv::RegisterWheelMessage(); }
  void HookCalendarWheel() override { calendar_.HookWheel(); }
  void UnhookCalendarWheel() override { orv::UnhookCalendarWheel(); }

  // CalendarPictureSource: the options dialog places itself beside the calendar and copies
  // its picture.
  HWND CalendarWindow() const override { return calendar_.hwnd(); }
  const GdiCanvas* CalendarPicture() const override { return &view_; }
  void ShowYearDatasDialog() override {
    RECT r{};
    GetWindowRect(calendar_.hwnd(), &r);
    day_dialogs_.ShowYearDatas(r.right - r.left);
  }

  AppState state_;
  KernelHandle instance_;
  RegistrySettingsStore store_;
  Win32RegistryReader registry_;
  WicPictureLoader pictures_;
  Win32DesktopFacts facts_;
  HandleWaits waits_;  // what the message loop waits on besides messages
  // The calendar is opaque (nothing in it is blended), so its surfaces spend three bytes a
  // pixel, not four: a quarter less for each of the picture, its kept background and the view.
  GdiCanvas draw_{1, 1, 24};  // picDraw
  GdiCanvas view_{1, 1, 24};  // picView
  BackgroundWindow background_;
  ComposedCalendarRenderer renderer_;
  EditingDialogs day_dialogs_;
  orv::CalendarWindow calendar_;
  VersionDialog version_;
  ThemeEnvironment theme_environment_;
  OptionsDialogHost options_;
  TrayReminders reminders_{state_, store_, [this](std::string_view title, std::string_view text, HICON icon) {
                             return background_.ShowNotification(title, text, icon);
                           }};
  DataFileKeeper keeper_;  // the state's guard; gone first, and off the state then
};

}  // namespace
}  // namespace orv

namespace {

std::vector<std::string> CommandLineWords() {
  std::vector<std::string> words;
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) words.push_back(orv::WideToUtf8(wide[i]));
    LocalFree(wide);
  }
  return words;
}

// "--render": no window, no tray; messages go to the console the command came from.
int Render(const std::vector<std::string>& words) {
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    FILE* ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stderr);
  }
  const auto parsed = orv::ParseRenderOptions({words.begin() + 1, words.end()});
  std::string error = parsed.error.empty() ? orv::RunRenderCommand(parsed.options) : parsed.error + "\n" + orv::kRenderUsage;
  if (error.empty()) return 0;
  std::fprintf(stderr, "orvanta: %s\n", error.c_str());
  return parsed.error.empty() ? 1 : 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  orv::InstallDelayLoadGuard();  // before anything can call into a library loaded on first use
  try {
    const std::vector<std::string> words = CommandLineWords();
    if (orv::WantsRender(words)) return Render(words);
    orv::MarkStartup("entry");
    if (orv::HasTestingSwitch(words)) orv::EnableStateReport();
    // The list control of the add-entry dialog is a COM object of this thread.
    const HRESULT ole = OleInitialize(nullptr);
    orv::MarkStartup("ole");
    int result = 0;
    {
      orv::Program program;
      orv::MarkStartup("program");
      result = program.Run();
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return result;
  } catch (...) {
    return 1;
  }
}
