// End-to-end: adding entries from a day, listing and deleting them, deleting whole years, and
// what the user sees when the automatic save fails.
#include "e2e_harness.hpp"

#include <algorithm>

#include "core/dates.hpp"
#include "platform/file_system.hpp"
#include "platform/win32/known_folders.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/recovery_file.hpp"

namespace orv::e2e {
namespace {

using nlohmann::json;

// The day of an `orvtool dump`, or null.
json DumpedDay(const json& dump, int year, int month, int day) {
  if (!dump.is_object()) return nullptr;
  for (const auto& y : dump["years"])
    if (y["year"] == year)
      for (const auto& m : y["months"])
        if (m["month"] == month)
          for (const auto& d : m["days"])
            if (d["day"] == day) return d;
  return nullptr;
}

// The entries of every day of a dump, counted.
int DumpedPayments(const json& dump) {
  int count = 0;
  for (const auto& y : dump["years"])
    for (const auto& m : y["months"])
      for (const auto& d : m["days"]) count += static_cast<int>(d["payments"].size());
  return count;
}

struct Day {
  int month = 0, day = 0;
};

// "12月7日 - …" of a day dialog's caption.
Day DayOfCaption(HWND dialog) {
  wchar_t caption[64] = L"";
  GetWindowTextW(dialog, caption, 64);
  Day d;
  if (swscanf(caption, L"%d月%d日", &d.month, &d.day) != 2) d = {};
  return d;
}

HWND FindChildOfClass(HWND parent, const wchar_t* class_name) {
  return FindChild(parent, [class_name](HWND child) {
    wchar_t name[64] = L"";
    GetClassNameW(child, name, 64);
    return wcscmp(name, class_name) == 0;
  });
}

std::wstring Caption(HWND window) {
  wchar_t text[128] = L"";
  GetWindowTextW(window, text, 128);
  return text;
}

std::string BoxText(HWND dialog, int id) {
  wchar_t text[128] = L"";
  GetDlgItemTextW(dialog, id, text, 128);
  return WideToUtf8(text);
}

constexpr int kInputName = 1001, kInputAmount = 1002, kInputPrompt = 1005;
constexpr int kDayListList = 1001, kDayListAdd = 1002, kDayListDelete = 1003;

class EditingE2E : public OrvantaE2E {
protected:
  // Starts the program in payment mode with the calendar as a top-level window, so that the
  // dialogs are owned by windows of their own process.
  void LaunchShowingPayments() {
    StopProgman();
    Launch();
    ASSERT_TRUE(WaitShown());
    SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
  }
  // The middle of the calendar, in client coordinates: a day row with any theme.
  LPARAM MiddleRow() { return MiddleDayRow(); }
  // The screen band of the calendar's middle row.
  RECT MiddleBand() {
    RECT r;
    GetWindowRect(Calendar(), &r);
    const int y = r.top + HIWORD(MiddleRow());
    const int half = (GeometryValue(Geometry(), "DayHeight") + 1) / 2;
    return RECT{r.left, y - half, r.right, y + half};
  }
  RECT WholeCalendar() {
    RECT r;
    GetWindowRect(Calendar(), &r);
    return r;
  }
  // Double-clicks the middle row and waits for the add-entry dialog.
  HWND OpenAddEntry() { return OpenAddEntryAt(MiddleRow()); }
  // Chooses the add list's last item (the cash payment's catch-all item) and waits for the
  // input dialog. One wheel notch toward the user moves five items on, which the list clamps
  // to its last.
  HWND ChooseLastItem(HWND add) {
    SendMessageW(add, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
    PostMessageW(add, WM_COMMAND, IDOK, 0);
    HWND input = nullptr;
    WaitFor([&] { return (input = FindDialogEndingWith(L"予定の追加（入力）")) != nullptr; });
    return input;
  }
  // Presses OK in the input dialog with invalid values: the information message comes, names
  // the problem, and after it the dialog is still open with what was typed.
  void ExpectRefused(HWND input, const wchar_t* name, const wchar_t* amount) {
    SetDlgItemTextW(input, kInputName, name);
    SetDlgItemTextW(input, kInputAmount, amount);
    PostMessageW(input, WM_COMMAND, IDOK, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"値の入力について")) != nullptr; }))
        << WideToUtf8(name) << " / " << WideToUtf8(amount);
    EXPECT_TRUE(WaitFor([&] { return StaticTexts(box).find("値が正しく入力されていません") != std::string::npos; }, 5000))
        << StaticTexts(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(input));
    EXPECT_EQ(BoxText(input, kInputName), WideToUtf8(name));
    EXPECT_EQ(BoxText(input, kInputAmount), WideToUtf8(amount));
  }
  // Three payments on every day the calendar can show, so that the middle row has them:
  // A 100 (automatic transfer), B 200 (cash), C 300 (automatic transfer).
  static constexpr int kSeededDays = 83;
  void WriteThreePaymentsADay(const std::string& path) {
    YearDatas years;
    DefaultUserListArray lists;
    const Date today = LocalToday();
    for (int offset = -3; offset < kSeededDays - 3; ++offset) {
      DayData& day = GetOrCreateDay(years, SplitDate(today + std::chrono::days{offset}));
      int n = 0;
      for (const char* title : {"A", "B", "C"}) {
        PaymentData* p = day.PaymentDatas.Add(NextPaymentKey(day));
        p->strTitle = title;
        p->lngPrice = ++n * 100;
        p->Payment = static_cast<std::int16_t>(n == 2);
      }
      RecalcPaymentTotals(day);
    }
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  }
  // Right-clicks the middle row and waits for the day list.
  HWND OpenDayList() {
    const LPARAM at = MiddleRow();
    PostMessageW(Calendar(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageW(Calendar(), WM_RBUTTONUP, 0, at);
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindDialogEndingWith(L"日 - 支払い予定の確認")) != nullptr; });
    return dialog;
  }
  // Deletes the checked rows of the day list, confirming.
  void DeleteRows(HWND dialog, const std::vector<int>& rows) {
    HWND list = GetDlgItem(dialog, kDayListList);
    const auto count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    SetForegroundWindow(dialog);
    CheckRows(list, rows);
    std::vector<int> expected(static_cast<std::size_t>(count), 0);
    for (int row : rows) expected[static_cast<std::size_t>(row)] = 1;
    ASSERT_TRUE(WaitFor([&] { return CheckStates(list) == expected; }, 5000));
    PostMessageW(dialog, WM_COMMAND, kDayListDelete, 0);  // 削除(&D)
    HWND confirm = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (confirm = FindWindowW(L"#32770", L"削除の確認")) != nullptr; }));
    PostMessageW(confirm, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == count - static_cast<LRESULT>(rows.size()); }));
  }
  std::string Totals() { return Field(reporter_.Ask(Host()), "Totals"); }
};

