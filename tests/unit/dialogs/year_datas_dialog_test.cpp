#include "dialogs/year_datas_dialog.hpp"

#include "dialog_fixture.hpp"

namespace orv::test {
namespace {

class YearsTest : public DialogTest {
protected:
  YearDatasModel years{state, prompts, calendar};

  void AddYears(std::initializer_list<int> numbers) {
    for (int y : numbers) AddPayment(MakeDate(y, 1, 1), "x", 1, 0);
    years.dsRefreshYearDatasList();
  }
};

TEST_F(YearsTest, RowsFollowTheTreeOrderNotSorted) {
  AddYears({2003, 2001, 2002});
  EXPECT_EQ(years.Rows(), (std::vector<std::string>{"2003年", "2001年", "2002年"}));
  EXPECT_EQ(years.YearKeys(), (std::vector<std::string>{"2003", "2001", "2002"}));
}

TEST_F(YearsTest, CheckedYearsGoByKey) {
  AddYears({2001, 2002, 2003});
  ASSERT_TRUE(years.DeleteChecked({true, false, true}));
  ASSERT_EQ(state.Years.Count(), 1);
  EXPECT_EQ(state.Years.At(1)->Key, "2002");
  EXPECT_EQ(years.Rows(), (std::vector<std::string>{"2002年"}));
  EXPECT_EQ(calendar.full_draws, 1);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(prompts.messages[0].title, "削除の確認");
  EXPECT_EQ(prompts.messages[0].text, "本当に削除しますか？");
}

TEST_F(YearsTest, NothingCheckedOrCancelledKeepsEveryYear) {
  years.dsRefreshYearDatasList();
  EXPECT_TRUE(years.Rows().empty());
  EXPECT_FALSE(years.DeleteChecked({}));  // empty tree
  AddYears({2001, 2002});
  EXPECT_FALSE(years.DeleteChecked({false, false}));
  prompts.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(years.DeleteChecked({true, true}));
  EXPECT_EQ(state.Years.Count(), 2);
  EXPECT_EQ(calendar.full_draws, 0);
  EXPECT_EQ(prompts.Titles(), (std::vector<std::string>{"予定の一括削除について",
                                                        "予定の一括削除について", "削除の確認"}));
  EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(prompts.messages[0].text, "チェックをつけた年の予定を削除する事が出来ます");
}

TEST_F(YearsTest, YearsRemovedElsewhereMeanwhileAreSkipped) {
  AddYears({2001, 2002});
  state.Years.Remove("2001");  // the dialog is not modal; its list may be stale
  ASSERT_TRUE(years.DeleteChecked({true, true}));
  EXPECT_EQ(state.Years.Count(), 0);
}

TEST(YearsDialogPlacement, LeftOfTheCalendarAndCentredVertically) {
  const auto origin = YearDatasDialogOrigin(1024, 768, 240, 400, 300);
  EXPECT_EQ(origin.Left, 1024 - 240 - 400);
  EXPECT_EQ(origin.Top, 234);
}

}  // namespace
}  // namespace orv::test
