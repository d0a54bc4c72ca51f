// End-to-end: adding entries from a day, listing and deleting them, deleting whole years, and
// what the user sees when the automatic save fails.
#include "e2e_harness.hpp"

#include <algorithm>

#include "core/dates.hpp"
#include "platform/file_system.hpp"
#include "platform/win32/known_folders.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/recovery_file.hpp"
#include "../support/schedule_entries.hpp"

namespace orv::e2e {
namespace {

using nlohmann::json;

struct Day {
  int month = 0, day = 0;
};

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

// `day` in the first year of a dump that has it, or null. The scenarios' days lie within a
// year of today, so a month and day name one date.
json DumpedDay(const json& dump, const Day& day) {
  if (!dump.is_object()) return nullptr;
  for (const auto& y : dump["years"])
    if (json found = DumpedDay(dump, y["year"], day.month, day.day); found.is_object()) return found;
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

// Waits until the data file holds `count` payments, as an automatic save writes them.
bool WaitSavedPayments(const std::string& path, int count) {
  return WaitFor([&] { return DumpedPayments(DumpUserData(path)) == count; }, 5000);
}

// "12月7日 - …" of a day dialog's caption.
Day DayOfCaption(HWND dialog) {
  wchar_t caption[64] = L"";
  GetWindowTextW(dialog, caption, 64);
  Day d;
  if (swscanf(caption, L"%d月%d日", &d.month, &d.day) != 2) d = {};
  return d;
}

// "-M-D " of the state report's totals ("Y-M-D amount;"), and a day's whole total there.
std::string DayKey(const Day& day) { return "-" + std::to_string(day.month) + "-" + std::to_string(day.day) + " "; }
std::string DayTotal(const Day& day, int amount) { return DayKey(day) + CurrencyText(amount) + ";"; }

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

// Another program reading `path` without letting it be deleted: a save's replace of the file
// fails (a read-only folder does not stop it, on Windows nor under Wine).
FileHandle HoldForReading(const std::string& path) {
  return FileHandle(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

constexpr int kInputName = 1001, kInputAmount = 1002, kInputPrompt = 1005;
constexpr int kDayListList = 1001, kDayListAdd = 1002, kDayListDelete = 1003;
constexpr int kBulkList = 1001, kBulkDelete = 1002;

// Types the input dialog's name and its amount (a special day's comment) and presses OK.
void Enter(HWND input, const wchar_t* name, const wchar_t* amount) {
  SetDlgItemTextW(input, kInputName, name);
  SetDlgItemTextW(input, kInputAmount, amount);
  PostMessageW(input, WM_COMMAND, IDOK, 0);
}

// Checks exactly `rows` of a dialog's check-box list from the keyboard, waited for.
void CheckOnly(HWND dialog, HWND list, const std::vector<int>& rows) {
  std::vector<int> expected(static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)), 0);
  for (int row : rows) expected[static_cast<std::size_t>(row)] = 1;
  SetForegroundWindow(dialog);
  CheckRows(list, rows);
  ASSERT_TRUE(WaitFor([&] { return CheckStates(list) == expected; }, 5000)) << ::testing::PrintToString(CheckStates(list));
}

// Checks `rows`, gives the dialog's delete command `command` and confirms 削除の確認: the
// list loses exactly those rows.
void DeleteRows(HWND dialog, HWND list, int command, const std::vector<int>& rows) {
  const auto count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  ASSERT_NO_FATAL_FAILURE(CheckOnly(dialog, list, rows));
  PostMessageW(dialog, WM_COMMAND, command, 0);  // 削除(&D)
  HWND confirm = WaitForDialog(L"削除の確認");
  ASSERT_TRUE(confirm);
  PostMessageW(confirm, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == count - static_cast<LRESULT>(rows.size()); }));
}

class EditingE2E : public OrvantaE2E {
protected:
  using Options = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;
  enum class Seed { kEmpty, kThreePaymentsADay };

