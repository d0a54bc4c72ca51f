#include "holidays/japanese_holidays.hpp"

#include <algorithm>
#include <cmath>

#include "holidays/holiday_law.hpp"

namespace orv {
namespace {

using std::chrono::days;

constexpr int kFirstKeptYear = 1948;
constexpr int kLastKeptYear = 2199;

bool IsSunday(Date date) { return std::chrono::weekday{date} == std::chrono::Sunday; }

int EquinoxDay(const HolidayLaw& law, int year, bool march) {
  const EquinoxFormula* formula = &law.equinoxes.front();
  for (const EquinoxFormula& f : law.equinoxes)
    if (year >= f.first_year && year <= f.last_year) formula = &f;
  const double base = march ? formula->march_base : formula->september_base;
  const int leap_shift = static_cast<int>(std::floor((year - 1980) / 4.0));
  return static_cast<int>(std::floor(base + 0.242194 * (year - 1980) - leap_shift));
}

Date RuleDate(const HolidayLaw& law, const HolidayRule& rule, int year) {
  using namespace std::chrono;
  switch (rule.kind) {
    case HolidayDay::NthMonday:
      return sys_days{std::chrono::year{year} / month{static_cast<unsigned>(rule.month)} /
                      weekday_indexed{Monday, static_cast<unsigned>(rule.day)}};
    case HolidayDay::VernalEquinox: return MakeDate(year, 3, EquinoxDay(law, year, true));
    case HolidayDay::AutumnalEquinox: return MakeDate(year, 9, EquinoxDay(law, year, false));
    case HolidayDay::Fixed: break;
  }
  return MakeDate(year, rule.month, rule.day);
}

bool Contains(const std::vector<Holiday>& sorted, Date date) {
  auto it = std::lower_bound(sorted.begin(), sorted.end(), date,
                             [](const Holiday& h, Date d) { return h.date < d; });
  return it != sorted.end() && it->date == date;
}

// The holidays of first_year..last_year. The derived days are worked out over a year more on
// each side, so a holiday at a year's end still moves its substitute into the next year.
std::vector<Holiday> Compute(int first_year, int last_year) {
  const HolidayLaw& law = JapaneseHolidayLaw();
  std::vector<Holiday> national;
  for (int year = first_year - 1; year <= last_year + 1; ++year)
    for (const HolidayRule& rule : law.rules)
      if (year >= rule.first_year && year <= rule.last_year) {
        const Date date = RuleDate(law, rule, year);
        if (date >= law.law_start) national.push_back({date, rule.name});
      }
  std::sort(national.begin(), national.end(),
            [](const Holiday& a, const Holiday& b) { return a.date < b.date; });

  std::vector<Holiday> all = national;
  for (const Holiday& h : national) {
    if (!IsSunday(h.date) || h.date < law.substitute_start) continue;
    Date off = h.date + days{1};
    if (h.date >= law.next_free_substitute_start) {
      while (Contains(national, off)) off += days{1};
    } else if (Contains(national, off)) {
      continue;
    }
    all.push_back({off, law.substitute_name});
  }
  std::sort(all.begin(), all.end(), [](const Holiday& a, const Holiday& b) { return a.date < b.date; });

  // A Sunday between two holidays stays a plain Sunday; a substitute holiday keeps its name.
  for (std::size_t i = 0; i + 1 < national.size(); ++i) {
    const Date between = national[i].date + days{1};
    if (national[i + 1].date != between + days{1} || between < law.citizens_start) continue;
    if (IsSunday(between) || Contains(all, between)) continue;
    all.insert(std::upper_bound(all.begin(), all.end(), between,
                                [](Date d, const Holiday& h) { return d < h.date; }),
               Holiday{between, law.citizens_name});
  }

  const Date from = MakeDate(first_year, 1, 1);
  const Date to = MakeDate(last_year + 1, 1, 1);
  std::erase_if(all, [&](const Holiday& h) { return h.date < from || h.date >= to; });
  return all;
}

const std::vector<Holiday>& KeptHolidays() {
  static const std::vector<Holiday> kept = Compute(kFirstKeptYear, kLastKeptYear);
  return kept;
}

int YearOf(Date date) { return static_cast<int>(std::chrono::year_month_day{date}.year()); }

}  // namespace

std::vector<Holiday> HolidaysOfYears(int first_year, int last_year) {
  if (first_year > last_year) return {};
  if (first_year < kFirstKeptYear || last_year > kLastKeptYear) return Compute(first_year, last_year);
  const std::vector<Holiday>& kept = KeptHolidays();
  auto less = [](const Holiday& h, Date d) { return h.date < d; };
  auto begin = std::lower_bound(kept.begin(), kept.end(), MakeDate(first_year, 1, 1), less);
  auto end = std::lower_bound(begin, kept.end(), MakeDate(last_year + 1, 1, 1), less);
  return {begin, end};
}

std::string_view HolidayName(Date date) {
  static const Date kept_from = MakeDate(kFirstKeptYear, 1, 1);
  static const Date kept_to = MakeDate(kLastKeptYear + 1, 1, 1);
  if (date < kept_from) return {};
  if (date >= kept_to) {
    for (const Holiday& h : Compute(YearOf(date), YearOf(date)))
      if (h.date == date) return h.name;
    return {};
  }
  const std::vector<Holiday>& kept = KeptHolidays();
  auto it = std::lower_bound(kept.begin(), kept.end(), date,
                             [](const Holiday& h, Date d) { return h.date < d; });
  return it != kept.end() && it->date == date ? it->name : std::string_view{};
}

bool IsBankBusinessDay(Date date) {
  const std::chrono::weekday wd{date};
  if (wd == std::chrono::Saturday || wd == std::chrono::Sunday) return false;
  const std::chrono::year_month_day ymd{date};
  const unsigned month = static_cast<unsigned>(ymd.month());
  const unsigned day = static_cast<unsigned>(ymd.day());
  if ((month == 12 && day == 31) || (month == 1 && day <= 3)) return false;
  return !IsHoliday(date);
}

Date NextBusinessDay(Date date) {
  while (!IsBankBusinessDay(date)) date += days{1};
  return date;
}

Date PreviousBusinessDay(Date date) {
  while (!IsBankBusinessDay(date)) date -= days{1};
  return date;
}

}  // namespace orv
