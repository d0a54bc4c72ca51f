#pragma once
// When the user data file cannot be written at shutdown (locked by another program, a drive
// gone, a full disk), the session's schedule goes to a recovery file instead: a new file for
// every failure, in the user's own recovery folder, never one that exists already. The next
// start tells the user where the newest one is.
//
// Beside those sits the journal: after every edit the unsaved schedule goes to one file per
// data file (its name and a hash of its full path), replaced atomically each time and removed
// once the data file holds the same schedule, so a crash loses nothing. PendingRecoveryFiles
// lists both kinds that belong to a data file, for the start-up restore dialog.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.hpp"
#include "schedule/schedule.hpp"

namespace orv {

// The recovery folder's place under the user's local application data folder.
inline constexpr const char* kRecoveryFolderParts[] = {"Orvanta", "Recovery"};

// "<the data file's name without its extension>-YYYYMMDD-HHMMSS.ORV"; the attempts after the
// first add "-2", "-3", … before the extension; "Orvanta-…" when no data file is named.
std::string RecoveryFileName(std::string_view data_path, const LocalTime& at, int attempt);

struct RecoveryWrite {
  std::string path;   // the file written
  std::string error;  // or why none could be (error text, routine sfWriteRecoveryFile)
};
// Writes the schedule, as the user data file holds it, to a new file in `folder` (created
// when missing), named after the data file and the moment.
RecoveryWrite sfWriteRecoveryFile(const std::string& folder, std::string_view data_path, const LocalTime& at,
                                  const YearDatas& years, const DefaultUserListArray& lists);

// Whether a failed save loses nothing: the user data file holds exactly this schedule already,
// or there is no file and nothing to keep (no entries, no presets).
bool ScheduleAlreadyStored(const std::string& data_path, const YearDatas& years, const DefaultUserListArray& lists);

// The newest recovery file in `folder` written after the data file was (any, when there is
// no data file); empty when there is none.
std::string NewerRecoveryFile(const std::string& folder, const std::string& data_path);

// The journal of a data file: "<name without extension>-<8 hex digits>.unsaved.ORV", the
// digits a hash of the full path with letter case and separators folded, so every data file
// has its own stable name and two files of one name in different folders do not meet.
std::string JournalFileName(std::string_view data_path);
// Eight lowercase hex digits naming the data file's full path (journal and backup names).
std::string DataPathTag(std::string_view data_path);

// Writes the schedule to the data file's journal in `folder` (created when missing),
// atomically and flushed. Returns the error text, empty on success.
std::string sfWriteJournal(const std::string& folder, std::string_view data_path, const YearDatas& years,
                           const DefaultUserListArray& lists);

// Removes the data file's journal (no error when there is none). Call it once the data file
// holds the schedule the journal held (after a save, or when nothing is unsaved).
void RemoveJournal(const std::string& folder, std::string_view data_path);

enum class RecoveryKind {
  kJournal,     // edits of a session that ended without saving (a crash, a power cut)
  kFailedSave,  // written because a save failed (RecoveryFileName)
};
struct PendingRecovery {
  std::string Path;
  RecoveryKind Kind = RecoveryKind::kJournal;
  std::int64_t WriteTime = 0;  // LastWriteTime's count
};
// The recovery files in `folder` that belong to `data_path`, oldest first: its journal, and
// the failed-save files named after it ("<its name>-YYYYMMDD-HHMMSS[-N].ORV"; the name carries
// no folder, so a data file of the same name elsewhere shares them). Files of other data files
// and files that are not recovery files are left out. Time plays no part: a recovery file
// stays pending, however old, until the user restores or discards it.
std::vector<PendingRecovery> PendingRecoveryFiles(const std::string& folder, std::string_view data_path);

// Whether `file_name` (no folder) is a recovery file of `data_path`, and which kind.
std::optional<RecoveryKind> RecoveryFileKind(std::string_view file_name, std::string_view data_path);

// Deletes a recovery file the user restored or discarded. Returns the error text, empty on
// success.
std::string sfDiscardRecoveryFile(const std::string& path);

}  // namespace orv