  // Writes the data file, makes it the program's, sets `options` and starts the program in
  // payment mode with the calendar as a top-level window, so that the dialogs are owned by
  // windows of their own process. The data file's path.
  std::string StartOn(Seed seed, Options options = {}) {
    const std::string path = DataFile("data.orv");
    if (seed == Seed::kEmpty) WriteEmptyData(path);
    else WriteThreePaymentsADay(path);
    StartOnFile(path, options);
    return path;
  }
  void StartOnFile(const std::string& path, Options options = {}) {
    StoreDataPath(path);
    for (const auto& [name, value] : options) SetOption(name, value);
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
  // The day list's 予定の追加(&A): the add-entry dialog on top of the list.
  static HWND AddFromDayList(HWND list_dialog) {
    PostMessageW(list_dialog, WM_COMMAND, kDayListAdd, 0);
    HWND add = nullptr;
    WaitFor([&] { return (add = FindDialogEndingWith(L"日 - 予定の追加")) != nullptr; });
    return add;
  }
  // Chooses the add list's last item (the cash payment's catch-all item) and waits for the
  // input dialog. One wheel notch toward the user moves five items on, which the list clamps
  // to its last.
  static HWND ChooseLastItem(HWND add) {
    SendMessageW(add, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
    PostMessageW(add, WM_COMMAND, IDOK, 0);
    HWND input = nullptr;
    WaitFor([&] { return (input = FindDialogEndingWith(L"予定の追加（入力）")) != nullptr; });
    return input;
  }
  // Adds a cash payment to the middle row's day and presses OK in the input dialog, which
  // `input` names; the day, or an empty one when a dialog did not come.
  Day EnterCashPayment(const wchar_t* name, const wchar_t* amount, HWND& input) {
    input = nullptr;
    HWND add = OpenAddEntry();
    EXPECT_TRUE(add);
    if (!add) return {};
    const Day day = DayOfCaption(add);
    input = ChooseLastItem(add);
    EXPECT_TRUE(input);
    if (!input) return {};
    Enter(input, name, amount);
    return day;
  }
  // The same, waiting until the input dialog has closed.
  Day AddCashPayment(const wchar_t* name, const wchar_t* amount) {
    HWND input = nullptr;
    const Day day = EnterCashPayment(name, amount, input);
    EXPECT_TRUE(input && WaitFor([&] { return !IsWindow(input); }));
    return day;
  }
  // Presses OK in the input dialog with invalid values: the information message comes, names
  // the problem, and after it the dialog is still open with what was typed.
  void ExpectRefused(HWND input, const wchar_t* name, const wchar_t* amount) {
    Enter(input, name, amount);
    HWND box = WaitForDialog(L"値の入力について");
    ASSERT_TRUE(box) << WideToUtf8(name) << " / " << WideToUtf8(amount);
    EXPECT_TRUE(ShowsText(box, "値が正しく入力されていません"));
    ASSERT_TRUE(CloseWith(box, IDOK));
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
      int n = 0;
      for (const char* title : {"A", "B", "C"}) {
        ++n;
        test::AddPayment(years, today + std::chrono::days{offset}, title, n * 100, n == 2 ? 1 : 0);
      }
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
  // 予定の一括削除(&D)... from the tray.
  HWND OpenBulkDeletion() {
    PostMessageW(Host(), WM_COMMAND, 1002, 0);
    return WaitForDialog(L"予定の一括削除");
  }
  std::string Totals() { return Field(reporter_.Ask(Host()), "Totals"); }
  // Whether the calendar's totals hold `text`; either way the message shows them.
  ::testing::AssertionResult TotalsHave(const std::string& text) {
    const std::string totals = Totals();
    if (totals.find(text) != std::string::npos) return ::testing::AssertionSuccess() << totals << " has " << text;
    return ::testing::AssertionFailure() << totals << " lacks " << text;
  }
  bool DialogShowing() { return Field(reporter_.Ask(Host()), "DialogShowing") == "1"; }
};

// The input dialog takes the add-entry dialog's place: where the user moved it to. Cancelled
// there, it adds nothing; the second time the payment goes in, the row shows it and the quit
// saves it.
TEST_F(EditingE2E, DoubleClickADayAddsACashPaymentThatTheQuitSaves) {
  const std::string path = StartOn(Seed::kEmpty);
  const RECT band = MiddleBand();
  const std::vector<COLORREF> before = ScreenPixels(band);
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
  ASSERT_TRUE(CloseWith(input, IDCANCEL));

  add = OpenAddEntry();
  ASSERT_TRUE(add);
  const Day day = DayOfCaption(add);
  ASSERT_NE(day.month, 0) << WideToUtf8(Caption(add));
  EXPECT_TRUE(DialogShowing());  // the tray ignores clicks
  input = ChooseLastItem(add);
  ASSERT_TRUE(input);
  EXPECT_EQ(BoxText(input, kInputPrompt), "現金支払いの内容を入力してください");
  Enter(input, L"家賃", L"1500");
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  EXPECT_FALSE(DialogShowing());
  // The day's row shows the total as the user's regional settings write an amount.
  EXPECT_TRUE(TotalsHave(DayTotal(day, 1500)));
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(band) != before; }, 5000)) << "the row was not redrawn";
  Quit();

