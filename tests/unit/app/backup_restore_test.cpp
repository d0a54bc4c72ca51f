#include "app/backup_restore.hpp"

#include <gtest/gtest.h>

#include <map>

#include "app/startup.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/schedule_merge.hpp"

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
  std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray&) override {
    if (path == "broken") return "sfLoadUserData\t2\ttruncated\n";
    Add(years, 1, "家賃");  // every backup: day 1 and day 9
    Add(years, 9, "旧");
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

}  // namespace
}  // namespace orv
