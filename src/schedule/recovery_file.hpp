#pragma once
// When the user data file cannot be written at shutdown (locked by another program, a drive
// gone, a full disk), the session's schedule goes to a recovery file instead: a new file for
// every failure, in the user's own recovery folder, never one that exists already. The next
// start tells the user where the newest one is.
#include <string>
#include <string_view>

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

}  // namespace orv
