#include "dialogs/data_add_dialog.hpp"

#include "dialog_fixture.hpp"
#include "dialogs/user_data_list.hpp"
#include "dialogs/year_datas_dialog.hpp"
#include "schedule/user_data_file.hpp"

namespace orv::test {
namespace {

const Date kMarch8 = MakeDate(2026, 3, 8);

void AddPreset(DefaultUserListArray& lists, int kind, const char* name) {
  lists[static_cast<std::size_t>(kind)].Add(NextDefaultUserKey(lists, kind))->strValue1 = name;
}

std::vector<std::string> Keys(const std::vector<AddListItem>& items) {
  std::vector<std::string> keys;
  for (const auto& item : items) keys.push_back(item.Key);
  return keys;
}

TEST(AddList, WithoutPresetsHoldsTheFourCatchAllItemsInKindOrder) {
  DefaultUserListArray lists;
  const auto items = BuildAddList(lists);
  EXPECT_EQ(Keys(items), (std::vector<std::string>{"2#", "3#", "0#", "1#"}));
  EXPECT_EQ(items[0].Caption, "一覧にない特に特別な日");
  EXPECT_EQ(items[1].Caption, "一覧にない特別な日");
  EXPECT_EQ(items[2].Caption, "一覧にない自動振替支払い");
  EXPECT_EQ(items[3].Caption, "一覧にない現金支払い");
  EXPECT_EQ(items[3].Comment, "現金払い・振り込み等");
  EXPECT_EQ(items[3].IconKind, 1);
}

TEST(AddList, PresetsComeFirstByKindOrderThenInCollectionOrder) {
  DefaultUserListArray lists;
  AddPreset(lists, kCashPayments, "新聞");
  AddPreset(lists, kAutomaticTransfers, "家賃");
  AddPreset(lists, kAutomaticTransfers, "電話");
  AddPreset(lists, kVerySpecialDays, "誕生日");
  lists[kAutomaticTransfers].Remove("1");
  AddPreset(lists, kAutomaticTransfers, "保険");  // key 3: the first free number above the count
  const auto items = BuildAddList(lists);
  EXPECT_EQ(Keys(items),
            (std::vector<std::string>{"2#1", "0#2", "0#3", "1#1", "2#", "3#", "0#", "1#"}));
  EXPECT_EQ(items[0].Caption, "誕生日");
  EXPECT_EQ(items[0].Comment, "特に特別な日");
  EXPECT_EQ(items[2].Caption, "保険");
  EXPECT_EQ(items[2].Comment, "自動振替");
  EXPECT_EQ(items[3].Comment, "現金払い・振り込み等");
}

TEST(AddList, ItemKeysBecomeInputRequests) {
  DefaultUserListArray lists;
  AddPreset(lists, kSpecialDays, "a");
  AddPreset(lists, kSpecialDays, "記念日");
  auto preset = RequestForItem("3#2", lists);
  ASSERT_TRUE(preset);
  EXPECT_EQ(preset->EditType, 3);
  EXPECT_EQ(preset->Value1, "記念日");
  auto catch_all = RequestForItem("1#", lists);
  ASSERT_TRUE(catch_all);
  EXPECT_EQ(catch_all->EditType, 1);
  EXPECT_FALSE(catch_all->Value1);
  EXPECT_EQ(RequestForItem("3#9", lists)->Value1, "");  // preset gone meanwhile
  for (const char* bad : {"", "#", "4#", "-1#", "x#1", "2"}) EXPECT_FALSE(RequestForItem(bad, lists)) << bad;
  EXPECT_EQ(AddDialogCaption(SplitDate(kMarch8)), "3月8日 - 予定の追加");
}

class InputDialogTest : public DialogTest {
protected:
  InputDialogModel input{state, numbers, prompts, store};

