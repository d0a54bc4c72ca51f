#pragma once
// Japan's holiday law as data: which days are national holidays ("国民の祝日") in which years,
// and from when the two derived kinds of day off (substitute holidays and citizens' holidays)
// apply. When the law changes, this is the one place to edit: add or close a rule in
// holiday_law.cpp; the engine in japanese_holidays.cpp only applies what is written there.
#include <span>
#include <string_view>

#include "core/dates.hpp"

namespace orv {

enum class HolidayDay {
  Fixed,            // month/day
  NthMonday,        // the day-th Monday of the month
  VernalEquinox,    // the day of the March equinox
  AutumnalEquinox,  // the day of the September equinox
};

inline constexpr int kOpenEnded = 9999;

// One national holiday rule, holding from first_year to last_year (both included). A
// one-off day is a Fixed rule whose first and last year are the same.
struct HolidayRule {
  std::string_view name;
  HolidayDay kind;
  int month;
  int day;  // Fixed: day of the month; NthMonday: which Monday
  int first_year;
  int last_year;
};

// The equinox day of March and September for years first_year..last_year:
// floor(base + 0.242194 * (year - 1980) - floor((year - 1980) / 4)).
struct EquinoxFormula {
  int first_year;
  int last_year;
  double march_base;
  double september_base;
};

struct HolidayLaw {
  std::span<const HolidayRule> rules;
  std::span<const EquinoxFormula> equinoxes;
  Date law_start;  // no national holiday before this day
  // A holiday on a Sunday makes the following Monday a day off, unless the Monday is a holiday
  // itself; from next_free_substitute_start the day off is the first following day that is not
  // a holiday.
  Date substitute_start;
  Date next_free_substitute_start;
  // A weekday that is not a holiday between two holidays is a day off.
  Date citizens_start;
  std::string_view substitute_name;
  std::string_view citizens_name;
};

const HolidayLaw& JapaneseHolidayLaw();

}  // namespace orv
