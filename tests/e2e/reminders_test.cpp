// End-to-end: the reminder a start with payments due shows from the tray icon (read through
// the state report: Wine shows no toast), once only, and again only for what falls due after
// midnight; its click, and the tray command, open the coming month, whose rows are the
// control's own texts and whose Enter opens the chosen day's list.
#include <chrono>

#include "desktop/tray_menu.hpp"
#include "dialogs/upcoming_list.hpp"
#include "e2e_harness.hpp"
#include "reminders/reminders.hpp"
#include "../support/schedule_entries.hpp"

namespace orv::e2e {
namespace {

using std::chrono::days;

class RemindersE2E : public OrvantaE2E {
protected:
  // Today 家賃; tomorrow 新聞 (cash) and 電気; the day after a very special 誕生日; three days
  // on 水道, past the default lead time of two days. Started on that with reminders on or off.
  void StartOnSchedule(Date today, bool remind) {
    YearDatas years;
    DefaultUserListArray lists;
    test::AddPayment(years, today, "家賃", 50000, 0);
    test::AddPayment(years, today + days{1}, "新聞", 4400, 1);
    test::AddPayment(years, today + days{1}, "電気", 8000, 0);
    test::AddSpecial(years, today + days{2}, "誕生日", true);
    test::AddPayment(years, today + days{3}, "水道", 3000, 0);
    const std::string path = DataFile("data.orv");
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
    StoreDataPath(path);
    SetOption(L"RemindPayments", remind ? L"True" : L"False");
    Launch();
    ASSERT_TRUE(WaitShown());
  }
  std::string Notification() { return Field(reporter_.Ask(Host()), "Notification"); }
  HWND WaitUpcoming() {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindWindowW(L"#32770", L"今後の予定")) != nullptr && IsWindowVisible(dialog); });
    return dialog;
  }
};

TEST_F(RemindersE2E, AStartRemindsOnceOfWhatIsDueAndMidnightOfWhatComesDueThen) {
  const Date today = LocalToday();
  ASSERT_NO_FATAL_FAILURE(StartOnSchedule(today, true));
  const std::string d0 = ShortDateText(today), d1 = ShortDateText(today + days{1}), d2 = ShortDateText(today + days{2});
  const std::string expected = "支払いの予定|" + d0 + " 家賃 50,000円 (自動振替)\\n" + d1 + " 新聞 4,400円 (現金)\\n" + d1 +
                               " 電気 8,000円 (自動振替)\\n" + d1 + " 合計 12,400円\\n" + d2 + " 誕生日 (特に特別な日)";
  ASSERT_TRUE(WaitFor([&] { return !Notification().empty(); }, 10000)) << "no notification after the start";
  EXPECT_EQ(Notification(), expected);
  // The settings remember what was shown.
  const std::wstring shown = GetText(L"Software\\Orvanta\\Run", L"Reminded");
  EXPECT_NE(shown.find(L"家賃"), std::wstring::npos);
  EXPECT_EQ(shown.find(L"水道"), std::wstring::npos);

  Quit();

  // Started again the same day: nothing new to remind of.
  Launch();
  ASSERT_TRUE(WaitShown());
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_EQ(Notification(), "");

  // Past midnight the lead time reaches 水道, and only that is new.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(Host(), RegisterWindowMessageW(L"Orvanta.SetClock"), 800, 0, SMTO_NORMAL, 5000, &ignored);
  const std::string later = "支払いの予定|" + ShortDateText(today + days{3}) + " 水道 3,000円 (自動振替)";
  EXPECT_TRUE(WaitFor([&] { return Notification() == later; }, 5000)) << Notification();

  // The click on the notification opens the coming month.
  SendMessageTimeoutW(Host(), 512, 0, kBalloonUserClick, SMTO_NORMAL, 5000, &ignored);
  HWND upcoming = WaitUpcoming();
  ASSERT_NE(upcoming, nullptr) << "the reminder's click opened nothing";
  ASSERT_TRUE(CloseWith(upcoming));
  Quit();
}

