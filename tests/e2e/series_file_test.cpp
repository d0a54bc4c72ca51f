// End-to-end: the series companion file beside the data file. The program reads it at start,
// carries its open-ended series forward to today's horizon, and writes both files at quit;
// the next start finds the file as it left it. A companion that does not read leaves its
// entries as plain entries, is told once and set aside, never lost.
#include <chrono>

#include "e2e_harness.hpp"
#include "schedule/backups.hpp"
#include "schedule/schedule_keeper.hpp"
#include "series/series.hpp"

namespace orv::e2e {
namespace {

class SeriesFileE2E : public OrvantaE2E {
protected:
  static std::int64_t EntriesIn(const std::string& path) {
    YearDatas years;
    DefaultUserListArray lists;
    EXPECT_EQ(sfLoadUserData(path, years, lists), "");
    return CountEntries(years);
  }
  static std::optional<SeriesBook> BookIn(const std::string& path) {
    if (!std::filesystem::exists(test::FsPath(path))) return std::nullopt;
    return ReadSeriesText(test::ReadBytes(path));
  }
  // The warning about a companion that does not read, when it is on the screen.
  static HWND DamagedNotice() { return FindWindowW(L"#32770", Utf8ToWide(kSeriesFileDamagedTitle).c_str()); }
  // A monthly rent that started three months ago, written ahead as a session two months ago
  // left it, as the data file and its companion; the file is the one in use.
  void WriteSeriesBehindToday(const std::string& path) {
    const Date today = LocalToday();
    rule_.entry = {kAutomaticTransfers, "家賃", 65000, {}};
    rule_.start = today - std::chrono::days{90};
    rule_.unit = SeriesUnit::kMonth;
    rule_.shift = SeriesShift::kNext;
    YearDatas years;
    SeriesBook book;
    AddSeries(years, book, rule_, today - std::chrono::days{60});
    ASSERT_EQ(sfSaveUserData(path, years, {}), "");
    test::WriteBytes(SeriesFilePath(path), WriteSeriesText(book));
    // What the program should come to: the same series added as of today.
    AddSeries(expected_years_, expected_book_, rule_, today);
    ASSERT_GT(CountEntries(expected_years_), CountEntries(years)) << "the fixture lies behind today's horizon";
    StoreDataPath(path);
  }
  SeriesRule rule_;
  YearDatas expected_years_;
  SeriesBook expected_book_;
};

// The rent of WriteSeriesBehindToday: this start writes its later occurrences, the quit saves them with the advanced
// book, and the next start and quit change neither file.
TEST_F(SeriesFileE2E, ADataFileWithItsSeriesIsCarriedForwardSavedAndReadAgainAfterARestart) {
  const std::string path = DataFile("予定.orv"), companion = SeriesFilePath(path);
  WriteSeriesBehindToday(path);

  Launch();
  ASSERT_TRUE(WaitShown());
  EXPECT_EQ(DamagedNotice(), nullptr);
  Quit();
  EXPECT_EQ(EntriesIn(path), CountEntries(expected_years_));
  const std::optional<SeriesBook> saved = BookIn(companion);
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->series.size(), 1u);
  EXPECT_EQ(saved->series[0].rule, rule_);
  EXPECT_EQ(saved->series[0].written_through, expected_book_.series[0].written_through);
  EXPECT_TRUE(RecoveryFilesOfUser().empty()) << "saved at quit: no journal left";

  const std::string data_bytes = test::ReadBytes(path), series_bytes = test::ReadBytes(companion);
  Launch();
  ASSERT_TRUE(WaitShown());
  Quit();
  EXPECT_EQ(test::ReadBytes(path), data_bytes);
  EXPECT_EQ(test::ReadBytes(companion), series_bytes);
}

TEST_F(SeriesFileE2E, ADamagedSeriesFileIsToldOnceSetAsideAndItsEntriesStay) {
  const std::string path = DataFile("data.orv"), companion = SeriesFilePath(path);
  YearDatas years;
  for (int month = 1; month <= 3; ++month)
    AddNewEntry(years, SplitDate(MakeDate(2026, month, 27)), {kAutomaticTransfers, "家賃", 65000, {}});
  ASSERT_EQ(sfSaveUserData(path, years, {}), "");
  const std::string garbage = "ORVANTA SERIES?\r\n\x01\x02 not what the program writes";
  test::WriteBytes(companion, garbage);
  StoreDataPath(path);

  Launch();
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = DamagedNotice()) != nullptr; }));
  wchar_t text[1024] = L"";
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  const std::string aside = SetAsidePath(companion, 1);
  EXPECT_EQ(WideToUtf8(text), SeriesFileDamagedText(companion, aside));
  Screenshot(box, "series-file-damaged");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitShown());
  Quit();
  EXPECT_EQ(EntriesIn(path), 3) << "the entries stay as plain entries";
  EXPECT_EQ(test::ReadBytes(aside), garbage) << "kept beside, under another name";
  EXPECT_FALSE(std::filesystem::exists(test::FsPath(companion))) << "no series: no companion written";

  Launch();
  ASSERT_TRUE(WaitShown());
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  EXPECT_EQ(DamagedNotice(), nullptr) << "told once";
  Quit();
  EXPECT_EQ(EntriesIn(path), 3);
}