  const json dump = DumpUserData(path);
  ASSERT_TRUE(dump.is_object());
  EXPECT_EQ(DumpedPayments(dump), 1);
  const json saved = DumpedDay(dump, day);
  ASSERT_TRUE(saved.is_object()) << dump.dump();
  EXPECT_EQ(saved["totalPaymentPrice"], 1500);
  EXPECT_EQ(saved["totalCash"], true);
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":1500,"title":"家賃"}])"));
  for (const auto& list : dump["presets"]) EXPECT_TRUE(list.empty()) << dump["presets"];  // no Shift, no preset
}

TEST_F(EditingE2E, InvalidInputIsRefusedAndShiftEnterStoresThePreset) {
  const std::string path = StartOn(Seed::kEmpty, {{L"ShiftAuto", L"True"}});

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
  Enter(input, L"記念日", L"");  // no Shift: no preset
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  add = OpenAddEntry();
  ASSERT_TRUE(add);
  EXPECT_EQ(DayOfCaption(add).day, day.day);
  input = ChooseLastItem(add);  // 一覧にない現金支払い
  ASSERT_TRUE(input);
  for (const wchar_t* amount : {L"0", L"abc", L""}) ExpectRefused(input, L"電気", amount);
  SetDlgItemTextW(input, kInputAmount, L"1,234");  // digit grouping as the user writes amounts
  // Shift+Enter from the keyboard, as the user presses it in the dialog.
  SetForegroundWindow(input);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == input; }, 5000));
  TypeKeys({VK_SHIFT}, VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));

  Quit();

  const json dump = DumpUserData(path);
  const json saved = DumpedDay(dump, day);
  ASSERT_TRUE(saved.is_object()) << dump.dump();
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":1234,"title":"電気"}])"));
  EXPECT_EQ(saved["specials"], json::parse(R"([{"verySpecial":false,"comment":"","title":"記念日"}])"));
  EXPECT_EQ(dump["presets"]["cashPayments"], json::parse(R"(["電気"])"));
  EXPECT_TRUE(dump["presets"]["specialDays"].empty());
  EXPECT_TRUE(dump["presets"]["automaticTransfers"].empty());
}

