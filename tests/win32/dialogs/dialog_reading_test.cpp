// The schedule editing dialogs as a screen reader walks them: every input named, every
// mnemonic leading to its input, and the check marks of the check lists read as states.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "../../support/accessible_reader.hpp"
#include "../../support/fake_desktop_facts.hpp"
#include "../../support/plain_number_conversion.hpp"
#include "../../support/recording_calendar_view.hpp"
#include "../../support/scripted_prompts.hpp"
#include "dialogs/win32/add_entry_windows.hpp"
#include "dialogs/win32/editing_windows.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

void ExpectReadable(HWND dialog, int inputs) {
  const test::DialogWalk walk = test::WalkDialog(dialog);
  EXPECT_EQ(walk.inputs, inputs);
  for (const auto& u : walk.unnamed) ADD_FAILURE() << "no name: " << WideToUtf8(u);
  for (const auto& m : walk.dead_mnemonics) ADD_FAILURE() << "mnemonic leads nowhere: " << WideToUtf8(m);
}

struct ReadingFixture : ::testing::Test {
  ReadingFixture() {
    InitCommonControls();
    OleInitialize(nullptr);
  }
  ~ReadingFixture() override { OleUninitialize(); }
  AppState state;
  test::ScriptedPrompts prompts;
  test::RecordingCalendarView calendar;
};

TEST_F(ReadingFixture, TheInputDialogNamesBothBoxesByTheirLabels) {
  test::PlainNumberConversion numbers;
  MemorySettingsStore store;
  InputDialogModel model{state, numbers, prompts, store};
  Win32Prompts owner;
  InputWindow window{model, owner};
  for (int kind = 0; kind < 4; ++kind) {
    model.Open(MakeDate(2026, 12, 8), InputRequest{kind, std::nullopt});
    HWND dialog = window.Create(nullptr, 10, 10);
    ASSERT_TRUE(dialog);
    ExpectReadable(dialog, 2);
    // The labels come right before their boxes, so Alt+N and Alt+P (Alt+T, Alt+O) reach them.
    for (int id : {InputWindow::kText0Id, InputWindow::kText1Id}) {
      HWND label = GetWindow(GetDlgItem(dialog, id), GW_HWNDPREV);
      EXPECT_NE(test::WindowText(label).find(L'&'), std::wstring::npos);
    }
    DestroyWindow(dialog);
  }
}

TEST_F(ReadingFixture, TheCheckListsReadTheirRowsAsCheckBoxesWithTheirMarks) {
  for (int y : {2024, 2025}) GetOrCreateDay(state.Years, SplitDate(MakeDate(y, 1, 1)));
  YearDatasModel years(state, prompts, calendar);
  YearDatasWindow years_window(years);
  HWND years_dialog = years_window.Create(nullptr, 10, 10);
  ASSERT_TRUE(years_dialog);
  ExpectReadable(years_dialog, 1);

  HWND list = GetDlgItem(years_dialog, YearDatasWindow::kListId);
  test::EventEar ear;
  ComPtr<IAccessible> acc = test::AccessibleOf(list);
  ASSERT_TRUE(acc);
  EXPECT_EQ(test::Role(acc.get()), ROLE_SYSTEM_LIST);
  EXPECT_EQ(test::Name(acc.get()), L"チェックをつけた年のデータを全て削除します");
  ASSERT_EQ(test::ChildCount(acc.get()), 2);
  EXPECT_EQ(test::Name(acc.get(), 1), L"2024年");
  EXPECT_EQ(test::Role(acc.get(), 1), ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_FALSE(test::State(acc.get(), 2) & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(test::Text(acc.get(), &IAccessible::get_accDefaultAction, 2), L"オンにする");
  ListView_SetCheckState(list, 1, TRUE);
  EXPECT_TRUE(test::State(acc.get(), 2) & STATE_SYSTEM_CHECKED);
  EXPECT_TRUE(test::Contains(ear.Pump(), test::HeardEvent{EVENT_OBJECT_STATECHANGE, list, OBJID_CLIENT, 2}));
  // The reader's own action toggles the mark.
  EXPECT_EQ(acc->accDoDefaultAction(test::Child(2)), S_OK);
  EXPECT_FALSE(ListView_GetCheckState(list, 1));

  // The day list: its message names the list.
  test::FakeDesktopFacts regional;
  MemorySettingsStore store;
  DayData& day = GetOrCreateDay(state.Years, SplitDate(MakeDate(2026, 12, 8)));
  auto& rent = *day.PaymentDatas.Add(NextPaymentKey(day));
  rent.strTitle = "家賃";
  rent.lngPrice = 50000;
  RecalcPaymentTotals(day);
  state.CalendarMode = kShowPayments;
  UserDataListModel model{state, regional, prompts, store, calendar};
  model.SetEditDay(MakeDate(2026, 12, 8));
  UserDataListWindow day_window{model, nullptr, nullptr, nullptr};
  HWND day_dialog = day_window.Create(nullptr, 10, 10);
  ASSERT_TRUE(day_dialog);
  ExpectReadable(day_dialog, 1);
  ComPtr<IAccessible> day_list = test::AccessibleOf(GetDlgItem(day_dialog, UserDataListWindow::kListId));
  EXPECT_EQ(test::Name(day_list.get()), L"支払い予定の一覧です");
  EXPECT_EQ(test::ChildCount(day_list.get()), 1);
  EXPECT_EQ(test::Name(day_list.get(), 1).rfind(L"家賃 ", 0), 0u);

  DestroyWindow(day_dialog);
  DestroyWindow(years_dialog);
  // Held past its window, the object answers that it is gone.
  long count = 0;
  EXPECT_EQ(acc->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
}

}  // namespace
}  // namespace orv
