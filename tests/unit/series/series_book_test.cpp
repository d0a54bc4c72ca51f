// Series against the schedule: adding, matching, the three delete scopes, writing ahead; the
// companion file's text; the three-way merge.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "series/series.hpp"

namespace orv {
namespace {

Date D(int y, int m, int d) { return MakeDate(y, m, d); }

SeriesRule Monthly(int kind, Date start, std::string name, std::int32_t amount, SeriesShift shift) {
  SeriesRule rule;
  rule.entry = {kind, std::move(name), amount, {}};
  rule.start = start;
  rule.unit = SeriesUnit::kMonth;
  rule.shift = shift;
  return rule;
}

// The day's payments as "name amount" words, in order.
std::string Payments(const YearDatas& years, Date date) {
  std::string text;
  if (const DayData* day = FindDay(years, SplitDate(date)))
    for (const auto& p : day->PaymentDatas) text += (text.empty() ? "" : ",") + p.strTitle + " " + std::to_string(p.lngPrice);
  return text;
}
std::int64_t PaymentCount(const YearDatas& years) {
  std::int64_t n = 0;
  for (const auto& y : years)
    for (const auto& m : y.MonthDatas)
      for (const auto& d : m.DayDatas) n += d.PaymentDatas.Count();
  return n;
}
std::int32_t Total(const YearDatas& years, Date date) {
  const DayData* day = FindDay(years, SplitDate(date));
  return day ? day->TotalPaymentPrice : 0;
}

const Date kToday = D(2026, 12, 8);

// Rent on the 31st, moved to the next business day, twelve times from January 2027.
struct RentFixture : ::testing::Test {
  YearDatas years;
  SeriesBook book;
  std::uint32_t id = 0;
  void SetUp() override {
    AddNewEntry(years, SplitDate(D(2027, 3, 31)), {kCashPayments, "電気", 3000, {}});
    SeriesRule rule = Monthly(kAutomaticTransfers, D(2027, 1, 31), "家賃", 50000, SeriesShift::kNext);
    rule.end = SeriesEnd::kAfterCount;
    rule.count = 12;
    ASSERT_TRUE(CheckNewSeries(years, rule, kToday).Accepted());
    id = AddSeries(years, book, rule, kToday);
  }
};

TEST_F(RentFixture, AddWritesEveryOccurrenceOnItsDueDate) {
  EXPECT_EQ(id, 1u);
  EXPECT_EQ(book.next_id, 2u);
  EXPECT_EQ(PaymentCount(years), 13);
  EXPECT_EQ(Payments(years, D(2027, 2, 1)), "家賃 50000");   // 31 January 2027 is a Sunday
  EXPECT_EQ(Payments(years, D(2027, 3, 31)), "電気 3000,家賃 50000");
  EXPECT_EQ(Total(years, D(2027, 3, 31)), 53000);
  EXPECT_EQ(Payments(years, D(2028, 1, 4)), "家賃 50000");   // 31 December → 4 January
  const auto* kept = book.Find(id);
  ASSERT_TRUE(kept);
  EXPECT_TRUE(kept->skipped.empty());
  EXPECT_EQ(kept->written_through, D(2029, 1, 31));
}

TEST_F(RentFixture, EntriesMatchTheirSeriesByNominalDate) {
  const PaymentData* moved = FindDay(years, SplitDate(D(2027, 2, 1)))->PaymentDatas.At(1);
  const auto match = SeriesOfPayment(book, D(2027, 2, 1), *moved);
  ASSERT_TRUE(match);
  EXPECT_EQ(match->id, id);
  EXPECT_EQ(match->nominal, D(2027, 1, 31));
  // The same entry on a day without an occurrence, or edited, or the unrelated payment: none.
  EXPECT_FALSE(SeriesOfPayment(book, D(2027, 1, 31), *moved));
  PaymentData edited = *moved;
  edited.lngPrice = 51000;
  EXPECT_FALSE(SeriesOfPayment(book, D(2027, 2, 1), edited));
  EXPECT_FALSE(SeriesOfPayment(book, D(2027, 3, 31), *FindDay(years, SplitDate(D(2027, 3, 31)))->PaymentDatas.At(1)));
  SpecialData special{"1", "", false, "家賃"};
  EXPECT_FALSE(SeriesOfSpecial(book, D(2027, 2, 1), special));
}

TEST_F(RentFixture, ThisOneSkipsItsNominalDate) {
  EXPECT_EQ(DeleteFromSeries(years, book, id, D(2027, 1, 31), SeriesDeleteScope::kThisOne), 1u);
  EXPECT_EQ(Payments(years, D(2027, 2, 1)), "");
  EXPECT_EQ(Total(years, D(2027, 2, 1)), 0);
  EXPECT_EQ(book.Find(id)->skipped, std::vector<Date>{D(2027, 1, 31)});
  EXPECT_EQ(PaymentCount(years), 12);
  // A date that is no occurrence records nothing.
  EXPECT_EQ(DeleteFromSeries(years, book, id, D(2027, 2, 1), SeriesDeleteScope::kThisOne), 0u);
  EXPECT_EQ(book.Find(id)->skipped.size(), 1u);
  // The next occurrence from a day in between is the following one.
  EXPECT_EQ(NextOccurrence(*book.Find(id), D(2027, 1, 15))->nominal, D(2027, 2, 28));
}

TEST_F(RentFixture, ThisAndLaterEndsTheSeriesTheDayBefore) {
  // An entry edited elsewhere no longer matches and stays.
  FindDay(years, SplitDate(D(2027, 6, 30)))->PaymentDatas.At(1)->lngPrice = 55000;
  EXPECT_EQ(DeleteFromSeries(years, book, id, D(2027, 5, 31), SeriesDeleteScope::kThisAndLater), 7u);
  const Series* s = book.Find(id);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->rule.end, SeriesEnd::kOnOrBefore);
  EXPECT_EQ(s->rule.until, D(2027, 5, 30));
  EXPECT_EQ(s->rule.count, 0);
  EXPECT_EQ(Payments(years, D(2027, 4, 30)), "家賃 50000");
  EXPECT_EQ(Payments(years, D(2027, 5, 31)), "");
  EXPECT_EQ(Payments(years, D(2027, 6, 30)), "家賃 55000");
  EXPECT_EQ(PaymentCount(years), 1 + 4 + 1);
  EXPECT_FALSE(NextOccurrence(*s, D(2027, 5, 1)));
  // An earlier end already there holds.
  EXPECT_EQ(DeleteFromSeries(years, book, id, D(2027, 12, 31), SeriesDeleteScope::kThisAndLater), 0u);
  EXPECT_EQ(book.Find(id)->rule.until, D(2027, 5, 30));
}

TEST_F(RentFixture, WholeSeriesLeavesTheBookAndOnlyItsMatchingEntriesGo) {
  FindDay(years, SplitDate(D(2027, 6, 30)))->PaymentDatas.At(1)->strTitle = "家賃(変更)";
  EXPECT_EQ(DeleteFromSeries(years, book, id, D(2027, 1, 31), SeriesDeleteScope::kWholeSeries), 11u);
  EXPECT_FALSE(book.Find(id));
  EXPECT_EQ(book.next_id, 2u);  // ids are never reused
  EXPECT_EQ(PaymentCount(years), 2);
  EXPECT_EQ(Payments(years, D(2027, 3, 31)), "電気 3000");
  EXPECT_EQ(Total(years, D(2027, 3, 31)), 3000);
  // "This and later" from the start is the whole series too.
  const auto again = AddSeries(years, book, Monthly(kSpecialDays, D(2027, 1, 1), "X", 0, SeriesShift::kNone), kToday);
  EXPECT_EQ(again, 2u);
  DeleteFromSeries(years, book, again, D(2026, 1, 1), SeriesDeleteScope::kThisAndLater);
  EXPECT_TRUE(book.series.empty());
}

TEST(SeriesBook, ExtendWritesAheadWithoutBringingBackWhatWasTakenOut) {
  YearDatas years;
  SeriesBook book;
  const auto id = AddSeries(years, book, Monthly(kCashPayments, D(2026, 11, 10), "会費", 1000, SeriesShift::kNone), kToday);
  EXPECT_EQ(PaymentCount(years), 25);  // 10 November 2026 .. 10 November 2028
  EXPECT_EQ(book.Find(id)->written_through, D(2028, 12, 8));
  EXPECT_FALSE(ExtendSeries(years, book, kToday));  // nothing new today
  // Taken out in the program, deleted by another program, and a day that is full.
  DeleteFromSeries(years, book, id, D(2027, 1, 10), SeriesDeleteScope::kThisOne);
  FindDay(years, SplitDate(D(2027, 2, 10)))->PaymentDatas.RemoveAt(1);
  AddNewEntry(years, SplitDate(D(2029, 1, 10)), {kCashPayments, "満杯", 2147483000, {}});

  EXPECT_TRUE(ExtendSeries(years, book, D(2027, 2, 15)));
  const Series* s = book.Find(id);
  EXPECT_EQ(s->written_through, D(2029, 2, 15));
  EXPECT_EQ(Payments(years, D(2027, 1, 10)), "");
  EXPECT_EQ(Payments(years, D(2027, 2, 10)), "");
  EXPECT_EQ(Payments(years, D(2028, 12, 10)), "会費 1000");
  EXPECT_EQ(Payments(years, D(2029, 1, 10)), "満杯 2147483000");  // skipped, not forced
  EXPECT_EQ(Payments(years, D(2029, 2, 10)), "会費 1000");
  EXPECT_EQ(s->skipped, (std::vector<Date>{D(2027, 1, 10), D(2029, 1, 10)}));
  EXPECT_FALSE(ExtendSeries(years, book, D(2027, 2, 15)));
  EXPECT_EQ(PaymentCount(years), 25 - 2 + 2 + 1);
}

TEST(SeriesBook, OccurrencesMovedOntoOneDayAreTwoEntries) {
  YearDatas years;
  SeriesBook book;
  SeriesRule rule = Monthly(kAutomaticTransfers, D(2019, 4, 27), "週払い", 100, SeriesShift::kNext);
  rule.unit = SeriesUnit::kWeek;
  rule.end = SeriesEnd::kAfterCount;
  rule.count = 3;
  const auto id = AddSeries(years, book, rule, D(2019, 4, 1));
  EXPECT_EQ(Payments(years, D(2019, 5, 7)), "週払い 100,週払い 100");
  EXPECT_EQ(Total(years, D(2019, 5, 7)), 200);
  EXPECT_EQ(DeleteFromSeries(years, book, id, D(2019, 5, 4), SeriesDeleteScope::kThisOne), 1u);
  EXPECT_EQ(Payments(years, D(2019, 5, 7)), "週払い 100");
  // The one left belongs to the other nominal date.
  const auto match = SeriesOfPayment(book, D(2019, 5, 7), *FindDay(years, SplitDate(D(2019, 5, 7)))->PaymentDatas.At(1));
  ASSERT_TRUE(match);
  EXPECT_EQ(match->nominal, D(2019, 4, 27));
}

// The companion file.

SeriesBook SampleBook() {
  SeriesBook book;
  book.next_id = 9;
  Series rent;
  rent.id = 2;
  rent.rule = Monthly(kAutomaticTransfers, D(2027, 1, 31), "家賃\\月末\t払い", -50000, SeriesShift::kNext);
  rent.rule.last_day = true;
  rent.rule.end = SeriesEnd::kAfterCount;
  rent.rule.count = 1200;
  rent.skipped = {D(2027, 2, 28), D(2027, 5, 31)};
  rent.written_through = D(2029, 1, 31);
  Series birthday;
  birthday.id = 5;
  birthday.rule.entry = {kVerySpecialDays, "誕生日", 0, "一行目\r\n二行目 \x01"};
  birthday.rule.start = D(2024, 2, 29);
  birthday.rule.unit = SeriesUnit::kYear;
  birthday.rule.end = SeriesEnd::kOnOrBefore;
  birthday.rule.until = D(9999, 12, 31);
  birthday.written_through = D(2028, 12, 8);
  Series nameless;
  nameless.id = 8;
  nameless.rule = Monthly(kCashPayments, D(1, 1, 1), "", 1, SeriesShift::kPrevious);
  nameless.rule.unit = SeriesUnit::kWeek;
  nameless.rule.every = 99;
  Series untitled_comment;
  untitled_comment.id = 7;
  untitled_comment.rule.entry = {kSpecialDays, "休み", 0, ""};
  untitled_comment.rule.start = D(2030, 6, 1);
  book.series = {rent, birthday, nameless, untitled_comment};
  return book;
}

TEST(SeriesFile, RoundTripIsExact) {
  const SeriesBook book = SampleBook();
  const std::string text = WriteSeriesText(book);
  EXPECT_TRUE(text.starts_with("OrvantaSeries 1\nnext-id 9\n\nseries 2\n")) << text;
  EXPECT_NE(text.find("name 家賃\\\\月末\\t払い\n"), std::string::npos) << text;
  EXPECT_NE(text.find("comment 一行目\\r\\n二行目 \\x01\n"), std::string::npos) << text;
  const auto read = ReadSeriesText(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, book);
  EXPECT_EQ(WriteSeriesText(*read), text);
  EXPECT_EQ(ReadSeriesText(WriteSeriesText(SeriesBook{})), SeriesBook{});
  EXPECT_EQ(SeriesFilePath("C:\\データ\\家計.ORV"), "C:\\データ\\家計.ORV.series");
}

TEST(SeriesFile, EditorsLineEndsAndByteOrderMarkAreRead) {
  std::string text = WriteSeriesText(SampleBook());
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(ReadSeriesText("\xEF\xBB\xBF" + crlf), SampleBook());
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(SeriesFile, DamageTable) {
  const std::string good = WriteSeriesText(SampleBook());
  ASSERT_TRUE(ReadSeriesText(good));
  const std::string long_name(40000, 'a');
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"another version", Replaced(good, "OrvantaSeries 1", "OrvantaSeries 2")},
      {"no last line end", good.substr(0, good.size() - 1)},
      {"cut in a block", good.substr(0, good.find("start 2027"))},
      {"bad number", Replaced(good, "amount -50000", "amount -50000x")},
      {"amount out of range", Replaced(good, "amount -50000", "amount 2147483648")},
      {"amount 0", Replaced(good, "amount -50000", "amount 0")},
      {"plus sign", Replaced(good, "amount 1\n", "amount +1\n")},
      {"unknown unit", Replaced(good, "every 1 year", "every 1 day")},
      {"unknown kind", Replaced(good, "kind cash", "kind card")},
      {"every 0", Replaced(good, "every 1 year", "every 0 year")},
      {"every 100", Replaced(good, "every 99 week", "every 100 week")},
      {"last day on weeks", Replaced(good, "every 99 week", "every 99 week last-day")},
      {"unknown end", Replaced(good, "end never", "end sometime")},
      {"count 0", Replaced(good, "end count 1200", "end count 0")},
      {"count beyond the most", Replaced(good, "end count 1200", "end count 1201")},
      {"until before start", Replaced(good, "end until 9999-12-31", "end until 2024-02-28")},
      {"shift on a special day", Replaced(good, "shift none\nwritten 2028", "shift next\nwritten 2028")},
      {"unknown shift", Replaced(good, "shift next", "shift later")},
      {"no such day", Replaced(good, "start 2027-01-31", "start 2027-02-30")},
      {"year 0", Replaced(good, "start 0001-01-01", "start 0000-01-01")},
      {"date written short", Replaced(good, "start 2027-01-31", "start 2027-1-31")},
      {"skipped out of order", Replaced(good, "skip 2027-05-31", "skip 2027-01-31")},
      {"skipped twice", Replaced(good, "skip 2027-05-31", "skip 2027-02-28")},
      {"duplicate ids", Replaced(good, "series 5", "series 2")},
      {"id at next-id", Replaced(good, "series 8", "series 9")},
      {"id 0", Replaced(good, "series 8", "series 0")},
      {"next-id 0", Replaced(good, "next-id 9", "next-id 0")},
      {"unknown escape", Replaced(good, "\\t払い", "\\q払い")},
      {"escape cut short", Replaced(good, "\\x01", "\\x1")},
      {"escape of a printable character", Replaced(good, "\\x01", "\\x41")},
      {"escape of a line break by number", Replaced(good, "\\x01", "\\x0A")},
      {"raw control character", Replaced(good, "\\t払い", "\t払い")},
      {"text the file cannot hold", Replaced(good, "name 誕生日", "name \xF0\x9F\x98\x80")},
      {"invalid UTF-8", Replaced(good, "name 誕生日", "name \xE8\xAA")},
      {"overlong text", Replaced(good, "name 誕生日", "name " + long_name)},
      {"special day without a title", Replaced(good, "name 休み", "name")},
      {"field missing", Replaced(good, "written 2029-01-31\n", "")},
      {"fields out of order", Replaced(good, "start 2030-06-01\nevery 1 month\n", "every 1 month\nstart 2030-06-01\n")},
      {"unknown line", good + "colour red\n"},
      {"no blank line between", Replaced(good, "\nseries 5", "series 5")},
      {"comment on a payment", Replaced(good, "amount 1\n", "comment x\n")},
  };
  for (const auto& [what, text] : cases) EXPECT_FALSE(ReadSeriesText(text)) << what;
}

