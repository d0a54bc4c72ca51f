#include "tools/orvtool/user_data_json.hpp"

#include <gtest/gtest.h>

#include "schedule/user_data_file.hpp"

namespace orv::tool {
namespace {

void BuildSample(YearDatas& years, DefaultUserListArray& lists) {
  DayData& day = GetOrCreateDay(years, {2026, 12, 24, 5});
  auto& p = *day.PaymentDatas.Add(NextPaymentKey(day));
  p.Payment = 1;
  p.lngPrice = -300;
  p.strTitle = "ケーキ";
  auto& s = *day.SpecialDatas.Add(NextSpecialKey(day));
  s.blnSpecial = true;
  s.strSpecial = "イブ";
  s.strComment = "\"quoted\"\n二行目";
  day.TotalPaymentPrice = 999;  // stored totals are kept as they are, right or not
  day.SpecialKey = "1";
  GetOrCreateDay(years, {2025, 1, 1, 4});
  lists[1].Add("1")->strValue1 = "昼食";
  lists[3].Add("1")->strValue1 = "記念日";
}

TEST(UserDataJson, DumpThenBuildGivesTheSameBytes) {
  YearDatas years;
  DefaultUserListArray lists;
  BuildSample(years, lists);
  std::string original;
  ASSERT_EQ(SerializeUserData(years, lists, original), "");

  const std::string text = ScheduleToJson(years, lists).dump(2);
  YearDatas back;
  DefaultUserListArray back_lists;
  ASSERT_EQ(ScheduleFromJson(nlohmann::json::parse(text), back, back_lists), "");
  std::string again;
  ASSERT_EQ(SerializeUserData(back, back_lists, again), "");
  EXPECT_EQ(again, original);
}

TEST(UserDataJson, FieldsKeepFileOrderAndStableNames) {
  YearDatas years;
  DefaultUserListArray lists;
  BuildSample(years, lists);
  auto json = ScheduleToJson(years, lists);
  EXPECT_EQ(json["years"][0]["year"], 2026);
  EXPECT_EQ(json["years"][1]["year"], 2025);
  const auto& day = json["years"][0]["months"][0]["days"][0];
  EXPECT_EQ(day["day"], 24);
  EXPECT_EQ(day["totalPaymentPrice"], 999);
  EXPECT_EQ(day["payments"][0]["title"], "ケーキ");
  EXPECT_EQ(day["specials"][0]["verySpecial"], true);
  EXPECT_EQ(json["presets"]["cashPayments"][0], "昼食");
  EXPECT_TRUE(json["presets"]["automaticTransfers"].empty());
}

TEST(UserDataJson, BadInputIsReportedAndChangesNothing) {
  const char* cases[] = {
      R"([])",
      R"({"presets":{}})",
      R"({"years":[{"year":2020}],"presets":{}})",
      R"({"years":[{"year":2020,"months":[]},{"year":2020,"months":[]}],"presets":{}})",
      R"({"years":[],"presets":{"automaticTransfers":[1],"cashPayments":[],"verySpecialDays":[],"specialDays":[]}})",
      R"({"years":[{"year":"x","months":[]}],"presets":{}})",
  };
  for (const char* text : cases) {
    YearDatas years;
    DefaultUserListArray lists;
    years.Add("1999");
    EXPECT_NE(ScheduleFromJson(nlohmann::json::parse(text), years, lists), "") << text;
    EXPECT_EQ(years.Count(), 1) << text;
  }
}

}  // namespace
}  // namespace orv::tool
