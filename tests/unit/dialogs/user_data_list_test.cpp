#include "dialogs/user_data_list.hpp"

#include "dialog_fixture.hpp"
#include "dialogs/dialog_texts.hpp"
#include "dialogs/year_datas_dialog.hpp"
#include "platform/file_system.hpp"
#include "schedule/user_data_file.hpp"

namespace orv::test {
namespace {

const Date kMarch8 = MakeDate(2026, 3, 8);

class DayListTest : public DialogTest {
protected:
  UserDataListModel list{state, regional, prompts, store, calendar};

  void ThreePayments() {
    AddPayment(kMarch8, "家賃", 50000, 0);
    AddPayment(kMarch8, "電気", 1234, 1);
    AddPayment(kMarch8, "水道", 3000, 0);
  }
};

TEST_F(DayListTest, PaymentRowsCarryAmountInCurrencyFormatSuffixAndIcon) {
  ThreePayments();
  state.CalendarMode = kShowPayments;
  list.SetEditDay(kMarch8);
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"家賃 ￥50,000 (自動振替)", "電気 ￥1,234 (現金)",
                                                   "水道 ￥3,000 (自動振替)"}));
  EXPECT_EQ(list.IconIndexes(), (std::vector<std::int32_t>{0, 1, 0}));
  EXPECT_EQ(list.ShownIcon(), 0);
  EXPECT_EQ(list.Caption(), "3月8日 - 支払い予定の確認");
  EXPECT_EQ(list.Message(), "支払い予定の一覧です");
  list.OnRowSelected(1);
  EXPECT_EQ(list.ShownIcon(), 1);
  list.OnRowSelected(7);  // no such row: nothing changes
  EXPECT_EQ(list.ShownIcon(), 1);
}

TEST_F(DayListTest, SpecialRowsShowTitleAndCommentWithTheirIcons) {
  AddSpecial(kMarch8, "記念日", "花を買う", false);
  AddSpecial(kMarch8, "誕生日", "", true);
  AddPayment(kMarch8, "家賃", 50000, 0);
  state.CalendarMode = kShowSpecialDays;
  list.SetEditDay(kMarch8);
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"記念日 花を買う", "誕生日 "}));
  EXPECT_EQ(list.IconIndexes(), (std::vector<std::int32_t>{3, 2}));
  EXPECT_EQ(list.ShownIcon(), 3);  // the first row's
  EXPECT_EQ(list.Caption(), "3月8日 - 特別な日予定の確認");
  EXPECT_EQ(list.Message(), "特別な日予定の一覧です");
}

