#include "schedule/backups.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.hpp"
#include "schedule/recovery_file.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

const LocalTime kNow{2026, 12, 8, 12, 0, 0};

// A backup `days_ago` days before kNow at `hour`, named after both.
BackupName Backup(int days_ago, int hour) {
  const DateParts d = SplitDate(MakeDate(2026, 12, 8) - std::chrono::days{days_ago});
  return {"b" + std::to_string(days_ago) + "h" + std::to_string(hour), {d.Year, d.Month, d.Day, hour, 0, 0}};
}

struct PruneCase {
  const char* name;
  std::vector<BackupName> backups;
  std::vector<std::string> pruned;
};

std::vector<BackupName> Many(int days, int per_day) {
  std::vector<BackupName> out;
  for (int d = 0; d < days; ++d)
    for (int h = 1; h <= per_day; ++h) out.push_back(Backup(d, h));
  return out;
}

class BackupPruning : public testing::TestWithParam<PruneCase> {};

TEST_P(BackupPruning, KeepsTheLastTenAndOnePerDayForThirtyDays) {
  auto pruned = BackupsToPrune(GetParam().backups, kNow);
  auto expected = GetParam().pruned;
  std::sort(pruned.begin(), pruned.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(pruned, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackupPruning,
    testing::Values(
        PruneCase{"None", {}, {}},
        PruneCase{"TenOfTodayAllKept", Many(1, 10), {}},
        PruneCase{"TwelveOfTodayTheOldestTwoGo", Many(1, 11), {"b0h1"}},
        // Three a day for five days: ten newest (days 0-2 and day 3's newest), then day 4's newest.
        PruneCase{"ThreeADayForFiveDays", Many(5, 3), {"b3h1", "b3h2", "b4h1", "b4h2"}},
        PruneCase{"OneADayForFortyDays", Many(40, 1),
                  {"b30h1", "b31h1", "b32h1", "b33h1", "b34h1", "b35h1", "b36h1", "b37h1", "b38h1", "b39h1"}},
        // Old backups stay when they are among the last ten saves, however old.
        PruneCase{"RareSavesKeptAmongTheLastTen", {Backup(100, 1), Backup(200, 1), Backup(400, 1)}, {}},
        // A clock set back: backups "from the future" count as today's newest.
        PruneCase{"FutureBackupsCountAsToday",
                  [] {
                    auto v = Many(1, 10);
                    v.push_back(Backup(-3, 9));
                    v.push_back(Backup(40, 9));
                    return v;
                  }(),
                  {"b0h1", "b40h9"}}),
    [](const testing::TestParamInfo<PruneCase>& param_info) { return std::string(param_info.param.name); });

TEST(BackupNames, CarryTheDataFileAndTheMoment) {
  const std::string data = "C:\\Users\\u\\Documents\\予定.ORV";
  const std::string name = BackupFileName(data, kNow);
  EXPECT_EQ(name, "予定-" + DataPathTag(data) + "-20261208-120000.ORV");
  EXPECT_EQ(BackupFileName(data, kNow, 2), "予定-" + DataPathTag(data) + "-20261208-120000-2.ORV");
  const auto at = BackupTime(name, "c:/users/U/documents/予定.orv");  // the same file
  ASSERT_TRUE(at);
  EXPECT_EQ(at->Hour, 12);
  EXPECT_TRUE(BackupTime(BackupFileName(data, kNow, 3), data));
  EXPECT_FALSE(BackupTime(name, "D:\\予定.ORV")) << "a data file of the same name elsewhere";
  EXPECT_FALSE(BackupTime("予定-" + DataPathTag(data) + "-20261308-120000.ORV", data)) << "month 13";
  EXPECT_FALSE(BackupTime("予定-" + DataPathTag(data) + "-20261208-120000-x.ORV", data));
}

// Each save keeps the previous version once, lists it with its facts, and prunes.
TEST(Backups, EachSaveKeepsThePreviousVersionAndTheListShowsIt) {
  test::TempDir dir;
  const std::string folder = dir.File("Backup"), data = dir.File("data.ORV");
  EXPECT_EQ(sfBackupBeforeSave(folder, data, kNow), "") << "no data file: nothing to keep";
  EXPECT_TRUE(ListBackups(folder, data).empty());

  YearDatas years;
  DefaultUserListArray lists;
  DayData& day = GetOrCreateDay(years, SplitDate(MakeDate(2026, 12, 8)));
  day.PaymentDatas.Add(NextPaymentKey(day))->strTitle = "家賃";
  day.SpecialDatas.Add(NextSpecialKey(day))->strSpecial = "記念日";
  ASSERT_EQ(sfSaveUserData(data, years, lists), "");
  ASSERT_EQ(sfBackupBeforeSave(folder, data, kNow), "");
  ASSERT_EQ(sfBackupBeforeSave(folder, data, LocalTime{2026, 12, 8, 12, 5, 0}), "");  // same bytes: no copy
  day.PaymentDatas.Add(NextPaymentKey(day))->strTitle = "電気";
  ASSERT_EQ(sfSaveUserData(data, years, lists), "");
  ASSERT_EQ(sfBackupBeforeSave(folder, data, kNow), "");  // the same second: a second name
  test::WriteBytes(FileInFolder(folder, "notes.txt"), "x");
  test::WriteBytes(FileInFolder(folder, BackupFileName(dir.File("other.ORV"), kNow)), "x");

  const auto list = ListBackups(folder, data);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Entries + list[1].Entries, 5);
  EXPECT_GT(list[0].Size, 0);
  EXPECT_EQ(DescribeBackup({"", kNow, 1652 * 1024, 54321}), "2026/12/08 12:00:00   1,652 KB   54,321 件");
  EXPECT_EQ(DescribeBackup({"", kNow, 10, -1}), "2026/12/08 12:00:00   1 KB   読み込めません");

  // Twelve more saves on one day: ten stay.
  for (int i = 0; i < 12; ++i) {
    day.PaymentDatas.Add(NextPaymentKey(day))->strTitle = "x";
    ASSERT_EQ(sfSaveUserData(data, years, lists), "");
    ASSERT_EQ(sfBackupBeforeSave(folder, data, LocalTime{2026, 12, 8, 13, i, 0}), "");
  }
  EXPECT_EQ(ListBackups(folder, data).size(), 10u);
  EXPECT_EQ(ListBackups(folder, data).front().At.Minute, 11);
}

// The series companion travels with the data file's copy: beside it under its name, a new copy
// when only the companion changed, and pruned with it.
TEST(Backups, TheSeriesCompanionIsKeptBesideItsDataFilesCopy) {
  test::TempDir dir;
  const std::string folder = dir.File("Backup"), data = dir.File("予定.ORV");
  const std::string companion = data + kSeriesFileExtension;
  ASSERT_EQ(sfSaveUserData(data, {}, {}), "");
  struct Step {
    const char* what;
    std::optional<std::string> companion;  // beside the data file before the save
    std::size_t backups;                    // listed afterwards
  };
  const Step steps[] = {
      {"no companion", std::nullopt, 1},
      {"a companion appears", "rules 1", 2},
      {"the same again: no copy", "rules 1", 2},
      {"only the companion changed", "rules 2", 3},
  };
  int minute = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.companion) test::WriteBytes(companion, *step.companion);
    ASSERT_EQ(sfBackupBeforeSave(folder, data, LocalTime{2026, 12, 8, 12, minute++, 0}), "");
    const auto list = ListBackups(folder, data);
    ASSERT_EQ(list.size(), step.backups);
    EXPECT_EQ(FileExists(list.front().Path + kSeriesFileExtension), step.companion.has_value());
    if (step.companion) {
      EXPECT_EQ(test::ReadBytes(list.front().Path + kSeriesFileExtension), *step.companion);
    }
  }
  for (int i = 0; i < 12; ++i) {
    test::WriteBytes(companion, "rules " + std::to_string(i + 3));
    ASSERT_EQ(sfBackupBeforeSave(folder, data, LocalTime{2026, 12, 8, 13, i, 0}), "");
  }
  std::size_t companions = 0;
  for (const std::string& name : FilesIn(folder)) companions += name.ends_with(kSeriesFileExtension);
  EXPECT_EQ(ListBackups(folder, data).size(), 10u);
  EXPECT_EQ(companions, 10u) << "pruned with their copies";
}

TEST(CountEntries, CountsPaymentsAndSpecialDays) {
  YearDatas years;
  EXPECT_EQ(CountEntries(years), 0);
  for (int d = 1; d <= 3; ++d) {
    DayData& day = GetOrCreateDay(years, SplitDate(MakeDate(2026 + d, d, d)));
    day.PaymentDatas.Add(NextPaymentKey(day));
    day.SpecialDatas.Add(NextSpecialKey(day));
  }
  EXPECT_EQ(CountEntries(years), 6);
}

}  // namespace
}  // namespace orv
