#pragma once
// What the series files share among themselves; not for other callers.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "series/series.hpp"

namespace orv::series_detail {

inline constexpr int kFirstYear = 1;
inline constexpr int kLastYear = 9999;  // the data file's years
inline constexpr int kMaxEvery = 99;

bool InCalendar(Date date);
// The same day `months` later, or the month's last day when it is shorter.
Date AddMonths(Date date, int months);
// every 1..99, a start (and an until) in the calendar's years, a count of at least 1.
bool ValidRule(const SeriesRule& rule);
// The nominal date of occurrence `index` (0 = the start), counted from the start; nullopt
// past the calendar's last year. Ignores the rule's end.
std::optional<Date> NominalAt(const SeriesRule& rule, std::int64_t index);
Date DueDate(const SeriesRule& rule, Date nominal);
// The occurrences whose nominal date lies in [from, through] and within the rule's end, in
// order, until `visit` returns false.
void ForEachOccurrence(const SeriesRule& rule, Date from, Date through,
                       const std::function<bool(const Occurrence&)>& visit);
// How far a series is written when it is added on `today`.
Date HorizonEnd(const SeriesRule& rule, Date today);
bool IsSkipped(const Series& series, Date nominal);
// "2月28日(日)" and "2027年2月28日(日)".
std::string MonthDayText(Date date);
std::string FullDateText(Date date);

}  // namespace orv::series_detail