// The merge.

Series Of(std::uint32_t id, Date start, std::vector<Date> skipped = {}) {
  Series s;
  s.id = id;
  s.rule = Monthly(kSpecialDays, start, "S" + std::to_string(id), 0, SeriesShift::kNone);
  s.skipped = std::move(skipped);
  s.written_through = D(2028, 1, 1);
  return s;
}
Series Ended(Series s, Date until) {
  s.rule.end = SeriesEnd::kOnOrBefore;
  s.rule.until = until;
  return s;
}
SeriesBook Book(std::vector<Series> series, std::uint32_t next_id) { return SeriesBook{std::move(series), next_id}; }

// "id:start-day:skipped days:until day" per series, and next-id.
std::string Summary(const SeriesBook& book) {
  std::string text;
  for (const Series& s : book.series) {
    text += std::to_string(s.id) + ":" + std::to_string(SplitDate(s.rule.start).Day) + ":";
    for (Date d : s.skipped) text += std::to_string(SplitDate(d).Month) + "/" + std::to_string(SplitDate(d).Day) + ",";
    if (s.rule.end == SeriesEnd::kOnOrBefore) text += ":" + std::to_string(SplitDate(s.rule.until).Month);
    text += " ";
  }
  return text + "next " + std::to_string(book.next_id);
}

