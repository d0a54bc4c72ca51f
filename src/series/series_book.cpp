// The series book against the schedule: adding a series, finding an entry's series, taking
// occurrences out and writing them ahead.
#include <algorithm>
#include <limits>
#include <map>

#include "series/series.hpp"
#include "series/series_detail.hpp"

namespace orv {

using namespace series_detail;
using std::chrono::days;

namespace {

// How far a shift can move an occurrence (the longest run of bank holidays, with room).
constexpr days kShiftReach{20};

bool Matches(const NewEntry& entry, const PaymentData& payment) {
  return IsPaymentKind(entry.kind) && payment.Payment == (entry.kind == kAutomaticTransfers ? 0 : 1) &&
         payment.strTitle == entry.name && payment.lngPrice == entry.amount;
}

bool Matches(const NewEntry& entry, const SpecialData& special) {
  return IsSpecialKind(entry.kind) && special.blnSpecial == (entry.kind == kVerySpecialDays) &&
         special.strSpecial == entry.name && special.strComment == entry.comment;
}

// Takes one entry of the day that matches `entry` out of the schedule; whether there was one.
bool RemoveOneMatching(YearDatas& years, Date due, const NewEntry& entry) {
  DayData* day = FindDay(years, SplitDate(due));
  if (!day) return false;
  if (IsPaymentKind(entry.kind)) {
    for (const PaymentData& payment : day->PaymentDatas) {
      if (!Matches(entry, payment)) continue;
      day->PaymentDatas.Remove(std::string(payment.Key));
      RecalcPaymentTotals(*day);
      return true;
    }
  } else {
    for (const SpecialData& special : day->SpecialDatas) {
      if (!Matches(entry, special)) continue;
      day->SpecialDatas.Remove(std::string(special.Key));
      RecalcSpecialTotals(*day);
      return true;
    }
  }
  return false;
}

void AddSkipped(Series& series, Date nominal) {
  auto it = std::lower_bound(series.skipped.begin(), series.skipped.end(), nominal);
  if (it == series.skipped.end() || *it != nominal) series.skipped.insert(it, nominal);
}

// Adds the occurrences with nominal dates in [from, through] that are not skipped; one that
// the day cannot take is skipped instead. Whether any occurrence fell in the range.
bool WriteOccurrences(YearDatas& years, Series& series, Date from, Date through) {
  bool any = false;
  ForEachOccurrence(series.rule, from, through, [&](const Occurrence& o) {
    any = true;
    if (IsSkipped(series, o.nominal)) return true;
    const DateParts day = SplitDate(o.due);
    if (CheckNewEntry(years, day, series.rule.entry).Accepted())
      AddNewEntry(years, day, series.rule.entry);
    else
      AddSkipped(series, o.nominal);
    return true;
  });
  return any;
}

template <typename Entry>
std::optional<SeriesMatch> SeriesOfEntry(const SeriesBook& book, Date date, const Entry& entry) {
  for (const Series& series : book.series) {
    if (!Matches(series.rule.entry, entry)) continue;
    std::optional<SeriesMatch> match;
    ForEachOccurrence(series.rule, date - kShiftReach, std::min(date + kShiftReach, series.written_through),
                      [&](const Occurrence& o) {
                        if (o.due != date || IsSkipped(series, o.nominal)) return true;
                        match = SeriesMatch{series.id, o.nominal};
                        return false;
                      });
    if (match) return match;
  }
  return std::nullopt;
}

void EraseSeries(SeriesBook& book, std::uint32_t id) {
  std::erase_if(book.series, [id](const Series& s) { return s.id == id; });
}

}  // namespace

const Series* SeriesBook::Find(std::uint32_t id) const {
  auto it = std::find_if(series.begin(), series.end(), [id](const Series& s) { return s.id == id; });
  return it == series.end() ? nullptr : &*it;
}

Series* SeriesBook::Find(std::uint32_t id) {
  return const_cast<Series*>(static_cast<const SeriesBook&>(*this).Find(id));
}

SeriesCheck CheckNewSeries(const YearDatas& years, const SeriesRule& given, Date today) {
  const SeriesRule rule = NormalizedRule(given);
  SeriesCheck check;
  check.entry_kind = rule.entry.kind;
  auto refuse = [&](SeriesRefusal refusal, Date date) {
    check.refusal = refusal;
    check.date = date;
    return check;
  };
  if (!ValidRule(rule)) return refuse(SeriesRefusal::kBadRule, rule.start);
  if (rule.end == SeriesEnd::kOnOrBefore && rule.until < rule.start)
    return refuse(SeriesRefusal::kEndBeforeStart, rule.until);
  // A series with an end is refused as a whole when it is too long, not only its first years.
  if (rule.end == SeriesEnd::kAfterCount && rule.count > static_cast<int>(kMaxSeriesOccurrences))
    return refuse(SeriesRefusal::kTooMany,
                  NominalAt(rule, kMaxSeriesOccurrences).value_or(MakeDate(kLastYear, 12, 31)));
  if (rule.end == SeriesEnd::kOnOrBefore) {
    const auto all = ExpandRule(rule, rule.until, kMaxSeriesOccurrences + 1);
    if (all.size() > kMaxSeriesOccurrences) return refuse(SeriesRefusal::kTooMany, all.back().nominal);
  }
  const auto now = ExpandRule(rule, HorizonEnd(rule, today), kMaxSeriesOccurrences + 1);
  if (now.size() > kMaxSeriesOccurrences) return refuse(SeriesRefusal::kTooMany, now.back().nominal);

  // Each occurrence as if the ones before it were added: only a day that two occurrences
  // share (a moved one landing on another) sees an earlier one of this series.
  std::map<Date, std::int64_t> earlier;
  for (const Occurrence& o : now) {
    const DateParts day = SplitDate(o.due);
    check.entry = CheckNewEntry(years, day, rule.entry);
    if (check.entry.Accepted() && IsPaymentKind(rule.entry.kind)) {
      std::int64_t& added = earlier[o.due];
      if (added != 0) {
        std::int64_t total = added + rule.entry.amount;
        if (const DayData* existing = FindDay(years, day))
          for (const auto& payment : existing->PaymentDatas) total += payment.lngPrice;
        if (total < std::numeric_limits<std::int32_t>::min() ||
            total > std::numeric_limits<std::int32_t>::max())
          check.entry = {EntryRefusal::kTotalOutOfRange, {}};
      }
      added += rule.entry.amount;
    }
    if (!check.entry.Accepted()) return refuse(SeriesRefusal::kEntryRefused, o.due);
  }
  check.occurrences = now.size();
  return check;
}

std::uint32_t AddSeries(YearDatas& years, SeriesBook& book, const SeriesRule& given, Date today) {
  Series series;
  series.rule = NormalizedRule(given);
  for (const Series& other : book.series) book.next_id = std::max(book.next_id, other.id + 1);
  series.id = book.next_id++;
  series.written_through = HorizonEnd(series.rule, today);
  WriteOccurrences(years, series, series.rule.start, series.written_through);
  book.series.push_back(std::move(series));
  return book.series.back().id;
}

std::optional<SeriesMatch> SeriesOfPayment(const SeriesBook& book, Date date, const PaymentData& entry) {
  return SeriesOfEntry(book, date, entry);
}

std::optional<SeriesMatch> SeriesOfSpecial(const SeriesBook& book, Date date, const SpecialData& entry) {
  return SeriesOfEntry(book, date, entry);
}

std::size_t DeleteFromSeries(YearDatas& years, SeriesBook& book, std::uint32_t id, Date nominal,
                             SeriesDeleteScope scope) {
  Series* series = book.Find(id);
  if (!series) return 0;
  SeriesRule& rule = series->rule;
  if (scope == SeriesDeleteScope::kThisAndLater && nominal <= rule.start)
    scope = SeriesDeleteScope::kWholeSeries;
  std::size_t removed = 0;
  auto remove = [&](const Occurrence& o) {
    if (!IsSkipped(*series, o.nominal) && RemoveOneMatching(years, o.due, rule.entry)) ++removed;
    return true;
  };
  switch (scope) {
    case SeriesDeleteScope::kThisOne: {
      bool found = false;
      ForEachOccurrence(rule, nominal, nominal, [&](const Occurrence& o) {
        found = true;
        if (o.nominal <= series->written_through) remove(o);
        return false;
      });
      if (found) AddSkipped(*series, nominal);
      return removed;
    }
    case SeriesDeleteScope::kThisAndLater: {
      ForEachOccurrence(rule, nominal, series->written_through, remove);
      // The series now ends the day before; an end that already came earlier stays.
      const Date until = nominal - days{1};
      bool ends_later = true;
      if (rule.end == SeriesEnd::kOnOrBefore) ends_later = rule.until > until;
      if (rule.end == SeriesEnd::kAfterCount) {
        const auto last = NominalAt(rule, rule.count - 1);
        ends_later = !last || *last > until;
      }
      if (ends_later) {
        rule.end = SeriesEnd::kOnOrBefore;
        rule.until = until;
        rule.count = 0;
      }
      std::erase_if(series->skipped, [&](Date d) { return d > until; });
      return removed;
    }
    case SeriesDeleteScope::kWholeSeries:
      ForEachOccurrence(rule, rule.start, series->written_through, remove);
      EraseSeries(book, id);
      return removed;
  }
  return removed;
}

bool ExtendSeries(YearDatas& years, SeriesBook& book, Date today) {
  Date limit = AddMonths(today, kSeriesHorizonMonths);
  if (!InCalendar(limit)) limit = MakeDate(kLastYear, 12, 31);
  bool changed = false;
  for (Series& series : book.series) {
    if (series.written_through >= limit) continue;
    // Only what lies beyond written_through: an occurrence the user took out earlier, or
    // that was deleted by another program, stays out.
    if (WriteOccurrences(years, series, series.written_through + days{1}, limit)) {
      series.written_through = limit;
      changed = true;
    }
  }
  return changed;
}

std::optional<Occurrence> NextOccurrence(const Series& series, Date today) {
  std::optional<Occurrence> next;
  ForEachOccurrence(series.rule, today - kShiftReach, MakeDate(kLastYear, 12, 31), [&](const Occurrence& o) {
    if (o.due < today || IsSkipped(series, o.nominal)) return true;
    next = o;
    return false;
  });
  return next;
}

}  // namespace orv
