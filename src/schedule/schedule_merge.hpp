#pragma once
// Entry-level comparison and merging of two or three schedules (tree and preset lists):
//  - DiffSchedules: per day, the entries one schedule has and the other has not (the restore
//    dialog's "what was not saved", and the summary of what a merge brought in);
//  - MergeSchedules: three ways, from a common base (what was last loaded or saved), the file
//    as it is now ("theirs") and memory ("ours");
//  - UnionSchedules: two ways without a base (a sync client's conflict copy, a backup);
//  - the Japanese texts that tell the user about either.
// An entry is its content on its day: kind, title, amount or comment, very special or not.
// Identical entries on one day count as many times as they occur. Keys are not content:
// files do not store them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/dates.hpp"
#include "schedule/schedule.hpp"

namespace orv {

// A schedule as the merge reads it (both parts of what the user data file holds).
struct ScheduleView {
  const YearDatas& Years;
  const DefaultUserListArray& Lists;
};

// One payment or special-day entry by its content.
struct ScheduleEntry {
  bool IsSpecial = false;
  // payment
  std::int32_t Payment = 0;  // 0 automatic transfer, 1 cash
  std::string strTitle;
  std::int32_t lngPrice = 0;
  // special day
  bool blnSpecial = false;  // very special
  std::string strSpecial;   // title
  std::string strComment;
  bool operator==(const ScheduleEntry&) const = default;
};
ScheduleEntry EntryOf(const PaymentData& payment);
ScheduleEntry EntryOf(const SpecialData& special);

// What differs on one day: entries only the second schedule has (Added) and only the first
// has (Removed), each in the order its schedule keeps them, payments before special days.
struct DayChanges {
  DateParts Date;  // Weekday left 0
  std::vector<ScheduleEntry> Added;
  std::vector<ScheduleEntry> Removed;
};

struct PresetChanges {
  std::vector<std::string> Added;
  std::vector<std::string> Removed;
};

struct ScheduleChanges {
  std::vector<DayChanges> Days;              // by date, earliest first; only days that differ
  std::array<PresetChanges, 4> Presets;      // by PresetKind
  bool Empty() const;
  std::int64_t AddedEntries() const;         // day entries only
  std::int64_t RemovedEntries() const;
};

// Entries (and presets) of `to` that `from` lacks are Added, those of `from` that `to` lacks
// are Removed.
ScheduleChanges DiffSchedules(ScheduleView from, ScheduleView to);

struct MergeResult {
  YearDatas Years;
  DefaultUserListArray Lists;
  // What the merge changed in `ours`: exactly DiffSchedules(ours, merged). Empty when memory
  // already held everything (nothing to tell the user).
  ScheduleChanges FromTheirs;
};

// Three-way merge per day and per preset list, counting equal entries:
//   added on one side (more than in base)   -> kept;
//   removed on one side (fewer than in base) -> removed;
//   the same entry added on both sides      -> once (the larger of the two additions);
//   removed on both sides                   -> removed once (the larger removal);
//   added on one side, removed on the other -> both applied.
// A whole year (month, day) missing on one side removes only what base had there: entries the
// other side added there stay. Order: ours' entries in ours' order and keys, then what only
// theirs has, in theirs' order, under fresh keys. Days whose entries changed get their totals
// recomputed (RecalcPaymentTotals/RecalcSpecialTotals); others keep ours' day record. Days,
// months and years left without entries are dropped when one side deleted them.
MergeResult MergeSchedules(ScheduleView base, ScheduleView ours, ScheduleView theirs);

// Without a base nothing counts as deleted: every entry of either side, an entry both have
// (as many times as the side that has it more often).
MergeResult UnionSchedules(ScheduleView ours, ScheduleView theirs);

// A deep copy (collections cannot be copied).
void CopySchedule(ScheduleView from, YearDatas& years, DefaultUserListArray& lists);

// How one entry reads in these texts: "家賃 10,000円 (自動振替)", "記念日 (特に特別な日) コメント".
std::string DescribeEntry(const ScheduleEntry& entry);

// The per-day list the texts below share: one line per day "2026/12/08", then "  + entry" /
// "  - entry" lines; preset changes under "定型入力"; at most `max_lines` lines, then
// "ほか N 件". CR LF line ends.
std::string DescribeChanges(const ScheduleChanges& changes, int max_lines = 30);

// The one message after a merge with the file changed outside the program ("theirs" is the
// file): a lead, then DescribeChanges. `source` names where the changes came from (the data
// file's path, a conflict copy, a backup).
inline constexpr char kMergeMessageTitle[] = "ユーザーデータの統合";
std::string MergeMessageText(const ScheduleChanges& from_theirs, const std::string& source);

// The restore dialog's summary of unsaved edits: `changes` = DiffSchedules(data file,
// recovered schedule).
inline constexpr char kRestoreTitle[] = "保存されていない予定の復元";
std::string UnsavedChangesText(const ScheduleChanges& changes);

}  // namespace orv
