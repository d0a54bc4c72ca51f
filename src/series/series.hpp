#pragma once
// Repeating entries. A series is one entry (a payment or a special day) with a rule that
// says on which dates it falls. Every occurrence is written into the schedule as an ordinary
// entry, so readers of the data file see plain entries; the rules themselves, and the dates
// the user took out of a series, live in a companion file beside the data file.
//
// Occurrences are always counted from the start date, never from the previous occurrence,
// so a series that started on the 31st comes back to the 31st after a short month. Payments
// that fall on a bank holiday may be moved to the business day before or after; the moved
// entry still belongs to its nominal (unmoved) date, which is also what a skipped date
// records.
//
// An entry belongs to a series while it matches it: same kind, name, amount or comment, on
// an occurrence's due date. An entry edited elsewhere simply stops matching; nothing is ever
// added back against the user's will.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/schedule.hpp"

namespace orv {

enum class SeriesUnit { kWeek, kMonth, kYear };
// The units by SeriesUnit, as "2週ごと" reads after a number and as the series dialog lists them.
inline constexpr std::array<const char*, 3> kSeriesUnitNames{"週ごと", "か月ごと", "年ごと"};
enum class SeriesShift { kNone, kPrevious, kNext };  // to the previous / next bank business day
enum class SeriesEnd { kNever, kAfterCount, kOnOrBefore };

struct SeriesRule {
  NewEntry entry;
  Date start{};
  int every = 1;  // 1..99 units
  SeriesUnit unit = SeriesUnit::kMonth;
  bool last_day = false;  // months: the month's last day rather than the start's day
  SeriesEnd end = SeriesEnd::kNever;
  int count = 0;   // kAfterCount: how many occurrences
  Date until{};    // kOnOrBefore: the last nominal date allowed
  SeriesShift shift = SeriesShift::kNone;
  bool operator==(const SeriesRule&) const = default;
};

// Next business day for automatic transfers, none for everything else.
SeriesShift DefaultShift(int kind);
// The rule as a series keeps it: fields that do not apply to its kind, unit or end are reset
// (no shift for special days, no comment for payments, no last day for weeks and years...).
SeriesRule NormalizedRule(SeriesRule rule);

struct Occurrence {
  Date nominal{};  // where the rule puts it
  Date due{};      // where it is written (nominal, or moved to a business day)
  bool operator==(const Occurrence&) const = default;
};

// The rule's occurrences in order whose nominal date is on or before `through`, ignoring
// skipped dates (at most `limit` of them).
std::vector<Occurrence> ExpandRule(const SeriesRule& rule, Date through, std::size_t limit);

// A series as kept: its rule, its id (unique within the companion file, never reused), the
// nominal dates taken out of it, and how far its occurrences have been written.
struct Series {
  std::uint32_t id = 0;
  SeriesRule rule;
  std::vector<Date> skipped;  // nominal dates, sorted
  Date written_through{};     // occurrences with nominal dates up to here are in the schedule
  bool operator==(const Series&) const = default;
};

struct SeriesBook {
  std::vector<Series> series;
  std::uint32_t next_id = 1;
  bool operator==(const SeriesBook&) const = default;
  const Series* Find(std::uint32_t id) const;
  Series* Find(std::uint32_t id);
};

// How far ahead open-ended series are written, in months from today.
inline constexpr int kSeriesHorizonMonths = 24;
// The most occurrences one series may add at once.
inline constexpr std::size_t kMaxSeriesOccurrences = 1200;

// Why a new series cannot be added; `date` names the occurrence at fault where there is one.
enum class SeriesRefusal {
  kNone,
  kEndBeforeStart,     // the until date lies before the start
  kBadRule,            // every out of 1..99, a count below 1, a start outside the calendar's years
  kTooMany,            // more than kMaxSeriesOccurrences occurrences
  kEntryRefused,       // CheckNewEntry refused the entry on `date` (see `entry`)
};
struct SeriesCheck {
  SeriesRefusal refusal = SeriesRefusal::kNone;
  Date date{};
  EntryCheck entry;
  int entry_kind = kAutomaticTransfers;  // names the refused field in the text
  std::size_t occurrences = 0;  // when accepted: how many would be written now
  bool Accepted() const { return refusal == SeriesRefusal::kNone; }
};
// The user-facing text of a refusal, naming the date ("2027年2月28日(日)…").
std::string SeriesRefusalText(const SeriesCheck& check);

// Whether the series may be added as the tree stands (all occurrences up to the horizon from
// `today`, each checked as if the ones before it were added).
SeriesCheck CheckNewSeries(const YearDatas& years, const SeriesRule& rule, Date today);
// Adds a series CheckNewSeries accepted: all its occurrences up to the horizon; its new id.
std::uint32_t AddSeries(YearDatas& years, SeriesBook& book, const SeriesRule& rule, Date today);

// How many occurrences a series with an end has in all (at most kMaxSeriesOccurrences + 1, so
// a count above the most shows as too many); nullopt for a series without an end.
std::optional<std::size_t> SeriesTotal(const SeriesRule& rule);

// "1月31日(日) → 2月1日(月)、2月28日(日) → 3月1日(月)、3月31日(水) …": the first `shown`
// occurrences, a moved one as nominal → due.
std::string SeriesPreview(const SeriesRule& rule, std::size_t shown);
// One line describing the rule ("毎月 31日 (月末) 翌営業日 12回" or similar), for lists.
std::string SeriesRuleText(const SeriesRule& rule);
// How often the rule comes: "毎週", "毎月", "毎年", or "2週ごと", "3か月ごと", "2年ごと".
std::string SeriesFrequencyText(const SeriesRule& rule);

// The series an entry on `date` belongs to (the entry matches an occurrence due that day
// that is not skipped), and that occurrence's nominal date.
struct SeriesMatch {
  std::uint32_t id = 0;
  Date nominal{};
};
std::optional<SeriesMatch> SeriesOfPayment(const SeriesBook& book, Date date, const PaymentData& entry);
std::optional<SeriesMatch> SeriesOfSpecial(const SeriesBook& book, Date date, const SpecialData& entry);

enum class SeriesDeleteScope { kThisOne, kThisAndLater, kWholeSeries };
// Removes occurrences of series `id` from the schedule (only the entries that still match)
// and records it in the book: one occurrence is skipped; "this and later" ends the series
// before `nominal`; the whole series leaves the book. Day totals are recomputed. Returns how
// many entries were removed.
std::size_t DeleteFromSeries(YearDatas& years, SeriesBook& book, std::uint32_t id, Date nominal,
                             SeriesDeleteScope scope);

// Writes the occurrences of open-ended and long series up to the horizon from `today` (at
// start-up and when the date changes). Occurrences that cannot be added (a day total that
// would overflow) are skipped, not forced. Returns whether anything changed.
bool ExtendSeries(YearDatas& years, SeriesBook& book, Date today);

// The next occurrence on or after `today` (due date), if any.
std::optional<Occurrence> NextOccurrence(const Series& series, Date today);

// The companion file: the data file's path plus kSeriesFileExtension; UTF-8 text.
inline constexpr const char* kSeriesFileExtension = ".series";
std::string SeriesFilePath(std::string_view data_path);
std::string WriteSeriesText(const SeriesBook& book);
// nullopt when the text is damaged (the caller keeps the entries as plain entries and tells
// the user once).
std::optional<SeriesBook> ReadSeriesText(std::string_view text);

// Three-way merge of companion files: series added on either side are kept (an id taken on
// both sides is renumbered on `theirs`' side), a series removed on one side and unchanged on
// the other goes, skipped dates are united, an end set on either side holds.
SeriesBook MergeSeriesBooks(const SeriesBook& base, const SeriesBook& mine, const SeriesBook& theirs);

// Two-way union of companion files without a base (a sync client's conflict copy, whose ids
// were given out on another computer): nothing counts as removed. A series of `theirs` with
// the same rule as one of `mine` is that series, kept once (its id preferred when both have
// it), with the skipped dates of both and the further written date; any other series of
// theirs is kept beside mine, under a new id where mine has (or may once have had) its id.
SeriesBook UnionSeriesBooks(const SeriesBook& mine, const SeriesBook& theirs);

}  // namespace orv
