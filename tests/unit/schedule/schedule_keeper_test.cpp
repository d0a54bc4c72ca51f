#include "schedule/schedule_keeper.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "schedule/new_entry.hpp"
#include "schedule/schedule_merge.hpp"
#include "schedule/user_data_file.hpp"

namespace orv {
namespace {

constexpr char kPath[] = "C:\\Users\\u\\予定.ORV";

std::string Bytes(const YearDatas& years, const DefaultUserListArray& lists = {}) {
  std::string bytes;
  EXPECT_EQ(SerializeUserData(years, lists, bytes), "");
  return bytes;
}

void Add(YearDatas& years, int day, const char* name, std::int32_t amount) {
  AddNewEntry(years, SplitDate(MakeDate(2026, 12, day)), {kCashPayments, name, amount, {}});
}

// Names of every payment, "day:name", in tree order.
std::vector<std::string> Payments(const YearDatas& years) {
  std::vector<std::string> out;
  for (const auto& y : years)
    for (const auto& m : y.MonthDatas)
      for (const auto& d : m.DayDatas)
        for (const auto& p : d.PaymentDatas) out.push_back(d.Key + ":" + p.strTitle);
  return out;
}

YearDatas Parsed(const std::string& bytes) {
  YearDatas years;
  DefaultUserListArray lists;
  EXPECT_EQ(ParseUserData(bytes, years, lists), "");
  return years;
}

// A file system of one data file and its journal, and a record of what the keeper asked for.
class FakeKeeperPorts : public KeeperPorts {
public:
  std::optional<std::string> file;  // nullopt: no file
  bool locked = false;              // cannot be read or replaced
  std::int64_t time = 1;
  std::optional<std::string> journal;
  std::vector<std::string> log;

  void WriteFromOutside(std::string bytes) {
    file = std::move(bytes);
    ++time;
  }
  std::optional<FileStamp> Stamp(const std::string&) override {
    if (!file) return std::nullopt;
    return FileStamp{file->size(), time};
  }
  DataFileRead ReadDataFile(const std::string&) override {
    if (!file) return {DataFileRead::kMissing, {}};
    if (locked) return {DataFileRead::kUnreadable, {}};
    return {DataFileRead::kRead, *file};
  }
  void KeepPreviousVersion(const std::string&) override { log.push_back("backup"); }
  std::string ReplaceDataFile(const std::string&, std::string_view bytes) override {
    if (locked) {
      log.push_back("replace failed");
      return "sfSaveUserData\t32\tlocked\n";
    }
    log.push_back("replace");
    file = std::string(bytes);
    ++time;
    return {};
  }
  std::string WriteJournal(const std::string& data_path, std::string_view bytes) override {
    journal = std::string(bytes);
    return data_path + ".journal";
  }
  void RemoveJournal(const std::string&) override { journal.reset(); }
  void TellMerged(const std::string& text) override { log.push_back("told: " + text); }
  void Redraw() override { log.push_back("redraw"); }
  void LookAgainSoon() override { log.push_back("look again"); }
};

class ScheduleKeeperTest : public ::testing::Test {
protected:
  void SetUp() override {
    state.UserDataPath = kPath;
    Add(state.Years, 1, "家賃", 50000);
    ports.file = Bytes(state.Years);
    keeper.Loaded(true);
    state.guard = &keeper;
  }
  AppState state;
  FakeKeeperPorts ports;
  ScheduleKeeper keeper{state, ports};
};

TEST_F(ScheduleKeeperTest, AnEditIsJournalledAtOnceAndTheJournalGoesWhenTheEditIsUndone) {
  Add(state.Years, 2, "電気", 3000);
  ScheduleEdited(state);
  ASSERT_TRUE(ports.journal);
  EXPECT_EQ(*ports.journal, Bytes(state.Years));
  EXPECT_EQ(keeper.JournalPath(), std::string(kPath) + ".journal");
  EXPECT_TRUE(keeper.Unsaved());

  state.Years.At(1)->MonthDatas.At(1)->DayDatas.Remove("2");
  ScheduleEdited(state);
  EXPECT_FALSE(ports.journal) << "the file holds this schedule";
  EXPECT_EQ(keeper.JournalPath(), "");
}

TEST_F(ScheduleKeeperTest, ASaveKeepsTheOldVersionWritesTheFileAndEndsTheJournal) {
  Add(state.Years, 2, "電気", 3000);
  ScheduleEdited(state);
  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(ports.log, (std::vector<std::string>{"backup", "replace"}));
  EXPECT_EQ(*ports.file, Bytes(state.Years));
  EXPECT_FALSE(ports.journal);
  EXPECT_FALSE(keeper.Unsaved());
  // Nothing new: a second save writes nothing.
  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(ports.log.size(), 2u);
}

TEST_F(ScheduleKeeperTest, AFailedSaveLeavesTheJournalWithTheSessionsSchedule) {
  Add(state.Years, 2, "電気", 3000);
  ScheduleEdited(state);
  const std::string before = *ports.file;
  ports.journal.reset();  // even when the last journal write was lost
  ports.locked = true;
  EXPECT_NE(keeper.Save(), "");
  EXPECT_EQ(*ports.file, before);
  ASSERT_TRUE(ports.journal);
  EXPECT_EQ(*ports.journal, Bytes(state.Years));
}

TEST_F(ScheduleKeeperTest, AnOutsideChangeWithNothingUnsavedIsLoadedAndDrawn) {
  YearDatas theirs = Parsed(*ports.file);
  Add(theirs, 5, "取込", 700);
  ports.WriteFromOutside(Bytes(theirs));
  EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kReloaded);
  EXPECT_EQ(Payments(state.Years), (std::vector<std::string>{"1:家賃", "5:取込"}));
  EXPECT_EQ(ports.log, std::vector<std::string>{"redraw"});
  EXPECT_FALSE(keeper.Unsaved());
  EXPECT_FALSE(ports.journal);
  EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kUnchanged);
}