// A payment added for tomorrow while the program runs is reminded a moment after it was
// added, not at the next date change; only it, since the rest was reminded at the start.
TEST_F(RemindersE2E, APaymentAddedForTomorrowIsRemindedAtOnce) {
  const Date today = LocalToday();
  ASSERT_NO_FATAL_FAILURE(StartOnSchedule(today, true));
  ASSERT_TRUE(WaitFor([&] { return !Notification().empty(); }, 10000)) << "no notification after the start";

  SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
  HWND add = OpenAddEntryAt(DayRowPoint(1));  // tomorrow: the calendar starts at today
  ASSERT_TRUE(add);
  // One wheel notch toward the user clamps the list to its last item, the cash catch-all.
  SendMessageW(add, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
  PostMessageW(add, WM_COMMAND, IDOK, 0);
  HWND input = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (input = FindDialogEndingWith(L"予定の追加（入力）")) != nullptr; }));
  constexpr int kInputName = 1001, kInputAmount = 1002;
  SetDlgItemTextW(input, kInputName, L"町内会費");
  SetDlgItemTextW(input, kInputAmount, L"1200");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));

  const std::string added = "支払いの予定|" + ShortDateText(today + days{1}) + " 町内会費 1,200円 (現金)";
  EXPECT_TRUE(WaitFor([&] { return Notification() == added; }, 8000)) << Notification();
  Quit();
}

TEST_F(RemindersE2E, TheComingMonthListsItsDaysAndEnterOpensTheChosenDay) {
  const Date today = LocalToday();
  ASSERT_NO_FATAL_FAILURE(StartOnSchedule(today, false));
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_EQ(Notification(), "") << "reminders are off";

  PostMessageW(Host(), WM_COMMAND, kCmdUpcoming, 0);  // 今後の予定(&U)...
  HWND dialog = WaitUpcoming();
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1002);
  // Every row is the control's own text: the same as a screen reader reads.
  YearDatas years;
  DefaultUserListArray lists;
  ASSERT_EQ(sfLoadUserData(DataFile("data.orv"), years, lists), "");
  const UpcomingList expected = BuildUpcoming(years, today, true);
  std::vector<std::string> rows;
  for (const UpcomingRow& row : expected.rows) rows.push_back(row.text);
  ASSERT_TRUE(WaitFor([&] { return ListViewRows(list) == rows; }, 5000)) << ::testing::PrintToString(ListViewRows(list));
  EXPECT_EQ(rows[1], "　家賃 50,000円 (自動振替)");
  EXPECT_EQ(rows[2].rfind(ShortDateText(today + days{1}), 0), 0u);
  EXPECT_NE(rows[2].find("合計 12,400円"), std::string::npos);
  EXPECT_NE(StaticTexts(dialog).find("期間の合計  自動振替 61,000円  現金 4,400円  計 65,400円"), std::string::npos)
      << StaticTexts(dialog);
  Screenshot(dialog, "upcoming");

  // Down twice from the first row to tomorrow's, then Enter: tomorrow's list of payments.
  SetForegroundWindow(dialog);
  ASSERT_TRUE(WaitFor([&] { return FocusOf(dialog) == list; }, 5000));
  TypeKeys({}, VK_DOWN);
  TypeKeys({}, VK_DOWN);
  TypeKeys({}, VK_RETURN);
  const DateParts tomorrow = SplitDate(today + days{1});
  HWND day = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (day = FindDialogEndingWith(L"予定の確認")) != nullptr; }));
  wchar_t caption[64] = L"";
  GetWindowTextW(day, caption, 64);
  EXPECT_EQ(WideToUtf8(caption), std::to_string(tomorrow.Month) + "月" + std::to_string(tomorrow.Day) + "日 - 支払い予定の確認");
  EXPECT_EQ(ListViewRows(GetDlgItem(day, 1001)),
            (std::vector<std::string>{"新聞 " + CurrencyText(4400) + " (現金)", "電気 " + CurrencyText(8000) + " (自動振替)"}));
  EXPECT_FALSE(IsWindowEnabled(dialog)) << "the day's list is modal to the coming month";
  PostMessageW(day, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(day) && IsWindowEnabled(dialog); }));

  // Escape closes it; its place and size are remembered for the next opening.
  RECT before{};
  GetWindowRect(dialog, &before);
  SetWindowPos(dialog, nullptr, before.left + 10, before.top + 20, before.right - before.left + 40,
               before.bottom - before.top + 30, SWP_NOZORDER);
  SetForegroundWindow(dialog);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 5000));
  TypeKeys({}, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  PostMessageW(Host(), WM_COMMAND, kCmdUpcoming, 0);
  dialog = WaitUpcoming();
  ASSERT_NE(dialog, nullptr);
  RECT again{};
  GetWindowRect(dialog, &again);
  EXPECT_EQ(again.right - again.left, before.right - before.left + 40);
  EXPECT_EQ(again.bottom - again.top, before.bottom - before.top + 30);
  EXPECT_EQ(again.left, before.left + 10);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  Quit();
}

}  // namespace
}  // namespace orv::e2e
