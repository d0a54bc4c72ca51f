#include "schedule/schedule_keeper.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "schedule/new_entry.hpp"
#include "schedule/schedule_merge.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"

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

// A file system of one data file, its series companion and the journal, and a record of what
// the keeper asked for.
class FakeKeeperPorts : public KeeperPorts {
public:
  std::optional<std::string> file;  // nullopt: no file
  bool locked = false;              // cannot be read or replaced
  std::int64_t time = 1;
  std::optional<std::string> series;  // the companion
  bool series_locked = false;
  std::int64_t series_time = 1;
  bool set_aside_fails = false;
  std::optional<std::string> set_aside;  // what was moved aside
  std::optional<std::string> journal;
  std::optional<std::string> journal_series;
  std::vector<std::string> log;

  static bool IsSeries(const std::string& path) { return path == SeriesFilePath(kPath); }
  void WriteFromOutside(std::string bytes) {
    file = std::move(bytes);
    ++time;
  }
  void WriteSeriesFromOutside(std::string text) {
    series = std::move(text);
    ++series_time;
  }
  std::optional<FileStamp> Stamp(const std::string& path) override {
    const auto& f = IsSeries(path) ? series : file;
    if (!f) return std::nullopt;
    return FileStamp{f->size(), IsSeries(path) ? series_time : time};
  }
  DataFileRead ReadDataFile(const std::string& path) override {
    const auto& f = IsSeries(path) ? series : file;
    if (!f) return {DataFileRead::kMissing, {}};
    if (IsSeries(path) ? series_locked : locked) return {DataFileRead::kUnreadable, {}};
    return {DataFileRead::kRead, *f};
  }
  void KeepPreviousVersion(const std::string&) override { log.push_back("backup"); }
  std::string ReplaceDataFile(const std::string& path, std::string_view bytes) override {
    const std::string what = IsSeries(path) ? "replace series" : "replace";
    if (IsSeries(path) ? series_locked : locked) {
      log.push_back(what + " failed");
      return "sfSaveUserData\t32\tlocked\n";
    }
    log.push_back(what);
    if (IsSeries(path))
      WriteSeriesFromOutside(std::string(bytes));
    else
      WriteFromOutside(std::string(bytes));
    return {};
  }
  std::string WriteJournal(const std::string& data_path, std::string_view bytes, std::string_view text) override {
    journal = std::string(bytes);
    journal_series = text.empty() ? std::nullopt : std::optional<std::string>(text);
    return data_path + ".journal";
  }
  void RemoveJournal(const std::string&) override {
    journal.reset();
    journal_series.reset();
  }
  void TellMerged(const std::string& text) override { log.push_back("told: " + text); }
  void Redraw() override { log.push_back("redraw"); }
  void Changed() override { ++changes; }
  int changes = 0;  // how often the schedule in memory was reported changed
  void LookAgainSoon() override { log.push_back("look again"); }
  std::string SetAside(const std::string& path) override {
    if (set_aside_fails) return {};
    set_aside = std::exchange(series, std::nullopt);
    return SetAsidePath(path, 1);
  }
  void TellSeriesFileDamaged(const std::string& text) override { log.push_back("damaged: " + text); }
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

// Whatever follows the schedule hears of every change to it in memory, from an edit or from
// outside, and of nothing else (a save, a look that finds nothing new).
TEST_F(ScheduleKeeperTest, EveryChangeInMemoryIsReportedAndNothingElse) {
  struct Step {
    const char* what;
    std::function<void()> act;
    int reported;
  };
  YearDatas theirs;
  const Step steps[] = {
      {"an edit", [&] { Add(state.Years, 2, "電気", 3000); ScheduleEdited(state); }, 1},
      {"a save", [&] { EXPECT_EQ(keeper.Save(), ""); }, 0},
      {"a save with nothing new", [&] { EXPECT_EQ(keeper.Save(), ""); }, 0},
      {"a look at an unchanged file", [&] { keeper.LookAtFile(); }, 0},
      {"a change from outside, loaded",
       [&] {
         theirs = Parsed(*ports.file);
         Add(theirs, 5, "取込", 700);
         ports.WriteFromOutside(Bytes(theirs));
         EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kReloaded);
       },
       1},
      {"a change from outside, merged with an edit",
       [&] {
         Add(state.Years, 6, "ガス", 4000);
         ScheduleEdited(state);
         Add(theirs, 7, "他のPC", 900);
         ports.WriteFromOutside(Bytes(theirs));
         EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kMerged);
       },
       2},
      {"a save that merges nothing new", [&] { EXPECT_EQ(keeper.Save(), ""); }, 0},
      {"a file only touched", [&] { ++ports.time; keeper.LookAtFile(); }, 0},
      {"a journal's schedule put in place", [&] { keeper.Replaced(); }, 1},
  };
  for (const Step& step : steps) {
    const int before = ports.changes;
    step.act();
    EXPECT_EQ(ports.changes - before, step.reported) << step.what;
  }
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
    EXPECT_EQ(keeper.UnreadablePath(), state.UserDataPath);
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