TEST_F(EditingE2E, DoubleClickADayAddsACashPaymentThatTheQuitSaves) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  LaunchShowingPayments();
  const RECT band = MiddleBand();
  const std::vector<COLORREF> before = ScreenPixels(band);
  HWND add = OpenAddEntry();
  ASSERT_TRUE(add);
  const Day day = DayOfCaption(add);
  ASSERT_NE(day.month, 0) << WideToUtf8(Caption(add));
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "1");  // the tray ignores clicks
  HWND input = ChooseLastItem(add);
  ASSERT_TRUE(input);
  EXPECT_EQ(BoxText(input, kInputPrompt), "現金支払いの内容を入力してください");
  SetDlgItemTextW(input, kInputName, L"家賃");
  SetDlgItemTextW(input, kInputAmount, L"1500");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "0");
  // The day's row shows the total as the user's regional settings write an amount.
  const std::string total = "-" + std::to_string(day.month) + "-" + std::to_string(day.day) + " " + CurrencyText(1500) + ";";
  EXPECT_NE(Totals().find(total), std::string::npos) << Totals() << " lacks " << total;
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(band) != before; }, 5000)) << "the row was not redrawn";
  Quit();

  const json dump = DumpUserData(path);
  ASSERT_TRUE(dump.is_object());
  EXPECT_EQ(DumpedPayments(dump), 1);
  const json saved = DumpedDay(dump, dump["years"][0]["year"], day.month, day.day);
  ASSERT_TRUE(saved.is_object()) << dump.dump();
  EXPECT_EQ(saved["totalPaymentPrice"], 1500);
  EXPECT_EQ(saved["totalCash"], true);
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":1500,"title":"家賃"}])"));
  for (const auto& list : dump["presets"]) EXPECT_TRUE(list.empty()) << dump["presets"];  // no Shift, no preset
}

// The input dialog takes the add-entry dialog's place: where the user moved it to.
TEST_F(EditingE2E, TheInputDialogOpensWhereTheAddDialogWasMovedTo) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  LaunchShowingPayments();
  HWND add = OpenAddEntry();
  ASSERT_TRUE(add);
  SetWindowPos(add, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitFor([&] {
    RECT r;
    return GetWindowRect(add, &r) && r.left == 40 && r.top == 50;
  }, 5000));
  HWND input = ChooseLastItem(add);
  ASSERT_TRUE(input);
  RECT r;
  GetWindowRect(input, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 50);
  PostMessageW(input, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  Quit();
}

TEST_F(EditingE2E, InvalidInputIsRefusedAndShiftEnterStoresThePreset) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  SetOption(L"ShiftAuto", L"True");
  LaunchShowingPayments();

  // A special day needs a title; its comment may be empty. A double-click on an item of the
  // add list chooses it as OK would.
  HWND add = OpenAddEntry();
  ASSERT_TRUE(add);
  const Day day = DayOfCaption(add);
  HWND canvas = FindChildOfClass(add, L"KestrovePickvaneCanvas");
  ASSERT_TRUE(canvas);
  const LPARAM second_item = MAKELPARAM(40, 4 + 36 + 18);  // 一覧にない特別な日: rows are 36 pixels apart
  PostMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, second_item);
  PostMessageW(canvas, WM_LBUTTONUP, 0, second_item);
  PostMessageW(canvas, WM_LBUTTONDBLCLK, MK_LBUTTON, second_item);
  PostMessageW(canvas, WM_LBUTTONUP, 0, second_item);
  HWND input = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (input = FindDialogEndingWith(L"予定の追加（入力）")) != nullptr; }));
  EXPECT_FALSE(IsWindow(add));
  EXPECT_EQ(BoxText(input, kInputPrompt), "特別な日の内容を入力してください");
  ExpectRefused(input, L"", L"お祝い");
  SetDlgItemTextW(input, kInputName, L"記念日");
  SetDlgItemTextW(input, kInputAmount, L"");
  PostMessageW(input, WM_COMMAND, IDOK, 0);  // no Shift: no preset
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  add = OpenAddEntry();
  ASSERT_TRUE(add);
  EXPECT_EQ(DayOfCaption(add).day, day.day);
  input = ChooseLastItem(add);  // 一覧にない現金支払い
  ASSERT_TRUE(input);
  ExpectRefused(input, L"電気", L"0");
  ExpectRefused(input, L"電気", L"abc");
  ExpectRefused(input, L"電気", L"");
  SetDlgItemTextW(input, kInputAmount, L"1,234");  // digit grouping as the user writes amounts
  // Shift+Enter from the keyboard, as the user presses it in the dialog.
  SetForegroundWindow(input);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == input; }, 5000));
  TypeKeys({VK_SHIFT}, VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));

  Quit();

  const json dump = DumpUserData(path);
  ASSERT_TRUE(dump.is_object());
  const json saved = DumpedDay(dump, dump["years"][0]["year"], day.month, day.day);
  ASSERT_TRUE(saved.is_object()) << dump.dump();
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":1234,"title":"電気"}])"));
  EXPECT_EQ(saved["specials"], json::parse(R"([{"verySpecial":false,"comment":"","title":"記念日"}])"));
  EXPECT_EQ(dump["presets"]["cashPayments"], json::parse(R"(["電気"])"));
  EXPECT_TRUE(dump["presets"]["specialDays"].empty());
  EXPECT_TRUE(dump["presets"]["automaticTransfers"].empty());
}

