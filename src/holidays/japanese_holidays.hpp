#pragma once
// Japan's national holidays and bank business days, from the rules in holiday_law.cpp.
// The days of 1948 to 2199 are worked out once, on the first question, and kept: a lookup is
// a binary search. Later years are worked out on each question. Safe to call from any thread.
#include <string_view>
#include <vector>

#include "core/dates.hpp"

namespace orv {

struct Holiday {
  Date date;
  std::string_view name;  // a literal: valid for the whole run
  bool operator==(const Holiday&) const = default;
};

// The national holidays, substitute holidays and citizens' holidays of the years
// first_year..last_year, in date order.
std::vector<Holiday> HolidaysOfYears(int first_year, int last_year);

// The holiday's name, or empty when the day is not a holiday.
std::string_view HolidayName(Date date);
inline bool IsHoliday(Date date) { return !HolidayName(date).empty(); }

// A day the banks are open: not a Saturday or Sunday, not a holiday, not 31 December to
// 3 January.
bool IsBankBusinessDay(Date date);
// The day itself when it is a business day, else the first business day after (before) it.
Date NextBusinessDay(Date date);
Date PreviousBusinessDay(Date date);

}  // namespace orv
