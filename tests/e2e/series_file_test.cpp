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
};

// A monthly rent that started three months ago, written ahead as a session two months ago
// left it: this start writes its later occurrences, the quit saves them with the advanced
// book, and the next start and quit change neither file.
TEST_F(SeriesFileE2E, ADataFileWithItsSeriesIsCarriedForwardSavedAndReadAgainAfterARestart) {
  const std::string path = DataFile("予定.orv"), companion = SeriesFilePath(path);
  const Date today = LocalToday();
  SeriesRule rule;
  rule.entry = {kAutomaticTransfers, "家賃", 65000, {}};
  rule.start = today - std::chrono::days{90};
  rule.unit = SeriesUnit::kMonth;
  rule.shift = SeriesShift::kNext;
  YearDatas years;
  SeriesBook book;
  AddSeries(years, book, rule, today - std::chrono::days{60});
  ASSERT_EQ(sfSaveUserData(path, years, {}), "");
  test::WriteBytes(companion, WriteSeriesText(book));
  // What the program should come to: the same series added as of today.
  YearDatas expected_years;
  SeriesBook expected_book;
  AddSeries(expected_years, expected_book, rule, today);
  ASSERT_GT(CountEntries(expected_years), CountEntries(years)) << "the fixture lies behind today's horizon";
  StoreDataPath(path);

  Launch();
  ASSERT_TRUE(WaitShown());
  EXPECT_EQ(DamagedNotice(), nullptr);
  Quit();
  EXPECT_EQ(EntriesIn(path), CountEntries(expected_years));
  const std::optional<SeriesBook> saved = BookIn(companion);
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->series.size(), 1u);
  EXPECT_EQ(saved->series[0].rule, rule);
  EXPECT_EQ(saved->series[0].written_through, expected_book.series[0].written_through);
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

}  // namespace
}  // namespace orv::e2e