// The series companion beside the data file: part of what is compared, journalled, merged and
// saved.
Series Monthly(std::uint32_t id, const char* name, int day) {
  Series series;
  series.id = id;
  series.rule.entry = {kCashPayments, name, 1000, {}};
  series.rule.start = MakeDate(2026, 12, day);
  series.rule.unit = SeriesUnit::kMonth;
  series.written_through = MakeDate(2028, 12, day);
  return series;
}

SeriesBook BookOf(std::vector<Series> list, std::uint32_t next_id) {
  SeriesBook book;
  book.series = std::move(list);
  book.next_id = next_id;
  return book;
}

std::vector<std::string> Damaged(const std::vector<std::string>& log) {
  std::vector<std::string> told;
  for (const std::string& line : log)
    if (line.starts_with("damaged: ")) told.push_back(line);
  return told;
}

class SeriesKeepingTest : public ScheduleKeeperTest {
protected:
  void SetUp() override {
    ScheduleKeeperTest::SetUp();
    ports.series = WriteSeriesText(loaded_book);
    keeper.Loaded(true);
  }
  const SeriesBook loaded_book = BookOf({Monthly(1, "家賃", 1)}, 2);
};

TEST_F(SeriesKeepingTest, ABookOnlyEditIsUnsavedJournalledAndSavedInTheCompanionAlone) {
  EXPECT_EQ(state.Series, loaded_book);
  EXPECT_FALSE(keeper.Unsaved());
  state.Series.series[0].skipped.push_back(MakeDate(2027, 1, 1));  // one date taken out
  ScheduleEdited(state);
  EXPECT_TRUE(keeper.Unsaved());
  ASSERT_TRUE(ports.journal && ports.journal_series);
  EXPECT_EQ(*ports.journal, Bytes(state.Years));
  EXPECT_EQ(ReadSeriesText(*ports.journal_series), state.Series);

  const std::string data_before = *ports.file;
  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(ports.log, (std::vector<std::string>{"backup", "replace series"}));
  EXPECT_EQ(*ports.file, data_before) << "the data file holds these entries already";
  EXPECT_EQ(ReadSeriesText(*ports.series), state.Series);
  EXPECT_FALSE(ports.journal);
  EXPECT_FALSE(ports.journal_series);
  EXPECT_FALSE(keeper.Unsaved());
  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(ports.log.size(), 2u) << "nothing new: nothing written";
}