TEST_F(EditingE2E, DayListDeletesTheCheckedEntriesAndSavesAtOnce) {
  const std::string path = StartOn(Seed::kThreePaymentsADay, {{L"AutoSave", L"True"}});
  const RECT band = MiddleBand();
  const std::vector<COLORREF> before = ScreenPixels(band);

  HWND dialog = OpenDayList();
  ASSERT_TRUE(dialog);
  const Day day = DayOfCaption(dialog);
  EXPECT_TRUE(DialogShowing());
  HWND list = GetDlgItem(dialog, kDayListList);
  const std::vector<std::string> rows = ListViewRows(list);
  EXPECT_EQ(rows, (std::vector<std::string>{"A " + CurrencyText(100) + " (自動振替)", "B " + CurrencyText(200) + " (現金)",
                                            "C " + CurrencyText(300) + " (自動振替)"}));
  EXPECT_TRUE(TotalsHave(DayTotal(day, 600)));

  ASSERT_NO_FATAL_FAILURE(DeleteRows(dialog, list, kDayListDelete, {0, 2}));
  EXPECT_EQ(ListViewRows(list), std::vector<std::string>{"B " + CurrencyText(200) + " (現金)"});
  EXPECT_TRUE(TotalsHave(DayTotal(day, 200)));
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(band) != before; }, 5000)) << "the row was not redrawn";

  // AutoSave: the file holds the deletion before the program ends.
  json dump;
  ASSERT_TRUE(WaitFor([&] {
    dump = DumpUserData(path);
    const json saved = DumpedDay(dump, day);
    return saved.is_object() && saved["payments"].size() == 1;
  }, 5000)) << dump.dump();
  const json saved = DumpedDay(dump, day);
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":200,"title":"B"}])"));
  EXPECT_EQ(saved["totalPaymentPrice"], 200);
  EXPECT_EQ(saved["totalCash"], true);
  EXPECT_EQ(DumpedPayments(dump), kSeededDays * 3 - 2);  // the other days keep theirs

  // Adding from the list: the add-entry dialogs run on top of it, then the list, the totals
  // and the file follow.
  HWND add = AddFromDayList(dialog);
  ASSERT_TRUE(add);
  EXPECT_EQ(DayOfCaption(add).day, day.day);
  HWND input = ChooseLastItem(add);
  ASSERT_TRUE(input);
  Enter(input, L"D", L"400");
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }));
  EXPECT_EQ(ListViewRows(list), (std::vector<std::string>{"B " + CurrencyText(200) + " (現金)", "D " + CurrencyText(400) + " (現金)"}));
  EXPECT_TRUE(TotalsHave(DayTotal(day, 600)));
  EXPECT_TRUE(WaitSavedPayments(path, kSeededDays * 3 - 1));

  ASSERT_TRUE(CloseWith(dialog));
  EXPECT_FALSE(DialogShowing());
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
        AddNewEntry(years, parts, {kAutomaticTransfers, "", 1000, {}});
      }
    }
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  }
  StartOnFile(path);
  ASSERT_FALSE(Totals().empty());
  const RECT calendar = WholeCalendar();
  const std::vector<COLORREF> before = ScreenPixels(calendar);

  HWND dialog = OpenBulkDeletion();
  ASSERT_TRUE(dialog);
  // The caption comes before the list is filled.
  HWND list = nullptr;
  const std::string current = std::to_string(now.Year);
  const std::vector<std::string> rows{current + "年", "2019年", "2018年"};
  ASSERT_TRUE(WaitFor([&] { return (list = GetDlgItem(dialog, kBulkList)) && ListViewRows(list) == rows; }, 5000))
      << ::testing::PrintToString(ListViewRows(list));
  ASSERT_NO_FATAL_FAILURE(DeleteRows(dialog, list, kBulkDelete, {0, 2}));
  EXPECT_EQ(ListViewRows(list), std::vector<std::string>{"2019年"});
  EXPECT_EQ(CheckStates(list), std::vector<int>{0});
  const std::string totals = Totals();
  EXPECT_EQ(totals.rfind("2019-" + std::to_string(now.Month) + "-" + std::to_string(now.Day) + " " + CurrencyText(1000) + ";", 0), 0u)
      << totals;
  EXPECT_EQ(totals.find(current + "-"), std::string::npos) << totals;
  EXPECT_EQ(totals.find("2018-"), std::string::npos) << totals;
  // The calendar has lost this year's totals on the screen.
  EXPECT_TRUE(WaitFor([&] { return ScreenPixels(calendar) != before; }, 5000)) << "the calendar was not redrawn";
  ASSERT_TRUE(CloseWith(dialog));
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
  const std::string path = StartOn(Seed::kThreePaymentsADay, {{L"AutoSave", L"True"}});
  // The bulk deletion opens first: the tray takes no command while a day's dialog is up.
  HWND years = OpenBulkDeletion();
  ASSERT_TRUE(years);
  HWND year_list = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (year_list = GetDlgItem(years, kBulkList)) && !ListViewRows(year_list).empty(); }, 5000));
  HWND dialog = OpenDayList();
  ASSERT_TRUE(dialog);
  const Day day = DayOfCaption(dialog);
  HWND list = GetDlgItem(dialog, kDayListList);
  ASSERT_EQ(ListViewRows(list).size(), 3u);
  // The listed day's year, from the calendar's totals ("Y-M-D amount;").
  const std::string tail = DayKey(day);
  const std::string totals = Totals();
  const auto at = totals.find(tail);
  ASSERT_NE(at, std::string::npos) << totals;
  const auto semicolon = totals.rfind(';', at);
  const std::size_t from = semicolon == std::string::npos ? 0 : semicolon + 1;
  const std::string year = totals.substr(from, totals.find('-', from) - from);
  const std::vector<std::string> year_rows = ListViewRows(year_list);
  const auto row = std::find(year_rows.begin(), year_rows.end(), year + "年");
  ASSERT_NE(row, year_rows.end()) << year;

  ASSERT_NO_FATAL_FAILURE(DeleteRows(years, year_list, kBulkDelete, {static_cast<int>(row - year_rows.begin())}));
  EXPECT_FALSE(TotalsHave(year + tail));

  // Back on the day list: the day as it is now, without entries.
  SetForegroundWindow(dialog);
  EXPECT_TRUE(WaitFor([&] { return ListViewRows(list).empty(); }, 5000)) << ::testing::PrintToString(ListViewRows(list));
  HWND add = AddFromDayList(dialog);
  ASSERT_TRUE(add);
  HWND input = ChooseLastItem(add);
  ASSERT_TRUE(input);
  Enter(input, L"D", L"400");
  ASSERT_TRUE(WaitFor([&] { return ListViewRows(list) == std::vector<std::string>{"D " + CurrencyText(400) + " (現金)"}; }))
      << ::testing::PrintToString(ListViewRows(list));
  EXPECT_TRUE(TotalsHave(year + DayTotal(day, 400)));

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
  ASSERT_TRUE(CloseWith(dialog));
  PostMessageW(years, WM_COMMAND, IDCANCEL, 0);
  Quit();
}

