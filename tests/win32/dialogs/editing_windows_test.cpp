// The day list and the year deletion windows under Wine: texts, rows and the deletion flow
// driven through real window messages.
#include "dialogs/win32/editing_windows.hpp"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "../../support/fake_desktop_facts.hpp"
#include "../../support/recording_calendar_view.hpp"
#include "../../support/schedule_entries.hpp"
#include "../../support/scripted_prompts.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

std::string Caption(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return WideToUtf8(text);
}

std::string Row(HWND list, int row) {
  wchar_t text[256] = {};
  ListView_GetItemText(list, row, 0, text, 256);
  return WideToUtf8(text);
}

// Checks `rows` of a dialog's check-box list and presses its delete button.
void CheckAndDelete(HWND dialog, HWND list, int delete_id, std::initializer_list<int> rows) {
  for (int row : rows) ListView_SetCheckState(list, row, TRUE);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(delete_id, BN_CLICKED), 0);
}

TEST(EditingWindows, YearDeletionThroughTheWindow) {
  InitCommonControls();
  AppState state;
  for (int y : {2001, 2002, 2003}) test::AddPayment(state.Years, MakeDate(y, 1, 1), "x", 1, 0);
  test::ScriptedPrompts prompts;
  test::RecordingCalendarView calendar;
  YearDatasModel model(state, prompts, calendar);
  YearDatasWindow window(model);
  HWND dialog = window.Create(nullptr, 10, 10);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Caption(dialog), "予定の一括削除");
  HWND list = GetDlgItem(dialog, YearDatasWindow::kListId);
  ASSERT_EQ(ListView_GetItemCount(list), 3);
  EXPECT_EQ(Row(list, 0), "2001年");
  CheckAndDelete(dialog, list, YearDatasWindow::kDeleteId, {0, 2});
  ASSERT_EQ(state.Years.Count(), 1);
  EXPECT_EQ(state.Years.At(1)->Key, "2002");
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  EXPECT_EQ(Row(list, 0), "2002年");
  EXPECT_EQ(calendar.full_draws, 1);
}

// The day list of 8 March, as the calendar opens it, with the host window's icons.
struct DayListWindow : ::testing::Test {
  AppState state;
  const Date day = MakeDate(2026, 3, 8);
  test::ScriptedPrompts prompts;
  test::RecordingCalendarView calendar;
  test::FakeDesktopFacts regional;
  MemorySettingsStore store;
  UserDataListModel model{state, regional, prompts, store, calendar};
  EntryIconSets icons;
  UserDataListWindow window{model, nullptr, nullptr, &icons};
  DayListWindow() { InitCommonControls(); }
  HWND Open(std::int32_t mode) {
    state.CalendarMode = mode;
    model.SetEditDay(day);
    return window.Create(nullptr, 10, 10);
  }
};

TEST_F(DayListWindow, ShowsTheDayAndDeletesCheckedRows) {
  test::AddPayment(state.Years, day, "家賃", 50000, 0);
  test::AddPayment(state.Years, day, "電気", 1234, 1);
  test::AddPayment(state.Years, day, "水道", 3000, 0);
  HWND dialog = Open(kShowPayments);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Caption(dialog), "3月8日 - 支払い予定の確認");
  // imgIcon64 shows the first entry's kind, then that of the clicked row.
  EXPECT_EQ(window.PictureOf(UserDataListWindow::kIconId), icons.GetIconPicture(1, kIconAutomaticTransfer));
  NMITEMACTIVATE click{};
  click.hdr.hwndFrom = GetDlgItem(dialog, UserDataListWindow::kListId);
  click.hdr.idFrom = UserDataListWindow::kListId;
  click.hdr.code = NM_CLICK;
  click.iItem = 1;
  SendMessageW(dialog, WM_NOTIFY, UserDataListWindow::kListId, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(window.PictureOf(UserDataListWindow::kIconId), icons.GetIconPicture(1, kIconCash));
  EXPECT_EQ(Caption(GetDlgItem(dialog, UserDataListWindow::kMessageId)), "支払い予定の一覧です");
  EXPECT_EQ(Caption(GetDlgItem(dialog, IDCANCEL)), "閉じる(&C)");
  EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDCANCEL);
  HWND list = GetDlgItem(dialog, UserDataListWindow::kListId);
  ASSERT_EQ(ListView_GetItemCount(list), 3);
  EXPECT_EQ(Row(list, 1), "電気 ￥1,234 (現金)");
  CheckAndDelete(dialog, list, UserDataListWindow::kDeleteId, {0, 2});
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  EXPECT_EQ(Row(list, 0), "電気 ￥1,234 (現金)");
  EXPECT_EQ(FindDay(state.Years, SplitDate(day))->TotalPaymentPrice, 1234);
}

// The icon follows the selected row whatever moved it: the arrow keys, Home and End too.
TEST_F(DayListWindow, IconFollowsTheSelectionMovedByKeys) {
  for (bool very : {true, false, true}) test::AddSpecial(state.Years, day, very ? "誕生日" : "記念日", very);
  HWND dialog = Open(kShowSpecialDays);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, UserDataListWindow::kListId);
  auto shown = [&] { return window.PictureOf(UserDataListWindow::kIconId); };
  auto key = [&](WPARAM vk) {
    SendMessageW(list, WM_KEYDOWN, vk, 1);
    SendMessageW(list, WM_KEYUP, vk, 0xC0000001);
  };
  SetFocus(list);
  key(VK_HOME);
  EXPECT_EQ(shown(), icons.GetIconPicture(1, kIconVerySpecial));
  key(VK_DOWN);
  EXPECT_EQ(shown(), icons.GetIconPicture(1, kIconSpecial));
  key(VK_END);
  EXPECT_EQ(shown(), icons.GetIconPicture(1, kIconVerySpecial));
  key(VK_UP);
  EXPECT_EQ(shown(), icons.GetIconPicture(1, kIconSpecial));
}

}  // namespace
}  // namespace orv
