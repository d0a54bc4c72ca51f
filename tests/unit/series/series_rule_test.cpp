// Where occurrences fall, what the preview and the refusals say, and whether a new series is
// accepted.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "series/series.hpp"
#include "../../support/iso_text.hpp"

namespace orv {
namespace {

using test::Iso;

Date D(int y, int m, int d) { return MakeDate(y, m, d); }

SeriesRule Rule(int kind, Date start, int every, SeriesUnit unit, SeriesShift shift = SeriesShift::kNone) {
  SeriesRule rule;
  rule.entry = {kind, "家賃", IsPaymentKind(kind) ? 50000 : 0, {}};
  rule.start = start;
  rule.every = every;
  rule.unit = unit;
  rule.shift = shift;
  return rule;
}
SeriesRule Count(SeriesRule rule, int count) {
  rule.end = SeriesEnd::kAfterCount;
  rule.count = count;
  return rule;
}
SeriesRule Until(SeriesRule rule, Date until) {
  rule.end = SeriesEnd::kOnOrBefore;
  rule.until = until;
  return rule;
}
SeriesRule LastDay(SeriesRule rule) {
  rule.last_day = true;
  return rule;
}

// "nominal" or "nominal>due".
std::string Listed(const std::vector<Occurrence>& occurrences) {
  std::string text;
  for (const Occurrence& o : occurrences) {
    if (!text.empty()) text += " ";
    text += Iso(o.nominal);
    if (o.due != o.nominal) text += ">" + Iso(o.due);
  }
  return text;
}

constexpr auto kWeek = SeriesUnit::kWeek;
constexpr auto kMonth = SeriesUnit::kMonth;
constexpr auto kYear = SeriesUnit::kYear;
constexpr auto kNext = SeriesShift::kNext;
constexpr auto kPrevious = SeriesShift::kPrevious;

struct ExpansionCase {
  const char* what;
  SeriesRule rule;
  Date through;
  std::size_t limit;
  const char* expected;
};

TEST(SeriesRule, ExpansionTable) {
  const ExpansionCase cases[] = {
      {"the 31st falls on the last day of shorter months and comes back",
       Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), D(2027, 5, 31), 99,
       "2027-01-31 2027-02-28 2027-03-31 2027-04-30 2027-05-31"},
      {"month's last day from a 28 February start",
       LastDay(Rule(kSpecialDays, D(2027, 2, 28), 1, kMonth)), D(2027, 4, 30), 99,
       "2027-02-28 2027-03-31 2027-04-30"},
      {"the 28th stays the 28th without last day",
       Rule(kSpecialDays, D(2027, 2, 28), 1, kMonth), D(2027, 4, 30), 99,
       "2027-02-28 2027-03-28 2027-04-28"},
      {"29 February yearly: 28 February in common years",
       Rule(kSpecialDays, D(2024, 2, 29), 1, kYear), D(2028, 12, 31), 99,
       "2024-02-29 2025-02-28 2026-02-28 2027-02-28 2028-02-29"},
      {"every 2 weeks across New Year", Rule(kSpecialDays, D(2026, 12, 14), 2, kWeek),
       D(2027, 1, 25), 99, "2026-12-14 2026-12-28 2027-01-11 2027-01-25"},
      {"every 3 months from the 30th, February in between",
       Rule(kSpecialDays, D(2026, 11, 30), 3, kMonth), D(2027, 12, 1), 99,
       "2026-11-30 2027-02-28 2027-05-30 2027-08-30 2027-11-30"},
      {"Golden Week, next business day",
       Rule(kAutomaticTransfers, D(2027, 4, 29), 2, kWeek, kNext), D(2027, 5, 13), 99,
       "2027-04-29>2027-04-30 2027-05-13"},
      {"Golden Week, previous business day",
       Rule(kCashPayments, D(2027, 5, 3), 1, kMonth, kPrevious), D(2027, 6, 3), 99,
       "2027-05-03>2027-04-30 2027-06-03"},
      {"Golden Week holidays in a row, next", Rule(kCashPayments, D(2027, 5, 3), 1, kYear, kNext),
       D(2027, 5, 3), 99, "2027-05-03>2027-05-06"},
      {"31 December to 3 January are closed, next",
       Rule(kAutomaticTransfers, D(2027, 10, 31), 1, kMonth, kNext), D(2028, 1, 31), 99,
       "2027-10-31>2027-11-01 2027-11-30 2027-12-31>2028-01-04 2028-01-31"},
      {"31 December to 3 January are closed, previous",
       Rule(kAutomaticTransfers, D(2027, 12, 31), 1, kYear, kPrevious), D(2029, 1, 31), 99,
       "2027-12-31>2027-12-30 2028-12-31>2028-12-29"},
      {"3 January on a Monday, next", Rule(kAutomaticTransfers, D(2028, 1, 3), 1, kYear, kNext),
       D(2028, 1, 31), 99, "2028-01-03>2028-01-04"},
      {"a shifted occurrence landing on another's date is still its own",
       Rule(kAutomaticTransfers, D(2019, 4, 27), 1, kWeek, kNext), D(2019, 5, 11), 99,
       "2019-04-27>2019-05-07 2019-05-04>2019-05-07 2019-05-11>2019-05-13"},
      {"special days are never moved", Rule(kSpecialDays, D(2027, 5, 3), 1, kYear, kNext),
       D(2028, 12, 31), 99, "2027-05-03 2028-05-03"},
      {"until on an occurrence keeps it", Until(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), D(2027, 3, 31)),
       D(2030, 1, 1), 99, "2027-01-31 2027-02-28 2027-03-31"},
      {"until a day before an occurrence leaves it out",
       Until(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), D(2027, 3, 30)), D(2030, 1, 1), 99,
       "2027-01-31 2027-02-28"},
      {"until on the start: one occurrence", Until(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), D(2027, 1, 31)),
       D(2030, 1, 1), 99, "2027-01-31"},
      {"until limits the nominal date, not the moved one",
       Until(Rule(kAutomaticTransfers, D(2027, 10, 31), 1, kMonth, kNext), D(2027, 12, 31)), D(2030, 1, 1), 99,
       "2027-10-31>2027-11-01 2027-11-30 2027-12-31>2028-01-04"},
      {"count 1: the start alone", Count(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), 1), D(2030, 1, 1), 99,
       "2027-01-31"},
      {"count 3", Count(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), 3), D(2030, 1, 1), 99,
       "2027-01-31 2027-02-28 2027-03-31"},
      {"count beyond through: through wins", Count(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), 12),
       D(2027, 2, 28), 99, "2027-01-31 2027-02-28"},
      {"through before the start: nothing", Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), D(2027, 1, 30), 99, ""},
      {"limit", Rule(kSpecialDays, D(2027, 1, 1), 1, kWeek), D(2030, 1, 1), 2, "2027-01-01 2027-01-08"},
      {"the calendar's last year ends an open series",
       Rule(kSpecialDays, D(9999, 6, 30), 3, kMonth), D(9999, 12, 31), 99, "9999-06-30 9999-09-30 9999-12-30"},
      {"an invalid rule has no occurrences", Rule(kSpecialDays, D(2027, 1, 1), 0, kWeek), D(2030, 1, 1), 99, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Listed(ExpandRule(c.rule, c.through, c.limit)), c.expected) << c.what;
}

