#include "holidays/japanese_holidays.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "../../support/iso_text.hpp"

namespace orv {
namespace {

using std::chrono::days;
using test::Iso;

Date ParseIso(const std::string& text) {
  int y = 0, m = 0, d = 0;
  std::sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d);
  return MakeDate(y, m, d);
}

// The Cabinet Office's list: "1955/1/1,元日" lines under a header.
std::map<Date, std::string> OfficialList(int& first_year, int& last_year) {
  std::ifstream file(ORV_TEST_DATA "/jp-holidays-official.csv", std::ios::binary);
  std::map<Date, std::string> list;
  std::string line;
  std::getline(file, line);
  first_year = 9999;
  last_year = 0;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    int y = 0, m = 0, d = 0;
    const auto comma = line.find(',');
    if (comma == std::string::npos || std::sscanf(line.c_str(), "%d/%d/%d", &y, &m, &d) != 3) continue;
    list[MakeDate(y, m, d)] = line.substr(comma + 1);
    first_year = std::min(first_year, y);
    last_year = std::max(last_year, y);
  }
  return list;
}

TEST(JapaneseHolidays, EveryDayAndNameOfTheOfficialList) {
  int first = 0, last = 0;
  const auto list = OfficialList(first, last);
  ASSERT_GT(list.size(), 1000u);
  ASSERT_EQ(first, 1955);
  ASSERT_GE(last, 2027);

  std::ostringstream differences;
  std::map<Date, std::string_view> ours;
  for (const Holiday& h : HolidaysOfYears(first, last)) ours[h.date] = h.name;
  for (const auto& [date, name] : list) {
    auto it = ours.find(date);
    const std::string_view got = it == ours.end() ? std::string_view{} : it->second;
    // The list calls substitute and citizens' holidays both "休日".
    const bool same = got == name || (name == "休日" && (got == "振替休日" || got == "国民の休日"));
    if (!same) differences << Iso(date) << " list " << name << ", rules " << got << "\n";
    if (HolidayName(date) != got) differences << Iso(date) << " lookup differs from the year table\n";
  }
  for (const auto& [date, name] : ours)
    if (!list.contains(date)) differences << Iso(date) << " rules " << name << ", not in the list\n";
  EXPECT_EQ(differences.str(), "");
}

