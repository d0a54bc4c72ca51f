#include "tools/orvtool/merge_command.hpp"

#include <gtest/gtest.h>

#include "platform/file_system.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/user_data_file.hpp"
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
}

}  // namespace
}  // namespace orv::tool