TEST_F(EditingE2E, AFailedAutomaticSaveIsReportedAndLosesNothing) {
  const std::string path = StartOn(Seed::kEmpty, {{L"AutoSave", L"True"}});
  FileHandle reader = HoldForReading(path);
  ASSERT_TRUE(reader);
  // The path is read once at start; the save stores it again whatever its result.
  SetText(HKEY_CURRENT_USER, kUserDataKey, L"FileName", L"");

  HWND input = nullptr;
  const Day day = EnterCashPayment(L"家賃", L"50000", input);
  ASSERT_TRUE(input);
  HWND box = WaitForDialog(L"データの保存エラー");
  ASSERT_TRUE(box);
  EXPECT_TRUE(ShowsText(box, "ユーザーデータを保存する事が出来ませんでした!"));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) && !IsWindow(input); }));

  EXPECT_EQ(WideToUtf8(GetText(kUserDataKey, L"FileName")), path);
  // The file is as it was, no temporary file is left beside it, and the entry is in memory.
  const json unchanged = DumpUserData(path);
  ASSERT_TRUE(unchanged.is_object());
  EXPECT_EQ(DumpedPayments(unchanged), 0);
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    EXPECT_NE(entry.path().extension(), L".tmp") << entry.path().string();
  EXPECT_TRUE(TotalsHave(DayTotal(day, 50000)));

  // Once the other program lets go, the quit saves everything.
  reader.reset();
  Quit();
  const json dump = DumpUserData(path);
  const json saved = DumpedDay(dump, day);
  ASSERT_TRUE(saved.is_object()) << dump.dump();
  EXPECT_EQ(saved["payments"], json::parse(R"([{"kind":1,"price":50000,"title":"家賃"}])"));
}

// The user's recovery folder, emptied for a scenario and after it.
class RecoveryE2E : public EditingE2E {
protected:
  void TearDown() override {
    EditingE2E::TearDown();
    EmptyRecoveryFolder();
  }
  // The seeded data file, started on with AutoSave off (only the quit saves), and a cash
  // payment of 777 titled "E" added to the middle row's day, `day_`.
  void StartAndAddOnePayment() {
    path_ = StartOn(Seed::kThreePaymentsADay);
    ASSERT_NO_FATAL_FAILURE(AddOnePayment());
  }
  void AddOnePayment() {
    day_ = AddCashPayment(L"E", L"777");
    ASSERT_NE(day_.month, 0);
  }
  // Another program holds the data file (see HoldForReading) until `reader_` lets it go.
  void HoldTheFile() {
    reader_ = HoldForReading(path_);
    ASSERT_TRUE(reader_);
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
  // The offer of unsaved edits at the start, once it lists the added payment, and two of its
  // buttons.
  static constexpr int kRestoreIntoSchedule = 1001, kKeepForLater = 1002;
  static void PressTaskButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
  }
  static HWND WaitForRestoreOffer() {
    HWND box = WaitForDialog(L"保存されていない予定の復元");
    EXPECT_TRUE(box && ShowsText(box, "E 777"));
    return box;
  }
  const std::string folder_ = RecoveryFolderOfUser();
  std::string path_;
  Day day_;
  FileHandle reader_;
};

