#include "tools/orvtool/merge_command.hpp"

#include <gtest/gtest.h>

#include "platform/file_system.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"
#include "support/temp_dir.hpp"

namespace orv::tool {
namespace {

struct Outcome {
  int code = -1;
  std::string out, err;
};
Outcome Merge(const std::vector<std::string>& args) {
  Outcome run;
  run.code = RunMergeCommand(args, run.out, run.err);
  return run;
}

// The story of a script: an import elsewhere and the calendar's own edit, merged into one file.
TEST(MergeCommand, ThreeWaysKeepsBothSidesChangesAndTwoWaysEveryEntry) {
  test::TempDir dir;
  const std::string base = dir.File("base.ORV"), ours = dir.File("ours.ORV"), theirs = dir.File("theirs.ORV"),
                    out = dir.File("out.ORV");
  YearDatas years;
  DefaultUserListArray lists;
  AddNewEntry(years, {2026, 3, 8}, {kAutomaticTransfers, "家賃", 50000, {}});
  AddNewEntry(years, {2026, 3, 9}, {kSpecialDays, "会議", 0, {}});
  ASSERT_EQ(sfSaveUserData(base, years, lists), "");
  AddNewEntry(years, {2026, 3, 8}, {kCashPayments, "昼食", 800, {}});
  ASSERT_EQ(sfSaveUserData(ours, years, lists), "");
  YearDatas other;
  AddNewEntry(other, {2026, 3, 8}, {kAutomaticTransfers, "家賃", 50000, {}});
  AddNewEntry(other, {2027, 1, 1}, {kVerySpecialDays, "元日", 0, "初詣"});
  ASSERT_EQ(sfSaveUserData(theirs, other, lists), "");

  const Outcome run = Merge({base, ours, theirs, "-o", out});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, out + ": 3 entries\n  from " + theirs + ": 1 added, 1 removed\n  from " + ours +
                         ": 1 added, 0 removed\n");
  YearDatas merged;
  DefaultUserListArray merged_lists;
  ASSERT_EQ(sfLoadUserData(out, merged, merged_lists), "");
  EXPECT_EQ(FindDay(merged, {2026, 3, 8, 0})->PaymentDatas.Count(), 2);
  EXPECT_EQ(FindDay(merged, {2026, 3, 8, 0})->TotalPaymentPrice, 50800);
  EXPECT_EQ(FindDay(merged, {2026, 3, 9, 0}), nullptr) << "deleted on one side";
  EXPECT_NE(FindDay(merged, {2027, 1, 1, 0}), nullptr);

  ASSERT_EQ(Merge({ours, theirs, "-o", out}).code, 0);
  ASSERT_EQ(sfLoadUserData(out, merged, merged_lists), "");
  EXPECT_NE(FindDay(merged, {2026, 3, 9, 0}), nullptr) << "without a base nothing is deleted";
  EXPECT_FALSE(FileExists(SeriesFilePath(out))) << "no file had series";
}

Series Monthly(std::uint32_t id, const char* name, std::vector<Date> skipped = {}) {
  Series s;
  s.id = id;
  s.rule.entry = {kCashPayments, name, 1000, {}};
  s.rule.start = MakeDate(2027, 1, 1);
  s.skipped = std::move(skipped);
  s.written_through = MakeDate(2028, 12, 1);
  return s;
}

// The companions merge with their data files: three ways as the calendar merges an outside
// change, without a base as it unites a sync client's copy.
TEST(MergeCommand, TheSeriesBesideTheFilesAreMergedToo) {
  const Date skipped = MakeDate(2027, 3, 1);
  struct Case {
    const char* what;
    std::vector<std::optional<SeriesBook>> books;  // beside base (three ways), ours, theirs
    std::string expected;                           // "id name skipped-count;" per series
  };
  const Case cases[] = {
      {"three ways: added on ours, a date skipped on theirs",
       {SeriesBook{{Monthly(1, "家賃")}, 2}, SeriesBook{{Monthly(1, "家賃"), Monthly(2, "保険")}, 3},
        SeriesBook{{Monthly(1, "家賃", {skipped})}, 2}},
       "1 家賃 1;2 保険 0;"},
      {"three ways: removed on theirs, unchanged on ours",
       {SeriesBook{{Monthly(1, "家賃")}, 2}, SeriesBook{{Monthly(1, "家賃")}, 2}, SeriesBook{{}, 2}}, ""},
      {"without a base: one id, two series on two computers", {SeriesBook{{Monthly(1, "家賃")}, 2},
                                                              SeriesBook{{Monthly(1, "保険")}, 2}},
       "1 家賃 0;2 保険 0;"},
      {"without a base: only the copy has series", {std::nullopt, SeriesBook{{Monthly(3, "会費")}, 4}}, "3 会費 0;"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    std::vector<std::string> args;
    for (std::size_t i = 0; i < c.books.size(); ++i) {
      const std::string file = dir.File("in" + std::to_string(i) + ".ORV");
      ASSERT_EQ(sfSaveUserData(file, {}, {}), "");
      if (c.books[i]) test::WriteBytes(SeriesFilePath(file), WriteSeriesText(*c.books[i]));
      args.push_back(file);
    }
    const std::string out = dir.File("out.ORV");
    args.insert(args.end(), {"-o", out});
    const Outcome run = Merge(args);
    ASSERT_EQ(run.code, 0) << c.what << ": " << run.err;
    std::string text;
    ASSERT_FALSE(ReadWholeFile(SeriesFilePath(out), text)) << c.what;
    const std::optional<SeriesBook> book = ReadSeriesText(text);
    ASSERT_TRUE(book) << c.what;
    std::string summary;
    for (const Series& s : book->series)
      summary += std::to_string(s.id) + " " + s.rule.entry.name + " " + std::to_string(s.skipped.size()) + ";";
    EXPECT_EQ(summary, c.expected) << c.what;
    EXPECT_NE(run.out.find("out.ORV.series: " + std::to_string(book->series.size()) + " series"), std::string::npos)
        << c.what << ": " << run.out;
  }
}

TEST(MergeCommand, BadUsageAndUnreadableFilesChangeNothing) {
  test::TempDir dir;
  const std::string good = dir.File("good.ORV"), out = dir.File("out.ORV");
  ASSERT_EQ(sfSaveUserData(good, {}, {}), "");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {good, good, good}, {good, "-o", out}, {good, good, good, good, "-o", out}, {"-x", good, good, "-o", out}}) {
    const Outcome run = Merge(args);
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("usage"), std::string::npos);
  }
  test::WriteBytes(dir.File("short.ORV"), "\x01");
  const Outcome run = Merge({good, dir.File("short.ORV"), dir.File("missing.ORV"), "-o", out});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("short.ORV: sfLoadUserData 2"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("missing.ORV: sfLoadUserData 0"), std::string::npos) << run.err;
  EXPECT_FALSE(FileExists(out));

  test::WriteBytes(SeriesFilePath(good), "OrvantaSeries 1\nnext-id x\n");
  const Outcome damaged = Merge({good, good, "-o", out});
  EXPECT_EQ(damaged.code, 1);
  EXPECT_NE(damaged.err.find("good.ORV.series: the series file is damaged"), std::string::npos) << damaged.err;
  EXPECT_FALSE(FileExists(out));
}

}  // namespace
}  // namespace orv::tool
