#pragma once
// Adding one entry to a day. Every way of adding (the input dialog, the CSV import) takes the
// same checks: a payment has an amount other than 0, a special day has a title, the texts are
// ones the user data file stores unchanged, and the day's payments still sum to a 32-bit
// value. The callers turn a refusal into their own words.
#include <cstdint>
#include <string>

#include "schedule/schedule.hpp"

namespace orv {

struct NewEntry {
  int kind = kAutomaticTransfers;  // a PresetKind: two payment kinds, two special-day kinds
  std::string name;                // the payment's name or the special day's title
  std::int32_t amount = 0;         // payments only
  std::string comment;             // special days only
  bool operator==(const NewEntry&) const = default;
};

enum class EntryRefusal {
  kNone,
  kMissingValue,       // a payment of 0, a special day without a title, or no kind at all
  kUnstorableName,     // the name or title cannot be stored (see `why`)
  kUnstorableComment,  // the comment cannot be stored (see `why`)
  kTotalOutOfRange,    // the day's payments would no longer sum to a 32-bit value
};

struct EntryCheck {
  EntryRefusal refusal = EntryRefusal::kNone;
  std::string why;  // for an unstorable text: what is wrong with it
  bool Accepted() const { return refusal == EntryRefusal::kNone; }
};

bool IsPaymentKind(int kind);
bool IsSpecialKind(int kind);

// Whether `entry` may be added to the day `date` of `years` as the tree stands now. The checks
// run in a fixed order and the first failing one is reported.
EntryCheck CheckNewEntry(const YearDatas& years, const DateParts& date, const NewEntry& entry);

// Appends an entry that CheckNewEntry accepted under the day's next free key (creating the
// day when missing) and recomputes the day's totals.
DayData& AddNewEntry(YearDatas& years, const DateParts& date, const NewEntry& entry);

}  // namespace orv