// Another program holds the file at the quit: the session's schedule goes to a recovery file,
// the message says where, and the next start points to it again.
TEST_F(RecoveryE2E, ALockedFileAtTheQuitSendsTheSessionToARecoveryFile) {
  ASSERT_NO_FATAL_FAILURE(StartAndAddOnePayment());
  ASSERT_NO_FATAL_FAILURE(HoldTheFile());
  SendMessageW(Host(), WM_COMMAND, 1032, 0);  // 終了(&Q)
  HWND box = WaitForDialog(L"データの保存エラー");
  ASSERT_TRUE(box);
  ASSERT_TRUE(ShowsText(box, folder_));
  ASSERT_EQ(RecoveryFilesOfUser().size(), 1u);
  const std::string recovery = RecoveryFilesOfUser()[0];
  EXPECT_TRUE(ShowsText(box, "ユーザーデータを保存する事が出来ませんでした!"));
  EXPECT_TRUE(ShowsText(box, "このセッションの予定は、次の復旧用ファイルに保存しました:\r\n" + recovery));
  Screenshot(box, "save-error-at-quit");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_NO_FATAL_FAILURE(WaitEnded());
  reader_.reset();
  EXPECT_EQ(DumpedPayments(DumpUserData(path_)), kSeededDays * 3) << "the file is as it was";
  ExpectEveryEntry(recovery, day_);

  // The next start offers it; kept for later, it is offered again at the start after.
  for (int start = 1; start <= 2; ++start) {
    const std::string pending = RecoveryFilesOfUser().at(0);
    Launch();
    box = WaitForRestoreOffer();
    ASSERT_TRUE(box);
    EXPECT_TRUE(ShowsText(box, pending.substr(pending.find_last_of('\\') + 1)));
    if (start == 1) Screenshot(box, "restore-offer-failed-save");
    PressTaskButton(box, kKeepForLater);
    ASSERT_TRUE(WaitShown());
    Quit();
    ASSERT_EQ(RecoveryFilesOfUser().size(), 1u) << "left for the user";
    ExpectEveryEntry(RecoveryFilesOfUser()[0], day_);
  }
  EXPECT_EQ(DumpedPayments(DumpUserData(path_)), kSeededDays * 3) << "not restored";
}

// The program is killed (a crash, a power cut) with an edit that was never saved: the edit
// was durable within a second, and the next start offers it back and restores every entry.
TEST_F(RecoveryE2E, TheEditsOfAKilledSessionAreRestoredAtTheNextStart) {
  ASSERT_NO_FATAL_FAILURE(StartAndAddOnePayment());
  ASSERT_TRUE(WaitFor([&] { return RecoveryFilesOfUser().size() == 1; }, 10000)) << "journalled";
  ASSERT_TRUE(TerminateProcess(orvanta_.get(), 1));
  ASSERT_NO_FATAL_FAILURE(WaitEnded());
  ASSERT_EQ(DumpedPayments(DumpUserData(path_)), kSeededDays * 3) << "never saved";
  ExpectEveryEntry(RecoveryFilesOfUser()[0], day_);

  Launch();
  HWND box = WaitForRestoreOffer();
  ASSERT_TRUE(box);
  Screenshot(box, "restore-offer");
  PressTaskButton(box, kRestoreIntoSchedule);
  ASSERT_TRUE(WaitShown());
  // Restored into the schedule and saved at once: every entry is in the data file.
  ExpectEveryEntry(path_, day_);
  EXPECT_TRUE(RecoveryFilesOfUser().empty());
  Quit();
  ExpectEveryEntry(path_, day_);
}