TEST_F(EditingE2E, DayListDeletesTheCheckedEntriesAndSavesAtOnce) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  SetOption(L"AutoSave", L"True");
  LaunchShowingPayments();
  const RECT band = MiddleBand();
  const std::vector<COLORREF> before = ScreenPixels(band);

  HWND dialog = OpenDayList();
  ASSERT_TRUE(dialog);
  const Day day = DayOfCaption(dialog);
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "1");
  HWND list = GetDlgItem(dialog, kDayListList);
  const std::vector<std::string> rows = ListViewRows(list);
  EXPECT_EQ(rows, (std::vector<std::string>{"A " + CurrencyText(100) + " (自動振替)", "B " + CurrencyText(200) + " (現金)",
                                            "C " + CurrencyText(300) + " (自動振替)"}));
  const std::string key = "-" + std::to_string(day.month) + "-" + std::to_string(day.day) + " ";
  EXPECT_NE(Totals().find(key + CurrencyText(600) + ";"), std::string::npos) << Totals();

  DeleteRows(dialog, {0, 2});
  EXPECT_EQ(ListViewRows(list), std::vector<std::string>{"B " + CurrencyText(200) + " (現金)"});
  EXPECT_NE(Totals().find(key + CurrencyText(200) + ";"), std::string::npos) << Totals();
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(band) != before; }, 5000)) << "the row was not redrawn";

  // AutoSave: the file holds the deletion before the program ends.
  json dump;
  int year = 0;
  ASSERT_TRUE(WaitFor([&] {
    dump = DumpUserData(path);
    if (!dump.is_object()) return false;
    for (const auto& y : dump["years"])
      if (DumpedDay(dump, y["year"], day.month, day.day).is_object() &&
          DumpedDay(dump, y["year"], day.month, day.day)["payments"].size() == 1)
        year = y["year"];
    return year != 0;
  }, 5000)) << dump.dump();
  const json saved = DumpedDay(dump, year, day.month, day.day);
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":200,"title":"B"}])"));
  EXPECT_EQ(saved["totalPaymentPrice"], 200);
  EXPECT_EQ(saved["totalCash"], true);
  EXPECT_EQ(DumpedPayments(dump), kSeededDays * 3 - 2);  // the other days keep theirs

  // Adding from the list: the add-entry dialogs run on top of it, then the list, the totals
  // and the file follow.
  PostMessageW(dialog, WM_COMMAND, kDayListAdd, 0);  // 予定の追加(&A)
  HWND add = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (add = FindDialogEndingWith(L"日 - 予定の追加")) != nullptr; }));
  EXPECT_EQ(DayOfCaption(add).day, day.day);
  HWND input = ChooseLastItem(add);
  ASSERT_TRUE(input);
  SetDlgItemTextW(input, kInputName, L"D");
  SetDlgItemTextW(input, kInputAmount, L"400");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }));
  EXPECT_EQ(ListViewRows(list), (std::vector<std::string>{"B " + CurrencyText(200) + " (現金)", "D " + CurrencyText(400) + " (現金)"}));
  EXPECT_NE(Totals().find(key + CurrencyText(600) + ";"), std::string::npos) << Totals();
  EXPECT_TRUE(WaitFor([&] { return DumpedPayments(DumpUserData(path)) == kSeededDays * 3 - 1; }, 5000));

  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "0");
  Quit();
}

