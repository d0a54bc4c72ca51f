// End-to-end: adding entries from a day and deleting whole years.
#include "e2e_harness.hpp"

namespace orv::e2e {
namespace {

TEST_F(OrvantaE2E, DoubleClickADayAddsACashPaymentThatTheQuitSaves) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  StopProgman();  // a top-level calendar: the dialogs are owned by a window of their own process
  Launch();
  ASSERT_TRUE(WaitShown());
  SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
  HWND calendar = Calendar();
  RECT r;
  GetClientRect(calendar, &r);
  const LPARAM at = MAKELPARAM(r.right - 20, r.bottom / 2);
  PostMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(calendar, WM_LBUTTONUP, 0, at);
  PostMessageW(calendar, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  HWND add = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (add = FindDialogEndingWith(L"日 - 予定の追加")) != nullptr; }));
  wchar_t caption[64] = L"";
  GetWindowTextW(add, caption, 64);
  int month = 0, day = 0;
  ASSERT_EQ(swscanf(caption, L"%d月%d日", &month, &day), 2) << WideToUtf8(caption);
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "1");  // the tray ignores clicks
  // No presets: the four catch-all items, very special day first. One wheel notch toward the
  // user moves five items on, which the list clamps to its last: the cash payment.
  SendMessageW(add, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
  PostMessageW(add, WM_COMMAND, IDOK, 0);
  HWND input = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (input = FindDialogEndingWith(L"予定の追加（入力）")) != nullptr; }));
  wchar_t prompt[128] = L"";
  GetDlgItemTextW(input, 1005, prompt, 128);
  EXPECT_EQ(WideToUtf8(prompt), "現金支払いの内容を入力してください");
  SetDlgItemTextW(input, 1001, L"家賃");
  SetDlgItemTextW(input, 1002, L"1500");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "0");
  Quit();

  YearDatas years;
  DefaultUserListArray lists;
  ASSERT_EQ(sfLoadUserData(path, years, lists), "");
  int found = 0;
  for (const auto& y : years)
    for (const auto& m : y.MonthDatas)
      for (const auto& d : m.DayDatas)
        for (const auto& p : d.PaymentDatas) {
          ++found;
          EXPECT_EQ(std::stoi(m.Key), month);
          EXPECT_EQ(std::stoi(d.Key), day);
          EXPECT_EQ(p.strTitle, "家賃");
          EXPECT_EQ(p.lngPrice, 1500);
          EXPECT_EQ(p.Payment, 1);
          EXPECT_EQ(d.TotalPaymentPrice, 1500);
        }
  EXPECT_EQ(found, 1);
  for (const auto& list : lists) EXPECT_EQ(list.Count(), 0);  // no Shift: no new preset
}

TEST_F(OrvantaE2E, BulkDeletionRemovesTheCheckedYear) {
  const std::string path = DataFile("data.orv");
  {
    YearDatas years;
    DefaultUserListArray lists;
    for (std::int16_t year : {std::int16_t{2020}, std::int16_t{2021}}) {
      DayData& day = GetOrCreateDay(years, DateParts{year, 5, 1, 0});
      day.PaymentDatas.Add(NextPaymentKey(day))->lngPrice = year;
      RecalcPaymentTotals(day);
    }
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  }
  StoreDataPath(path);
  StopProgman();
  Launch();
  ASSERT_TRUE(WaitShown());
  PostMessageW(Host(), WM_COMMAND, 1002, 0);  // 予定の一括削除(&D)...
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(L"#32770", L"予定の一括削除")) != nullptr; }));
  // Other processes see the dialog while it is still being initialised: wait for its list.
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    list = GetDlgItem(dialog, 1001);
    return list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2;
  }));
  // Check the first row (2020) from the keyboard: focus it, then the space bar.
  SetForegroundWindow(dialog);
  PostMessageW(list, WM_KEYDOWN, VK_HOME, 1);
  PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(list, WM_KEYUP, VK_SPACE, 0xC0390001);
  ASSERT_TRUE(WaitFor([&] { return (SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12) == 2; }, 5000));
  PostMessageW(dialog, WM_COMMAND, 1002, 0);  // 削除(&D)
  HWND confirm = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (confirm = FindWindowW(L"#32770", L"削除の確認")) != nullptr; }));
  PostMessageW(confirm, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  Quit();
  YearDatas years;
  DefaultUserListArray lists;
  ASSERT_EQ(sfLoadUserData(path, years, lists), "");
  ASSERT_EQ(years.Count(), 1);
  EXPECT_EQ(years.At(1)->Key, "2021");
}

}  // namespace
}  // namespace orv::e2e