// orvtool imports into the data file while the calendar runs with an unsaved edit: the import
// is merged in at once (one message says what came), and the quit saves both.
TEST_F(RecoveryE2E, AnImportWhileTheCalendarRunsIsKeptWithTheSessionsEdits) {
  ASSERT_NO_FATAL_FAILURE(StartAndAddOnePayment());
  const DateParts later = SplitDate(LocalToday() + std::chrono::days{200});
  char row[128];
  std::snprintf(row, sizeof row, "%04d-%02d-%02d,payment,automatic,取込,4321,,\r\n", later.Year, later.Month, later.Day);
  const std::string rows = DataFile("rows.csv");
  test::WriteBytes(rows, std::string("date,kind,payment_kind,name,amount,very_special,comment\r\n") + row);
  ASSERT_EQ(RunOrvtool(L"import --format csv \"" + Utf8ToWide(path_) + L"\" \"" + Utf8ToWide(rows) + L"\""), 0);
  HWND box = WaitForDialog(L"ユーザーデータの統合");
  ASSERT_TRUE(box);
  ASSERT_TRUE(ShowsText(box, "取込"));
  Screenshot(box, "merged-import");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  Quit();
  ExpectEveryEntry(path_, day_, 1);
  const json imported = DumpedDay(DumpUserData(path_), later.Year, later.Month, later.Day);
  ASSERT_TRUE(imported.is_object());
  EXPECT_EQ(imported["payments"], json::parse(R"([{"kind":0,"price":4321,"title":"取込"}])"));
}