TEST_F(EditingE2E, BulkDeletionRemovesExactlyTheCheckedYearsInTreeOrder) {
  const std::string path = DataFile("data.orv");
  const Date today = LocalToday();
  const DateParts now = SplitDate(today);
  {
    // Not sorted: the list shows the years in the order they entered the tree. The current
    // year has payments on the days the calendar shows.
    YearDatas years;
    DefaultUserListArray lists;
    for (std::int16_t year : {now.Year, std::int16_t{2019}, std::int16_t{2018}}) {
      for (int offset = 0; offset < 40; ++offset) {
        DateParts parts = SplitDate(today + std::chrono::days{offset});
        if (parts.Year != now.Year) break;
        parts.Year = year;
        DayData& day = GetOrCreateDay(years, parts);
        day.PaymentDatas.Add(NextPaymentKey(day))->lngPrice = 1000;
        RecalcPaymentTotals(day);
      }
    }
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  }
  StoreDataPath(path);
  LaunchShowingPayments();
  ASSERT_FALSE(Totals().empty());
  const RECT calendar = WholeCalendar();
  const std::vector<COLORREF> before = ScreenPixels(calendar);

  PostMessageW(Host(), WM_COMMAND, 1002, 0);  // 予定の一括削除(&D)...
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(L"#32770", L"予定の一括削除")) != nullptr; }));
  // The caption comes before the list is filled.
  HWND list = nullptr;
  const std::string current = std::to_string(now.Year);
  const std::vector<std::string> rows{current + "年", "2019年", "2018年"};
  ASSERT_TRUE(WaitFor([&] { return (list = GetDlgItem(dialog, 1001)) && ListViewRows(list) == rows; }, 5000))
      << ::testing::PrintToString(ListViewRows(list));
  SetForegroundWindow(dialog);
  CheckRows(list, {0, 2});
  ASSERT_TRUE(WaitFor([&] { return CheckStates(list) == std::vector<int>{1, 0, 1}; }, 5000));
  PostMessageW(dialog, WM_COMMAND, 1002, 0);  // 削除(&D)
  HWND confirm = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (confirm = FindWindowW(L"#32770", L"削除の確認")) != nullptr; }));
  PostMessageW(confirm, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
  EXPECT_EQ(ListViewRows(list), std::vector<std::string>{"2019年"});
  EXPECT_EQ(CheckStates(list), std::vector<int>{0});
  const std::string totals = Totals();
  EXPECT_EQ(totals.rfind("2019-" + std::to_string(now.Month) + "-" + std::to_string(now.Day) + " " + CurrencyText(1000) + ";", 0), 0u)
      << totals;
  EXPECT_EQ(totals.find(current + "-"), std::string::npos) << totals;
  EXPECT_EQ(totals.find("2018-"), std::string::npos) << totals;
  // The calendar has lost this year's totals on the screen.
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(calendar) != before; }, 5000)) << "the calendar was not redrawn";
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  Quit();

  const json dump = DumpUserData(path);
  ASSERT_TRUE(dump.is_object());
  ASSERT_EQ(dump["years"].size(), 1u);
  EXPECT_EQ(dump["years"][0]["year"], 2019);
}

// The bulk deletion is not modal: a year can go while one of its days is listed. The list then
// shows the day as it is now; an entry added from it creates the day again, and the calendar's
// totals and the saved file hold exactly that.
TEST_F(EditingE2E, AYearDeletedWhileItsDayIsListedLeavesTheListOnTheDayAsItIs) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  SetOption(L"AutoSave", L"True");
  LaunchShowingPayments();
  // The bulk deletion opens first: the tray takes no command while a day's dialog is up.
  PostMessageW(Host(), WM_COMMAND, 1002, 0);  // 予定の一括削除(&D)...
  HWND years = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (years = FindWindowW(L"#32770", L"予定の一括削除")) != nullptr; }));
  HWND year_list = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (year_list = GetDlgItem(years, 1001)) && !ListViewRows(year_list).empty(); }, 5000));
  HWND dialog = OpenDayList();
  ASSERT_TRUE(dialog);
  const Day day = DayOfCaption(dialog);
  HWND list = GetDlgItem(dialog, kDayListList);
  ASSERT_EQ(ListViewRows(list).size(), 3u);
  // The listed day's year, from the calendar's totals ("Y-M-D amount;").
  const std::string tail = "-" + std::to_string(day.month) + "-" + std::to_string(day.day) + " ";
  const std::string totals = Totals();
  const auto at = totals.find(tail);
  ASSERT_NE(at, std::string::npos) << totals;
  const auto semicolon = totals.rfind(';', at);
  const std::size_t from = semicolon == std::string::npos ? 0 : semicolon + 1;
  const std::string year = totals.substr(from, totals.find('-', from) - from);
  const std::vector<std::string> year_rows = ListViewRows(year_list);
  const auto row = std::find(year_rows.begin(), year_rows.end(), year + "年");
  ASSERT_NE(row, year_rows.end()) << year;

  SetForegroundWindow(years);
  CheckRows(year_list, {static_cast<int>(row - year_rows.begin())});
  ASSERT_TRUE(WaitFor([&] { return CheckStates(year_list)[static_cast<std::size_t>(row - year_rows.begin())] == 1; }, 5000));
  PostMessageW(years, WM_COMMAND, 1002, 0);  // 削除(&D)
  HWND confirm = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (confirm = FindWindowW(L"#32770", L"削除の確認")) != nullptr; }));
  PostMessageW(confirm, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return ListViewRows(year_list).size() == year_rows.size() - 1; }));
  EXPECT_EQ(Totals().find(year + tail), std::string::npos);

  // Back on the day list: the day as it is now, without entries.
  SetForegroundWindow(dialog);
  EXPECT_TRUE(WaitFor([&] { return ListViewRows(list).empty(); }, 5000)) << ::testing::PrintToString(ListViewRows(list));
  PostMessageW(dialog, WM_COMMAND, kDayListAdd, 0);  // 予定の追加(&A)
  HWND add = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (add = FindDialogEndingWith(L"日 - 予定の追加")) != nullptr; }));
  HWND input = ChooseLastItem(add);
  ASSERT_TRUE(input);
  SetDlgItemTextW(input, kInputName, L"D");
  SetDlgItemTextW(input, kInputAmount, L"400");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return ListViewRows(list) == std::vector<std::string>{"D " + CurrencyText(400) + " (現金)"}; }))
      << ::testing::PrintToString(ListViewRows(list));
  EXPECT_NE(Totals().find(year + tail + CurrencyText(400) + ";"), std::string::npos) << Totals();

  // The automatic save: the year is back with that one day and entry.
  json saved;
  EXPECT_TRUE(WaitFor([&] {
    const json dump = DumpUserData(path);
    if (!dump.is_object()) return false;
    for (const auto& y : dump["years"])
      if (y["year"] == std::stoi(year)) {
        saved = y;
        return true;
      }
    return false;
  }, 5000));
  ASSERT_EQ(saved["months"].size(), 1u) << saved.dump();
  ASSERT_EQ(saved["months"][0]["days"].size(), 1u) << saved.dump();
  EXPECT_EQ(saved["months"][0]["days"][0]["payments"], json::parse(R"([{"kind":1,"price":400,"title":"D"}])"));
  EXPECT_EQ(saved["months"][0]["days"][0]["totalPaymentPrice"], 400);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  PostMessageW(years, WM_COMMAND, IDCANCEL, 0);
  Quit();
}

