#pragma once
// Telling whether the user data file changed on disk since the program last loaded or saved
// it, and how to treat a file that cannot be read or written right now (a sync client or a
// virus scanner holding it, a writer half-way through):
//  - FileIdentity (size, last write time, content hash) and CompareFileIdentity;
//  - CheckDataFile: one look at the file, with the rule for retrying versus "changed";
//  - the back-off of a save that meets a sharing violation or access denied, as a list of
//    delays the caller waits (the model never sleeps), and RetryTransient to drive it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.hpp"
#include "schedule/schedule.hpp"

namespace orv {

struct FileIdentity {
  bool Exists = false;
  std::int64_t Size = 0;
  std::int64_t WriteTime = 0;  // LastWriteTime's count
  std::uint64_t Hash = 0;      // ContentHash of the bytes
  bool operator==(const FileIdentity&) const = default;
};

// 64-bit FNV-1a of the bytes: equal content, equal hash; not for security.
std::uint64_t ContentHash(std::string_view bytes);

FileIdentity IdentityOf(std::string_view bytes, std::int64_t write_time);

enum class FileComparison {
  kSame,          // nothing changed (or only the time: touched, same content)
  kChanged,       // other content
  kCreated,       // there now, not before
  kDeleted,       // gone
};
// The content decides: a new time with equal size and hash is kSame.
FileComparison CompareFileIdentity(const FileIdentity& known, const FileIdentity& now);

// One look at the data file for change detection.
enum class DataFileState {
  kUnchanged,    // same content as `known`
  kChanged,      // other content that loads: Years/Lists hold it (merge or reload)
  kMissing,      // no file now (deleted or renamed away): nothing to merge
  kRetryLater,   // cannot be read now, or does not load (locked, half-written): look again
                 // after RetryDelayMs(attempt); never read as an empty schedule
  kUnreadable,   // kRetryLater for longer than the retry window: the caller keeps the file
                 // (a backup copy) before it writes over it, and tells the user
};
struct DataFileCheck {
  DataFileState State = DataFileState::kUnchanged;
  FileIdentity Identity;        // of the file as read (when it could be read)
  YearDatas Years;              // kChanged: the file's schedule
  DefaultUserListArray Lists;
  std::string Error;            // kRetryLater / kUnreadable: why (error text)
};
// `attempt` counts the looks in a row that could not read the file, from 0; after the last
// one of the retry window the answer is kUnreadable instead of kRetryLater.
DataFileCheck CheckDataFile(const std::string& path, const FileIdentity& known, int attempt);

// Delays between the looks of CheckDataFile: 100, 200, 400, 800, 1000, 1000 … ms, a window
// of about 10 s (a sync client finishes a file of this size well within it).
inline constexpr int kChangeRetryAttempts = 14;
int ChangeRetryDelayMs(int attempt);

// Saves: the delays before each retry of a write that failed with a transient error; the sum
// stays within a few seconds (a scanner or sync client lets go within that, a real lock
// does not).
std::vector<int> SaveRetryDelaysMs();  // 50, 100, 200, 400, 800, 1000, 1000 (3.55 s)

// Whether a write or replace failed because someone else holds the file right now: sharing
// violation, lock violation, access denied (also what a delete-pending file gives), a mapped
// user file, a replace that could not move the old file away. Other errors (disk full, path
// gone) do not get better by waiting.
bool IsTransientFileError(const SystemError& error);

// Calls `attempt` until it succeeds, fails with a non-transient error, or the delays run out;
// `wait` is called with each delay in milliseconds before the next try. Returns the last
// result.
SystemError RetryTransient(const std::function<SystemError()>& attempt, const std::function<void(int)>& wait,
                           const std::vector<int>& delays_ms = SaveRetryDelaysMs());

}  // namespace orv