TEST(SeriesMerge, Table) {
  const Date a = D(2027, 1, 1), b = D(2027, 1, 2);
  const SeriesBook base = Book({Of(1, a), Of(2, a)}, 3);
  struct Case {
    const char* what;
    SeriesBook base, mine, theirs;
    const char* expected;
  };
  const Case cases[] = {
      {"added on either side; the same id taken twice is renumbered on theirs",
       base, Book({Of(1, a), Of(2, a), Of(3, a)}, 4), Book({Of(1, a), Of(2, a), Of(3, b)}, 4),
       "1:1: 2:1: 3:1: 4:2: next 5"},
      {"the same series added on both sides is kept once", base, Book({Of(1, a), Of(2, a), Of(3, a)}, 4),
       Book({Of(1, a), Of(2, a), Of(3, a)}, 4), "1:1: 2:1: 3:1: next 4"},
      {"removed on one side, unchanged on the other: gone", base, Book({Of(2, a)}, 3), Book({Of(1, a), Of(2, a)}, 3),
       "2:1: next 3"},
      {"removed by theirs, unchanged here: gone", base, base, Book({Of(1, a)}, 3), "1:1: next 3"},
      {"removed on one side, changed on the other: kept", base, Book({Of(2, a)}, 3),
       Book({Of(1, a, {D(2027, 3, 1)}), Of(2, a)}, 3), "2:1: 1:1:3/1, next 3"},
      {"skipped dates are united", base, Book({Of(1, a, {D(2027, 2, 1)}), Of(2, a)}, 3),
       Book({Of(1, a, {D(2027, 3, 1)}), Of(2, a)}, 3), "1:1:2/1,3/1, 2:1: next 3"},
      {"an end set on one side holds", base, Book({Ended(Of(1, a), D(2027, 6, 1)), Of(2, a)}, 3),
       Book({Of(1, a, {D(2027, 3, 1)}), Of(2, a)}, 3), "1:1:3/1,:6 2:1: next 3"},
      {"ends set on both sides: the earlier holds", base, Book({Ended(Of(1, a), D(2027, 6, 1)), Of(2, a)}, 3),
       Book({Ended(Of(1, a), D(2027, 4, 1)), Of(2, a)}, 3), "1:1::4 2:1: next 3"},
      {"changed differently on both sides: both kept", base, Book({Of(1, b), Of(2, a)}, 3),
       Book({Ended(Of(1, a), D(2027, 5, 1)), Of(2, a)}, 3), "1:2: 2:1: 3:1::5 next 4"},
      {"an id this side gave out and removed is not reused for theirs", base, Book({Of(1, a), Of(2, a)}, 4),
       Book({Of(1, a), Of(2, a), Of(3, b)}, 4), "1:1: 2:1: 4:2: next 5"},
  };
  for (const auto& c : cases) EXPECT_EQ(Summary(MergeSeriesBooks(c.base, c.mine, c.theirs)), c.expected) << c.what;
}

