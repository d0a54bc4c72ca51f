// End-to-end: the user's data files beside the program. Opening another data file and starting
// a new one from the tray, bringing back a backup, the copies a sync client leaves beside the
// file, and a file another program holds for long: each time what the user sees, and what
// ends up in which file.
#include "e2e_harness.hpp"

#include <algorithm>

#include "core/dates.hpp"
#include "platform/file_system.hpp"
#include "platform/win32/known_folders.hpp"
#include "schedule/backups.hpp"
#include "schedule/new_entry.hpp"
#include "series/series.hpp"

namespace orv::e2e {
namespace {

using nlohmann::json;

constexpr int kInputName = 1001, kInputAmount = 1002;
constexpr int kDayListList = 1001, kDayListDelete = 1003;
constexpr WPARAM kOpenDataFile = 1060, kNewDataFile = 1061, kRestoreBackup = 1062;
// The backup list's buttons, and the messages of the task dialog.
constexpr int kMergeBackup = 1101, kReplaceBackup = 1102;
constexpr UINT kClickRadioButton = WM_USER + 110, kClickButton = WM_USER + 102;

struct Payment {
  int offset;  // days from today
  const char* title;
  int amount;
};

// A data file with cash payments on days counted from today.
void WritePayments(const std::string& path, std::initializer_list<Payment> payments) {
  YearDatas years;
  DefaultUserListArray lists;
  for (const Payment& p : payments)
    AddNewEntry(years, SplitDate(LocalToday() + std::chrono::days{p.offset}), {kCashPayments, p.title, p.amount, {}});
  ASSERT_EQ(sfSaveUserData(path, years, lists), "");
}

// Every payment of a data file as "title amount", sorted: what the file holds, wherever it is.
std::vector<std::string> PaymentsIn(const std::string& path) {
  std::vector<std::string> found;
  const json dump = DumpUserData(path);
  if (!dump.is_object()) return {"(does not load)"};
  for (const auto& y : dump["years"])
    for (const auto& m : y["months"])
      for (const auto& d : m["days"])
        for (const auto& p : d["payments"])
          found.push_back(p["title"].get<std::string>() + " " + std::to_string(p["price"].get<int>()));
  std::sort(found.begin(), found.end());
  return found;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

class DataFilesE2E : public OrvantaE2E {
protected:
  void SetUp() override {
    OrvantaE2E::SetUp();
    backups_ = LocalAppDataFolder();
    for (const char* part : kBackupFolderParts) backups_ = FileInFolder(backups_, part);
    EmptyBackups();
  }
  void TearDown() override {
    OrvantaE2E::TearDown();
    EmptyBackups();
  }
  void EmptyBackups() {
    for (const std::string& name : FilesIn(backups_)) DeleteFileW(Utf8ToWide(FileInFolder(backups_, name)).c_str());
  }
  // Payment mode, the calendar a top-level window of its own.
  void LaunchShowingPayments() {
    StopProgman();
    Launch();
    ASSERT_TRUE(WaitShown());
    SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
  }
  // The day totals the calendar draws from, "Y-M-D amount;" each.
  std::string Totals() { return Field(reporter_.Ask(Host()), "Totals"); }
  // Whether the calendar's schedule has a day totalling `amount` (and nothing when `shown` is
  // false), waited for.
  bool Shows(int amount, bool shown = true) {
    const std::string text = " " + CurrencyText(amount) + ";";
    return WaitFor([&] { return (Totals().find(text) != std::string::npos) == shown; }, 5000);
  }
  // Adds a cash payment to the middle row's day through the add-entry and input dialogs; the
  // day then totals `day_total`.
  void AddPayment(const wchar_t* title, int amount, int day_total = 0) {
    HWND add = OpenAddEntryAt(MiddleDayRow());
    ASSERT_TRUE(add);
    // One wheel notch toward the user clamps the list to its last item, the cash catch-all.
    SendMessageW(add, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
    PostMessageW(add, WM_COMMAND, IDOK, 0);
    HWND input = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (input = FindDialogEndingWith(L"予定の追加（入力）")) != nullptr; }));
    SetDlgItemTextW(input, kInputName, title);
    SetDlgItemTextW(input, kInputAmount, std::to_wstring(amount).c_str());
    PostMessageW(input, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
    ASSERT_TRUE(Shows(day_total ? day_total : amount)) << Totals();
  }
  // A tray command that opens the file dialog; the dialog, or nullptr.
  HWND FileDialogOf(WPARAM command) {
    PostMessageW(Host(), WM_COMMAND, command, 0);
    HWND files = nullptr;
    WaitFor([&] { return (files = FindWindowW(nullptr, L"ファイルを開く / ファイル名をつけて保存")) != nullptr; });
    return files;
  }
  // The message box or task dialog titled `title` once its text holds `part`; nullptr when
  // it does not come.
  static HWND WaitForBox(const wchar_t* title, const std::string& part = {}) {
    HWND box = nullptr;
    const bool came = WaitFor([&] {
      box = FindWindowW(L"#32770", title);
      return box && StaticTexts(box).find(part) != std::string::npos;
    });
    if (!came && box) std::fprintf(stderr, "the box has no \"%s\":\n%s\n", part.c_str(), StaticTexts(box).c_str());
    return came ? box : nullptr;
  }
  static void Press(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  }
  // The backup list once it stands on the screen (its radio buttons are made one by one).
  static HWND ShownChooser() {
    HWND chooser = FindWindowW(L"#32770", L"バックアップから復元");
    return chooser && IsWindowVisible(chooser) ? chooser : nullptr;
  }
  std::string StoredPath() { return WideToUtf8(GetText(kUserDataKey, L"FileName")); }

  std::string backups_;
};

// The radio buttons of a task dialog: their texts and ids, in order.
std::vector<std::pair<std::string, int>> RadioButtons(HWND dialog) {
  std::vector<std::pair<std::string, int>> radios;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t class_name[16] = L"";
    GetClassNameW(child, class_name, 16);
    const LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
    if (_wcsicmp(class_name, L"Button") != 0 || (type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON)) continue;
    wchar_t text[256] = L"";
    GetWindowTextW(child, text, 256);
    radios.emplace_back(WideToUtf8(text), GetDlgCtrlID(child));
  }
  return radios;
}

// The user works in one file, opens another from the tray, edits there, and starts the
// program again: the first file kept its edit, the other file shows and takes the new ones,
// and it is the file of the next start. Then a new file: empty, and created by the quit.
TEST_F(DataFilesE2E, AnotherDataFileOpensSavesTheCurrentOneFirstAndStaysChosen) {
  const std::string first = DataFile("first.orv"), second = DataFile("second.orv"), third = DataFile("third.orv");
  WritePayments(first, {{200, "一", 1111}});
  WritePayments(second, {{201, "二", 2222}});
  StoreDataPath(first);
  LaunchShowingPayments();  // AutoSave off: only the switch and the quit save
  ASSERT_TRUE(Shows(1111));
  AddPayment(L"E", 777);
  const std::string menu = OpenTrayMenuAndDescribe(reporter_, Host());
  for (const char* item : {"データファイルを開く...\n", "新しいデータファイル...\n", "バックアップから復元...\n"})
    EXPECT_NE(menu.find(item), std::string::npos) << item << " in the tray menu:\n" << menu;

  // "データファイルを開く...": the current file holds the edit before the dialog even opens.
  HWND files = FileDialogOf(kOpenDataFile);
  ASSERT_TRUE(files);
  EXPECT_EQ(PaymentsIn(first), (std::vector<std::string>{"E 777", "一 1111"}));
  Screenshot(files, "open-data-file");
  ASSERT_TRUE(ChooseFile(files, second));
  EXPECT_TRUE(Shows(2222)) << Totals();
  EXPECT_TRUE(Shows(1111, false)) << Totals();
  EXPECT_TRUE(Shows(777, false)) << Totals();
  EXPECT_EQ(StoredPath(), second) << "chosen at once, not only at the quit";
  AddPayment(L"F", 888);
  Quit();
  EXPECT_EQ(PaymentsIn(second), (std::vector<std::string>{"F 888", "二 2222"}));
  EXPECT_EQ(PaymentsIn(first), (std::vector<std::string>{"E 777", "一 1111"})) << "left as it was";
  EXPECT_EQ(StoredPath(), second);

  // The next start opens the chosen file.
  LaunchShowingPayments();
  EXPECT_TRUE(Shows(2222)) << Totals();
  EXPECT_TRUE(Shows(888)) << Totals();
  EXPECT_TRUE(Shows(1111, false)) << Totals();

  // "新しいデータファイル..." named after a file that exists: asked first, No changes nothing.
  files = FileDialogOf(kNewDataFile);
  ASSERT_TRUE(files);
  ASSERT_TRUE(ChooseFile(files, first));
  HWND question = WaitForBox(L"ユーザーデータファイル", NameOf(first));
  ASSERT_TRUE(question) << "the question about the existing file";
  EXPECT_NE(StaticTexts(question).find("既にあります"), std::string::npos) << StaticTexts(question);
  Press(question, IDNO);
  EXPECT_TRUE(Shows(2222)) << Totals();
  EXPECT_EQ(StoredPath(), second);

  // A new name: an empty schedule, which the quit creates with the edit made in it.
  files = FileDialogOf(kNewDataFile);
  ASSERT_TRUE(files);
  ASSERT_TRUE(ChooseFile(files, third));
  EXPECT_TRUE(WaitFor([&] { return Totals().empty(); }, 5000)) << Totals();
  EXPECT_FALSE(std::filesystem::exists(test::FsPath(third))) << "created by the first save";
  AddPayment(L"G", 999);
  Quit();
  EXPECT_EQ(PaymentsIn(third), (std::vector<std::string>{"G 999"}));
  EXPECT_EQ(PaymentsIn(second), (std::vector<std::string>{"F 888", "二 2222"}));
  EXPECT_EQ(StoredPath(), third);
}

// Saves keep the versions they replace; after deleting by mistake the user opens
// "バックアップから復元...", sees each backup's date, size and entry count, and merges the
// newest back in: the deleted entries return. Putting the oldest in place of the schedule,
// after a confirmation, leaves exactly what it held.
TEST_F(DataFilesE2E, ABackupListedWithItsDateSizeAndCountBringsItsEntriesBack) {
  const std::string path = DataFile("data.orv");
  WritePayments(path, {{200, "一", 1111}});
  StoreDataPath(path);
  SetOption(L"AutoSave", L"True");  // every edit is a save, and each save a backup
  LaunchShowingPayments();
  AddPayment(L"E", 777);
  AddPayment(L"F", 888, 777 + 888);
  // Both deleted from the day's list (saved at once).
  HWND list_dialog = OpenDayListAt(MiddleDayRow());
  ASSERT_TRUE(list_dialog);
  HWND list = GetDlgItem(list_dialog, kDayListList);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5000));
  SetForegroundWindow(list_dialog);
  CheckRows(list, {0, 1});
  ASSERT_TRUE(WaitFor([&] { return CheckStates(list) == std::vector<int>{1, 1}; }, 5000));
  PostMessageW(list_dialog, WM_COMMAND, kDayListDelete, 0);
  HWND confirm = WaitForBox(L"削除の確認");
  ASSERT_TRUE(confirm);
  PostMessageW(confirm, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0; }));
  PostMessageW(list_dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(list_dialog); }));
  ASSERT_TRUE(WaitFor([&] { return PaymentsIn(path) == std::vector<std::string>{"一 1111"}; }, 5000))
      << "the deletion was saved";
  EXPECT_TRUE(Shows(777 + 888, false));

  // The list: one backup per save, newest first, each dated today with its size and count.
  PostMessageW(Host(), WM_COMMAND, kRestoreBackup, 0);
  HWND chooser = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (chooser = ShownChooser()) && RadioButtons(chooser).size() == 3; }))
      << "the list of three backups";
  const std::vector<std::pair<std::string, int>> rows = RadioButtons(chooser);
  const DateParts today = SplitDate(LocalToday());
  char date[16];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d ", today.Year, today.Month, today.Day);
  const char* counts[] = {"   3 件", "   2 件", "   1 件"};  // before the deletion, after F, the original
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string& row = rows[i].first;
    EXPECT_EQ(row.rfind(date, 0), 0u) << row;
    EXPECT_NE(row.find(" KB   "), std::string::npos) << row;
    EXPECT_TRUE(row.ends_with(counts[i])) << row;
  }
  Screenshot(chooser, "backup-list");
  // The newest, merged in: every entry of it comes back, saved at once, and one message says so.
  SendMessageW(chooser, kClickRadioButton, static_cast<WPARAM>(rows[0].second), 0);
  SendMessageW(chooser, kClickButton, kMergeBackup, 0);
  HWND told = WaitForBox(L"バックアップから復元", "E 777円");
  ASSERT_TRUE(told);
  EXPECT_NE(StaticTexts(told).find("取り込みました"), std::string::npos) << StaticTexts(told);
  Press(told, IDOK);
  EXPECT_TRUE(Shows(777 + 888)) << Totals();
  EXPECT_EQ(PaymentsIn(path), (std::vector<std::string>{"E 777", "F 888", "一 1111"}));

  // The restore's own save kept the schedule it changed: a fourth backup, newest. The oldest
  // in place of the schedule: the confirmation lists what goes, then only the original's
  // entry is left.
  PostMessageW(Host(), WM_COMMAND, kRestoreBackup, 0);
  ASSERT_TRUE(WaitFor([&] { return (chooser = ShownChooser()) && RadioButtons(chooser).size() == 4; }));
  const std::vector<std::pair<std::string, int>> again = RadioButtons(chooser);
  ASSERT_TRUE(again.front().first.ends_with("   1 件")) << again.front().first;
  ASSERT_TRUE(again.back().first.ends_with("   1 件")) << again.back().first;
  SendMessageW(chooser, kClickRadioButton, static_cast<WPARAM>(again.back().second), 0);
  SendMessageW(chooser, kClickButton, kReplaceBackup, 0);
  confirm = WaitForBox(L"バックアップから復元", "置き換えますか");
  ASSERT_TRUE(confirm);
  EXPECT_NE(StaticTexts(confirm).find("F 888円"), std::string::npos) << StaticTexts(confirm);
  Press(confirm, IDOK);
  told = WaitForBox(L"バックアップから復元", "置き換えました");
  ASSERT_TRUE(told);
  Press(told, IDOK);
  EXPECT_TRUE(Shows(777 + 888, false)) << Totals();
  EXPECT_EQ(PaymentsIn(path), (std::vector<std::string>{"一 1111"}));
  Quit();
  EXPECT_EQ(PaymentsIn(path), (std::vector<std::string>{"一 1111"}));
}