TEST_F(EditingE2E, AFailedAutomaticSaveIsReportedAndLosesNothing) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  SetOption(L"AutoSave", L"True");
  LaunchShowingPayments();
  // Another program reading the file without letting it be deleted: the save's replace of the
  // file fails (a read-only folder does not stop it, on Windows nor under Wine).
  FileHandle reader(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  // The path is read once at start; the save stores it again whatever its result.
  SetText(HKEY_CURRENT_USER, kUserDataKey, L"FileName", L"");

  HWND add = OpenAddEntry();
  ASSERT_TRUE(add);
  const Day day = DayOfCaption(add);
  HWND input = ChooseLastItem(add);
  ASSERT_TRUE(input);
  SetDlgItemTextW(input, kInputName, L"家賃");
  SetDlgItemTextW(input, kInputAmount, L"50000");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"データの保存エラー")) != nullptr; }));
  EXPECT_TRUE(WaitFor([&] { return StaticTexts(box).find("ユーザーデータを保存する事が出来ませんでした!") != std::string::npos; },
                      5000))
      << StaticTexts(box);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) && !IsWindow(input); }));

  EXPECT_EQ(WideToUtf8(GetText(kUserDataKey, L"FileName")), path);
  // The file is as it was, no temporary file is left beside it, and the entry is in memory.
  const json unchanged = DumpUserData(path);
  ASSERT_TRUE(unchanged.is_object());
  EXPECT_EQ(DumpedPayments(unchanged), 0);
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    EXPECT_NE(entry.path().extension(), L".tmp") << entry.path().string();
  const std::string key = "-" + std::to_string(day.month) + "-" + std::to_string(day.day) + " ";
  EXPECT_NE(Totals().find(key + CurrencyText(50000) + ";"), std::string::npos) << Totals();

  // Once the other program lets go, the quit saves everything.
  reader.reset();
  Quit();
  const json dump = DumpUserData(path);
  ASSERT_TRUE(dump.is_object());
  const json saved = DumpedDay(dump, dump["years"][0]["year"], day.month, day.day);
  ASSERT_TRUE(saved.is_object()) << dump.dump();
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":50000,"title":"家賃"}])"));
}


// The user's recovery folder, emptied for a scenario and after it.
class RecoveryE2E : public EditingE2E {
protected:
  void SetUp() override {
    EditingE2E::SetUp();
    folder_ = LocalAppDataFolder();
    for (const char* part : kRecoveryFolderParts) folder_ = FileInFolder(folder_, part);
    Empty();
  }
  void TearDown() override {
    EditingE2E::TearDown();
    Empty();
  }
  void Empty() {
    for (const std::string& name : FilesIn(folder_)) DeleteFileW(Utf8ToWide(FileInFolder(folder_, name)).c_str());
  }
  std::vector<std::string> RecoveryFiles() {
    std::vector<std::string> paths;
    for (const std::string& name : FilesIn(folder_)) paths.push_back(FileInFolder(folder_, name));
    return paths;
  }
  // Adds a cash payment of 777 titled "E" to the middle row's day; returns that day.
  Day AddOnePayment() {
    HWND add = OpenAddEntry();
    EXPECT_TRUE(add);
    if (!add) return {};
    const Day day = DayOfCaption(add);
    HWND input = ChooseLastItem(add);
    EXPECT_TRUE(input);
    if (!input) return {};
    SetDlgItemTextW(input, kInputName, L"E");
    SetDlgItemTextW(input, kInputAmount, L"777");
    PostMessageW(input, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(input); }));
    return day;
  }
  // Every entry of the seeded file and the added one, as a recovery file must hold them.
  void ExpectEveryEntry(const std::string& recovery, const Day& day, int others = 0) {
    YearDatas years;
    DefaultUserListArray lists;
    ASSERT_EQ(sfLoadUserData(recovery, years, lists), "") << recovery;
    const std::string copy = DataFile("recovered.orv");  // the dump is written beside its file
    ASSERT_TRUE(CopyFileW(Utf8ToWide(recovery).c_str(), Utf8ToWide(copy).c_str(), FALSE));
    const json dump = DumpUserData(copy);
    EXPECT_EQ(DumpedPayments(dump), kSeededDays * 3 + 1 + others);
    bool found = false;
    for (const auto& y : dump["years"])
      if (const json d = DumpedDay(dump, y["year"], day.month, day.day); d.is_object())
        for (const auto& p : d["payments"]) found = found || p == json::parse(R"({"kind":1,"price":777,"title":"E"})");
    EXPECT_TRUE(found) << dump.dump();
  }
  // The offer of unsaved edits at the start, and two of its buttons.
  static constexpr int kRestoreIntoSchedule = 1001, kKeepForLater = 1002;
  static void PressTaskButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
  }
  HWND WaitForRestoreOffer() {
    HWND box = nullptr;
    WaitFor([&] { return (box = FindWindowW(L"#32770", L"保存されていない予定の復元")) != nullptr; });
    return box;
  }
  std::string folder_;
};