TEST(SeriesRule, PreviewNamesMovedDatesAndYearsThatChange) {
  EXPECT_EQ(SeriesPreview(Rule(kAutomaticTransfers, D(2021, 1, 31), 1, kMonth, kNext), 3),
            "1月31日(日) → 2月1日(月)、2月28日(日) → 3月1日(月)、3月31日(水) …");
  EXPECT_EQ(SeriesPreview(Count(Rule(kSpecialDays, D(2027, 11, 30), 1, kMonth), 3), 3),
            "11月30日(火)、12月30日(木)、2028年1月30日(日)");
}

TEST(SeriesRule, TotalOfASeriesWithAnEnd) {
  EXPECT_EQ(SeriesTotal(Count(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), 12)), 12u);
  EXPECT_EQ(SeriesTotal(Count(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), 5000)), 1201u);
  EXPECT_EQ(SeriesTotal(Until(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), D(2027, 12, 30))), 11u);
  EXPECT_EQ(SeriesTotal(Count(Rule(kSpecialDays, D(9999, 11, 30), 1, kMonth), 12)), 2u);  // the calendar ends
  EXPECT_FALSE(SeriesTotal(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth)));
}

TEST(SeriesRule, RuleTexts) {
  EXPECT_EQ(SeriesRuleText(Count(Rule(kAutomaticTransfers, D(2027, 1, 31), 1, kMonth, kNext), 12)),
            "毎月 31日 休日は翌営業日 2027年1月31日(日)から 12回");
  EXPECT_EQ(SeriesRuleText(Until(LastDay(Rule(kCashPayments, D(2027, 2, 28), 3, kMonth)), D(2028, 2, 29))),
            "3か月ごと 月末 2027年2月28日(日)から 2028年2月29日(火)まで");
  // Special days are never moved, whatever the rule carries.
  EXPECT_EQ(SeriesRuleText(Rule(kSpecialDays, D(2027, 1, 4), 2, kWeek, kNext)), "2週ごと 月曜日 2027年1月4日(月)から");
}