// Two computers changed the file at once and the sync client left copies beside it, one in
// each client's naming. Each is offered once (at the start, or when it appears); merged in,
// its entries join the schedule and the file; the next start offers neither again.
TEST_F(DataFilesE2E, SyncConflictCopiesAreOfferedOnceAndMergedInAsAUnion) {
  const std::string path = DataFile("data.orv");
  const std::string dropbox = DataFile("data (PC2's conflicted copy 2026-12-08).orv");
  const std::string onedrive = DataFile("data-PC2.orv");
  WritePayments(path, {{200, "一", 1111}});
  WritePayments(dropbox, {{200, "一", 1111}, {202, "競", 3333}});
  StoreDataPath(path);
  StopProgman();
  Launch();
  HWND offer = WaitForBox(L"同期ソフトの競合コピー", NameOf(dropbox));
  ASSERT_TRUE(offer) << "the copy beside the file, offered at the start";
  Screenshot(offer, "conflict-copy-offer");
  Press(offer, IDYES);
  HWND told = WaitForBox(L"ユーザーデータの統合", "競 3,333円");
  ASSERT_TRUE(told);
  Press(told, IDOK);
  ASSERT_TRUE(WaitShown());
  EXPECT_TRUE(Shows(3333)) << Totals();
  EXPECT_EQ(PaymentsIn(path), (std::vector<std::string>{"一 1111", "競 3333"})) << "saved at once";

  // A copy that appears while the program runs is offered as soon as it is there; the series
  // the other computer made come along from the client's copy of the series file.
  Series series;
  series.id = 1;
  series.rule.entry = {kCashPayments, "雲", 4444, {}};
  series.rule.start = LocalToday() + std::chrono::days{203};
  series.rule.end = SeriesEnd::kAfterCount;
  series.rule.count = 1;
  series.written_through = series.rule.start;
  // Written outside the watched folder and moved in together, as a sync client places what it
  // downloaded (a look between the two would offer them one by one: nothing lost, two questions).
  const std::string onedrive_series = DataFile("data.orv-PC2.series");
  wchar_t temp[MAX_PATH] = L"";
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::string part = FileInFolder(WideToUtf8(temp), "orvanta-part-" + std::to_string(GetCurrentProcessId()));
  test::WriteBytes(part + ".series", WriteSeriesText(SeriesBook{{series}, 2}));
  WritePayments(part + ".orv", {{200, "一", 1111}, {203, "雲", 4444}});
  ASSERT_TRUE(MoveFileW(Utf8ToWide(part + ".orv").c_str(), Utf8ToWide(onedrive).c_str()));
  ASSERT_TRUE(MoveFileW(Utf8ToWide(part + ".series").c_str(), Utf8ToWide(onedrive_series).c_str()));
  offer = WaitForBox(L"同期ソフトの競合コピー", NameOf(onedrive));
  ASSERT_TRUE(offer) << "the copy that appeared";
  Press(offer, IDYES);
  told = WaitForBox(L"ユーザーデータの統合", "雲 4,444円");
  ASSERT_TRUE(told);
  EXPECT_NE(StaticTexts(told).find("繰り返しの予定の設定 1 件も取り込みました"), std::string::npos) << StaticTexts(told);
  Press(told, IDOK);
  EXPECT_TRUE(Shows(4444)) << Totals();
  EXPECT_EQ(PaymentsIn(path), (std::vector<std::string>{"一 1111", "競 3333", "雲 4444"}));
  std::string companion;
  EXPECT_FALSE(ReadWholeFile(SeriesFilePath(path), companion)) << "saved with the entries";
  EXPECT_EQ(ReadSeriesText(companion), (SeriesBook{{series}, 2}));
  Quit();

  // Both copies are still there, and nothing is offered again.
  EXPECT_TRUE(std::filesystem::exists(test::FsPath(dropbox)));
  EXPECT_TRUE(std::filesystem::exists(test::FsPath(onedrive)));
  Launch();
  ASSERT_TRUE(WaitShown());
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(FindWindowW(L"#32770", L"同期ソフトの競合コピー"), nullptr);
  Quit();
  EXPECT_EQ(PaymentsIn(path), (std::vector<std::string>{"一 1111", "競 3333", "雲 4444"}));
}