// Another program holds the file at the quit: the session's schedule goes to a recovery file,
// the message says where, and the next start points to it again.
TEST_F(RecoveryE2E, ALockedFileAtTheQuitSendsTheSessionToARecoveryFile) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  LaunchShowingPayments();  // AutoSave off: only the quit saves
  const Day day = AddOnePayment();
  ASSERT_NE(day.month, 0);
  FileHandle reader(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  SendMessageW(Host(), WM_COMMAND, 1032, 0);  // 終了(&Q)
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"データの保存エラー")) != nullptr; }));
  std::string text;
  ASSERT_TRUE(WaitFor([&] { return (text = StaticTexts(box)).find(folder_) != std::string::npos; }, 5000)) << text;
  ASSERT_EQ(RecoveryFiles().size(), 1u);
  const std::string recovery = RecoveryFiles()[0];
  EXPECT_NE(text.find("ユーザーデータを保存する事が出来ませんでした!"), std::string::npos) << text;
  EXPECT_NE(text.find("このセッションの予定は、次の復旧用ファイルに保存しました:\r\n" + recovery), std::string::npos) << text;
  Screenshot(box, "save-error-at-quit");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  orvanta_.reset();
  reader.reset();
  EXPECT_EQ(DumpedPayments(DumpUserData(path)), kSeededDays * 3) << "the file is as it was";
  ExpectEveryEntry(recovery, day);

  // The next start offers it; kept for later, it is offered again at the start after.
  for (int start = 1; start <= 2; ++start) {
    const std::string pending = RecoveryFiles().at(0);
    Launch();
    box = WaitForRestoreOffer();
    ASSERT_TRUE(box);
    ASSERT_TRUE(WaitFor([&] { return (text = StaticTexts(box)).find("E 777") != std::string::npos; }, 5000)) << text;
    EXPECT_NE(text.find(pending.substr(pending.find_last_of('\\') + 1)), std::string::npos) << text;
    if (start == 1) Screenshot(box, "restore-offer-failed-save");
    PressTaskButton(box, kKeepForLater);
    ASSERT_TRUE(WaitShown());
    Quit();
    ASSERT_EQ(RecoveryFiles().size(), 1u) << "left for the user";
    ExpectEveryEntry(RecoveryFiles()[0], day);
  }
  EXPECT_EQ(DumpedPayments(DumpUserData(path)), kSeededDays * 3) << "not restored";
}

// The program is killed (a crash, a power cut) with an edit that was never saved: the edit
// was durable within a second, and the next start offers it back and restores every entry.
TEST_F(RecoveryE2E, TheEditsOfAKilledSessionAreRestoredAtTheNextStart) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  LaunchShowingPayments();  // AutoSave off
  const Day day = AddOnePayment();
  ASSERT_NE(day.month, 0);
  ASSERT_TRUE(WaitFor([&] { return RecoveryFiles().size() == 1; }, 10000)) << "journalled";
  ASSERT_TRUE(TerminateProcess(orvanta_.get(), 1));
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  orvanta_.reset();
  ASSERT_EQ(DumpedPayments(DumpUserData(path)), kSeededDays * 3) << "never saved";
  ExpectEveryEntry(RecoveryFiles()[0], day);

  Launch();
  HWND box = WaitForRestoreOffer();
  ASSERT_TRUE(box);
  std::string text;
  ASSERT_TRUE(WaitFor([&] { return (text = StaticTexts(box)).find("E 777") != std::string::npos; }, 5000)) << text;
  Screenshot(box, "restore-offer");
  PressTaskButton(box, kRestoreIntoSchedule);
  ASSERT_TRUE(WaitShown());
  // Restored into the schedule and saved at once: every entry is in the data file.
  ExpectEveryEntry(path, day);
  EXPECT_TRUE(RecoveryFiles().empty());
  Quit();
  ExpectEveryEntry(path, day);
}

// orvtool imports into the data file while the calendar runs with an unsaved edit: the import
// is merged in at once (one message says what came), and the quit saves both.
TEST_F(RecoveryE2E, AnImportWhileTheCalendarRunsIsKeptWithTheSessionsEdits) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  LaunchShowingPayments();
  const Day day = AddOnePayment();
  ASSERT_NE(day.month, 0);
  const DateParts later = SplitDate(LocalToday() + std::chrono::days{200});
  char row[128];
  std::snprintf(row, sizeof row, "%04d-%02d-%02d,payment,automatic,取込,4321,,\r\n", later.Year, later.Month, later.Day);
  const std::string rows = DataFile("rows.csv");
  test::WriteBytes(rows, std::string("date,kind,payment_kind,name,amount,very_special,comment\r\n") + row);
  ASSERT_EQ(RunOrvtool(L"import --format csv \"" + Utf8ToWide(path) + L"\" \"" + Utf8ToWide(rows) + L"\""), 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"ユーザーデータの統合")) != nullptr; }));
  std::string text;
  ASSERT_TRUE(WaitFor([&] { return (text = StaticTexts(box)).find("取込") != std::string::npos; }, 5000)) << text;
  Screenshot(box, "merged-import");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  Quit();
  ExpectEveryEntry(path, day, 1);
  const json imported = DumpedDay(DumpUserData(path), later.Year, later.Month, later.Day);
  ASSERT_TRUE(imported.is_object());
  EXPECT_EQ(imported["payments"], json::parse(R"([{"kind":0,"price":4321,"title":"取込"}])"));
}

