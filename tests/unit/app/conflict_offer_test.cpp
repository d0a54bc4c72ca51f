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
  SeriesBook LoadSeries(const std::string& path) override {
    const std::string name = path.substr(path.find_last_of("\\/") + 1);
    log.push_back("series " + name);
    const auto found = books.find(name);
    return found == books.end() ? SeriesBook{} : found->second;
  }
  void Merged(const std::string& text) override {
    log.push_back("merged");
    told = text;
  }
  std::map<std::string, SeriesBook> books;  // by file name
  std::string told;
};

// A monthly cash series of `name` from 1 January 2027.
Series Monthly(std::uint32_t id, const char* name) {
  Series s;
  s.id = id;
  s.rule.entry = {kCashPayments, name, 1000, {}};
  s.rule.start = MakeDate(2027, 1, 1);
  s.written_through = MakeDate(2028, 12, 1);
  return s;
}

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

// The series the other computer kept beside its copy come with the copy's entries, from the
// copy's own companion or from the sync client's copy of the data file's companion; the data
// file's own companion is never taken for the copy's.
TEST(ConflictOffer, TheSeriesBesideACopyComeWithIt) {
  const std::string dropbox = "予定 (DESKTOP-B's conflicted copy 2026-12-08).ORV";
  struct Case {
    const char* what;
    std::vector<std::string> files;  // beside 予定.ORV and the copy
    std::map<std::string, SeriesBook> books;
    bool copy_has_new_entry;
    int merged;
    std::vector<std::string> series;  // names in the book afterwards
    std::size_t told_series;
  };
  const SeriesBook theirs{{Monthly(1, "家賃"), Monthly(2, "保険")}, 3};
  const Case cases[] = {
      {"Dropbox's copy of the companion", {"予定.ORV (DESKTOP-B's conflicted copy 2026-12-08).series"},
       {{"予定.ORV (DESKTOP-B's conflicted copy 2026-12-08).series", theirs}}, true, 1, {"家賃", "保険"}, 1},
      {"the copy's own companion", {dropbox + ".series"}, {{dropbox + ".series", theirs}}, true, 1, {"家賃", "保険"}, 1},
      {"only a series is new: still merged", {dropbox + ".series"}, {{dropbox + ".series", theirs}}, false, 1,
       {"家賃", "保険"}, 1},
      {"no companion: the entries only", {"予定.ORV.series"}, {{"予定.ORV.series", theirs}}, true, 1, {"家賃"}, 0},
      {"the same series only: nothing to merge", {dropbox + ".series"},
       {{dropbox + ".series", SeriesBook{{Monthly(1, "家賃")}, 2}}}, false, 0, {"家賃"}, 0},
  };
  for (const Case& c : cases) {
    AppState state;
    state.UserDataPath = "C:\\d\\予定.ORV";
    Add(state.Years, 1, "家賃");
    state.Series = SeriesBook{{Monthly(1, "家賃")}, 2};
    MemorySettingsStore store;
    ScriptedConflicts ports;
    ports.files = {"予定.ORV", dropbox};
    ports.files.insert(ports.files.end(), c.files.begin(), c.files.end());
    ports.contents[dropbox] = {{1, "家賃"}};
    if (c.copy_has_new_entry) ports.contents[dropbox].push_back({2, "他のPC"});
    ports.books = c.books;
    ports.answers = {true};
    EXPECT_EQ(OfferConflictCopies(state, store, ports), c.merged) << c.what;
    std::vector<std::string> names;
    for (const Series& s : state.Series.series) names.push_back(s.rule.entry.name);
    EXPECT_EQ(names, c.series) << c.what;
    const std::string series_line = "繰り返しの予定の設定 " + std::to_string(c.told_series) + " 件も取り込みました";
    EXPECT_EQ(ports.told.find(c.told_series ? series_line : "繰り返し") != std::string::npos, c.told_series > 0)
        << c.what << ": " << ports.told;
    for (const std::string& line : ports.log)
      EXPECT_NE(line, "series 予定.ORV.series") << c.what << ": the data file's own companion is not the copy's";
  }
}

// A copy the sync client made of the series companion alone is offered on its own, once; one
// that came with a copy of the data file is part of that copy's offer, and one that came only
// after its data file's copy was offered is offered on its own then.
TEST(ConflictOffer, ACopyOfTheSeriesFileAloneIsOfferedOnItsOwnOnce) {
  const std::string folder = "C:\\d";
  const std::string data_copy = "予定 (DESKTOP-B's conflicted copy 2026-12-08).ORV";
  const std::string series_copy = "予定.ORV (DESKTOP-B's conflicted copy 2026-12-08).series";
  const std::string other_series_copy = "予定.ORV-DESKTOP-B.series";
  AppState state;
  state.UserDataPath = folder + "\\予定.ORV";
  state.Series = SeriesBook{{Monthly(1, "家賃")}, 2};
  MemorySettingsStore store;
  ScriptedConflicts ports;
  ports.books[series_copy] = SeriesBook{{Monthly(1, "家賃"), Monthly(2, "保険")}, 3};
  ports.books[other_series_copy] = SeriesBook{{Monthly(4, "会費")}, 5};

  // The data file's copy first, its companion not there yet; then the companion comes, and a
  // copy of the companion alone beside it.
  ports.files = {"予定.ORV", "予定.ORV.series", data_copy};
  ports.contents[data_copy] = {{2, "他のPC"}};
  ports.answers = {false};
  EXPECT_EQ(OfferConflictCopies(state, store, ports), 0);
  ports.files.push_back(series_copy);
  ports.files.push_back(other_series_copy);
  ports.log.clear();
  ports.answers = {true, true};
  EXPECT_EQ(OfferConflictCopies(state, store, ports), 2);
  EXPECT_EQ(ports.log, (std::vector<std::string>{"ask " + FileInFolder(folder, series_copy), "series " + series_copy,
                                                 "merged", "ask " + FileInFolder(folder, other_series_copy),
                                                 "series " + other_series_copy, "merged"}));
  std::vector<std::string> names;
  for (const Series& s : state.Series.series) names.push_back(s.rule.entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"家賃", "保険", "会費"}));
  EXPECT_NE(ports.told.find("繰り返しの予定の設定 1 件を取り込みました"), std::string::npos) << ports.told;
  EXPECT_EQ(FindDay(state.Years, SplitDate(MakeDate(2026, 12, 2))), nullptr) << "entries only from a data file's copy";

  ports.log.clear();
  EXPECT_EQ(OfferConflictCopies(state, store, ports), 0);
  EXPECT_TRUE(ports.log.empty()) << "reported once";

  // A data file's copy and its companion that come together: one question.
  const std::string data_copy2 = "予定-DESKTOP-C.ORV", series_copy2 = "予定.ORV-DESKTOP-C.series";
  ports.files.push_back(data_copy2);
  ports.files.push_back(series_copy2);
  ports.contents[data_copy2] = {{3, "三台目"}};
  ports.books[series_copy2] = SeriesBook{{Monthly(1, "家賃")}, 2};
  ports.answers = {false};
  EXPECT_EQ(OfferConflictCopies(state, store, ports), 0);
  EXPECT_EQ(ports.log, (std::vector<std::string>{"ask " + FileInFolder(folder, data_copy2)}));
  ports.log.clear();
  EXPECT_EQ(OfferConflictCopies(state, store, ports), 0);
  EXPECT_TRUE(ports.log.empty());
}

}  // namespace
}  // namespace orv