  void OpenFor(std::int32_t kind, std::optional<std::string> value1 = std::nullopt) {
    input.Open(kMarch8, {kind, std::move(value1)});
  }
};

TEST_F(InputDialogTest, KindConfiguresIconCaptionsAndPrompt) {
  struct Case {
    std::int32_t kind;
    const char* message;
    const char* caption0;
    const char* caption1;
  } cases[] = {
      {0, "自動振替支払いの内容を入力してください", "支払いの名称(&N):", "金額(&P):"},
      {1, "現金支払いの内容を入力してください", "支払いの名称(&N):", "金額(&P):"},
      {2, "特に特別な日の内容を入力してください", "タイトル(&T):", "コメント(&O):"},
      {3, "特別な日の内容を入力してください", "タイトル(&T):", "コメント(&O):"},
  };
  for (const auto& c : cases) {
    InputDialogModel m{state, numbers, prompts, store};
    m.Open(kMarch8, {c.kind, std::nullopt});
    EXPECT_EQ(m.Icon(), c.kind);
    EXPECT_EQ(m.Message(), c.message);
    EXPECT_EQ(m.FieldCaption(0), c.caption0);
    EXPECT_EQ(m.FieldCaption(1), c.caption1);
    EXPECT_EQ(m.BoxText(0), "");
    EXPECT_EQ(m.Caption(), "3月8日 - 予定の追加（入力）");
  }
  input.SetEditType(2);
  input.SetEditType(7);  // leaves icon and captions of the last kind
  EXPECT_EQ(input.Message(), "の内容を入力してください");
  EXPECT_EQ(input.Icon(), 2);
  EXPECT_EQ(input.FieldCaption(0), "タイトル(&T):");
  EXPECT_FALSE(input.OnOK("名前", "1"));  // an unknown kind never validates
}

// Where the focus starts follows what is filled in, once, when the dialog first shows.
// Coming back to it later (after the refusal message, or from another program) leaves the
// focus where the user put it and keeps a Shift held for OK.
TEST_F(InputDialogTest, FocusRuleAndShiftResetApplyOnlyWhenTheDialogFirstShows) {
  struct Case {
    const char *text0, *text1;
    InputFocus first;
  } cases[] = {{"家賃", "", InputFocus::SecondBox},
               {"家賃", "5", InputFocus::OkButton},
               {"", "5", InputFocus::OkButton},
               {"", "", InputFocus::Unchanged}};
  for (const Case& c : cases) {
    InputDialogModel m{state, numbers, prompts, store};
    m.Open(kMarch8, {kAutomaticTransfers, c.text0});
    m.OnKey(true, false, false);
    EXPECT_EQ(m.OnActivate(c.text0, c.text1), c.first) << c.text0 << "/" << c.text1;
    EXPECT_FALSE(m.ShiftDown());
    m.OnKey(true, false, false);
    EXPECT_EQ(m.OnActivate("家賃", "5"), InputFocus::Unchanged);
    EXPECT_TRUE(m.ShiftDown());
  }
}

// The add dialogs stay open when the bulk deletion removes their day's year (it is not
// modal): an entry added afterwards creates the day again, with totals of its own entries,
// and the saved file holds exactly that.
TEST_F(InputDialogTest, AnEntryAddedAfterItsYearWasRemovedCreatesTheDayAgain) {
  AddPayment(kMarch8, "家賃", 50000, 0);
  AddPayment(MakeDate(2026, 5, 1), "電気", 1000, 1);
  state.AutoSave = true;
  OpenFor(kCashPayments);
  YearDatasModel years{state, prompts, calendar};
  years.dsRefreshYearDatasList();
  ASSERT_TRUE(years.DeleteChecked({true}));
  ASSERT_TRUE(input.OnOK("水道", "3000"));
  input.AfterClose();
  const DayData* day = Day(kMarch8);
  ASSERT_NE(day, nullptr);
  EXPECT_EQ(day->PaymentDatas.Count(), 1);
  EXPECT_EQ(day->PaymentDatas.At(1)->Key, "1");
  EXPECT_EQ(day->TotalPaymentPrice, 3000);
  EXPECT_TRUE(day->TotalCash);
  EXPECT_EQ(Day(MakeDate(2026, 5, 1)), nullptr);

  YearDatas saved;
  DefaultUserListArray lists;
  ASSERT_EQ(sfLoadUserData(state.UserDataPath, saved, lists), "");
  ASSERT_EQ(saved.Count(), 1);
  ASSERT_EQ(saved.At(1)->MonthDatas.Count(), 1);
  const DayData* stored = FindDay(saved, SplitDate(kMarch8));
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->TotalPaymentPrice, 3000);
  EXPECT_EQ(stored->PaymentDatas.At(1)->strTitle, "水道");
}

TEST_F(InputDialogTest, PaymentAmountValidation) {
  struct Case {
    const char* amount;
    bool accepted;
  } cases[] = {
      {"1500", true}, {" -300 ", true}, {"+7", true}, {"2147483647", true}, {"-2147483648", true},
      {"0", false}, {"abc", false}, {"", false}, {"2147483648", false}, {"-2147483649", false},
      {"12abc", false},
  };
  for (const auto& c : cases) {
    AppState fresh;
    ScriptedPrompts asked;
    InputDialogModel m{fresh, numbers, asked, store};
    m.Open(kMarch8, {kCashPayments, std::nullopt});
    EXPECT_EQ(m.OnOK("", c.amount), c.accepted) << c.amount;
    EXPECT_EQ(fresh.Years.Count(), c.accepted ? 1 : 0) << c.amount;
    if (!c.accepted) {
      ASSERT_EQ(asked.messages.size(), 1u) << c.amount;
      EXPECT_EQ(asked.messages[0].icon, MessageIcon::Information);
      EXPECT_EQ(asked.messages[0].title, "値の入力について");
      EXPECT_EQ(asked.messages[0].text,
                "値が正しく入力されていません\r\n"
                "金額の入力フォーマットなど、予定に対応した正しいフォーマットで入力してください");
    }
  }
}

TEST_F(InputDialogTest, AcceptedPaymentIsAppendedUnderTheNextKeyWithTotals) {
  AddPayment(kMarch8, "家賃", 50000, 0);
  Day(kMarch8)->PaymentDatas.Add("5");  // keys are not always dense
  Day(kMarch8)->PaymentDatas.Find("5")->lngPrice = 100;
  OpenFor(kCashPayments);
  ASSERT_TRUE(input.OnOK("電気", "1234"));
  const DayData* day = Day(kMarch8);
  ASSERT_EQ(day->PaymentDatas.Count(), 3);
  const PaymentData& added = *day->PaymentDatas.At(3);
  EXPECT_EQ(added.Key, "3");
  EXPECT_EQ(added.strTitle, "電気");
  EXPECT_EQ(added.lngPrice, 1234);
  EXPECT_EQ(added.Payment, 1);
  EXPECT_EQ(day->TotalPaymentPrice, 51334);
  EXPECT_TRUE(day->TotalCash);
  EXPECT_EQ(input.Value1(), "電気");
  EXPECT_EQ(input.Value2(), "1234");
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(InputDialogTest, SpecialDayNeedsATitleButNotAComment) {
  OpenFor(kVerySpecialDays);
  EXPECT_FALSE(input.OnOK("", "コメントだけ"));
  EXPECT_EQ(state.Years.Count(), 0);
  ASSERT_TRUE(input.OnOK("誕生日", ""));
  OpenFor(kSpecialDays);
  ASSERT_TRUE(input.OnOK("記念日", "花"));
  const DayData* day = Day(kMarch8);
  ASSERT_EQ(day->SpecialDatas.Count(), 2);
  EXPECT_TRUE(day->SpecialDatas.At(1)->blnSpecial);
  EXPECT_FALSE(day->SpecialDatas.At(2)->blnSpecial);
  EXPECT_EQ(day->SpecialDatas.At(2)->strComment, "花");
  EXPECT_EQ(day->SpecialTitle, "誕生日");
  EXPECT_TRUE(day->TotalSpecial);
  EXPECT_EQ(prompts.Titles(), (std::vector<std::string>{"値の入力について"}));
}

TEST_F(InputDialogTest, ShiftWithShiftAutoAlsoStoresThePreset) {
  struct Case {
    bool shift_auto, shift, ctrl;
    bool stored;
  } cases[] = {
      {true, true, false, true},
      {true, false, false, false},
      {true, true, true, false},  // Ctrl+Shift is not "exactly Shift"
      {false, true, false, false},
  };
  for (const auto& c : cases) {
    AppState fresh;
    fresh.ShiftAuto = c.shift_auto;
    AddPreset(fresh.DefaultUserLists, kAutomaticTransfers, "家賃");
    InputDialogModel m{fresh, numbers, prompts, store};
    m.Open(kMarch8, {kAutomaticTransfers, "家賃"});
    m.OnKey(c.shift, c.ctrl, false);
    ASSERT_TRUE(m.OnOK("家賃", "50000"));
    const auto& presets = fresh.DefaultUserLists[kAutomaticTransfers];
    ASSERT_EQ(presets.Count(), c.stored ? 2 : 1);
    if (c.stored) {
      EXPECT_EQ(presets.At(2)->Key, "2");
      EXPECT_EQ(presets.At(2)->strValue1, "家賃");  // the same name twice is allowed
    }
  }
}

TEST_F(InputDialogTest, TextTheFileCannotHoldIsRefusedAndNothingIsAdded) {
  const std::string unrepresentable = "\xF0\x9F\x98\x80";  // an emoji: no code page 932 form
  ASSERT_NE(CheckStorableText(unrepresentable), "");
  const std::string too_long(32768, 'a');
  struct Case {
    std::int32_t kind;
    std::string text0, text1;
    const char* field;
  } cases[] = {
      {kCashPayments, "電気" + unrepresentable, "100", "「支払いの名称」"},
      {kAutomaticTransfers, too_long, "100", "「支払いの名称」"},
      {kSpecialDays, unrepresentable, "", "「タイトル」"},
      {kVerySpecialDays, "誕生日", too_long, "「コメント」"},
  };
  for (const auto& c : cases) {
    AppState fresh;
    fresh.ShiftAuto = true;
    ScriptedPrompts asked;
    InputDialogModel m{fresh, numbers, asked, store};
    m.Open(kMarch8, {c.kind, std::nullopt});
    m.OnKey(true, false, false);
    EXPECT_FALSE(m.OnOK(c.text0, c.text1)) << c.field;
    EXPECT_EQ(fresh.Years.Count(), 0);
    EXPECT_EQ(fresh.DefaultUserLists[static_cast<std::size_t>(c.kind)].Count(), 0);
    ASSERT_EQ(asked.messages.size(), 1u);
    EXPECT_EQ(asked.messages[0].title, "値の入力について");
    EXPECT_EQ(asked.messages[0].text.rfind(std::string(c.field) +
                                               "の内容はユーザーデータファイルに保存できません\r\n",
                                           0),
              0u)
        << asked.messages[0].text;
  }
  std::string longest(32767, 'a');
  OpenFor(kSpecialDays);
  EXPECT_TRUE(input.OnOK(longest, ""));
}

TEST_F(InputDialogTest, AmountThatWouldOverflowTheDayTotalIsRefused) {
  AddPayment(kMarch8, "a", 2147483000, 0);
  OpenFor(kCashPayments);
  EXPECT_FALSE(input.OnOK("b", "648"));
  EXPECT_EQ(Day(kMarch8)->PaymentDatas.Count(), 1);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, "値の入力について");
  EXPECT_NE(prompts.messages[0].text.find("合計金額"), std::string::npos);
  EXPECT_TRUE(input.OnOK("b", "647"));  // exactly the largest total still fits
  EXPECT_EQ(Day(kMarch8)->TotalPaymentPrice, 2147483647);
  AddPayment(MakeDate(2026, 3, 9), "c", -2147483000, 0);
  InputDialogModel other{state, numbers, prompts, store};
  other.Open(MakeDate(2026, 3, 9), {kCashPayments, std::nullopt});
  EXPECT_FALSE(other.OnOK("d", "-649"));
  EXPECT_TRUE(other.OnOK("d", "-648"));
}

TEST_F(InputDialogTest, AutoSaveRunsAfterTheDialogClosesOnlyForAnAddedEntry) {
  state.AutoSave = true;
  OpenFor(kCashPayments);
  EXPECT_FALSE(input.OnOK("", "0"));
  input.AfterClose();  // refused input: nothing to save
  EXPECT_FALSE(store.Contains("Orvanta", "UserData", "FileName"));
  ASSERT_TRUE(input.OnOK("", "1500"));
  EXPECT_EQ(ReadBytes(state.UserDataPath), "");  // not before the dialog is gone
  input.AfterClose();
  YearDatas years;
  DefaultUserListArray lists;
  ASSERT_EQ(sfLoadUserData(state.UserDataPath, years, lists), "");
  EXPECT_EQ(FindDay(years, SplitDate(kMarch8))->TotalPaymentPrice, 1500);
  EXPECT_EQ(store.Get("Orvanta", "UserData", "FileName", ""), state.UserDataPath);
}

TEST_F(InputDialogTest, FailedAutoSaveIsReportedAndTheEntryStaysInMemory) {
  state.AutoSave = true;
  state.UserDataPath = dir.File("gone/user.orv");
  OpenFor(kVerySpecialDays);
  ASSERT_TRUE(input.OnOK("誕生日", ""));
  input.AfterClose();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(prompts.messages[0].title, "データの保存エラー");
  EXPECT_EQ(Day(kMarch8)->SpecialDatas.Count(), 1);
  EXPECT_EQ(store.Get("Orvanta", "UserData", "FileName", ""), state.UserDataPath);
}

// The whole way of a payment: add list, catch-all item, input, OK; then the day list.
TEST_F(InputDialogTest, ChosenCatchAllItemLeadsToTheListedPayment) {
  state.CalendarMode = kShowPayments;
  const auto items = BuildAddList(state.DefaultUserLists);
  const auto request = RequestForItem(items[3].Key, state.DefaultUserLists);  // 一覧にない現金支払い
  ASSERT_TRUE(request);
  input.Open(kMarch8, *request);
  EXPECT_EQ(input.Message(), "現金支払いの内容を入力してください");
  ASSERT_TRUE(input.OnOK("電気", "1234"));
  input.AfterClose();
  UserDataListModel list{state, regional, prompts, store, calendar};
  list.SetEditDay(kMarch8);
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"電気 ￥1,234 (現金)"}));
}

}  // namespace
}  // namespace orv::test
