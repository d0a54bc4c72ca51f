#include "app/conflict_offer.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "platform/file_system.hpp"
#include "schedule/new_entry.hpp"

namespace orv {
namespace {

void Add(YearDatas& years, int day, const char* name) {
  AddNewEntry(years, SplitDate(MakeDate(2026, 12, day)), {kCashPayments, name, 100, {}});
}

class ScriptedConflicts : public ConflictPorts {
public:
  std::vector<std::string> files;
  std::map<std::string, std::vector<std::pair<int, const char*>>> contents;  // by file name
  std::deque<bool> answers;
  std::vector<std::string> log;

  std::vector<std::string> FolderFiles(const std::string&) override { return files; }
  std::string ComputerName() override { return "DESKTOP-A1"; }
  bool AskMerge(const std::string& text) override {
    log.push_back("ask " + text.substr(text.find("\r\n") + 2, text.find("\r\n\r\n") - text.find("\r\n") - 2));
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray&) override {
    const std::string name = path.substr(path.find_last_of("\\/") + 1);
    for (const auto& [day, title] : contents.at(name)) Add(years, day, title);
    return {};
  }
  void Merged(const std::string&) override { log.push_back("merged"); }
};

// Each copy is asked about once, whatever the answer, also in a later run; a merged copy adds
// what only it has and removes nothing.
TEST(ConflictOffer, EachCopyIsOfferedOnceAndAMergeKeepsEveryEntry) {
  AppState state;
  state.UserDataPath = "C:\\d\\予定.ORV";
  Add(state.Years, 1, "家賃");
  MemorySettingsStore store;
  ScriptedConflicts ports;
  ports.files = {"予定.ORV", "予定 (DESKTOP-A1's conflicted copy 2026-12-08).ORV", "予定-DESKTOP-A1.ORV", "予定-2025.ORV"};
  ports.contents["予定 (DESKTOP-A1's conflicted copy 2026-12-08).ORV"] = {{2, "他のPC"}};
  ports.contents["予定-DESKTOP-A1.ORV"] = {{3, "別"}};
  ports.answers = {true, false};
  EXPECT_EQ(OfferConflictCopies(state, store, ports), 1);
  const std::string folder = "C:\\d";
  EXPECT_EQ(ports.log, (std::vector<std::string>{
                           "ask " + FileInFolder(folder, "予定 (DESKTOP-A1's conflicted copy 2026-12-08).ORV"), "merged",
                           "ask " + FileInFolder(folder, "予定-DESKTOP-A1.ORV")}));
  EXPECT_NE(FindDay(state.Years, SplitDate(MakeDate(2026, 12, 1))), nullptr);
  EXPECT_NE(FindDay(state.Years, SplitDate(MakeDate(2026, 12, 2))), nullptr);
  EXPECT_EQ(FindDay(state.Years, SplitDate(MakeDate(2026, 12, 3))), nullptr);

  ports.log.clear();
  EXPECT_EQ(OfferConflictCopies(state, store, ports), 0);
  EXPECT_TRUE(ports.log.empty()) << "reported once";
  // A new copy is reported, the earlier ones are not.
  ports.files.push_back("予定-DESKTOP-A1-2.ORV");
  ports.contents["予定-DESKTOP-A1-2.ORV"] = {{1, "家賃"}};
  ports.answers = {true};
  EXPECT_EQ(OfferConflictCopies(state, store, ports), 0) << "nothing new in it";
  EXPECT_EQ(ports.log, (std::vector<std::string>{"ask " + FileInFolder(folder, "予定-DESKTOP-A1-2.ORV")}));
}

}  // namespace
}  // namespace orv