struct CheckCase {
  const char* what;
  SeriesRule rule;
  SeriesRefusal refusal;
  const char* date;           // the date named
  const char* text_contains;  // in SeriesRefusalText
};

TEST(SeriesRule, CheckRefusalsTable) {
  const Date today = D(2026, 12, 8);
  // A day already near the top of the 32-bit total.
  YearDatas years;
  AddNewEntry(years, SplitDate(D(2027, 3, 31)), {kCashPayments, "大きな支払い", 2147480000, {}});
  SeriesRule big = Rule(kCashPayments, D(2019, 4, 27), 1, kWeek, kNext);
  big.entry.amount = 1500000000;  // fine alone; two of them on 7 May 2019 are not
  SeriesRule unstorable = Rule(kSpecialDays, D(2027, 1, 1), 1, kMonth);
  unstorable.entry.comment = "\xF0\x9F\x98\x80";  // an emoji: code page 932 has no such character
  SeriesRule zero = Rule(kCashPayments, D(2027, 1, 1), 1, kMonth);
  zero.entry.amount = 0;
  const CheckCase cases[] = {
      {"until before start", Until(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), D(2027, 1, 30)),
       SeriesRefusal::kEndBeforeStart, "2027-01-30", "2027年1月30日(土)"},
      {"every 0", Rule(kSpecialDays, D(2027, 1, 31), 0, kMonth), SeriesRefusal::kBadRule, "2027-01-31", "1～99"},
      {"every 100", Rule(kSpecialDays, D(2027, 1, 31), 100, kYear), SeriesRefusal::kBadRule, "2027-01-31", "1～99"},
      {"count 0", Count(Rule(kSpecialDays, D(2027, 1, 31), 1, kMonth), 0), SeriesRefusal::kBadRule, "2027-01-31",
       "回数"},
      {"count 1201", Count(Rule(kSpecialDays, D(2027, 1, 1), 1, kWeek), 1201), SeriesRefusal::kTooMany,
       "2049-12-31", "1,200回"},
      {"until 1201 weeks later", Until(Rule(kSpecialDays, D(2027, 1, 1), 1, kWeek), D(2050, 1, 7)),
       SeriesRefusal::kTooMany, "2049-12-31", "1,201回目"},
      {"open-ended weekly from long ago", Rule(kSpecialDays, D(2000, 1, 7), 1, kWeek), SeriesRefusal::kTooMany,
       "2023-01-06", "2023年1月6日(金)"},
      {"a day total that would overflow", Rule(kCashPayments, D(2027, 1, 31), 1, kMonth),
       SeriesRefusal::kEntryRefused, "2027-03-31",
       "2027年3月31日(水)の予定を追加できません\r\nこの日の支払いの合計金額"},
      {"two occurrences moved onto one day overflow it", Count(big, 3), SeriesRefusal::kEntryRefused,
       "2019-05-07", "2019年5月7日(火)"},
      {"a comment the file cannot hold", unstorable, SeriesRefusal::kEntryRefused, "2027-01-01",
       "「コメント」の内容はユーザーデータファイルに保存できません"},
      {"a payment of 0", zero, SeriesRefusal::kEntryRefused, "2027-01-01", "値が正しく入力されていません"},
  };
  for (const auto& c : cases) {
    const SeriesCheck check = CheckNewSeries(years, c.rule, today);
    EXPECT_EQ(check.refusal, c.refusal) << c.what;
    EXPECT_EQ(Iso(check.date), c.date) << c.what;
    EXPECT_NE(SeriesRefusalText(check).find(c.text_contains), std::string::npos)
        << c.what << ": " << SeriesRefusalText(check);
  }
}

TEST(SeriesRule, AcceptedSeriesCountsWhatIsWrittenNow) {
  YearDatas years;
  const Date today = D(2026, 12, 8);
  // Open-ended: up to 24 months from today (20 December 2028 lies beyond).
  EXPECT_EQ(CheckNewSeries(years, Rule(kSpecialDays, D(2026, 11, 20), 1, kMonth), today).occurrences, 25u);
  // Starting later: 24 months from its start (from today it would be 24).
  EXPECT_EQ(CheckNewSeries(years, Rule(kSpecialDays, D(2026, 12, 31), 1, kMonth), today).occurrences, 25u);
  EXPECT_EQ(CheckNewSeries(years, Rule(kSpecialDays, D(2030, 1, 1), 1, kYear), today).occurrences, 3u);
  // The most a series may have.
  const auto full = CheckNewSeries(years, Count(Rule(kSpecialDays, D(2027, 1, 1), 1, kWeek), 1200), today);
  EXPECT_TRUE(full.Accepted());
  EXPECT_EQ(full.occurrences, 105u);
  EXPECT_TRUE(SeriesRefusalText(full).empty());
}

}  // namespace
}  // namespace orv
