#include "calendar/day_names.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace orv {
namespace {

struct Payment {
  std::int32_t kind;
  std::string title;
  std::int32_t price;
};
struct Special {
  bool very;
  std::string title, comment;
};

DayData MakeDay(const std::vector<Payment>& payments, const std::vector<Special>& specials) {
  DayData day;
  for (const auto& p : payments) {
    PaymentData* added = day.PaymentDatas.Add(NextPaymentKey(day));
    added->Payment = p.kind;
    added->strTitle = p.title;
    added->lngPrice = p.price;
  }
  for (const auto& s : specials) {
    SpecialData* added = day.SpecialDatas.Add(NextSpecialKey(day));
    added->blnSpecial = s.very;
    added->strSpecial = s.title;
    added->strComment = s.comment;
  }
  RecalcPaymentTotals(day);
  RecalcSpecialTotals(day);
  return day;
}

TEST(DayAccessibleName, ReadsDateWeekdayHolidayEntriesAndTotal) {
  const DateParts dec8 = SplitDate(MakeDate(2026, 12, 8));  // a Tuesday
  const DayData rent = MakeDay({{0, "家賃", 50000}}, {});
  const DayData busy = MakeDay({{0, "家賃", 50000}, {1, "書籍", 1280}, {1, "", -300}}, {{true, "誕生日", "花を買う"}});
  const DayData quiet_special = MakeDay({}, {{false, "記念日", ""}, {false, "", "メモだけ"}});
  struct Case {
    const char* what;
    const DayData* day;
    std::optional<std::string_view> holiday;
    std::string expected;
  } cases[] = {
      {"the example", &rent, "文化の日", "12月8日 火曜日 文化の日、家賃 50,000円 (自動振替)、合計 50,000円"},
      {"nothing at all", nullptr, std::nullopt, "12月8日 火曜日"},
      {"a holiday alone", nullptr, "文化の日", "12月8日 火曜日 文化の日"},
      {"an empty holiday name is no holiday", nullptr, "", "12月8日 火曜日"},
      {"entries without a holiday", &rent, std::nullopt, "12月8日 火曜日 家賃 50,000円 (自動振替)、合計 50,000円"},
      {"special days before payments, cash and a nameless refund", &busy, std::nullopt,
       "12月8日 火曜日 誕生日 花を買う、家賃 50,000円 (自動振替)、書籍 1,280円 (現金)、-300円 (現金)、"
       "合計 50,980円"},
      {"no total without payments; a comment alone is read", &quiet_special, std::nullopt,
       "12月8日 火曜日 記念日、メモだけ"},
  };
  for (const auto& c : cases) EXPECT_EQ(DayAccessibleName(dec8, c.day, c.holiday), c.expected) << c.what;
}

TEST(DayAccessibleName, NamesEveryWeekdayAndNoneOutsideTheWeek) {
  // 2026-12-06 is a Sunday.
  const char* names[] = {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};
  for (int i = 0; i < 7; ++i) {
    const DateParts day = SplitDate(MakeDate(2026, 12, 6 + i));
    EXPECT_EQ(DayAccessibleName(day, nullptr), "12月" + std::to_string(6 + i) + "日 " + names[i]);
  }
  EXPECT_EQ(WeekdayName(0), "");
  EXPECT_EQ(WeekdayName(8), "");
}

TEST(DayAccessibleName, ReadsTheExtremeTotalWithoutOverflow) {
  const DayData low = MakeDay({{1, "a", -2147483647 - 1}}, {});
  EXPECT_EQ(DayAccessibleName(SplitDate(MakeDate(2027, 1, 1)), &low),
            "1月1日 金曜日 a -2,147,483,648円 (現金)、合計 -2,147,483,648円");
}

TEST(HotspotName, WeekButtonsSayWhereTheyGoAndTheOthersTheirTooltip) {
  EXPECT_EQ(HotspotName(Hotspot::WeekBack, kShowPayments), "前の週");
  EXPECT_EQ(HotspotName(Hotspot::WeekForward, kShowPayments), "次の週");
  EXPECT_EQ(HotspotName(Hotspot::ModeChange, kShowNothing), "予定を表示します");
  EXPECT_EQ(HotspotName(Hotspot::ModeChange, kShowPayments), "予定を隠します");
  EXPECT_EQ(HotspotName(Hotspot::ExtraMode, kShowSpecialDays), "予定表示の内容を変更");
}

}  // namespace
}  // namespace orv