// No series and no companion: none is made. A companion that exists is written even when the
// book empties (the ids it handed out are not handed out again).
TEST_F(SeriesKeepingTest, TheCompanionIsWrittenWhenThereIsOrWasABook) {
  struct Case {
    const char* what;
    bool companion_before;
    void (*change)(AppState&);
    std::optional<SeriesBook> companion_after;
  };
  const Case cases[] = {
      {"entries only, never a series", false, [](AppState& s) { Add(s.Years, 2, "電気", 3000); }, std::nullopt},
      {"the first series", false, [](AppState& s) { s.Series = BookOf({Monthly(1, "電話", 3)}, 2); },
       BookOf({Monthly(1, "電話", 3)}, 2)},
      {"every series deleted", true, [](AppState& s) { s.Series.series.clear(); }, BookOf({}, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    state.Years.Clear();
    Add(state.Years, 1, "家賃", 50000);
    ports.file = Bytes(state.Years);
    ports.series = c.companion_before ? std::optional<std::string>(WriteSeriesText(loaded_book)) : std::nullopt;
    keeper.Loaded(true);
    c.change(state);
    ScheduleEdited(state);
    EXPECT_EQ(keeper.Save(), "");
    EXPECT_EQ(ports.series.has_value(), c.companion_after.has_value());
    if (ports.series && c.companion_after) {
      EXPECT_EQ(ReadSeriesText(*ports.series), *c.companion_after);
    }
    EXPECT_FALSE(keeper.Unsaved());
  }
}

// `orvtool series add` writes both files; another program may write the companion alone.
TEST_F(SeriesKeepingTest, AnOutsideChangeOfEitherFileReloadsTheBookWithNothingUnsaved) {
  struct Case {
    const char* what;
    bool data_too;
  };
  for (const Case& c : {Case{"both files", true}, Case{"the companion alone", false}}) {
    SCOPED_TRACE(c.what);
    ports.log.clear();
    const SeriesBook theirs = BookOf({Monthly(1, "家賃", 1), Monthly(2, std::string("保険").append(c.what).c_str(), 9)}, 3);
    if (c.data_too) {
      YearDatas years = Parsed(*ports.file);
      Add(years, 9, c.what, 800);
      ports.WriteFromOutside(Bytes(years));
    }
    ports.WriteSeriesFromOutside(WriteSeriesText(theirs));
    EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kReloaded);
    EXPECT_EQ(state.Series, theirs);
    EXPECT_EQ(Payments(state.Years).size(), 2u);
    EXPECT_EQ(ports.log, std::vector<std::string>{"redraw"});
    EXPECT_FALSE(keeper.Unsaved());
    EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kUnchanged);
    EXPECT_EQ(keeper.Save(), "");
    EXPECT_EQ(ports.log, std::vector<std::string>{"redraw"}) << "the files hold it already";
  }
}

// Base = the book last loaded, ours = memory, theirs = the companion now.
TEST_F(SeriesKeepingTest, UnsavedSeriesAreMergedWithSeriesAddedOutsideAndSavedTogether) {
  const SeriesBook base = state.Series;
  state.Series = BookOf({Monthly(1, "家賃", 1), Monthly(2, "電話", 3)}, 3);
  Add(state.Years, 3, "電話", 1000);
  ScheduleEdited(state);
  const SeriesBook mine = state.Series;
  const SeriesBook theirs = BookOf({Monthly(1, "家賃", 1), Monthly(2, "保険", 9)}, 3);
  YearDatas their_years = Parsed(*ports.file);
  Add(their_years, 9, "保険", 1000);
  ports.WriteFromOutside(Bytes(their_years));
  ports.WriteSeriesFromOutside(WriteSeriesText(theirs));

  EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kMerged);
  const SeriesBook merged = MergeSeriesBooks(base, mine, theirs);
  EXPECT_EQ(state.Series, merged);
  EXPECT_EQ(merged.series.size(), 3u) << "both additions kept";
  EXPECT_EQ(Payments(state.Years), (std::vector<std::string>{"1:家賃", "3:電話", "9:保険"}));
  ASSERT_TRUE(ports.journal_series);
  EXPECT_EQ(ReadSeriesText(*ports.journal_series), merged);

  EXPECT_EQ(keeper.Save(), "");
  EXPECT_EQ(ReadSeriesText(*ports.series), merged);
  EXPECT_EQ(Payments(Parsed(*ports.file)), Payments(state.Years));
  EXPECT_FALSE(ports.journal_series);
}

