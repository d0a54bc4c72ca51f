#include "reminders/reminders.hpp"

#include <gtest/gtest.h>

#include "core/settings.hpp"
#include "support/schedule_entries.hpp"

namespace orv {
namespace {

using std::chrono::days;

const Date kDec8 = MakeDate(2026, 12, 8);  // a Tuesday

class RemindersTest : public ::testing::Test {
protected:
  void Pay(Date date, const char* name, std::int32_t amount, int kind = 0) { test::AddPayment(years, date, name, amount, kind); }
  void Special(Date date, const char* title, bool very, const char* comment = "") {
    test::AddSpecial(years, date, title, very, comment);
  }
  // One look as a run of the program makes it: the record from the settings and back.
  std::vector<std::string> Look(Date today, ReminderOptions options = {}) {
    ReminderRecord record = ReadReminderRecord(store);
    std::vector<std::string> names;
    for (const DueEntry& entry : TakeReminders(years, today, options, record)) names.push_back(entry.name);
    SaveReminderRecord(store, record);
    return names;
  }
  using Names = std::vector<std::string>;

  YearDatas years;
  MemorySettingsStore store;
};

TEST_F(RemindersTest, WhatIsDueFollowsTheLeadTime) {
  Pay(kDec8 - days{1}, "昨日", 1);
  Pay(kDec8, "今日", 2);
  Pay(kDec8 + days{1}, "明日", 3);
  Pay(kDec8 + days{2}, "明後日", 4, 1);
  Pay(kDec8 + days{14}, "二週間後", 5);
  Pay(kDec8 + days{15}, "十五日後", 6);
  struct Case {
    std::int32_t ahead;
    Names expected;
  };
  for (const Case& c : {Case{0, {"今日"}}, Case{1, {"今日", "明日"}}, Case{2, {"今日", "明日", "明後日"}},
                        Case{14, {"今日", "明日", "明後日", "二週間後"}},
                        Case{99, {"今日", "明日", "明後日", "二週間後"}},  // beyond the range: 14
                        Case{-3, {"今日"}}}) {
    ReminderRecord record;
    Names names;
    for (const DueEntry& e : TakeReminders(years, kDec8, {true, c.ahead, true}, record)) names.push_back(e.name);
    EXPECT_EQ(names, c.expected) << "days ahead " << c.ahead;
  }
}

TEST_F(RemindersTest, VerySpecialDaysOnlyWhenAskedAndPlainSpecialDaysNever) {
  Special(kDec8, "結婚記念日", true, "花を買う");
  Special(kDec8, "ゴミの日", false);
  Pay(kDec8, "家賃", 50000);
  ReminderRecord record;
  const auto with = TakeReminders(years, kDec8, {true, 2, true}, record);
  ASSERT_EQ(with.size(), 2u);
  EXPECT_EQ(with[0], (DueEntry{kDec8, DueKind::AutomaticTransfer, "家賃", 50000, ""}));  // payments first
  EXPECT_EQ(with[1], (DueEntry{kDec8, DueKind::VerySpecial, "結婚記念日", 0, "花を買う"}));
  ReminderRecord fresh;
  EXPECT_EQ(TakeReminders(years, kDec8, {true, 2, false}, fresh).size(), 1u);
}

TEST_F(RemindersTest, OffTakesNothingAndLeavesTheRecordAlone) {
  Pay(kDec8, "家賃", 50000);
  ReminderRecord record{kDec8 - days{3}, {"2026-12-07\t0\tx\t1"}};
  const ReminderRecord before = record;
  EXPECT_TRUE(TakeReminders(years, kDec8, {false, 2, true}, record).empty());
  EXPECT_EQ(record, before);
}

TEST_F(RemindersTest, EachOccurrenceIsRemindedOnceAcrossRestartsAndDateChanges) {
  Pay(kDec8, "家賃", 50000);
  Pay(kDec8 + days{2}, "電気", 8000, 1);
  Pay(kDec8 + days{3}, "水道", 3000);
  EXPECT_EQ(Look(kDec8), (Names{"家賃", "電気"}));
  EXPECT_EQ(Look(kDec8), Names{}) << "a restart the same day";
  Pay(kDec8 + days{1}, "携帯", 4000);  // added later: reminded at the next look
  EXPECT_EQ(Look(kDec8), (Names{"携帯"}));
  EXPECT_EQ(Look(kDec8 + days{1}), (Names{"水道"})) << "the date changed";
  EXPECT_EQ(Look(kDec8 + days{1}), Names{});
  // What was shown stays known past its date (a clock set back must not show it again).
  const ReminderRecord record = ReadReminderRecord(store);
  EXPECT_EQ(record.last_look, kDec8 + days{1});
  EXPECT_EQ(record.shown, (Names{"2026-12-08\t0\t家賃\t50000", "2026-12-10\t1\t電気\t8000",
                                 "2026-12-09\t0\t携帯\t4000", "2026-12-11\t0\t水道\t3000"}));
}

// The clock set ahead and back again (or back and ahead) between looks: whatever was shown
// once is never shown again, whichever way the dates went.
TEST_F(RemindersTest, AClockSetAheadOrBackNeverRemindsTwice) {
  // One payment a day through December 2026, named by its day ("d1" … "d31"), and one a year
  // on ("y9" on 9 December 2027).
  for (int day = 1; day <= 31; ++day) Pay(MakeDate(2026, 12, day), ("d" + std::to_string(day)).c_str(), day);
  Pay(MakeDate(2027, 12, 9), "y9", 9);
  struct Step {
    int offset;  // the clock's date, in days from 8 December 2026
    Names expected;
  };
  struct Case {
    const char* name;
    std::vector<Step> looks;
  };
  const Case cases[] = {
      {"twelve days ahead, then back",
       {{0, {"d8", "d9", "d10"}},
        {12, {"d11", "d12", "d13", "d14", "d15", "d16", "d17", "d18", "d19", "d20", "d21", "d22"}},
        {0, {}},
        {1, {}},
        {14, {"d23", "d24"}}}},
      {"a year ahead by mistake, then put right, then ahead again",
       {{0, {"d8", "d9", "d10"}}, {365, {"y9"}}, {0, {}}, {2, {"d11", "d12"}}, {365, {}}}},
      {"a week back, then right again",
       // Back at the real date, the days between look like days off: caught up, once.
       {{0, {"d8", "d9", "d10"}}, {-7, {"d1", "d2", "d3"}}, {0, {"d4", "d5", "d6", "d7"}}, {1, {"d11"}}, {0, {}}}},
      {"ahead within the lead time and back",
       {{0, {"d8", "d9", "d10"}}, {2, {"d11", "d12"}}, {0, {}}, {2, {}}}},
  };
  for (const Case& c : cases) {
    store = MemorySettingsStore{};
    for (std::size_t i = 0; i < c.looks.size(); ++i)
      EXPECT_EQ(Look(kDec8 + days{c.looks[i].offset}), c.looks[i].expected) << c.name << ", look " << i + 1;
  }
}

TEST_F(RemindersTest, WhatWasShownIsForgottenOnlyLongAfterItsDate) {
  Pay(kDec8, "家賃", 50000);
  EXPECT_EQ(Look(kDec8), (Names{"家賃"}));
  EXPECT_EQ(Look(kDec8 + days{kRemindedKeptDays}), Names{});
  EXPECT_EQ(ReadReminderRecord(store).shown.size(), 1u) << "kept for the days it promises";
  EXPECT_EQ(Look(kDec8 + days{kRemindedKeptDays + 1}), Names{});
  EXPECT_TRUE(ReadReminderRecord(store).shown.empty()) << "the record does not grow for ever";
}

TEST_F(RemindersTest, TwoEqualEntriesOnADayAreTwoReminders) {
  Pay(kDec8, "積立", 10000);
  Pay(kDec8, "積立", 10000);
  EXPECT_EQ(Look(kDec8), (Names{"積立", "積立"}));
  EXPECT_EQ(Look(kDec8), Names{});
  Pay(kDec8, "積立", 10000);
  EXPECT_EQ(Look(kDec8), (Names{"積立"}));
}

TEST_F(RemindersTest, DaysOffAreCaughtUpOnceInTheFirstLook) {
  Pay(kDec8, "家賃", 50000);
  Pay(kDec8 + days{3}, "電気", 8000);   // due while the computer was off
  Pay(kDec8 + days{4}, "ガス", 5000);   // too
  Pay(kDec8 + days{6}, "水道", 3000);   // today + 1 after the break
  EXPECT_EQ(Look(kDec8), (Names{"家賃"}));
  EXPECT_EQ(Look(kDec8 + days{5}), (Names{"電気", "ガス", "水道"}));
  EXPECT_EQ(Look(kDec8 + days{5}), Names{});
  EXPECT_EQ(Look(kDec8 + days{6}), Names{});
}

TEST_F(RemindersTest, CatchUpReachesBackTwoWeeksAtMostAndNeverOnAFirstRunOrAClockSetBack) {
  Pay(kDec8 - days{20}, "遠い過去", 1);
  Pay(kDec8 - days{kCatchUpDays}, "二週間前", 2);
  Pay(kDec8 - days{1}, "昨日", 3);
  store.Set(kApplicationName, "Run", "RemindedOn", "2026-10-01");
  EXPECT_EQ(Look(kDec8), (Names{"二週間前", "昨日"}));

  MemorySettingsStore first_run;
  ReminderRecord none = ReadReminderRecord(first_run);
  EXPECT_TRUE(TakeReminders(years, kDec8, {}, none).empty()) << "nothing of the past on a first run";

  ReminderRecord ahead{kDec8 + days{3}, {}};  // the clock was set back
  EXPECT_TRUE(TakeReminders(years, kDec8, {}, ahead).empty());
  EXPECT_EQ(ahead.last_look, kDec8);
}

TEST_F(RemindersTest, TheRecordReadsBackWhatItWroteAndSkipsWhatIsNotItsOwn) {
  Pay(kDec8, "タブ\t入り", 1);
  EXPECT_EQ(Look(kDec8).size(), 1u);
  const ReminderRecord read = ReadReminderRecord(store);
  EXPECT_EQ(read.shown, (Names{"2026-12-08\t0\tタブ 入り\t1"}));
  store.Set(kApplicationName, "Run", "Reminded", "garbage\n2026-13-01\t0\tx\t1\n2026-12-09\t1\ty\t2\n");
  store.Set(kApplicationName, "Run", "RemindedOn", "yesterday");
  const ReminderRecord odd = ReadReminderRecord(store);
  EXPECT_EQ(odd.shown, (Names{"2026-12-09\t1\ty\t2"}));
  EXPECT_EQ(odd.last_look, Date{});
}

TEST(ReminderTextTest, LinesCarryDateWeekdayNameAmountAndKind) {
  const Date dec10 = MakeDate(2026, 12, 10);
  struct Case {
    DueEntry entry;
    const char* line;
  };
  for (const Case& c : {Case{{dec10, DueKind::AutomaticTransfer, "家賃", 50000, ""}, "12月10日(木) 家賃 50,000円 (自動振替)"},
                        Case{{dec10, DueKind::Cash, "新聞", 4400, ""}, "12月10日(木) 新聞 4,400円 (現金)"},
                        Case{{MakeDate(2027, 1, 3), DueKind::Cash, "お年玉", 1234567, ""}, "1月3日(日) お年玉 1,234,567円 (現金)"},
                        Case{{dec10, DueKind::VerySpecial, "結婚記念日", 0, "花を買う"}, "12月10日(木) 結婚記念日 (特に特別な日) 花を買う"},
                        Case{{dec10, DueKind::VerySpecial, "誕生日", 0, ""}, "12月10日(木) 誕生日 (特に特別な日)"}})
    EXPECT_EQ(ReminderText({c.entry}), c.line);
}

TEST(ReminderTextTest, ADayWithSeveralPaymentsGetsItsTotal) {
  const Date dec10 = MakeDate(2026, 12, 10), dec11 = MakeDate(2026, 12, 11);
  const std::vector<DueEntry> entries = {{dec10, DueKind::AutomaticTransfer, "家賃", 50000, ""},
                                         {dec10, DueKind::Cash, "新聞", 4400, ""},
                                         {dec10, DueKind::VerySpecial, "誕生日", 0, ""},
                                         {dec11, DueKind::Cash, "会費", 1000, ""}};
  EXPECT_EQ(ReminderText(entries, 10),
            "12月10日(木) 家賃 50,000円 (自動振替)\n12月10日(木) 新聞 4,400円 (現金)\n"
            "12月10日(木) 誕生日 (特に特別な日)\n12月10日(木) 合計 54,400円\n12月11日(金) 会費 1,000円 (現金)");
}

TEST(ReminderTextTest, WhatDoesNotFitIsCountedInOneLastLine) {
  std::vector<DueEntry> many;
  for (int i = 0; i < 9; ++i)
    many.push_back({MakeDate(2026, 12, 10 + i), DueKind::AutomaticTransfer, "支払" + std::to_string(i), 1000, ""});
  struct Case {
    int lines, units;
    int kept;        // entry lines kept
    const char* cut;  // the last line
  };
  for (const Case& c : {Case{6, 255, 5, "ほか 4 件"}, Case{9, 1000, 9, "12月18日(金) 支払8 1,000円 (自動振替)"},
                        Case{8, 1000, 7, "ほか 2 件"}, Case{20, 70, 2, "ほか 7 件"}, Case{1, 255, 0, "ほか 9 件"}}) {
    const std::string text = ReminderText(many, c.lines, c.units);
    int lines = 1;
    for (char ch : text) lines += ch == '\n';
    EXPECT_LE(lines, c.lines);
    EXPECT_LE(Utf16Units(text), c.units);
    EXPECT_EQ(lines, c.kept + (c.kept < 9 ? 1 : 0)) << text;
    EXPECT_TRUE(text.ends_with(c.cut)) << text;
  }
}

TEST(ReminderTextTest, TheCutCountsEntriesAndADayTotalGoesFirst) {
  const Date dec10 = MakeDate(2026, 12, 10);
  const std::vector<DueEntry> entries = {{dec10, DueKind::Cash, "一", 1, ""}, {dec10, DueKind::Cash, "二", 2, ""},
                                         {dec10, DueKind::Cash, "三", 3, ""}};
  EXPECT_EQ(ReminderText(entries, 2), "12月10日(木) 一 1円 (現金)\nほか 2 件");
  EXPECT_EQ(ReminderText(entries, 3), "12月10日(木) 一 1円 (現金)\n12月10日(木) 二 2円 (現金)\n12月10日(木) 三 3円 (現金)");
  EXPECT_TRUE(ReminderText(entries, 4).ends_with("\n12月10日(木) 合計 6円"));
}

TEST(QuietTimeTest, OnlyAUserWhoTakesNotificationsGetsOne) {
  const bool expected[] = {true, false, false, false, false, true, false, false, true};
  for (int state = 0; state <= 8; ++state) EXPECT_EQ(AcceptsNotifications(state), expected[state]) << state;
}

TEST(ReminderTextTest, Utf16UnitsCountSurrogatePairsTwice) {
  EXPECT_EQ(Utf16Units("abc"), 3);
  EXPECT_EQ(Utf16Units("家賃"), 2);
  EXPECT_EQ(Utf16Units("\xF0\x9F\x8E\x82"), 2);  // a birthday cake, outside the basic plane
}

}  // namespace
}  // namespace orv
