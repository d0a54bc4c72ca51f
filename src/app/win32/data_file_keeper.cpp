#include "app/win32/data_file_keeper.hpp"

#include <commctrl.h>

#include "app/startup.hpp"
#include "core/safe.hpp"
#include "platform/file_system.hpp"
#include "platform/win32/known_folders.hpp"
#include "platform/win32/system_function.hpp"
#include "platform/win32/wide.hpp"
#include "platform/windows_path.hpp"
#include "schedule/backups.hpp"
#include "schedule/file_identity.hpp"
#include "schedule/schedule_merge.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"

namespace orv {
namespace {

// A burst of writes (a sync client writing piece by piece) is over before the file is read.
constexpr auto kSettle = std::chrono::milliseconds(150);
// While a day dialog shows the tree, the look waits.
constexpr auto kDialogOpen = std::chrono::milliseconds(500);

std::string FolderUnderLocalAppData(const char* const (&parts)[2]) {
  std::string folder = LocalAppDataFolder();
  for (const char* part : parts) folder = FileInFolder(folder, part);
  return folder;
}

// The restore offer's buttons.
constexpr int kRestoreButton = 1001, kKeepButton = 1002, kDiscardButton = 1003;

}  // namespace

std::optional<BackupChoice> ChooseBackupDialog(HWND owner, const std::vector<std::string>& lines) {
  using TaskDialogFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
  auto show = SystemFunction<TaskDialogFn>(L"comctl32.dll", "TaskDialogIndirect");
  if (!show || lines.empty()) return std::nullopt;
  constexpr int kMerge = 1101, kReplace = 1102, kFirstRadio = 2000;
  std::vector<std::wstring> texts;
  for (const std::string& line : lines) texts.push_back(Utf8ToWide(line));
  std::vector<TASKDIALOG_BUTTON> radios;
  for (std::size_t i = 0; i < texts.size(); ++i) radios.push_back({kFirstRadio + static_cast<int>(i), texts[i].c_str()});
  const TASKDIALOG_BUTTON buttons[] = {{kMerge, L"いまの予定に統合する(&M)"}, {kReplace, L"いまの予定と置き換える(&R)..."}};
  const std::wstring title = Utf8ToWide(kRestoreBackupTitle);
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_SIZE_TO_CONTENT;
  config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
  config.pszWindowTitle = title.c_str();
  config.pszMainInstruction = L"復元するバックアップを選んでください。";
  config.pszContent = L"統合すると、どちらにある予定も残ります。置き換えると、いまの予定はバックアップの内容になります。";
  config.cButtons = static_cast<UINT>(std::size(buttons));
  config.pButtons = buttons;
  config.nDefaultButton = kMerge;
  config.cRadioButtons = static_cast<UINT>(radios.size());
  config.pRadioButtons = radios.data();
  config.nDefaultRadioButton = kFirstRadio;
  int pressed = 0, radio = 0;
  if (FAILED(show(&config, &pressed, &radio, nullptr)) || (pressed != kMerge && pressed != kReplace)) return std::nullopt;
  if (radio < kFirstRadio || radio >= kFirstRadio + static_cast<int>(lines.size())) radio = kFirstRadio;
  return BackupChoice{static_cast<std::size_t>(radio - kFirstRadio), pressed == kMerge ? BackupUse::kMerge : BackupUse::kReplace};
}

std::string RecoveryFolder() { return FolderUnderLocalAppData(kRecoveryFolderParts); }
std::string BackupFolder() { return FolderUnderLocalAppData(kBackupFolderParts); }

DataFileKeeper::DataFileKeeper(AppState& state, HandleWaits& waits, Wiring wiring)
    : state_(state), waits_(waits), wiring_(std::move(wiring)) {}

DataFileKeeper::~DataFileKeeper() {
  if (state_.guard == &keeper_) state_.guard = nullptr;
  if (waited_notice_) waits_.Remove(waited_notice_);
  if (timer_) waits_.Remove(timer_.get());
}

void DataFileKeeper::Start(bool loaded) {
  keeper_.Loaded(loaded);
  state_.guard = &keeper_;
}

void DataFileKeeper::Watch() {
  if (state_.UserDataPath.empty()) return;
  if (!timer_) {
    timer_.reset(CreateWaitableTimerW(nullptr, TRUE, nullptr));
    if (timer_) waits_.Add(timer_.get(), [this] { Look(); });
    // A file that could not be read at start (the series companion, held) is looked at now.
    if (unreadable_.Failing()) LookIn(kSettle);
  }
  if (waited_notice_) waits_.Remove(std::exchange(waited_notice_, nullptr));
  if (!notice_.Watch(FolderOf(state_.UserDataPath), state_.UserDataPath)) return;
  waited_notice_ = notice_.Handle();
  waits_.Add(waited_notice_, [this] {
    const HANDLE before = notice_.Handle();
    notice_.Rearm();
    if (notice_.Handle() != before) {  // watched anew (the folder appeared)
      waits_.Remove(before);
      waited_notice_ = notice_.Handle();
      waits_.Add(waited_notice_, [this] { Watch(); });
    }
    LookIn(kSettle);
  });
}

void DataFileKeeper::LookIn(std::chrono::milliseconds delay) {
  if (!timer_) return;
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(delay.count()) * 10000;  // relative, in 100 ns
  SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE);
}

