// The series dialog's form, the input dialog with a repeat rule, and series entries in the
// day list: marked, and deleted by the scope the user picks.
#include "dialogs/series_dialog.hpp"

#include "dialog_fixture.hpp"
#include "dialogs/data_add_dialog.hpp"
#include "dialogs/dialog_texts.hpp"
#include "dialogs/user_data_list.hpp"

namespace orv::test {
namespace {

const Date kJan31 = MakeDate(2027, 1, 31);  // a Sunday
const Date kToday = MakeDate(2027, 1, 10);

TEST(SeriesDates, TypedDatesInTheFormsUsersWrite) {
  struct Case {
    const char* text;
    std::optional<Date> date;
  } cases[] = {
      {"2027/3/31", MakeDate(2027, 3, 31)},
      {" 2027-03-01 ", MakeDate(2027, 3, 1)},
      {"2027.12.5", MakeDate(2027, 12, 5)},
      {"2027年3月31日", MakeDate(2027, 3, 31)},
      {"2027年3月31", MakeDate(2027, 3, 31)},
      {"２０２７／３／３１", MakeDate(2027, 3, 31)},   // full-width, as an input method types it
      {"\xE3\x80\x80" "2028/2/29", MakeDate(2028, 2, 29)},  // ideographic space in front
      {"2027/2/29", std::nullopt},                    // no such day
      {"2027/13/1", std::nullopt},
      {"2027/0/1", std::nullopt},
      {"2027/1/0", std::nullopt},
      {"2027/1", std::nullopt},
      {"2027/1/1/", std::nullopt},
      {"2027-1/1", std::nullopt},
      {"2027年1/1", std::nullopt},
      {"27/1/1x", std::nullopt},
      {"12345/1/1", std::nullopt},
      {"", std::nullopt},
      {"あした", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDateText(c.text), c.date) << "[" << c.text << "]";
  EXPECT_EQ(DateText(MakeDate(2027, 3, 1)), "2027/3/1");
  EXPECT_EQ(ParseDateText(DateText(MakeDate(2030, 12, 31))), MakeDate(2030, 12, 31));
}

TEST(SeriesDates, TypedCounts) {
  struct Case {
    const char* text;
    std::optional<int> value;
  } cases[] = {{"12", 12}, {" 3 ", 3}, {"１２", 12}, {"0", 0}, {"99999", 99999}, {"100000", std::nullopt},
               {"-1", std::nullopt}, {"1.5", std::nullopt}, {"", std::nullopt}, {"三", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ParseCountText(c.text), c.value) << c.text;
}

SeriesRule Base(int kind = kCashPayments) {
  return DefaultSeriesRule(NewEntry{kind, "家賃", 50000, {}}, kJan31);
}

// The ends not chosen start from a value, a year on also from 29 February.
TEST(SeriesForms, TheEndsNotChosenOfferAValueToStartFrom) {
  const SeriesForm form = FormOfRule(Base());
  EXPECT_EQ(form.count, "12");
  EXPECT_EQ(form.until, "2028/1/31");
  SeriesRule leap = Base();
  leap.start = MakeDate(2028, 2, 29);
  EXPECT_EQ(FormOfRule(leap).until, "2029/2/28");
}

TEST(SeriesForms, WhatTheControlsHoldBecomesTheRuleOrNamesTheWrongField) {
  struct Case {
    const char* name;
    SeriesForm form;
    const char* error;  // nullptr: accepted
  } cases[] = {
      {"every 0", {"0", SeriesUnit::kWeek, false, SeriesEnd::kNever, "", "", SeriesShift::kNone}, texts::kSeriesEveryInvalid},
      {"every 100", {"100", SeriesUnit::kWeek, false, SeriesEnd::kNever, "", "", SeriesShift::kNone}, texts::kSeriesEveryInvalid},
      {"every text", {"毎", SeriesUnit::kWeek, false, SeriesEnd::kNever, "", "", SeriesShift::kNone}, texts::kSeriesEveryInvalid},
      {"count 0", {"1", SeriesUnit::kMonth, false, SeriesEnd::kAfterCount, "0", "", SeriesShift::kNone}, texts::kSeriesCountInvalid},
      {"count empty", {"1", SeriesUnit::kMonth, false, SeriesEnd::kAfterCount, "", "", SeriesShift::kNone}, texts::kSeriesCountInvalid},
      {"until bad", {"1", SeriesUnit::kMonth, false, SeriesEnd::kOnOrBefore, "", "2027/2/30", SeriesShift::kNone}, texts::kSeriesUntilInvalid},
      // A count or date of an end not chosen is not looked at.
      {"unused fields", {"99", SeriesUnit::kYear, false, SeriesEnd::kNever, "x", "y", SeriesShift::kNone}, nullptr},
      {"count", {"２", SeriesUnit::kWeek, false, SeriesEnd::kAfterCount, "5", "y", SeriesShift::kPrevious}, nullptr},
  };
  for (const auto& c : cases) {
    const SeriesFormRead read = ReadSeriesForm(c.form, Base());
    if (c.error) {
      EXPECT_FALSE(read.rule) << c.name;
      EXPECT_EQ(read.error, c.error) << c.name;
    } else {
      ASSERT_TRUE(read.rule) << c.name << ": " << read.error;
    }
  }
  const SeriesRule rule = *ReadSeriesForm(cases[7].form, Base()).rule;
  EXPECT_EQ(rule.every, 2);
  EXPECT_EQ(rule.unit, SeriesUnit::kWeek);
  EXPECT_EQ(rule.count, 5);
  EXPECT_EQ(rule.shift, SeriesShift::kPrevious);
  EXPECT_EQ(rule.entry, Base().entry);
  EXPECT_EQ(rule.start, kJan31);
}

TEST(SeriesForms, ChoicesThatDoNotApplyAreNotKept) {
  // The month's last day only for months; moving off holidays only for payments.
  SeriesForm form = FormOfRule(Base());
  form.unit = SeriesUnit::kYear;
  form.last_day = true;
  form.shift = SeriesShift::kNext;
  EXPECT_FALSE(ReadSeriesForm(form, Base()).rule->last_day);
  EXPECT_EQ(ReadSeriesForm(form, Base()).rule->shift, SeriesShift::kNext);
  const SeriesRule special = DefaultSeriesRule(NewEntry{kSpecialDays, "誕生日", 0, "花"}, kJan31);
  EXPECT_EQ(ReadSeriesForm(form, special).rule->shift, SeriesShift::kNone);
  EXPECT_EQ(FormOfRule([&] { auto r = special; r.shift = SeriesShift::kNext; return r; }()).shift, SeriesShift::kNone);
}

TEST(SeriesForms, EveryRuleRoundTripsThroughTheForm) {
  std::vector<SeriesRule> rules;
  for (SeriesUnit unit : {SeriesUnit::kWeek, SeriesUnit::kMonth, SeriesUnit::kYear})
    for (SeriesEnd end : {SeriesEnd::kNever, SeriesEnd::kAfterCount, SeriesEnd::kOnOrBefore})
      for (SeriesShift shift : {SeriesShift::kNone, SeriesShift::kPrevious, SeriesShift::kNext}) {
        SeriesRule rule = Base(kAutomaticTransfers);
        rule.unit = unit;
        rule.every = 3;
        rule.last_day = unit == SeriesUnit::kMonth;
        rule.end = end;
        rule.count = end == SeriesEnd::kAfterCount ? 7 : 0;
        rule.until = end == SeriesEnd::kOnOrBefore ? MakeDate(2029, 6, 30) : Date{};
        rule.shift = shift;
        rules.push_back(rule);
      }
  for (const SeriesRule& rule : rules) {
    const SeriesFormRead read = ReadSeriesForm(FormOfRule(rule), Base(kAutomaticTransfers));
    ASSERT_TRUE(read.rule) << read.error;
    EXPECT_EQ(*read.rule, rule) << SeriesRuleText(rule);
  }
}

TEST(SeriesForms, ThePreviewShowsTheFirstDatesAndTheirNumberOrWhyNot) {
  const YearDatas years;
  SeriesForm form = FormOfRule(Base());
  form.end = SeriesEnd::kAfterCount;
  form.count = "3";
  SeriesRule rule = *ReadSeriesForm(form, Base()).rule;
  EXPECT_EQ(SeriesFormPreview(form, Base(), years, kToday), SeriesPreview(rule, 5) + "\r\n全3回");
  form.end = SeriesEnd::kNever;
  EXPECT_NE(SeriesFormPreview(form, Base(), years, kToday).find("24か月先までに"), std::string::npos);
  form.every = "";
  EXPECT_EQ(SeriesFormPreview(form, Base(), years, kToday), texts::kSeriesEveryInvalid);
  form.every = "1";
  form.end = SeriesEnd::kOnOrBefore;
  form.until = "2026/12/31";  // before the start
  rule = *ReadSeriesForm(form, Base()).rule;
  EXPECT_EQ(SeriesFormPreview(form, Base(), years, kToday), SeriesRefusalText(CheckNewSeries(years, rule, kToday)));
}

TEST(SeriesRows, TheMarkSaysHowOftenTheEntryComes) {
  SeriesBook book;
  struct Case {
    int every;
    SeriesUnit unit;
    const char* mark;
  } cases[] = {{1, SeriesUnit::kWeek, "毎週 "}, {1, SeriesUnit::kMonth, "毎月 "}, {1, SeriesUnit::kYear, "毎年 "},
               {2, SeriesUnit::kWeek, "2週ごと "}, {3, SeriesUnit::kMonth, "3か月ごと "}, {10, SeriesUnit::kYear, "10年ごと "}};
  for (const Case& c : cases) {
    SeriesRule rule = Base();
    rule.every = c.every;
    rule.unit = c.unit;
    book.series.push_back(Series{book.next_id, rule, {}, {}});
    EXPECT_EQ(SeriesRowMark(book, SeriesMatch{book.next_id++, kJan31}), c.mark);
  }
  EXPECT_EQ(SeriesRowMark(book, std::nullopt), "");
  EXPECT_EQ(SeriesRowMark(book, SeriesMatch{99, kJan31}), "");  // a series gone meanwhile
}

class SeriesDialogTest : public DialogTest {
protected:
  SeriesDialogTest() {
    state.Today = kToday;
    state.CalendarMode = kShowPayments;
  }
  InputDialogModel input{state, numbers, prompts, store};
  UserDataListModel list{state, regional, prompts, store, calendar};

  // A cash payment on Jan 31 with a monthly rule of `count` times, as the series dialog's OK
  // leaves it.
  void OpenMonthly(int count, Date start = kJan31) {
    input.Open(start, {kCashPayments, std::nullopt});
    SeriesDialogModel dialog = input.SeriesDialog("", "");
    SeriesForm form = dialog.Form();
    form.end = SeriesEnd::kAfterCount;
    form.count = std::to_string(count);
    ASSERT_TRUE(dialog.OnOK(form));
    input.SetSeries(dialog.Result());
  }
  std::size_t Payments(Date date) {
    const DayData* day = Day(date);
    return day ? static_cast<std::size_t>(day->PaymentDatas.Count()) : 0;
  }
};

TEST_F(SeriesDialogTest, TheSeriesDialogStartsFromTheBoxesAndRefusesWhatCanNeverBeAdded) {
  input.Open(kJan31, {kAutomaticTransfers, std::nullopt});
  SeriesDialogModel dialog = input.SeriesDialog("家賃", "5000");
  EXPECT_EQ(dialog.Base().entry, (NewEntry{kAutomaticTransfers, "家賃", 5000, {}}));
  EXPECT_EQ(dialog.Base().start, kJan31);
  EXPECT_TRUE(dialog.ShiftAllowed());
  // Empty boxes still preview: a stand-in name and amount.
  EXPECT_EQ(input.SeriesDialog("", "").Base().entry.name, "自動振替支払い");
  EXPECT_EQ(input.SeriesDialog("", "").Base().entry.amount, 1);

  SeriesForm form = dialog.Form();
  form.every = "0";
  EXPECT_FALSE(dialog.OnOK(form));
  form.every = "1";
  form.end = SeriesEnd::kOnOrBefore;
  form.until = "2027/1/30";
  EXPECT_FALSE(dialog.OnOK(form));
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0].text, texts::kSeriesEveryInvalid);
  EXPECT_EQ(prompts.messages[1].title, texts::kInvalidInputTitle);
  EXPECT_FALSE(dialog.Result());
  form.until = "2027/1/31";
  EXPECT_TRUE(dialog.OnOK(form));
  EXPECT_EQ(dialog.Result()->until, kJan31);
  EXPECT_EQ(dialog.Form(), form);  // reopening shows what was chosen
}

TEST_F(SeriesDialogTest, OKAddsEveryOccurrenceAndTheBookKeepsTheRule) {
  OpenMonthly(3);
  EXPECT_EQ(input.RepeatText(), RepeatButtonText(input.Series()));
  ASSERT_TRUE(input.OnOK("家賃", "50000"));
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_EQ(state.Series.series.size(), 1u);
  const SeriesRule& kept = state.Series.series[0].rule;
  EXPECT_EQ(kept.entry, (NewEntry{kCashPayments, "家賃", 50000, {}}));
  EXPECT_EQ(kept.count, 3);
  for (const Occurrence& o : ExpandRule(kept, MakeDate(2028, 1, 1), 10)) {
    EXPECT_EQ(Payments(o.due), 1u) << DateText(o.due);
    EXPECT_EQ(Day(o.due)->TotalPaymentPrice, 50000);
  }
  EXPECT_EQ(ExpandRule(kept, MakeDate(2028, 1, 1), 10).size(), 3u);
  EXPECT_EQ(input.Value1(), "家賃");
}

TEST_F(SeriesDialogTest, ARefusedSeriesAddsNothingAndNamesTheDayAtFault) {
  // The third occurrence's day cannot take another 2,000,000,000.
  const Date march31 = MakeDate(2027, 3, 31);
  AddPayment(march31, "大口", 2000000000, 1);
  OpenMonthly(5);
  EXPECT_FALSE(input.OnOK("家賃", "2000000000"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, texts::kInvalidInputTitle);
  SeriesRule rule = *input.Series();
  rule.entry = NewEntry{kCashPayments, "家賃", 2000000000, {}};
  EXPECT_EQ(prompts.messages[0].text, SeriesRefusalText(CheckNewSeries(state.Years, rule, kToday)));
  EXPECT_EQ(Payments(kJan31), 0u);
  EXPECT_EQ(Payments(march31), 1u);
  EXPECT_TRUE(state.Series.series.empty());
  EXPECT_EQ(input.Value1(), "");  // the dialog stays as it was
  // The entry's own faults keep their usual messages.
  EXPECT_FALSE(input.OnOK("家賃", "0"));
  EXPECT_EQ(prompts.messages.back().text, texts::kInvalidInputText);
}

TEST_F(SeriesDialogTest, WithoutARuleTheDayTotalRefusalIsTheSingleEntrysOwn) {
  AddPayment(kJan31, "大口", 2000000000, 1);
  input.Open(kJan31, {kCashPayments, std::nullopt});
  EXPECT_FALSE(input.OnOK("家賃", "2000000000"));
  EXPECT_EQ(prompts.messages.back().text, texts::kTotalOverflowText);
  OpenMonthly(2);
  input.SetSeries(std::nullopt);  // "繰り返さない(&X)"
  EXPECT_TRUE(input.OnOK("家賃", "100"));
  EXPECT_TRUE(state.Series.series.empty());
  EXPECT_EQ(Payments(kJan31), 2u);
  EXPECT_EQ(Payments(MakeDate(2027, 2, 28)), 0u);
}

// The three answers to the delete question, and cancel, from the second of four monthly
// occurrences, with a plain entry checked beside it.
TEST_F(SeriesDialogTest, DeletingASeriesEntryAsksHowMuchOfTheSeriesGoes) {
  struct Case {
    std::optional<std::size_t> answer;
    std::vector<std::size_t> left;  // payments on each occurrence's day after it
    std::size_t series_left;
  } cases[] = {
      {std::nullopt, {1, 2, 1, 1}, 1},
      {0, {1, 0, 1, 1}, 1},
      {1, {1, 0, 0, 0}, 1},
      {2, {0, 0, 0, 0}, 0},
  };
  for (const Case& c : cases) {
    AppState fresh;
    fresh.Today = kToday;
    fresh.CalendarMode = kShowPayments;
    ScriptedPrompts asked;
    InputDialogModel add{fresh, numbers, asked, store};
    add.Open(kJan31, {kCashPayments, std::nullopt});
    SeriesDialogModel dialog = add.SeriesDialog("", "");
    SeriesForm form = dialog.Form();
    form.end = SeriesEnd::kAfterCount;
    form.count = "4";
    ASSERT_TRUE(dialog.OnOK(form));
    add.SetSeries(dialog.Result());
    ASSERT_TRUE(add.OnOK("家賃", "50000"));
    const std::vector<Occurrence> dates = ExpandRule(fresh.Series.series[0].rule, MakeDate(2028, 1, 1), 10);
    ASSERT_EQ(dates.size(), 4u);
    DayData& second = GetOrCreateDay(fresh.Years, SplitDate(dates[1].due));
    PaymentData& plain = *second.PaymentDatas.Add(NextPaymentKey(second));
    plain.strTitle = "電気";
    plain.lngPrice = 100;
    plain.Payment = 1;
    RecalcPaymentTotals(second);

    UserDataListModel day{fresh, regional, asked, store, calendar};
    day.SetEditDay(dates[1].due);
    ASSERT_EQ(day.Rows().size(), 2u);
    EXPECT_EQ(day.Rows()[0], "毎月 家賃 ￥50,000 (現金)");
    EXPECT_EQ(day.Rows()[1], "電気 ￥100 (現金)");  // a plain entry carries no mark
    ASSERT_TRUE(day.RowSeries()[0]);
    EXPECT_EQ(day.RowSeries()[0]->nominal, dates[1].nominal);
    EXPECT_FALSE(day.RowSeries()[1]);

    asked.choices.push_back(c.answer);
    EXPECT_EQ(day.DeleteChecked({true, true}), c.answer.has_value());
    ASSERT_EQ(asked.choice_requests.size(), 1u);
    const ChoiceRequest& question = asked.choice_requests[0];
    EXPECT_EQ(question.title, "削除の確認");
    EXPECT_EQ(question.content, "「家賃 ￥50,000 (現金)」は繰り返しの予定の1回です。どこまで削除しますか？");
    EXPECT_EQ(question.choices.size(), 3u);
    EXPECT_TRUE(asked.messages.empty()) << "the choice is the confirmation";
    for (std::size_t i = 0; i < dates.size(); ++i) {
      const DayData* d = FindDay(fresh.Years, SplitDate(dates[i].due));
      const std::size_t n = d ? static_cast<std::size_t>(d->PaymentDatas.Count()) : 0;
      EXPECT_EQ(n, c.left[i])
          << "answer " << c.answer.value_or(9) << ", occurrence " << i;
    }
    EXPECT_EQ(fresh.Series.series.size(), c.series_left);
    if (c.answer) {
      EXPECT_EQ(calendar.full_draws, 1) << "the calendar follows";
      EXPECT_EQ(day.Rows().size(), 0u);
    }
    calendar.full_draws = 0;
  }
}

}  // namespace
}  // namespace orv::test
