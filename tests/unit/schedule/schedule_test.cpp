#include "schedule/schedule.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace orv {
namespace {

SpecialData& AddSpecial(DayData& day, const char* title, bool very) {
  auto& s = *day.SpecialDatas.Add(NextSpecialKey(day));
  s.strSpecial = title;
  s.blnSpecial = very;
  return s;
}

PaymentData& AddPayment(DayData& day, std::int32_t price, int kind) {
  auto& p = *day.PaymentDatas.Add(NextPaymentKey(day));
  p.lngPrice = price;
  p.Payment = kind;
  return p;
}

TEST(ScheduleTree, GetOrCreateDayAppendsMissingYearMonthAndDay) {
  YearDatas years;
  years.Add("2010");
  DayData& leap = GetOrCreateDay(years, SplitDate(MakeDate(2004, 2, 29)));
  EXPECT_EQ(leap.Key, "29");
  ASSERT_EQ(years.Count(), 2);
  EXPECT_EQ(years.At(2)->Key, "2004");
  EXPECT_EQ(years.At(2)->MonthDatas.At(1)->Key, "2");
  EXPECT_EQ(&GetOrCreateDay(years, {2004, 2, 29, 1}), &leap);
  EXPECT_EQ(FindDay(years, {2004, 2, 29, 1}), &leap);
  EXPECT_EQ(FindDay(years, {2004, 3, 1, 1}), nullptr);
  GetOrCreateDay(years, {2004, 2, 3, 3});
  EXPECT_EQ(years.At(2)->MonthDatas.At(1)->DayDatas.At(2)->Key, "3");  // not sorted
}

TEST(ScheduleTree, SpecialTotalsPreferTheFirstVerySpecialEntry) {
  DayData day;
  AddSpecial(day, "A", false);
  AddSpecial(day, "B", true);
  AddSpecial(day, "C", true);
  RecalcSpecialTotals(day);
  EXPECT_TRUE(day.TotalSpecial);
  EXPECT_EQ(day.SpecialKey, "2");
  EXPECT_EQ(day.SpecialTitle, "B");
}

TEST(ScheduleTree, SpecialTotalsFallBackToTheFirstEntryAndClearWhenEmpty) {
  DayData day;
  AddSpecial(day, "A", false);
  AddSpecial(day, "B", false);
  RecalcSpecialTotals(day);
  EXPECT_FALSE(day.TotalSpecial);
  EXPECT_EQ(day.SpecialKey, "1");
  EXPECT_EQ(day.SpecialTitle, "A");
  day.SpecialDatas.Remove("1");
  RecalcSpecialTotals(day);
  EXPECT_EQ(day.SpecialKey, "2");
  EXPECT_EQ(day.SpecialTitle, "B");
  day.SpecialDatas.Clear();
  RecalcSpecialTotals(day);
  EXPECT_FALSE(day.TotalSpecial);
  EXPECT_EQ(day.SpecialKey, "");
  EXPECT_EQ(day.SpecialTitle, "");
}

TEST(ScheduleTree, PaymentTotalsSumAmountsAndFlagCashEvenAtZero) {
  DayData day;
  AddPayment(day, 1000, 0);
  AddPayment(day, 250, 0);
  RecalcPaymentTotals(day);
  EXPECT_EQ(day.TotalPaymentPrice, 1250);
  EXPECT_FALSE(day.TotalCash);
  AddPayment(day, 0, 1);
  RecalcPaymentTotals(day);
  EXPECT_TRUE(day.TotalCash);
  day.PaymentDatas.Clear();
  RecalcPaymentTotals(day);
  EXPECT_EQ(day.TotalPaymentPrice, 0);
  EXPECT_FALSE(day.TotalCash);
}

TEST(ScheduleTree, NextKeysOfPaymentsSpecialsAndPresets) {
  DayData day;
  EXPECT_EQ(NextPaymentKey(day), "1");
  day.PaymentDatas.Add("1");
  day.PaymentDatas.Add("5");
  EXPECT_EQ(NextPaymentKey(day), "3");
  day.SpecialDatas.Add("3");
  day.SpecialDatas.Add("4");
  EXPECT_EQ(NextSpecialKey(day), "5");
  DefaultUserListArray lists;
  lists[2].Add("1");
  EXPECT_EQ(NextDefaultUserKey(lists, 2), "2");
  EXPECT_EQ(NextDefaultUserKey(lists, 0), "1");
  EXPECT_THROW(NextDefaultUserKey(lists, 4), std::out_of_range);
}

TEST(ScheduleTree, GroupedAmountSeparatesThousandsOfAnyLongOrCount) {
  const struct {
    std::int64_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {-1000, "-1,000"},
      {123456, "123,456"},
      {-1234567, "-1,234,567"},
      {INT32_MAX, "2,147,483,647"},
      {INT32_MIN, "-2,147,483,648"},
      {INT64_MAX, "9,223,372,036,854,775,807"},
      {INT64_MIN, "-9,223,372,036,854,775,808"},
  };
  for (const auto& c : cases) EXPECT_EQ(GroupedAmount(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace orv