void DataFileKeeper::Look() {
  CancelWaitableTimer(timer_.get());  // a manual-reset timer stays signalled otherwise
  if (telling_ || state_.DialogShowing) {
    LookIn(kDialogOpen);
    return;
  }
  const ScheduleKeeper::Look look = keeper_.LookAtFile();
  if (look != ScheduleKeeper::Look::kUnreadable) {
    unreadable_.Ended();
    tell_unreadable_ = false;
  }
  // Told here, not inside the keeper's look: a save that looked first goes on undisturbed.
  if (std::exchange(tell_unreadable_, false) && !quiet_) {
    telling_ = true;
    MessageBoxW(wiring_.owner ? wiring_.owner() : nullptr, Utf8ToWide(UnreadableDataFileText(keeper_.UnreadablePath().empty() ? state_.UserDataPath : keeper_.UnreadablePath())).c_str(),
                Utf8ToWide(kUnreadableTitle).c_str(), MB_OK | MB_ICONWARNING);
    telling_ = false;
  }
  if (wiring_.looked) wiring_.looked();
}

void DataFileKeeper::LookAgainSoon() {
  const UnreadableLooks::Next next = unreadable_.Failed(static_cast<std::int64_t>(GetTickCount64()));
  LookIn(std::chrono::milliseconds(next.delay_ms));
  tell_unreadable_ = tell_unreadable_ || next.tell;
}

std::optional<FileStamp> DataFileKeeper::Stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileStamp stamp;
  stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.time = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                         data.ftLastWriteTime.dwLowDateTime);
  return stamp;
}

DataFileRead DataFileKeeper::ReadDataFile(const std::string& path) {
  DataFileRead read;
  if (SystemError error = ReadWholeFile(path, read.bytes)) {
    read.bytes.clear();
    read.status = error.number == ERROR_FILE_NOT_FOUND || error.number == ERROR_PATH_NOT_FOUND ? DataFileRead::kMissing
                                                                                                 : DataFileRead::kUnreadable;
    return read;
  }
  read.status = DataFileRead::kRead;
  return read;
}

void DataFileKeeper::KeepPreviousVersion(const std::string& path) {
  sfBackupBeforeSave(BackupFolder(), path, LocalNow());  // a failed backup does not stop the save
}

std::string DataFileKeeper::ReplaceDataFile(const std::string& path, std::string_view bytes) {
  const SystemError error = RetryTransient([&] { return ReplaceFileContents(path, bytes); },
                                           [](int ms) { Sleep(static_cast<DWORD>(ms)); });
  if (!error) return {};
  return sfSemCreate("sfSaveUserData", error.number, error.description);
}

std::string DataFileKeeper::WriteJournal(const std::string& data_path, std::string_view bytes, std::string_view series) {
  const std::string folder = RecoveryFolder();
  if (CreateFolders(folder)) return {};
  const std::string path = FileInFolder(folder, JournalFileName(data_path));
  // The companion first: a journal is never newer than the book beside it.
  const std::string series_path = SeriesFilePath(path);
  if (series.empty() ? RemoveFile(series_path) : ReplaceFileContents(series_path, series)) return {};
  if (ReplaceFileContents(path, bytes)) return {};
  return path;
}

void DataFileKeeper::RemoveJournal(const std::string& data_path) {
  orv::RemoveJournal(RecoveryFolder(), data_path);
  RemoveFile(SeriesFilePath(FileInFolder(RecoveryFolder(), JournalFileName(data_path))));
}

std::string DataFileKeeper::SetAside(const std::string& path) {
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const std::string to = SetAsidePath(path, attempt);
    if (MoveFileExW(Utf8ToWide(path).c_str(), Utf8ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH)) return to;
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  return {};
}

void DataFileKeeper::TellSeriesFileDamaged(const std::string& text) {
  if (quiet_) return;
  telling_ = true;
  MessageBoxW(wiring_.owner ? wiring_.owner() : nullptr, Utf8ToWide(text).c_str(),
              Utf8ToWide(kSeriesFileDamagedTitle).c_str(), MB_OK | MB_ICONWARNING);
  telling_ = false;
}

