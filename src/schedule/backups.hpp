#pragma once
// Backups of the user data file: before a save replaces the file, its previous version is
// copied to the user's backup folder (%LOCALAPPDATA%\Orvanta\Backup, never the user's own
// folder), named for the data file and the moment. Kept: the last 10 backups of a data file,
// and the newest one of each of the last 30 days; BackupsToPrune says which others go.
// ListBackups gives what the restore command shows (date, size, entry count).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.hpp"
#include "schedule/schedule.hpp"

namespace orv {

inline constexpr const char* kBackupFolderParts[] = {"Orvanta", "Backup"};
inline constexpr int kBackupsKeptLatest = 10;
inline constexpr int kBackupsKeptDays = 30;

// "<data file name without extension>-<DataPathTag>-YYYYMMDD-HHMMSS.ORV"; attempts after the
// first add "-2", "-3", … before the extension.
std::string BackupFileName(std::string_view data_path, const LocalTime& at, int attempt = 1);

// The moment a backup of `data_path` was taken, read from its name; nullopt when the name is
// not one of that data file's backups.
std::optional<LocalTime> BackupTime(std::string_view file_name, std::string_view data_path);

struct BackupName {
  std::string Name;
  LocalTime At;
};
// Which of one data file's backups to delete, given the local time now. Kept: the
// kBackupsKeptLatest newest, and the newest of each calendar day from today back to
// kBackupsKeptDays - 1 days ago. Backups dated after `now` (a clock set back) count as newest.
// Returns names, in the order given.
std::vector<std::string> BackupsToPrune(const std::vector<BackupName>& backups, const LocalTime& now);

// Copies the data file as it is now into `folder` (created when missing) and prunes that data
// file's backups there; its series companion, when it has one, goes beside the copy under the
// copy's name plus kSeriesFileExtension, and is pruned with it. Nothing to do when there is no
// data file, or when the newest backup holds the same bytes (and companion) already. Returns the error text, empty on success (also when there
// was nothing to copy); a failed backup must not stop the save, only be told.
std::string sfBackupBeforeSave(const std::string& folder, const std::string& data_path, const LocalTime& now);

struct BackupInfo {
  std::string Path;
  LocalTime At;
  std::int64_t Size = 0;     // bytes
  std::int64_t Entries = 0;  // payments and special-day entries, -1 when the file does not load
};
// The data file's backups in `folder`, newest first.
std::vector<BackupInfo> ListBackups(const std::string& folder, std::string_view data_path);

// Payments and special-day entries of a schedule.
std::int64_t CountEntries(const YearDatas& years);

// One line of the restore list: "2026/12/08 10:24:05   1,652 KB   54,321 件".
std::string DescribeBackup(const BackupInfo& backup);

}  // namespace orv