// Another writer (a sync client bringing another PC's version) rewrites the file twice: with
// nothing unsaved the calendar simply shows the new version; the second time, right before
// the quit, under an unsaved edit, the quit merges it instead of writing over it.
TEST_F(RecoveryE2E, AFileRewrittenByAnotherWriterIsShownAndNeverOverwritten) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  LaunchShowingPayments();
  const DateParts today = SplitDate(LocalToday());
  auto rewrite = [&](const char* title, std::int32_t amount) {
    YearDatas years;
    DefaultUserListArray lists;
    ASSERT_EQ(sfLoadUserData(path, years, lists), "");
    AddNewEntry(years, today, {kCashPayments, title, amount, {}});
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  };
  rewrite("他", 5);
  const std::string total = "-" + std::to_string(today.Month) + "-" + std::to_string(today.Day) + " " + CurrencyText(605) + ";";
  EXPECT_TRUE(WaitFor([&] { return Totals().find(total) != std::string::npos; }, 5000)) << Totals();
  const Day day = AddOnePayment();
  ASSERT_NE(day.month, 0);
  rewrite("他2", 7);
  SendMessageW(Host(), WM_COMMAND, 1032, 0);  // 終了(&Q)
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"ユーザーデータの統合")) != nullptr; }));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  orvanta_.reset();
  ExpectEveryEntry(path, day, 2);
  const json saved = DumpedDay(DumpUserData(path), today.Year, today.Month, today.Day);
  ASSERT_TRUE(saved.is_object());
  std::vector<std::string> titles;
  for (const auto& p : saved["payments"]) titles.push_back(p["title"]);
  EXPECT_EQ(std::count(titles.begin(), titles.end(), "他"), 1);
  EXPECT_EQ(std::count(titles.begin(), titles.end(), "他2"), 1);
}