// A sync client rewrites the file and keeps holding it while the user has an unsaved edit.
// The program looks again for a while without a word; past that it says once which file it
// cannot read and that nothing is lost; it keeps looking, and once the file is free it takes
// the new version in with the edit, which the quit saves with it.
TEST_F(DataFilesE2E, AFileHeldPastTheRetryWindowIsToldOnceAndTakenInWhenFree) {
  const std::string path = DataFile("data.orv"), newer = DataFile("newer.orv");
  WritePayments(path, {{200, "一", 1111}});
  WritePayments(newer, {{200, "一", 1111}, {204, "外", 5555}});
  StoreDataPath(path);
  LaunchShowingPayments();
  AddPayment(L"E", 777);
  // The other program writes its version in place and does not let anyone read it.
  FileHandle holder(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  const std::string bytes = test::ReadBytes(newer);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(holder.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_TRUE(SetEndOfFile(holder.get()));
  const auto held = std::chrono::steady_clock::now();

  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"データの読み込みエラー")) != nullptr; }, 30000))
      << "told once the looks of the retry window are over";
  EXPECT_GE(std::chrono::steady_clock::now() - held, std::chrono::seconds(10)) << "not within the retry window";
  std::string text;
  EXPECT_TRUE(WaitFor([&] { return (text = StaticTexts(box)).find(path) != std::string::npos; }, 5000)) << text;
  EXPECT_NE(text.find("失われません"), std::string::npos) << text;
  Screenshot(box, "unreadable-data-file");
  Press(box, IDOK);
  // Still held: looked at again (more slowly) without a second message.
  EXPECT_FALSE(WaitFor([] { return FindWindowW(L"#32770", L"データの読み込みエラー") != nullptr; }, 6000));
  EXPECT_TRUE(Shows(5555, false));

  // Let go: the next look takes the file in, merged with the unsaved edit.
  holder.reset();
  HWND merged = WaitForBox(L"ユーザーデータの統合", "外 5,555円");
  ASSERT_TRUE(merged) << "taken in once the file is free";
  Press(merged, IDOK);
  EXPECT_TRUE(Shows(5555)) << Totals();
  EXPECT_TRUE(Shows(777)) << Totals();
  Quit();
  EXPECT_EQ(PaymentsIn(path), (std::vector<std::string>{"E 777", "一 1111", "外 5555"}));
}

}  // namespace
}  // namespace orv::e2e
