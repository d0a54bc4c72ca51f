#include "dialogs/upcoming_list.hpp"

#include "dialog_fixture.hpp"

namespace orv::test {
namespace {

using std::chrono::days;

const Date kDec8 = MakeDate(2026, 12, 8);  // a Tuesday; 23 December is no holiday, 1 January is

class UpcomingTest : public DialogTest {
protected:
  std::vector<std::string> Texts(const UpcomingList& list) {
    std::vector<std::string> texts;
    for (const UpcomingRow& row : list.rows) texts.push_back(row.text);
    return texts;
  }
};

TEST_F(UpcomingTest, DaysWithEntriesOrHolidaysWithTheirTotalsAndThePeriodsTotals) {
  AddPayment(kDec8, "家賃", 50000, 0);
  AddPayment(kDec8 + days{2}, "新聞", 4400, 1);
  AddPayment(kDec8 + days{2}, "電気", 8000, 0);
  AddSpecial(kDec8 + days{2}, "誕生日", "ケーキ", true);
  AddSpecial(kDec8 + days{5}, "ゴミの日", "", false);
  AddPayment(kDec8 + days{30}, "最後の日", 1, 1);
  AddPayment(kDec8 + days{31}, "期間の外", 999, 0);
  AddPayment(kDec8 - days{1}, "昨日", 999, 0);
  const UpcomingList list = BuildUpcoming(state.Years, kDec8, true);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{
                             "12月8日(火) 今日  合計 50,000円",
                             "　家賃 50,000円 (自動振替)",
                             "12月10日(木)  合計 12,400円",
                             "　新聞 4,400円 (現金)",
                             "　電気 8,000円 (自動振替)",
                             "　誕生日 (特に特別な日) ケーキ",
                             "12月13日(日)",
                             "　ゴミの日 (特別な日)",
                             "1月1日(金) 元日",
                             "1月7日(木)  合計 1円",
                             "　最後の日 1円 (現金)",
                         }));
  EXPECT_EQ(list.automatic, 58000);
  EXPECT_EQ(list.cash, 4401);
  EXPECT_EQ(list.totals, "期間の合計  自動振替 58,000円  現金 4,401円  計 62,401円");
  EXPECT_EQ(list.list_name, "今後31日間の予定(&L):");
  // Every row knows its day; headings stand for the day, entries for their kind.
  EXPECT_TRUE(list.rows[2].heading);
  EXPECT_EQ(list.rows[3].date, kDec8 + days{2});
  EXPECT_EQ(list.rows[3].mode, kShowPayments);
  EXPECT_EQ(list.rows[5].mode, kShowSpecialDays);
}

TEST_F(UpcomingTest, HolidaysFollowTheOptionAndAnEmptyPeriodSaysSo) {
  const UpcomingList shown = BuildUpcoming(state.Years, kDec8, true);
  EXPECT_EQ(Texts(shown), (std::vector<std::string>{"1月1日(金) 元日"}));
  const UpcomingList hidden = BuildUpcoming(state.Years, kDec8, false);
  EXPECT_EQ(Texts(hidden), (std::vector<std::string>{"今後31日間に予定はありません"}));
  EXPECT_EQ(hidden.rows[0].date, kDec8);
  EXPECT_EQ(hidden.totals, "期間の合計  自動振替 0円  現金 0円  計 0円");
}

TEST_F(UpcomingTest, TheDayListOpensInTheKindOfTheChosenRow) {
  AddPayment(kDec8, "家賃", 50000, 0);
  AddSpecial(kDec8, "誕生日", "", true);
  AddSpecial(kDec8 + days{1}, "記念日", "", false);
  const UpcomingRow heading{kDec8, "", true, 0}, payment{kDec8, "", false, kShowPayments},
      special{kDec8, "", false, kShowSpecialDays}, special_only{kDec8 + days{1}, "", true, 0},
      empty{kDec8 + days{2}, "", true, 0};
  struct Case {
    const UpcomingRow& row;
    std::int32_t current, expected;
  };
  for (const Case& c : {Case{payment, kShowSpecialDays, kShowPayments}, Case{special, kShowNothing, kShowSpecialDays},
                        Case{heading, kShowSpecialDays, kShowSpecialDays}, Case{heading, kShowNothing, kShowPayments},
                        Case{special_only, kShowPayments, kShowSpecialDays}, Case{empty, kShowNothing, kShowPayments},
                        Case{empty, kShowSpecialDays, kShowSpecialDays}})
    EXPECT_EQ(DayListModeFor(c.row, state.Years, c.current), c.expected);
}

TEST(UpcomingPlaceTest, RememberedPlaceReadsBackAndUnreadableTextIsNone) {
  MemorySettingsStore store;
  EXPECT_EQ(ReadUpcomingPlace(store), std::nullopt);
  SaveUpcomingPlace(store, {-20, 40, 500, 600});
  EXPECT_EQ(ReadUpcomingPlace(store), (WindowBox{-20, 40, 500, 600}));
  for (const char* bad : {"1,2,3", "1,2,3,4,5", "a,2,3,4", "1,2,0,4", "1,2,3,-4", "1,2,3,4 "}) {
    store.Set("Orvanta", "Run", "UpcomingPlace", bad);
    EXPECT_EQ(ReadUpcomingPlace(store), std::nullopt) << bad;
  }
}

TEST(UpcomingPlaceTest, TheBoxStaysOnTheWorkAreaAtLeastItsSmallestSize) {
  const WindowBox work{0, 0, 1920, 1040}, fallback{0, 0, 480, 560};
  struct Case {
    std::optional<WindowBox> saved;
    WindowBox expected;
  };
  for (const Case& c : {Case{std::nullopt, {720, 240, 480, 560}},
                        Case{WindowBox{100, 100, 600, 700}, {100, 100, 600, 700}},
                        Case{WindowBox{1800, 900, 600, 700}, {1320, 340, 600, 700}},  // pushed back on
                        Case{WindowBox{-400, -50, 100, 100}, {0, 0, 320, 300}},      // grown to the minimum
                        Case{WindowBox{10, 10, 5000, 5000}, {0, 0, 1920, 1040}}})     // shrunk to the screen
    EXPECT_EQ(PlaceOnScreen(c.saved, work, 320, 300, fallback), c.expected);
  // A screen smaller than the minimum: the screen's size.
  EXPECT_EQ(PlaceOnScreen(std::nullopt, {0, 0, 300, 200}, 320, 300, fallback), (WindowBox{0, 0, 300, 200}));
}

}  // namespace
}  // namespace orv::test
