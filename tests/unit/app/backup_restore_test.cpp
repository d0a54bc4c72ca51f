#include "app/backup_restore.hpp"

#include <gtest/gtest.h>

#include <map>

#include "app/startup.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/schedule_merge.hpp"
#include "series/series.hpp"

namespace orv {
namespace {

void Add(YearDatas& years, int day, const char* name) {
  AddNewEntry(years, SplitDate(MakeDate(2026, 12, day)), {kCashPayments, name, 100, {}});
}

std::vector<int> Days(const YearDatas& years) {
  std::vector<int> out;
  for (const auto& y : years)
    for (const auto& m : y.MonthDatas)
      for (const auto& d : m.DayDatas)
        if (d.PaymentDatas.Count() > 0) out.push_back(std::stoi(d.Key));
  return out;
}

class ScriptedBackups : public BackupRestorePorts {
public:
  std::vector<BackupInfo> backups;
  std::optional<BackupChoice> choice;
  bool confirm = true;
  std::vector<std::string> log;
  std::vector<BackupInfo> Backups(const std::string&) override { return backups; }
  std::optional<BackupChoice> Choose(const std::vector<std::string>& lines) override {
    log.push_back("choose from " + std::to_string(lines.size()));
    return choice;
  }
  SeriesBook book;  // beside every backup
  std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray&, SeriesBook& series) override {
    if (path == "broken") return "sfLoadUserData\t2\ttruncated\n";
    Add(years, 1, "家賃");  // every backup: day 1 and day 9
    Add(years, 9, "旧");
    series = book;
    return {};
  }
  bool ConfirmReplace(const std::string&) override {
    log.push_back("confirm");
    return confirm;
  }
  void Tell(const std::string& text) override { log.push_back("tell " + text); }
  void Restored(const std::string& text) override { log.push_back(text.substr(0, text.find("\r\n"))); }
};

TEST(BackupRestore, MergeAddsBackReplaceTakesTheBackupAfterConfirmingAndCancelChangesNothing) {
  const std::string merged = TakenInText({}, "b").substr(0, TakenInText({}, "b").find("\r\n"));
  const std::string replaced = ReplacedText({}, "b").substr(0, ReplacedText({}, "b").find("\r\n"));
  struct Case {
    const char* what;
    std::optional<BackupChoice> choice;
    bool confirm;
    std::vector<std::string> log;
    std::vector<int> days;  // memory holds days 1 and 5 before
  };
  const Case cases[] = {
      {"merge", BackupChoice{1, BackupUse::kMerge}, true, {"choose from 2", merged}, {1, 5, 9}},
      {"replace", BackupChoice{0, BackupUse::kReplace}, true, {"choose from 2", "confirm", replaced}, {1, 9}},
      {"replace not confirmed", BackupChoice{0, BackupUse::kReplace}, false, {"choose from 2", "confirm"}, {1, 5}},
      {"cancelled", std::nullopt, true, {"choose from 2"}, {1, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppState state;
    Add(state.Years, 1, "家賃");
    Add(state.Years, 5, "新");
    ScriptedBackups ports;
    ports.backups = {{"b", {2026, 12, 8, 10, 0, 0}, 100, 2}, {"b", {2026, 12, 7, 10, 0, 0}, 100, 2}};
    ports.choice = c.choice;
    ports.confirm = c.confirm;
    RestoreFromBackup(state, ports);
    EXPECT_EQ(ports.log, c.log);
    EXPECT_EQ(Days(state.Years), c.days);
  }
}

TEST(BackupRestore, NoBackupsOrABrokenOneIsToldAndChangesNothing) {
  AppState state;
  Add(state.Years, 1, "家賃");
  ScriptedBackups ports;
  EXPECT_FALSE(RestoreFromBackup(state, ports));
  EXPECT_EQ(ports.log, std::vector<std::string>{std::string("tell ") + kNoBackupsText});
  ports.log.clear();
  ports.backups = {{"broken", {2026, 12, 8, 10, 0, 0}, 10, -1}};
  ports.choice = BackupChoice{0, BackupUse::kMerge};
  EXPECT_FALSE(RestoreFromBackup(state, ports));
  EXPECT_EQ(ports.log, (std::vector<std::string>{"choose from 1", "tell " + LoadFailureMessage("broken")}));
  EXPECT_EQ(Days(state.Years), std::vector<int>{1});
}

Series Numbered(std::uint32_t id, std::vector<Date> skipped) {
  Series series;
  series.id = id;
  series.rule.entry = {kCashPayments, "家賃", 100, {}};
  series.rule.start = MakeDate(2026, 1, static_cast<int>(id));
  series.skipped = std::move(skipped);
  return series;
}

// The book beside the backup comes with it: merged, a series both have stays memory's with the
// dates either skipped, and one deleted since comes back; replaced, the backup's book stands.
TEST(BackupRestore, TheBackupsSeriesBookComesInWithItsEntries) {
  const Date jan = MakeDate(2026, 1, 1), feb = MakeDate(2026, 2, 1);
  SeriesBook mine, backup;
  mine.series = {Numbered(1, {feb}), Numbered(3, {})};
  mine.next_id = 4;
  backup.series = {Numbered(1, {jan}), Numbered(2, {})};
  backup.next_id = 3;
  struct Case {
    const char* what;
    BackupUse use;
    std::vector<std::uint32_t> ids;
    std::vector<Date> first_skipped;
  };
  const Case cases[] = {
      {"merge", BackupUse::kMerge, {1, 3, 2}, {jan, feb}},
      {"replace", BackupUse::kReplace, {1, 2}, {jan}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppState state;
    Add(state.Years, 1, "家賃");
    state.Series = mine;
    ScriptedBackups ports;
    ports.backups = {{"b", {2026, 12, 8, 10, 0, 0}, 100, 2}};
    ports.choice = BackupChoice{0, c.use};
    ports.book = backup;
    EXPECT_TRUE(RestoreFromBackup(state, ports));
    std::vector<std::uint32_t> ids;
    for (const Series& s : state.Series.series) ids.push_back(s.id);
    EXPECT_EQ(ids, c.ids);
    EXPECT_EQ(state.Series.series.front().skipped, c.first_skipped);
  }
  // Nothing new in either half: nothing to take in.
  AppState state;
  Add(state.Years, 1, "家賃");
  Add(state.Years, 9, "旧");
  state.Series = backup;
  ScriptedBackups ports;
  ports.backups = {{"b", {2026, 12, 8, 10, 0, 0}, 100, 2}};
  ports.choice = BackupChoice{0, BackupUse::kMerge};
  ports.book = backup;
  EXPECT_FALSE(RestoreFromBackup(state, ports));
  EXPECT_EQ(ports.log.back(), std::string("tell ") + kNothingToTakeInText + "b");
}

}  // namespace
}  // namespace orv