// A scanner or sync client holds the file for a moment at the quit: the save waits it out,
// says nothing and leaves nothing to recover.
TEST_F(RecoveryE2E, AFileHeldForAMomentAtTheQuitIsSavedWhenItIsFree) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  LaunchShowingPayments();
  const Day day = AddOnePayment();
  ASSERT_NE(day.month, 0);
  FileHandle reader(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  SendMessageW(Host(), WM_COMMAND, 1032, 0);  // 終了(&Q)
  Sleep(1000);
  EXPECT_EQ(WaitForSingleObject(orvanta_.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still trying";
  reader.reset();
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  orvanta_.reset();
  EXPECT_EQ(FindWindowW(L"#32770", L"データの保存エラー"), nullptr);
  ExpectEveryEntry(path, day);
  EXPECT_TRUE(RecoveryFiles().empty());
}

// At the end of the Windows session there is no time to ask: the recovery file is written and
// the program ends without a word; each failure gets a file of its own.
TEST_F(RecoveryE2E, ALockedFileAtTheEndOfTheSessionOnlyWritesARecoveryFile) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  test::WriteBytes(FileInFolder(folder_, "data-20000101-000000.ORV"), "an earlier failure's");
  // It does not load: nothing is offered at the start, and it stays.
  std::filesystem::last_write_time(test::FsPath(FileInFolder(folder_, "data-20000101-000000.ORV")),
                                   std::filesystem::last_write_time(test::FsPath(path)) - std::chrono::hours(1));
  LaunchShowingPayments();
  const Day day = AddOnePayment();
  ASSERT_NE(day.month, 0);
  FileHandle reader(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(Host(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
  ASSERT_TRUE(SendMessageTimeoutW(Host(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer));
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  orvanta_.reset();
  reader.reset();
  std::vector<std::string> files = RecoveryFiles();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(test::ReadBytes(FileInFolder(folder_, "data-20000101-000000.ORV")), "an earlier failure's");
  std::erase(files, FileInFolder(folder_, "data-20000101-000000.ORV"));
  ASSERT_EQ(files.size(), 1u);
  ExpectEveryEntry(files[0], day);
}

TEST_F(EditingE2E, EndingTheSessionWithTheDayDialogsOpenSavesAndEndsCleanly) {
  const std::string path = DataFile("data.orv");
  WriteThreePaymentsADay(path);
  StoreDataPath(path);
  LaunchShowingPayments();  // AutoSave off: only the ending saves
  HWND dialog = OpenDayList();
  ASSERT_TRUE(dialog);
  DeleteRows(dialog, {1});
  // The day list, the add-entry dialog and the input dialog on top of each other.
  PostMessageW(dialog, WM_COMMAND, kDayListAdd, 0);
  HWND add = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (add = FindDialogEndingWith(L"日 - 予定の追加")) != nullptr; }));
  ASSERT_TRUE(ChooseLastItem(add));
  // The session ends: the system asks, then tells.
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(Host(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, TRUE);
  PostMessageW(Host(), WM_ENDSESSION, TRUE, 0);
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  EXPECT_TRUE(GetExitCodeProcess(orvanta_.get(), &code));
  EXPECT_EQ(code, 0u);
  orvanta_.reset();
  EXPECT_EQ(DumpedPayments(DumpUserData(path)), kSeededDays * 3 - 1);
}

// The input dialog's repeat button, its series dialog, and the series in the day list.
constexpr int kInputRepeat = 1007;
constexpr int kSeriesEnd = 1104, kSeriesCount = 1105, kSeriesPreview = 1108;
constexpr int kThisAndLaterChoice = 2002;  // the delete question's second command

// "Y-M-D" of a date as the state report writes it.
std::string ReportDate(std::chrono::sys_days date) {
  const std::chrono::year_month_day ymd{date};
  return std::to_string(static_cast<int>(ymd.year())) + "-" + std::to_string(static_cast<unsigned>(ymd.month())) + "-" +
         std::to_string(static_cast<unsigned>(ymd.day()));
}

// `months` after `start` on the start's day, or the month's last day where it is shorter.
std::chrono::sys_days MonthsOn(std::chrono::sys_days start, int months) {
  using namespace std::chrono;
  const year_month_day ymd{start};
  const year_month target = year_month{ymd.year(), ymd.month()} + std::chrono::months{months};
  const day last = year_month_day_last{target.year(), month_day_last{target.month()}}.day();
  return sys_days{target / (ymd.day() > last ? last : ymd.day())};
}

// A monthly payment is made a series of four in the input dialog; all four show in the totals
// and the day list marks them; "this and later" from the second removes it and the ones after,
// and the first stays (also in the saved file).
TEST_F(EditingE2E, AMonthlySeriesAddedInTheInputDialogIsListedMarkedAndCutFromADay) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  SetOption(L"AutoSave", L"True");
  LaunchShowingPayments();
  const std::chrono::sys_days today = LocalToday();
  ASSERT_TRUE(WaitStartDate(ReportDate(today)));

  HWND add = OpenAddEntryAt(DayRowPoint(0));
  ASSERT_TRUE(add);
  HWND input = ChooseLastItem(add);  // a cash payment: it stays on its day by default
  ASSERT_TRUE(input);
  EXPECT_EQ(BoxText(input, kInputRepeat), "繰り返し(&R): なし");
  SetDlgItemTextW(input, kInputName, L"家賃");
  SetDlgItemTextW(input, kInputAmount, L"50000");
  PostMessageW(input, WM_COMMAND, MAKEWPARAM(kInputRepeat, BN_CLICKED), 0);
  HWND series = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (series = FindDialogEndingWith(L"繰り返しの設定")) != nullptr; }));
  EXPECT_NE(BoxText(series, kSeriesPreview).find("24か月先までに"), std::string::npos) << BoxText(series, kSeriesPreview);
  // Four times: the end's choice, then the count.
  HWND end = GetDlgItem(series, kSeriesEnd);
  SendMessageW(end, CB_SETCURSEL, 1, 0);
  PostMessageW(series, WM_COMMAND, MAKEWPARAM(kSeriesEnd, CBN_SELCHANGE), reinterpret_cast<LPARAM>(end));
  SetDlgItemTextW(series, kSeriesCount, L"4");
  ASSERT_TRUE(WaitFor([&] { return BoxText(series, kSeriesPreview).find("全4回") != std::string::npos; }, 5000))
      << BoxText(series, kSeriesPreview);
  Screenshot(series, "series-dialog");
  PostMessageW(series, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(series); }));
  EXPECT_TRUE(IsWindow(input));
  const std::string repeat = BoxText(input, kInputRepeat);
  EXPECT_EQ(repeat.rfind("繰り返し(&R): ", 0), 0u) << repeat;
  EXPECT_EQ(repeat.find("なし"), std::string::npos) << repeat;
  Screenshot(input, "input-with-series");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));

  const std::string amount = " " + CurrencyText(50000) + ";";
  std::vector<std::chrono::sys_days> dates;
  for (int k = 0; k < 4; ++k) dates.push_back(MonthsOn(today, k));
  for (const auto date : dates) EXPECT_NE(Totals().find(ReportDate(date) + amount), std::string::npos) << Totals();
  EXPECT_EQ(Totals().find(ReportDate(MonthsOn(today, 4))), std::string::npos) << Totals();

  const std::string row = "毎月 家賃 " + CurrencyText(50000) + " (現金)";
  HWND list_dialog = OpenDayListAt(DayRowPoint(0));
  ASSERT_TRUE(list_dialog);
  EXPECT_EQ(ListViewRows(GetDlgItem(list_dialog, kDayListList)), std::vector<std::string>{row});
  PostMessageW(list_dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(list_dialog); }));

  // A month on (the calendar's own page command), the second occurrence is the first row.
  SendMessageW(Host(), WM_COMMAND, 1012, 0);  // 1ヶ月後
  ASSERT_TRUE(WaitStartDate(ReportDate(dates[1])));
  list_dialog = OpenDayListAt(DayRowPoint(0));
  ASSERT_TRUE(list_dialog);
  HWND list = GetDlgItem(list_dialog, kDayListList);
  ASSERT_EQ(ListViewRows(list), std::vector<std::string>{row});
  Screenshot(list_dialog, "series-day-list");
  SetForegroundWindow(list_dialog);
  CheckRows(list, {0});
  ASSERT_TRUE(WaitFor([&] { return CheckStates(list) == std::vector<int>{1}; }, 5000));
  PostMessageW(list_dialog, WM_COMMAND, kDayListDelete, 0);
  HWND question = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (question = FindWindowW(L"#32770", L"削除の確認")) != nullptr; }));
  HWND later = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (later = GetDlgItem(question, kThisAndLaterChoice)) != nullptr; }, 5000));
  Screenshot(question, "series-delete-question");
  PostMessageW(later, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0; }));
  EXPECT_NE(Totals().find(ReportDate(dates[0]) + amount), std::string::npos) << Totals();
  for (std::size_t k = 1; k < dates.size(); ++k)
    EXPECT_EQ(Totals().find(ReportDate(dates[k])), std::string::npos) << Totals();
  PostMessageW(list_dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(list_dialog); }));

  // AutoSave: the file holds the first occurrence alone.
  EXPECT_TRUE(WaitFor([&] { return DumpedPayments(DumpUserData(path)) == 1; }, 5000));
  Quit();
  const json dump = DumpUserData(path);
  const std::chrono::year_month_day first{dates[0]};
  const json saved = DumpedDay(dump, static_cast<int>(first.year()), static_cast<int>(static_cast<unsigned>(first.month())),
                               static_cast<int>(static_cast<unsigned>(first.day())));
  ASSERT_TRUE(saved.is_object()) << dump.dump();
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":50000,"title":"家賃"}])"));
}

}  // namespace
}  // namespace orv::e2e