TEST_F(DayListTest, EmptyListsByModeAndMissingDay) {
  AddSpecial(kMarch8, "記念日", "", false);  // a day with special entries but no payments
  struct Case {
    std::int32_t mode;
    Date day;
    std::optional<std::int32_t> icon;
    const char* caption;
    const char* message;
  } cases[] = {
      {kShowNothing, kMarch8, std::nullopt, "3月8日 - 予定の確認", "予定の一覧です"},
      {kShowPayments, kMarch8, 0, "3月8日 - 支払い予定の確認", "支払い予定の一覧です"},
      {kShowSpecialDays, MakeDate(2031, 12, 24), 2, "12月24日 - 特別な日予定の確認",
       "特別な日予定の一覧です"},
  };
  for (const auto& c : cases) {
    UserDataListModel fresh{state, regional, prompts, store, calendar};
    state.CalendarMode = c.mode;
    fresh.SetEditDay(c.day);
    EXPECT_TRUE(fresh.Rows().empty()) << c.caption;
    EXPECT_EQ(fresh.ShownIcon(), c.icon) << c.caption;
    EXPECT_EQ(fresh.Caption(), c.caption);
    EXPECT_EQ(fresh.Message(), c.message);
  }
  EXPECT_EQ(state.Years.Count(), 1);  // listing never creates a day
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(DayListTest, CaptionNamesTheHolidayUnlessHolidaysAreOff) {
  struct Case {
    Date day;
    bool show_holidays;
    const char* caption;
  } cases[] = {
      {MakeDate(2026, 11, 3), true, "11月3日 (文化の日) - 特別な日予定の確認"},
      {MakeDate(2026, 5, 6), true, "5月6日 (振替休日) - 特別な日予定の確認"},
      {MakeDate(2026, 11, 3), false, "11月3日 - 特別な日予定の確認"},
      {MakeDate(2026, 11, 4), true, "11月4日 - 特別な日予定の確認"},
  };
  state.CalendarMode = kShowSpecialDays;
  for (const auto& c : cases) {
    state.ShowHolidays = c.show_holidays;
    list.SetEditDay(c.day);
    EXPECT_EQ(list.Caption(), c.caption);
  }
}

// The bulk deletion of years is not modal: a year can go while one of its days is listed.
// The list then shows the day as it is now, and check marks put on rows that were there
// before never reach entries they were not put on.
TEST_F(DayListTest, TheYearRemovedWhileTheListIsOpenEmptiesTheListAndDeletesNothing) {
  ThreePayments();
  state.CalendarMode = kShowPayments;
  list.SetEditDay(kMarch8);
  EXPECT_FALSE(list.RefreshIfStale());
  YearDatasModel years{state, prompts, calendar};
  years.dsRefreshYearDatasList();
  ASSERT_TRUE(years.DeleteChecked({true}));
  ASSERT_EQ(list.Rows().size(), 3u);  // as the window still shows them

  EXPECT_TRUE(list.DeleteChecked({true, false, true}));
  EXPECT_TRUE(list.Rows().empty());
  EXPECT_EQ(list.ShownIcon(), kIconAutomaticTransfer);
  EXPECT_EQ(prompts.Titles(), std::vector<std::string>{"削除の確認"}) << "only the year dialog asked";
  EXPECT_EQ(state.Years.Count(), 0) << "nothing is created again by listing or deleting";
  EXPECT_FALSE(list.RefreshIfStale());

  // Coming back to the window rebuilds it the same way.
  ThreePayments();
  EXPECT_TRUE(list.RefreshIfStale());
  EXPECT_EQ(list.Rows().size(), 3u);
}

// The deletion's question runs a message loop, in which the year can go as well.
TEST_F(DayListTest, TheYearRemovedDuringTheDeleteQuestionLeavesNothingToDeleteOrSave) {
  ThreePayments();
  state.CalendarMode = kShowPayments;
  state.AutoSave = true;
  list.SetEditDay(kMarch8);
  prompts.while_message_shown = [&] { state.Years.Remove("2026"); };
  EXPECT_TRUE(list.DeleteChecked({true, false, false}));
  EXPECT_TRUE(list.Rows().empty());
  EXPECT_EQ(state.Years.Count(), 0);
  EXPECT_EQ(calendar.full_draws, 0);
  EXPECT_FALSE(FileExists(state.UserDataPath)) << "nothing was saved";
}

TEST_F(DayListTest, DeletingRowsOneAndThreeRemovesExactlyThoseAndFollowsTotals) {
  ThreePayments();
  state.CalendarMode = kShowPayments;
  list.SetEditDay(kMarch8);
  ASSERT_TRUE(list.DeleteChecked({true, false, true}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(prompts.messages[0].title, "削除の確認");
  EXPECT_EQ(prompts.messages[0].text, "チェックがつけられた項目を削除します。\r\n本当に削除しますか？");
  const DayData* day = Day(kMarch8);
  ASSERT_EQ(day->PaymentDatas.Count(), 1);
  EXPECT_EQ(day->PaymentDatas.At(1)->strTitle, "電気");
  EXPECT_EQ(day->TotalPaymentPrice, 1234);
  EXPECT_TRUE(day->TotalCash);
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"電気 ￥1,234 (現金)"}));
  EXPECT_EQ(calendar.full_draws, 1);
  EXPECT_FALSE(store.Contains("Orvanta", "UserData", "FileName"));  // AutoSave is off
}

TEST_F(DayListTest, DeletingSpecialEntriesRecomputesTheRepresentative) {
  AddSpecial(kMarch8, "誕生日", "", true);
  AddSpecial(kMarch8, "記念日", "", false);
  state.CalendarMode = kShowSpecialDays;
  list.SetEditDay(kMarch8);
  ASSERT_TRUE(list.DeleteChecked({true, false}));
  EXPECT_FALSE(Day(kMarch8)->TotalSpecial);
  EXPECT_EQ(Day(kMarch8)->SpecialTitle, "記念日");
  EXPECT_EQ(list.ShownIcon(), 3);
}

