#pragma once
// The schedule keeper on Windows: the journal and backups under the user's local application
// data folder, saves that wait out a scanner or sync client for a few seconds, and a change
// notice on the data file's folder (the wallpaper watch's kind) that makes the keeper look at
// the file a moment after a burst of writes. Looks are put off while a day dialog is open:
// the tree is not replaced under a dialog that shows it. A file that stays unreadable past the
// quick looks is told once (UnreadableLooks) and looked at every few seconds after.
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>
#include <memory>
#include <string>

#include "app/backup_restore.hpp"
#include "app/restore_offer.hpp"
#include "platform/win32/change_notices.hpp"
#include "platform/win32/handles.hpp"
#include "schedule/schedule_keeper.hpp"
#include "schedule/unreadable_looks.hpp"

namespace orv {

// "<local application data>\Orvanta\Recovery" and "…\Backup".
std::string RecoveryFolder();
std::string BackupFolder();

// The backups as a list to choose one from (the first preselected), with the buttons to merge
// it in or to put it in place of the schedule; nullopt when cancelled or when the system has
// no such dialog.
std::optional<BackupChoice> ChooseBackupDialog(HWND owner, const std::vector<std::string>& lines);

class DataFileKeeper : private KeeperPorts, public RestorePorts {
public:
  struct Wiring {
    std::function<void()> redraw;  // the calendar's full redraw
    std::function<HWND()> owner;   // owner of the messages (the host window)
    std::function<void()> looked;  // after each look at the folder (conflict copies)
    std::function<void()> changed; // the schedule in memory changed (the reminders look again)
  };
  DataFileKeeper(AppState& state, HandleWaits& waits, Wiring wiring);
  ~DataFileKeeper() override;
  DataFileKeeper(const DataFileKeeper&) = delete;
  DataFileKeeper& operator=(const DataFileKeeper&) = delete;

  // The schedule in memory is the data file's (or empty for a new one): remembered as the
  // base, the guard of the state from now on.
  void Start(bool loaded);
  // Watches the data file's folder (after the windows exist).
  void Watch();
  ScheduleKeeper& Keeper() { return keeper_; }
  // The end of the Windows session: no time to show anything (a merge is still made).
  void Quiet() { quiet_ = true; }

  // RestorePorts: the start-up offer of what earlier sessions could not save.
  std::vector<PendingRecovery> PendingRecoveries(const std::string& data_path) override;
  std::string LoadRecovery(const std::string& path, YearDatas& years, DefaultUserListArray& lists,
                           SeriesBook& book) override;
  RestoreChoice AskRestore(const std::string& text) override;
  bool ConfirmDiscard(const std::string& text) override;
  void Discard(const std::string& path) override;
  void KeepAside(const PendingRecovery& journal) override;

private:
  // KeeperPorts
  std::optional<FileStamp> Stamp(const std::string& path) override;
  DataFileRead ReadDataFile(const std::string& path) override;
  void KeepPreviousVersion(const std::string& path) override;
  std::string ReplaceDataFile(const std::string& path, std::string_view bytes) override;
  std::string WriteJournal(const std::string& data_path, std::string_view bytes, std::string_view series) override;
  void RemoveJournal(const std::string& data_path) override;
  void TellMerged(const std::string& text) override;
  void Redraw() override;
  void Changed() override;
  void LookAgainSoon() override;
  std::string SetAside(const std::string& path) override;
  void TellSeriesFileDamaged(const std::string& text) override;

  void LookIn(std::chrono::milliseconds delay);
  void Look();

  AppState& state_;
  HandleWaits& waits_;
  Wiring wiring_;
  ScheduleKeeper keeper_{state_, *this};
  FolderChangeNotice notice_;
  HANDLE waited_notice_ = nullptr;  // the notice's handle as given to the wait
  KernelHandle timer_;              // a waitable timer: the look a moment after a change
  UnreadableLooks unreadable_;      // the looks of a spell that cannot read the file
  bool tell_unreadable_ = false;    // the message is due after the look that found it so
  bool telling_ = false;            // the merge message is on the screen
  bool quiet_ = false;
};

}  // namespace orv