// The union with a sync client's conflict copy: no base, ids given out on two computers.

Series Named(std::uint32_t id, const char* name, Date start, std::vector<Date> skipped = {},
             Date written = D(2028, 1, 1)) {
  Series s;
  s.id = id;
  s.rule = Monthly(kCashPayments, start, name, 1000, SeriesShift::kNone);
  s.skipped = std::move(skipped);
  s.written_through = written;
  return s;
}

// "id:name:start-day:skipped days:until month:written month" per series, and next-id.
std::string UnionSummary(const SeriesBook& book) {
  std::string text;
  for (const Series& s : book.series) {
    text += std::to_string(s.id) + ":" + s.rule.entry.name + ":" + std::to_string(SplitDate(s.rule.start).Day) + ":";
    for (Date d : s.skipped) text += std::to_string(SplitDate(d).Month) + "/" + std::to_string(SplitDate(d).Day) + ",";
    text += ":" + (s.rule.end == SeriesEnd::kOnOrBefore ? std::to_string(SplitDate(s.rule.until).Month) : "") + ":" +
            std::to_string(SplitDate(s.written_through).Month) + " ";
  }
  return text + "next " + std::to_string(book.next_id);
}

TEST(SeriesUnion, Table) {
  const Date a = D(2027, 1, 1), b = D(2027, 1, 2);
  struct Case {
    const char* what;
    SeriesBook mine, theirs;
    const char* expected;
  };
  const Case cases[] = {
      {"a series only the copy has comes, renumbered where this side took its id",
       Book({Named(1, "家賃", a)}, 2), Book({Named(1, "保険", a)}, 2), "1:家賃:1:::1 2:保険:1:::1 next 3"},
      {"the same series on both is kept once, with both sides' skipped dates and the further written date",
       Book({Named(1, "家賃", a, {D(2027, 2, 1)})}, 2),
       Book({Named(1, "家賃", a, {D(2027, 3, 1)}, D(2028, 2, 1))}, 2), "1:家賃:1:2/1,3/1,::2 next 2"},
      {"the same rule under other ids is the same series", Book({Named(1, "家賃", a), Named(2, "保険", a)}, 3),
       Book({Named(1, "保険", a), Named(3, "家賃", a)}, 4), "1:家賃:1:::1 2:保険:1:::1 next 4"},
      {"one id, two rules: in doubt both are kept", Book({Named(1, "家賃", a)}, 2), Book({Named(1, "家賃", b)}, 2),
       "1:家賃:1:::1 2:家賃:2:::1 next 3"},
      {"ended on one computer only: in doubt both are kept",
       Book({Named(1, "家賃", a)}, 2), Book({[&] {
         Series s = Named(1, "家賃", a);
         s.rule.end = SeriesEnd::kOnOrBefore;
         s.rule.until = D(2027, 6, 1);
         return s;
       }()}, 2),
       "1:家賃:1:::1 2:家賃:1::6:1 next 3"},
      {"an id above all this side gave out keeps its number", Book({Named(1, "家賃", a)}, 2),
       Book({Named(1, "家賃", a), Named(5, "保険", a)}, 6), "1:家賃:1:::1 5:保険:1:::1 next 6"},
      {"an id this side gave out and removed is not reused", Book({Named(1, "家賃", a)}, 3),
       Book({Named(2, "保険", a)}, 3), "1:家賃:1:::1 3:保険:1:::1 next 4"},
      {"an empty copy changes nothing", Book({Named(1, "家賃", a)}, 2), SeriesBook{}, "1:家賃:1:::1 next 2"},
      {"into an empty book", SeriesBook{}, Book({Named(4, "家賃", a)}, 5), "4:家賃:1:::1 next 5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnionSummary(UnionSeriesBooks(c.mine, c.theirs)), c.expected) << c.what;
    // Whatever comes, the book stays one the companion file can hold.
    EXPECT_TRUE(ReadSeriesText(WriteSeriesText(UnionSeriesBooks(c.mine, c.theirs)))) << c.what;
  }
}

}  // namespace
}  // namespace orv