TEST_F(DayListTest, RefusalsAndCancelChangeNothing) {
  ThreePayments();
  state.CalendarMode = kShowPayments;
  list.SetEditDay(kMarch8);
  EXPECT_FALSE(list.DeleteChecked({false, false, false}));  // rows but none checked
  EXPECT_FALSE(list.DeleteChecked({}));
  prompts.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(list.DeleteChecked({false, true, false}));
  EXPECT_EQ(prompts.Titles(),
            (std::vector<std::string>{"予定の削除について", "予定の削除について", "削除の確認"}));
  EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(prompts.messages[0].text, "予定一覧のチェックをつけた項目を削除することが出来ます。");
  EXPECT_EQ(Day(kMarch8)->PaymentDatas.Count(), 3);
  EXPECT_EQ(calendar.full_draws, 0);
}

TEST_F(DayListTest, DeletingTheLastEntryKeepsTheDayWithNoTotal) {
  AddPayment(kMarch8, "家賃", 50000, 1);
  state.CalendarMode = kShowPayments;
  list.SetEditDay(kMarch8);
  EXPECT_EQ(list.ShownIcon(), 1);
  ASSERT_TRUE(list.DeleteChecked({true}));
  ASSERT_NE(Day(kMarch8), nullptr);
  EXPECT_EQ(Day(kMarch8)->TotalPaymentPrice, 0);
  EXPECT_FALSE(Day(kMarch8)->TotalCash);
  EXPECT_TRUE(list.Rows().empty());
  EXPECT_EQ(list.ShownIcon(), 0);
}

TEST_F(DayListTest, AutoSaveWritesTheFileAndStoresItsPath) {
  ThreePayments();
  state.AutoSave = true;
  state.CalendarMode = kShowPayments;
  list.SetEditDay(kMarch8);
  ASSERT_TRUE(list.DeleteChecked({false, true, false}));
  YearDatas years;
  DefaultUserListArray lists;
  ASSERT_EQ(sfLoadUserData(state.UserDataPath, years, lists), "");
  EXPECT_EQ(FindDay(years, SplitDate(kMarch8))->PaymentDatas.Count(), 2);
  EXPECT_EQ(store.Get("Orvanta", "UserData", "FileName", ""), state.UserDataPath);
  EXPECT_EQ(prompts.messages.size(), 1u);  // only the confirmation
}

TEST_F(DayListTest, FailedAutoSaveIsReportedAndTheDeletionStands) {
  ThreePayments();
  state.AutoSave = true;
  state.UserDataPath = dir.File("no such folder/user.orv");
  state.CalendarMode = kShowPayments;
  list.SetEditDay(kMarch8);
  ASSERT_TRUE(list.DeleteChecked({true, false, false}));
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[1].icon, MessageIcon::Critical);
  EXPECT_EQ(prompts.messages[1].title, "データの保存エラー");
  EXPECT_EQ(prompts.messages[1].text, "ユーザーデータを保存する事が出来ませんでした!\r\n");
  EXPECT_EQ(Day(kMarch8)->PaymentDatas.Count(), 2);
  EXPECT_EQ(store.Get("Orvanta", "UserData", "FileName", ""), state.UserDataPath);
}

TEST_F(DayListTest, SwitchingTheKindRedrawsAndRelists) {
  AddPayment(kMarch8, "家賃", 50000, 0);
  AddSpecial(kMarch8, "誕生日", "", true);
  state.CalendarMode = kShowPayments;
  list.SetEditDay(kMarch8);
  list.OnNextKind();
  EXPECT_EQ(state.CalendarMode, kShowSpecialDays);
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"誕生日 "}));
  EXPECT_EQ(calendar.full_draws, 1);
  list.OnNextKind();
  EXPECT_EQ(list.Caption(), "3月8日 - 支払い予定の確認");
  // After the add-entry dialog: the new entry is listed and the calendar redrawn.
  AddPayment(kMarch8, "ガス", 2000, 1);
  list.AfterAddEntry();
  EXPECT_EQ(list.Rows().size(), 2u);
  EXPECT_EQ(calendar.full_draws, 3);
}

}  // namespace
}  // namespace orv::test