// `orvtool series add` writes both files while the calendar runs: the calendar takes the
// series in at once (its entries show), carries it forward when the date changes, and the quit
// saves both files with the series' new reach.
TEST_F(SeriesFileE2E, ASeriesAddedByOrvtoolWhileTheCalendarRunsIsTakenInAndCarriedPastMidnight) {
  const std::string path = DataFile("data.orv"), companion = SeriesFilePath(path);
  WriteEmptyData(path);
  StoreDataPath(path);
  const Date today = LocalToday(), tomorrow = today + std::chrono::days{1};
  // Monthly on tomorrow's day of the month, from a month back: the horizon moving on by one
  // day reaches one more occurrence.
  SeriesRule rule;
  rule.entry = {kCashPayments, "家賃", 50000, {}};
  const DateParts t = SplitDate(tomorrow);
  rule.start = t.Month == 1 ? MakeDate(t.Year - 1, 12, t.Day) : MakeDate(t.Year, t.Month - 1, std::min<int>(t.Day, 28));
  rule.unit = SeriesUnit::kMonth;
  YearDatas by_tomorrow;
  SeriesBook book_by_tomorrow;
  AddSeries(by_tomorrow, book_by_tomorrow, rule, tomorrow);

  Launch();
  ASSERT_TRUE(WaitShown());
  const DateParts start = SplitDate(rule.start);
  char start_text[16];
  std::snprintf(start_text, sizeof start_text, "%04d-%02d-%02d", start.Year, start.Month, start.Day);
  ASSERT_EQ(RunOrvtool(L"series add \"" + Utf8ToWide(path) + L"\" --kind cash --name 家賃 --amount 50000 --start " +
                       Utf8ToWide(start_text) + L" --every 1 --unit month"),
            0);
  const std::string shown = "-" + std::to_string(start.Month) + "-" + std::to_string(start.Day) + " " + CurrencyText(50000) + ";";
  EXPECT_TRUE(WaitFor([&] { return Field(reporter_.Ask(Host()), "Totals").find(shown) != std::string::npos; }, 5000))
      << Field(reporter_.Ask(Host()), "Totals");

  // The program's clock just before midnight: the date changes within a second.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(Host(), RegisterWindowMessageW(L"Orvanta.SetClock"), 800, 0, SMTO_NORMAL, 5000, &ignored);
  const std::string tomorrow_text =
      std::to_string(t.Year) + "-" + std::to_string(t.Month) + "-" + std::to_string(t.Day);
  ASSERT_TRUE(WaitFor([&] { return Field(reporter_.Ask(Host()), "Today") == tomorrow_text; }, 5000));
  Quit();
  EXPECT_EQ(EntriesIn(path), CountEntries(by_tomorrow));
  const std::optional<SeriesBook> saved = BookIn(companion);
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->series.size(), 1u);
  EXPECT_EQ(saved->series[0].written_through, book_by_tomorrow.series[0].written_through);
}

// Carried forward at start, the series lives only in memory and the journal when the program
// is killed: the journal's book lies beside it, the restore brings it back and saves it, and
// nothing is left in the recovery folder.
TEST_F(SeriesFileE2E, TheBookOfAKilledSessionComesBackWithTheRestore) {
  const std::string path = DataFile("data.orv"), companion = SeriesFilePath(path);
  WriteSeriesBehindToday(path);
  const std::string data_bytes = test::ReadBytes(path), series_bytes = test::ReadBytes(companion);
  Launch();
  ASSERT_TRUE(WaitShown());
  ASSERT_TRUE(WaitFor([] { return RecoveryFilesOfUser().size() == 2; }, 2000)) << "the journal and its book";
  std::string journal_book;
  for (const std::string& file : RecoveryFilesOfUser())
    if (file.ends_with(kSeriesFileExtension)) journal_book = file;
  ASSERT_NE(journal_book, "");
  const std::optional<SeriesBook> journalled = BookIn(journal_book);
  ASSERT_TRUE(journalled);
  EXPECT_EQ(*journalled, expected_book_);
  ASSERT_TRUE(TerminateProcess(orvanta_.get(), 1));
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  orvanta_.reset();
  EXPECT_EQ(test::ReadBytes(path), data_bytes) << "never saved";
  EXPECT_EQ(test::ReadBytes(companion), series_bytes);

  Launch();
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"保存されていない予定の復元")) != nullptr; }));
  constexpr int kRestoreIntoSchedule = 1001;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(kRestoreIntoSchedule, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, kRestoreIntoSchedule)));
  ASSERT_TRUE(WaitShown());
  // Restored and saved before anything else ran: the book on disk is the journal's.
  EXPECT_EQ(BookIn(companion), expected_book_);
  EXPECT_EQ(EntriesIn(path), CountEntries(expected_years_));
  EXPECT_TRUE(RecoveryFilesOfUser().empty());
  Quit();
}

}  // namespace
}  // namespace orv::e2e