// Base = the file as loaded, ours = memory, theirs = the file now; the merged schedule is
// journalled and told once; the next save writes it over the file it was merged with.
TEST_F(ScheduleKeeperTest, AnOutsideChangeUnderUnsavedEditsIsMergedToldOnceAndSaved) {
  const std::string loaded = *ports.file;
  Add(state.Years, 2, "電気", 3000);
  ScheduleEdited(state);
  YearDatas theirs = Parsed(loaded);
  Add(theirs, 5, "取込", 700);
  ports.WriteFromOutside(Bytes(theirs));

  EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kMerged);
  EXPECT_EQ(Payments(state.Years), (std::vector<std::string>{"1:家賃", "2:電気", "5:取込"}));
  ASSERT_EQ(ports.log.size(), 2u);
  EXPECT_EQ(ports.log[0], "redraw");
  const ScheduleChanges told = DiffSchedules({Parsed(loaded), state.DefaultUserLists}, {theirs, state.DefaultUserLists});
  EXPECT_EQ(ports.log[1], "told: " + MergeMessageText(told, kPath));
  EXPECT_EQ(*ports.journal, Bytes(state.Years));
  EXPECT_TRUE(keeper.Unsaved());

  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(*ports.file, Bytes(state.Years));
  EXPECT_EQ(std::count_if(ports.log.begin(), ports.log.end(), [](const std::string& l) { return l.starts_with("told"); }), 1);
}

// The save itself looks first: a file rewritten since the last look is merged, not overwritten.
TEST_F(ScheduleKeeperTest, ASaveMergesAChangeNoNoticeReportedFirst) {
  Add(state.Years, 2, "電気", 3000);
  YearDatas theirs = Parsed(*ports.file);
  Add(theirs, 7, "他のPC", 900);
  ports.WriteFromOutside(Bytes(theirs));
  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(Payments(Parsed(*ports.file)), (std::vector<std::string>{"1:家賃", "2:電気", "7:他のPC"}));
}

// A file that cannot be read now, or is half written, is looked at again later; it is never
// taken for an empty schedule, and a save does not go over it.
TEST_F(ScheduleKeeperTest, AFileThatCannotBeReadNowIsTriedAgainAndNeverWrittenOver) {
  struct Case {
    const char* what;
    bool locked;
    std::string bytes;
  };
  for (const Case& c : {Case{"locked", true, Bytes(state.Years) + "x"}, Case{"half written", false, std::string("\x01\x00\x05", 3)}}) {
    SCOPED_TRACE(c.what);
    ports.log.clear();
    ports.WriteFromOutside(c.bytes);
    ports.locked = c.locked;
    EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kUnreadable);
    EXPECT_EQ(Payments(state.Years), std::vector<std::string>{"1:家賃"});
    Add(state.Years, 3, "ガス", 400);
    EXPECT_EQ(keeper.Save(), ScheduleKeeper::kUnreadableBeforeSave);
    EXPECT_EQ(*ports.file, c.bytes);
    EXPECT_EQ(ports.log, (std::vector<std::string>{"look again", "look again"}));
    state.Years.At(1)->MonthDatas.At(1)->DayDatas.Remove("3");
    ports.locked = false;
  }
}

TEST_F(ScheduleKeeperTest, AFileOnlyTouchedOrGoneChangesNothingInMemory) {
  ports.WriteFromOutside(*ports.file);  // the same bytes, a new time
  EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kUnchanged);
  ports.file.reset();
  EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kGone);
  EXPECT_EQ(Payments(state.Years), std::vector<std::string>{"1:家賃"});
  EXPECT_TRUE(ports.log.empty());
  // The next save writes the schedule again.
  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(*ports.file, Bytes(state.Years));
}

TEST_F(ScheduleKeeperTest, ANewFileStartsEmptyAndTheFirstEditIsJournalled) {
  state.Years.Clear();
  ports.file.reset();
  keeper.Loaded(false);
  EXPECT_FALSE(keeper.Unsaved());
  Add(state.Years, 4, "初", 100);
  ScheduleEdited(state);
  EXPECT_TRUE(ports.journal);
  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(ports.log, std::vector<std::string>{"replace"}) << "no old version to keep";
}

}  // namespace
}  // namespace orv
