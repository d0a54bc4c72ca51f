#include "app/data_file_switch.hpp"

#include <gtest/gtest.h>

#include <set>

#include "app/startup.hpp"
#include "schedule/new_entry.hpp"

namespace orv {
namespace {

class ScriptedSwitch : public DataFileSwitchPorts {
public:
  std::string save_error;
  std::optional<std::string> chosen;
  std::set<std::string> existing;
  std::string load_error;
  bool answer = false;
  std::vector<std::string> log;

  std::string SaveCurrent() override {
    log.push_back("save");
    return save_error;
  }
  void ShowSaveError() override { log.push_back("save error"); }
  std::optional<std::string> ChooseFile(bool must_exist) override {
    log.push_back(must_exist ? "choose existing" : "choose any");
    return chosen;
  }
  bool FileExists(const std::string& path) override { return existing.count(path) > 0; }
  bool Ask(const std::string& text) override {
    log.push_back("ask: " + text);
    return answer;
  }
  std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray&) override {
    log.push_back("load " + path);
    if (load_error.empty()) AddNewEntry(years, SplitDate(MakeDate(2026, 12, 9)), {kCashPayments, "新", 1, {}});
    return load_error;
  }
  void ShowLoadFailure(const std::string& message) override { log.push_back("failure: " + message); }
  void Switched(bool loaded) override { log.push_back(loaded ? "switched, loaded" : "switched, empty"); }
};

struct Case {
  const char* what;
  DataFileCommand command;
  std::string save_error;
  std::optional<std::string> chosen;
  bool exists;
  std::string load_error;
  bool answer;
  std::vector<std::string> log;
  bool switched;
  int entries_after;  // days in the tree: 1 the old schedule's or the loaded file's, 0 a new one
};

TEST(DataFileSwitch, SavesFirstThenOpensOrStartsAFileByTheFirstRunRules) {
  using enum DataFileCommand;
  const std::string failure = "failure: " + LoadFailureMessage("D:\\b.orv");
  const std::string question = "ask: " + ExistingFileQuestion("D:\\b.orv");
  const Case cases[] = {
      {"open an existing file", kOpen, "", "D:\\b.orv", true, "", false,
       {"save", "choose existing", "load D:\\b.orv", "switched, loaded"}, true, 1},
      {"the current file cannot be saved", kOpen, "sfSaveUserData\t5\tdenied\n", "D:\\b.orv", true, "", false,
       {"save", "save error"}, false, 1},
      {"cancelled", kOpen, "", std::nullopt, false, "", false, {"save", "choose existing"}, false, 1},
      {"a file that does not load", kOpen, "", "D:\\b.orv", true, "sfLoadUserData\t1\tversion\n", false,
       {"save", "choose existing", "load D:\\b.orv", failure}, false, 1},
      {"a new file", kNew, "", "D:\\b.orv", false, "", false, {"save", "choose any", "switched, empty"}, true, 0},
      {"a new file named after one that exists, opened", kNew, "", "D:\\b.orv", true, "", true,
       {"save", "choose any", question, "load D:\\b.orv", "switched, loaded"}, true, 1},
      {"a new file named after one that exists, not opened", kNew, "", "D:\\b.orv", true, "", false,
       {"save", "choose any", question}, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppState state;
    state.UserDataPath = "C:\\a.orv";
    AddNewEntry(state.Years, SplitDate(MakeDate(2026, 12, 1)), {kCashPayments, "旧", 1, {}});
    ScriptedSwitch ports;
    ports.save_error = c.save_error;
    ports.chosen = c.chosen;
    if (c.exists) ports.existing.insert(*c.chosen);
    ports.load_error = c.load_error;
    ports.answer = c.answer;
    EXPECT_EQ(SwitchDataFile(state, c.command, ports), c.switched);
    EXPECT_EQ(ports.log, c.log);
    EXPECT_EQ(state.UserDataPath, c.switched ? "D:\\b.orv" : "C:\\a.orv");
    const DayData* old_day = FindDay(state.Years, SplitDate(MakeDate(2026, 12, 1)));
    EXPECT_EQ(old_day != nullptr, !c.switched) << "the old schedule stays exactly when nothing switched";
    EXPECT_EQ(state.Years.Count(), c.entries_after);
  }
}

}  // namespace
}  // namespace orv