// Each rule change at its edge: the last day of the old rule and the first of the new.
TEST(JapaneseHolidays, RuleChangesAtTheirEdges) {
  struct Case {
    const char* date;
    const char* name;  // empty: not a holiday
  } cases[] = {
      {"1948-05-03", ""},                  // before the holiday law
      {"1948-09-23", "秋分の日"},
      {"1959-04-10", "結婚の儀"},
      {"1973-02-12", ""},                  // Sunday 11 February, before substitute holidays
      {"1973-04-30", "振替休日"},           // the first substitute holiday
      {"1985-05-04", ""},                  // before citizens' holidays
      {"1986-05-04", ""},                  // a Sunday between two holidays stays a Sunday
      {"1987-05-04", "振替休日"},           // Sunday 3 May: the Monday is a substitute, not a citizens' day
      {"1988-05-04", "国民の休日"},
      {"1989-02-24", "大喪の礼"},
      {"1989-12-23", "天皇誕生日"},
      {"1999-01-15", "成人の日"},
      {"2000-01-15", ""},
      {"2000-01-10", "成人の日"},           // second Monday
      {"2000-10-09", "体育の日"},
      {"2002-07-20", "海の日"},
      {"2003-07-21", "海の日"},             // third Monday
      {"2004-09-20", "敬老の日"},
      {"2004-09-15", ""},
      {"2006-04-29", "みどりの日"},
      {"2006-05-04", "国民の休日"},
      {"2007-04-29", "昭和の日"},
      {"2007-04-30", "振替休日"},
      {"2007-05-04", "みどりの日"},
      {"2008-05-06", "振替休日"},           // Sunday 4 May: the first day after that is no holiday
      {"2015-08-11", ""},
      {"2016-08-11", "山の日"},
      {"2018-12-24", "振替休日"},
      {"2019-04-30", "国民の休日"},
      {"2019-05-01", "休日（祝日扱い）"},
      {"2019-05-02", "国民の休日"},
      {"2019-05-06", "振替休日"},
      {"2019-10-14", "体育の日（スポーツの日）"},
      {"2019-10-22", "休日（祝日扱い）"},
      {"2019-12-23", ""},
      {"2020-02-23", "天皇誕生日"},
      {"2020-02-24", "振替休日"},
      {"2020-07-20", ""},
      {"2020-07-23", "海の日"},
      {"2020-07-24", "スポーツの日"},
      {"2020-08-10", "山の日"},
      {"2020-08-11", ""},
      {"2020-10-12", ""},
      {"2021-07-19", ""},
      {"2021-07-22", "海の日"},
      {"2021-07-23", "スポーツの日"},
      {"2021-08-08", "山の日"},
      {"2021-08-09", "振替休日"},
      {"2021-10-11", ""},
      {"2022-07-18", "海の日"},
      {"2022-10-10", "スポーツの日"},
      {"2200-01-01", "元日"},              // past the kept years: worked out on the question
      {"2200-01-02", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(HolidayName(ParseIso(c.date)), c.name) << c.date;
}

TEST(JapaneseHolidays, YearTablesAreInDateOrderAndMeetAtYearEnds) {
  const auto three = HolidaysOfYears(2025, 2027);
  ASSERT_FALSE(three.empty());
  EXPECT_TRUE(std::is_sorted(three.begin(), three.end(),
                             [](const Holiday& a, const Holiday& b) { return a.date < b.date; }));
  auto joined = HolidaysOfYears(2025, 2025);
  for (int year : {2026, 2027})
    for (const Holiday& h : HolidaysOfYears(year, year)) joined.push_back(h);
  EXPECT_EQ(three, joined);
  EXPECT_EQ(three.front(), (Holiday{MakeDate(2025, 1, 1), "元日"}));
  EXPECT_TRUE(HolidaysOfYears(2027, 2026).empty());
  EXPECT_TRUE(HolidaysOfYears(1900, 1947).empty());
  // Beyond the kept years the same rules give the same kind of year.
  EXPECT_EQ(HolidaysOfYears(2300, 2300).front(), (Holiday{MakeDate(2300, 1, 1), "元日"}));
}

TEST(BankBusinessDays, NewYearAndGoldenWeek) {
  struct Case {
    const char* date;
    const char* next;
    const char* previous;
  } cases[] = {
      {"2026-12-30", "2026-12-30", "2026-12-30"},  // a plain Wednesday
      {"2026-12-31", "2027-01-04", "2026-12-30"},
      {"2027-01-01", "2027-01-04", "2026-12-30"},
      {"2027-01-03", "2027-01-04", "2026-12-30"},
      {"2023-01-02", "2023-01-04", "2022-12-30"},  // substitute holiday and bank holiday at once
      {"2028-01-03", "2028-01-04", "2027-12-30"},  // the 3rd is a Monday
      {"2026-04-29", "2026-04-30", "2026-04-28"},
      {"2026-05-02", "2026-05-07", "2026-05-01"},  // Sunday 3 May moves its holiday to the 6th
      {"2025-05-03", "2025-05-07", "2025-05-02"},
      {"2019-04-27", "2019-05-07", "2019-04-26"},  // ten days off
      {"2026-11-03", "2026-11-04", "2026-11-02"},
  };
  for (const Case& c : cases) {
    const Date date = ParseIso(c.date);
    EXPECT_EQ(Iso(NextBusinessDay(date)), c.next) << c.date;
    EXPECT_EQ(Iso(PreviousBusinessDay(date)), c.previous) << c.date;
    EXPECT_EQ(IsBankBusinessDay(date), Iso(date) == c.next) << c.date;
  }
}

}  // namespace
}  // namespace orv
