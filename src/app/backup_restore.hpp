#pragma once
// The tray's "バックアップから復元...": the data file's backups, newest first, each with its
// date, size and entry count; the chosen one comes back either merged into the schedule
// (every entry of either stays) or in place of it (after the user saw what that removes).
// Either way the schedule is saved at once, and one message says what changed. The series
// book kept beside the backup comes with it: in place of the book, or merged into it (a
// series both have stays the one in memory, with the dates either skipped; one only the
// backup has comes back).
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.hpp"
#include "schedule/backups.hpp"
#include "schedule/schedule_merge.hpp"

namespace orv {

inline constexpr char kRestoreBackupCaption[] = "バックアップから復元...";
inline constexpr char kRestoreBackupTitle[] = "バックアップから復元";
inline constexpr char kNoBackupsText[] =
    "このユーザーデータファイルのバックアップはまだありません。\r\nバックアップは、保存するたびに前の内容から作られます。";

enum class BackupUse { kMerge, kReplace };
struct BackupChoice {
  std::size_t index = 0;  // into the list given
  BackupUse use = BackupUse::kMerge;
};

class BackupRestorePorts {
public:
  virtual ~BackupRestorePorts() = default;
  virtual std::vector<BackupInfo> Backups(const std::string& data_path) = 0;
  // The list (one line each, DescribeBackup) with the merge and replace buttons; nullopt when
  // cancelled.
  virtual std::optional<BackupChoice> Choose(const std::vector<std::string>& lines) = 0;
  // The backup and the series book beside it (empty when it has none or it does not read).
  virtual std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray& lists,
                           SeriesBook& book) = 0;
  // OK/Cancel before the schedule is replaced; `text` lists what would go and come.
  virtual bool ConfirmReplace(const std::string& text) = 0;
  // An information message.
  virtual void Tell(const std::string& text) = 0;
  // The schedule changed: make it durable, save it, draw it, then tell `text`.
  virtual void Restored(const std::string& text) = 0;
};

// Returns true when the schedule changed.
bool RestoreFromBackup(AppState& state, BackupRestorePorts& ports);

// The series of `mine` and of `theirs` (a backup of the same data file): a series both have is
// mine's, with the skipped dates of both; one only either has is kept.
SeriesBook UniteSeriesBooks(const SeriesBook& mine, const SeriesBook& theirs);

// After entries of another file (a backup, a sync client's copy) were merged in: from where,
// what came, and how many series came with them.
std::string TakenInText(const ScheduleChanges& changes, const std::string& source, std::size_t series_added = 0);
// How many series `after` has that `before` had not (by id: ids are never reused).
std::size_t SeriesAdded(const SeriesBook& before, const SeriesBook& after);
inline constexpr char kNothingToTakeInText[] = "このファイルには、いまの予定にない予定はありませんでした:\r\n";
std::string ReplaceConfirmText(const ScheduleChanges& changes, const std::string& backup_path);
std::string ReplacedText(const ScheduleChanges& changes, const std::string& backup_path);

}  // namespace orv