void DataFileKeeper::TellMerged(const std::string& text) {
  if (quiet_) return;
  telling_ = true;
  MessageBoxW(wiring_.owner ? wiring_.owner() : nullptr, Utf8ToWide(text).c_str(),
              Utf8ToWide(kMergeMessageTitle).c_str(), MB_OK | MB_ICONINFORMATION);
  telling_ = false;
}

void DataFileKeeper::Redraw() {
  if (wiring_.redraw) wiring_.redraw();
}

void DataFileKeeper::Changed() {
  if (wiring_.changed) wiring_.changed();
}

std::vector<PendingRecovery> DataFileKeeper::PendingRecoveries(const std::string& data_path) {
  return PendingRecoveryFiles(RecoveryFolder(), data_path);
}

std::string DataFileKeeper::LoadRecovery(const std::string& path, YearDatas& years, DefaultUserListArray& lists,
                                         SeriesBook& book) {
  std::string error = sfLoadUserData(path, years, lists);
  std::string text;
  if (error.empty() && !ReadWholeFile(SeriesFilePath(path), text)) book = ReadSeriesText(text).value_or(SeriesBook{});
  return error;
}

// A task dialog with three buttons when the common controls have one (version 6), else a
// message box whose Yes, No and Cancel say the same.
RestoreChoice DataFileKeeper::AskRestore(const std::string& text) {
  const std::wstring title = Utf8ToWide(kRestoreTitle);
  const std::wstring body = Utf8ToWide(text);
  const std::wstring lead = L"保存されていない予定を、いまの予定に復元しますか？";
  using TaskDialogFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
  if (auto show = SystemFunction<TaskDialogFn>(L"comctl32.dll", "TaskDialogIndirect")) {
    const TASKDIALOG_BUTTON buttons[] = {{kRestoreButton, L"予定に復元する(&R)"},
                                         {kKeepButton, L"後で決める(&L)"},
                                         {kDiscardButton, L"破棄する(&D)..."}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = wiring_.owner ? wiring_.owner() : nullptr;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_SIZE_TO_CONTENT;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszMainInstruction = lead.c_str();
    config.pszContent = body.c_str();
    config.cButtons = static_cast<UINT>(std::size(buttons));
    config.pButtons = buttons;
    config.nDefaultButton = kRestoreButton;
    int pressed = 0;
    if (SUCCEEDED(show(&config, &pressed, nullptr, nullptr))) {
      if (pressed == kRestoreButton) return RestoreChoice::kRestore;
      if (pressed == kDiscardButton) return RestoreChoice::kDiscard;
      return RestoreChoice::kKeep;  // closed: nothing is lost
    }
  }
  const std::wstring text_with_buttons =
      lead + L"\r\n\r\n" + body + L"\r\n\r\n[はい] 予定に復元する　[いいえ] 後で決める　[キャンセル] 破棄する";
  switch (MessageBoxW(wiring_.owner ? wiring_.owner() : nullptr, text_with_buttons.c_str(), title.c_str(),
                      MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON1)) {
    case IDYES: return RestoreChoice::kRestore;
    case IDCANCEL: return RestoreChoice::kDiscard;
    default: return RestoreChoice::kKeep;
  }
}

bool DataFileKeeper::ConfirmDiscard(const std::string& text) {
  return MessageBoxW(wiring_.owner ? wiring_.owner() : nullptr, Utf8ToWide(text).c_str(),
                     Utf8ToWide(kDiscardConfirmTitle).c_str(), MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) == IDOK;
}

void DataFileKeeper::Discard(const std::string& path) {
  if (sfDiscardRecoveryFile(path).empty()) RemoveFile(SeriesFilePath(path));
}

void DataFileKeeper::KeepAside(const PendingRecovery& journal) {
  // Under a failed save's name, dated now: it stays pending, and this session's journal does
  // not write over it.
  const std::string folder = RecoveryFolder();
  const LocalTime now = LocalNow();
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const std::string to = FileInFolder(folder, RecoveryFileName(state_.UserDataPath, now, attempt));
    if (MoveFileExW(Utf8ToWide(journal.Path).c_str(), Utf8ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
      MoveFileExW(Utf8ToWide(SeriesFilePath(journal.Path)).c_str(), Utf8ToWide(SeriesFilePath(to)).c_str(),
                  MOVEFILE_WRITE_THROUGH | MOVEFILE_REPLACE_EXISTING);
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return;
  }
}

}  // namespace orv