// A companion that does not read never blocks the schedule: its entries stay as plain
// entries, the user is told once, and the file is never lost.
TEST_F(SeriesKeepingTest, ADamagedCompanionLeavesPlainEntriesIsToldOnceAndIsKept) {
  struct Case {
    const char* what;
    bool aside_fails;
    std::vector<std::string> save_log;
    std::optional<SeriesBook> companion_after_save;
  };
  const Case cases[] = {
      {"set aside", false, {}, std::nullopt},
      {"cannot be moved: backed up, then written anew", true, {"backup", "replace series"}, SeriesBook{}},
  };
  const std::string damaged = "this is not a series file\x01\xff";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ports.log.clear();
    ports.set_aside.reset();
    ports.set_aside_fails = c.aside_fails;
    ports.WriteSeriesFromOutside(damaged);
    keeper.Loaded(true);
    EXPECT_EQ(state.Series, SeriesBook{});
    EXPECT_EQ(Payments(state.Years), std::vector<std::string>{"1:家賃"});
    const std::string aside = c.aside_fails ? "" : SetAsidePath(SeriesFilePath(kPath), 1);
    EXPECT_EQ(Damaged(ports.log),
              std::vector<std::string>{"damaged: " + SeriesFileDamagedText(SeriesFilePath(kPath), aside)});
    if (!c.aside_fails) {
      EXPECT_EQ(ports.set_aside, damaged);
    }
    EXPECT_FALSE(keeper.Unsaved());

    ports.log.clear();
    EXPECT_EQ(keeper.Save(), "");
    EXPECT_EQ(ports.log, c.save_log);
    EXPECT_EQ(ports.series.has_value(), c.companion_after_save.has_value());
    if (ports.series && c.companion_after_save) {
      EXPECT_EQ(ReadSeriesText(*ports.series), *c.companion_after_save);
    }
    // The next start reads a file that is fine, or none: nothing more to tell.
    keeper.Loaded(true);
    EXPECT_TRUE(Damaged(ports.log).empty());
  }
}

// A companion held by another program at start is read at the next look, never taken for an
// empty book: a save before that is refused rather than written over it.
TEST_F(SeriesKeepingTest, ACompanionThatCannotBeReadAtStartIsReadLaterAndNeverWrittenOver) {
  ports.series_locked = true;
  ports.log.clear();
  keeper.Loaded(true);
  EXPECT_EQ(state.Series, SeriesBook{});
  EXPECT_EQ(ports.log, std::vector<std::string>{"look again"});
  EXPECT_TRUE(Damaged(ports.log).empty());
  EXPECT_EQ(keeper.Save(), ScheduleKeeper::kUnreadableBeforeSave);
  EXPECT_EQ(keeper.UnreadablePath(), SeriesFilePath(state.UserDataPath)) << "the message names the file that is held";
  EXPECT_EQ(ReadSeriesText(*ports.series), loaded_book);
  ports.series_locked = false;
  EXPECT_EQ(keeper.LookAtFile(), ScheduleKeeper::Look::kReloaded);
  EXPECT_EQ(state.Series, loaded_book);
}

TEST_F(SeriesKeepingTest, ACompanionThatCannotBeWrittenLeavesTheBookInTheJournal) {
  state.Series.series[0].skipped.push_back(MakeDate(2027, 2, 1));
  ScheduleEdited(state);
  ports.journal.reset();
  ports.journal_series.reset();
  ports.series_locked = true;
  EXPECT_NE(keeper.Save(), "");
  ASSERT_TRUE(ports.journal_series);
  EXPECT_EQ(ReadSeriesText(*ports.journal_series), state.Series);
  EXPECT_TRUE(keeper.Unsaved());
}

}  // namespace
}  // namespace orv