// Another writer (a sync client bringing another PC's version) rewrites the file twice: with
// nothing unsaved the calendar simply shows the new version; the second time, right before
// the quit, under an unsaved edit, the quit merges it instead of writing over it.
TEST_F(RecoveryE2E, AFileRewrittenByAnotherWriterIsShownAndNeverOverwritten) {
  const std::string path = path_ = StartOn(Seed::kThreePaymentsADay);
  const DateParts today = SplitDate(LocalToday());
  auto rewrite = [&](const char* title, std::int32_t amount) {
    YearDatas years;
    DefaultUserListArray lists;
    ASSERT_EQ(sfLoadUserData(path, years, lists), "");
    AddNewEntry(years, today, {kCashPayments, title, amount, {}});
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  };
  rewrite("他", 5);
  const std::string total = DayTotal({today.Month, today.Day}, 605);
  EXPECT_TRUE(WaitFor([&] { return static_cast<bool>(TotalsHave(total)); }, 5000)) << TotalsHave(total).message();
  ASSERT_NO_FATAL_FAILURE(AddOnePayment());
  rewrite("他2", 7);
  SendMessageW(Host(), WM_COMMAND, 1032, 0);  // 終了(&Q)
  HWND box = WaitForDialog(L"ユーザーデータの統合");
  ASSERT_TRUE(box);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_NO_FATAL_FAILURE(WaitEnded());
  ExpectEveryEntry(path, day_, 2);
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
  ASSERT_NO_FATAL_FAILURE(StartAndAddOnePayment());
  ASSERT_NO_FATAL_FAILURE(HoldTheFile());
  SendMessageW(Host(), WM_COMMAND, 1032, 0);  // 終了(&Q)
  Sleep(1000);
  EXPECT_EQ(WaitForSingleObject(orvanta_.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still trying";
  reader_.reset();
  ASSERT_NO_FATAL_FAILURE(WaitEnded());
  EXPECT_EQ(FindWindowW(L"#32770", L"データの保存エラー"), nullptr);
  ExpectEveryEntry(path_, day_);
  EXPECT_TRUE(RecoveryFilesOfUser().empty());
}

// At the end of the Windows session there is no time to ask: the recovery file is written and
// the program ends without a word; each failure gets a file of its own.
TEST_F(RecoveryE2E, ALockedFileAtTheEndOfTheSessionOnlyWritesARecoveryFile) {
  // It does not load: nothing is offered at the start, and it stays. (An hour older than
  // the data file written after it.)
  const std::string earlier = FileInFolder(folder_, "data-20000101-000000.ORV");
  test::WriteBytes(earlier, "an earlier failure's");
  std::filesystem::last_write_time(test::FsPath(earlier), std::filesystem::last_write_time(test::FsPath(earlier)) - std::chrono::hours(1));
  ASSERT_NO_FATAL_FAILURE(StartAndAddOnePayment());
  ASSERT_NO_FATAL_FAILURE(HoldTheFile());
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(Host(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
  ASSERT_TRUE(SendMessageTimeoutW(Host(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer));
  ASSERT_NO_FATAL_FAILURE(WaitEnded());
  reader_.reset();
  std::vector<std::string> files = RecoveryFilesOfUser();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(test::ReadBytes(earlier), "an earlier failure's");
  std::erase(files, earlier);
  ASSERT_EQ(files.size(), 1u);
  ExpectEveryEntry(files[0], day_);
}

TEST_F(EditingE2E, EndingTheSessionWithTheDayDialogsOpenSavesAndEndsCleanly) {
  const std::string path = StartOn(Seed::kThreePaymentsADay);  // AutoSave off: only the ending saves
  HWND dialog = OpenDayList();
  ASSERT_TRUE(dialog);
  ASSERT_NO_FATAL_FAILURE(DeleteRows(dialog, GetDlgItem(dialog, kDayListList), kDayListDelete, {1}));
  // The day list, the add-entry dialog and the input dialog on top of each other.
  HWND add = AddFromDayList(dialog);
  ASSERT_TRUE(add);
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
  const std::string path = StartOn(Seed::kEmpty, {{L"AutoSave", L"True"}});
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
  ASSERT_TRUE(CloseWith(series, IDOK));
  EXPECT_TRUE(IsWindow(input));
  const std::string repeat = BoxText(input, kInputRepeat);
  EXPECT_EQ(repeat.rfind("繰り返し(&R): ", 0), 0u) << repeat;
  EXPECT_EQ(repeat.find("なし"), std::string::npos) << repeat;
  Screenshot(input, "input-with-series");
  ASSERT_TRUE(CloseWith(input, IDOK));

  const std::string amount = " " + CurrencyText(50000) + ";";
  std::vector<std::chrono::sys_days> dates;
  for (int k = 0; k < 4; ++k) dates.push_back(MonthsOn(today, k));
  for (const auto date : dates) EXPECT_TRUE(TotalsHave(ReportDate(date) + amount));
  EXPECT_FALSE(TotalsHave(ReportDate(MonthsOn(today, 4))));

  const std::string row = "毎月 家賃 " + CurrencyText(50000) + " (現金)";
  HWND list_dialog = OpenDayListAt(DayRowPoint(0));
  ASSERT_TRUE(list_dialog);
  EXPECT_EQ(ListViewRows(GetDlgItem(list_dialog, kDayListList)), std::vector<std::string>{row});
  ASSERT_TRUE(CloseWith(list_dialog));

  // A month on (the calendar's own page command), the second occurrence is the first row.
  SendMessageW(Host(), WM_COMMAND, 1012, 0);  // 1ヶ月後
  ASSERT_TRUE(WaitStartDate(ReportDate(dates[1])));
  list_dialog = OpenDayListAt(DayRowPoint(0));
  ASSERT_TRUE(list_dialog);
  HWND list = GetDlgItem(list_dialog, kDayListList);
  ASSERT_EQ(ListViewRows(list), std::vector<std::string>{row});
  Screenshot(list_dialog, "series-day-list");
  ASSERT_NO_FATAL_FAILURE(CheckOnly(list_dialog, list, {0}));
  PostMessageW(list_dialog, WM_COMMAND, kDayListDelete, 0);
  HWND question = WaitForDialog(L"削除の確認");
  ASSERT_TRUE(question);
  HWND later = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (later = GetDlgItem(question, kThisAndLaterChoice)) != nullptr; }, 5000));
  Screenshot(question, "series-delete-question");
  PostMessageW(later, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0; }));
  EXPECT_TRUE(TotalsHave(ReportDate(dates[0]) + amount));
  for (std::size_t k = 1; k < dates.size(); ++k)
    EXPECT_FALSE(TotalsHave(ReportDate(dates[k])));
  ASSERT_TRUE(CloseWith(list_dialog));

  // AutoSave: the file holds the first occurrence alone.
  EXPECT_TRUE(WaitSavedPayments(path, 1));
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
