#include "schedule/schedule_merge.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace orv {
namespace {

// A schedule written as lines, one entry each:
//   "2026/12/8 A 家賃 50000"   automatic transfer     "2026/12/8 C 昼食 800"  cash
//   "2026/12/8 V 記念日 comment" very special day      "2026/12/8 S 誕生日 comment" special day
//   "2026/12/8 -"              the day without entries
//   "preset 3 記念日"          a preset of list 3
struct Schedule {
  YearDatas Years;
  DefaultUserListArray Lists;
  ScheduleView View() const { return {Years, Lists}; }
};

Schedule Make(const std::vector<std::string>& lines) {
  Schedule s;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::string date, kind, title, last;
    in >> date >> kind >> title >> last;
    if (date == "preset") {
      auto& list = s.Lists[static_cast<std::size_t>(std::stoi(kind))];
      list.Add(list.NextKey())->strValue1 = title;
      continue;
    }
    int y, m, d;
    std::sscanf(date.c_str(), "%d/%d/%d", &y, &m, &d);
    DayData& day = GetOrCreateDay(s.Years, SplitDate(MakeDate(y, m, d)));
    if (kind == "A" || kind == "C") {
      PaymentData& p = *day.PaymentDatas.Add(NextPaymentKey(day));
      p.Payment = kind == "C";
      p.strTitle = title;
      p.lngPrice = std::stoi(last);
    } else if (kind == "V" || kind == "S") {
      SpecialData& sp = *day.SpecialDatas.Add(NextSpecialKey(day));
      sp.blnSpecial = kind == "V";
      sp.strSpecial = title;
      sp.strComment = last;
    }
    RecalcPaymentTotals(day);
    RecalcSpecialTotals(day);
  }
  return s;
}

// The schedule back as such lines, in the tree's order.
std::vector<std::string> Lines(const YearDatas& years, const DefaultUserListArray& lists) {
  std::vector<std::string> out;
  for (const auto& year : years)
    for (const auto& month : year.MonthDatas)
      for (const auto& day : month.DayDatas) {
        const std::string date = year.Key + "/" + month.Key + "/" + day.Key;
        if (day.PaymentDatas.Empty() && day.SpecialDatas.Empty()) out.push_back(date + " -");
        for (const auto& p : day.PaymentDatas)
          out.push_back(date + (p.Payment ? " C " : " A ") + p.strTitle + " " + std::to_string(p.lngPrice));
        for (const auto& sp : day.SpecialDatas)
          out.push_back(date + (sp.blnSpecial ? " V " : " S ") + sp.strSpecial + " " + sp.strComment);
      }
  for (std::size_t k = 0; k < lists.size(); ++k)
    for (const auto& preset : lists[k]) out.push_back("preset " + std::to_string(k) + " " + preset.strValue1);
  return out;
}

struct MergeCase {
  const char* name;
  std::vector<std::string> base, ours, theirs, merged;
  std::int64_t added_from_theirs, removed_by_theirs;
};

class ThreeWayMerge : public testing::TestWithParam<MergeCase> {};

TEST_P(ThreeWayMerge, KeepsEveryChangeOfEitherSide) {
  const MergeCase& c = GetParam();
  const Schedule base = Make(c.base), ours = Make(c.ours), theirs = Make(c.theirs);
  const MergeResult result = MergeSchedules(base.View(), ours.View(), theirs.View());
  EXPECT_EQ(Lines(result.Years, result.Lists), c.merged);
  EXPECT_EQ(result.FromTheirs.AddedEntries(), c.added_from_theirs);
  EXPECT_EQ(result.FromTheirs.RemovedEntries(), c.removed_by_theirs);

  // The merge is symmetric in content: with the sides swapped, the same entries per day.
  const MergeResult swapped = MergeSchedules(base.View(), theirs.View(), ours.View());
  EXPECT_TRUE(DiffSchedules({result.Years, result.Lists}, {swapped.Years, swapped.Lists}).Empty());
}

const char* const k1 = "2026/12/8 A 家賃 50000";
const char* const k2 = "2026/12/8 C 昼食 800";
const char* const k3 = "2026/12/8 V 記念日 結婚";
const char* const k4 = "2026/12/9 S 誕生日 母";
const char* const k5 = "2027/1/5 A 保険 3000";
const char* const k6 = "2027/2/1 C 本 1500";

INSTANTIATE_TEST_SUITE_P(
    Cases, ThreeWayMerge,
    testing::Values(
        MergeCase{"NothingChanged", {k1, k4}, {k1, k4}, {k1, k4}, {k1, k4}, 0, 0},
        MergeCase{"TheirsAdded", {k1}, {k1}, {k1, k2}, {k1, k2}, 1, 0},
        MergeCase{"OursAdded", {k1}, {k1, k2}, {k1}, {k1, k2}, 0, 0},
        MergeCase{"BothAddedOtherEntries", {k1}, {k1, k2}, {k1, k3, k4}, {k1, k2, k3, k4}, 2, 0},
        MergeCase{"BothAddedTheSameEntryKeptOnce", {k1}, {k1, k2}, {k1, k2}, {k1, k2}, 0, 0},
        MergeCase{"TheirsDeleted", {k1, k2, k4}, {k1, k2, k4}, {k1, k4}, {k1, k4}, 0, 1},
        MergeCase{"OursDeleted", {k1, k2}, {k1}, {k1, k2}, {k1}, 0, 0},
        MergeCase{"BothDeletedTheSameEntry", {k1, k2}, {k1}, {k1}, {k1}, 0, 0},
        MergeCase{"OneAddsTheOtherDeletes", {k1, k2}, {k1, k2, k3}, {k2}, {"2026/12/8 C 昼食 800", k3}, 0, 1},
        // Identical entries on one day count: a second "昼食 800" added on one side stays.
        MergeCase{"SecondIdenticalEntryAdded", {k2}, {k2, k2}, {k2}, {k2, k2}, 0, 0},
        MergeCase{"OneOfTwoIdenticalDeletedByTheirs", {k2, k2}, {k2, k2}, {k2}, {k2}, 0, 1},
        MergeCase{"EntryMovedToAnotherDayByTheirs", {k1, k5}, {k1, k5, k6}, {k1, "2027/1/6 A 保険 3000"},
                  {k1, "2027/1/6 A 保険 3000", k6}, 1, 1},
        // A whole year deleted on one side: only what base had there goes.
        MergeCase{"YearDeletedByTheirs", {k1, k5, k6}, {k1, k5, k6}, {k1}, {k1}, 0, 2},
        MergeCase{"YearDeletedByTheirsWhileOursAddedThere", {k1, k5}, {k1, k5, k6}, {k1},
                  {k1, k6}, 0, 1},
        MergeCase{"YearDeletedByOursWhileTheirsAddedThere", {k1, k5}, {k1}, {k1, k5, k6}, {k1, k6}, 1, 0},
        MergeCase{"EmptyDayDeletedByTheirs", {k1, "2026/12/10 -"}, {k1, "2026/12/10 -"}, {k1}, {k1}, 0, 0},
        MergeCase{"EmptyDayAddedByTheirs", {k1}, {k1}, {k1, "2026/12/10 -"}, {k1, "2026/12/10 -"}, 0, 0},
        MergeCase{"EverythingFromAnEmptyBase", {}, {k1}, {k4}, {k1, k4}, 1, 0},
        MergeCase{"PresetsMergedLikeEntries", {"preset 0 家賃", "preset 3 記念日"},
                  {"preset 0 家賃", "preset 3 記念日", "preset 3 誕生日"}, {"preset 3 記念日", "preset 1 昼食"},
                  {"preset 1 昼食", "preset 3 記念日", "preset 3 誕生日"}, 0, 0}),
    [](const testing::TestParamInfo<MergeCase>& param_info) { return std::string(param_info.param.name); });

TEST(ThreeWayMerge, RecomputesTheTotalsOfChangedDaysOnly) {
  Schedule base = Make({k1, k4});
  Schedule ours = Make({k1, k4});
  // A stored total the merge has no reason to touch (the file keeps totals as written).
  FindDay(ours.Years, SplitDate(MakeDate(2026, 12, 9)))->TotalPaymentPrice = 7;
  const Schedule theirs = Make({k1, k2, k3, k4});
  const MergeResult result = MergeSchedules(base.View(), ours.View(), theirs.View());
  const DayData& changed = *FindDay(result.Years, SplitDate(MakeDate(2026, 12, 8)));
  EXPECT_EQ(changed.TotalPaymentPrice, 50800);
  EXPECT_TRUE(changed.TotalCash);
  EXPECT_TRUE(changed.TotalSpecial);
  EXPECT_EQ(changed.SpecialTitle, "記念日");
  EXPECT_EQ(FindDay(result.Years, SplitDate(MakeDate(2026, 12, 9)))->TotalPaymentPrice, 7);
}

TEST(ThreeWayMerge, OursKeepTheirKeysAndNewEntriesGetFreshOnes) {
  const Schedule base = Make({k1});
  Schedule ours = Make({k1, k2, k2});
  DayData& day = *FindDay(ours.Years, SplitDate(MakeDate(2026, 12, 8)));
  day.PaymentDatas.Remove("2");  // keys "1" and "3" are in use
  const Schedule theirs = Make({k1, "2026/12/8 A 電気 9000"});
  const MergeResult result = MergeSchedules(base.View(), ours.View(), theirs.View());
  const DayData& merged = *FindDay(result.Years, SplitDate(MakeDate(2026, 12, 8)));
  ASSERT_EQ(merged.PaymentDatas.Count(), 3);
  EXPECT_EQ(merged.PaymentDatas.At(1)->Key, "1");
  EXPECT_EQ(merged.PaymentDatas.At(2)->Key, "3");
  EXPECT_EQ(merged.PaymentDatas.At(3)->strTitle, "電気");
  EXPECT_EQ(merged.PaymentDatas.At(3)->Key, "4");
}

TEST(UnionMerge, KeepsEveryEntryOfBothAndSharedOnesAsOftenAsTheSideWithMore) {
  const Schedule ours = Make({k1, k2, k2, k5, "preset 0 家賃"});
  const Schedule theirs = Make({k2, k3, k6, "preset 0 家賃", "preset 0 電気"});
  const MergeResult result = UnionSchedules(ours.View(), theirs.View());
  EXPECT_EQ(Lines(result.Years, result.Lists),
            (std::vector<std::string>{k1, k2, k2, k3, k5, k6, "preset 0 家賃", "preset 0 電気"}));
  EXPECT_EQ(result.FromTheirs.AddedEntries(), 2);
  EXPECT_EQ(result.FromTheirs.RemovedEntries(), 0);
  EXPECT_EQ(result.FromTheirs.Presets[0].Added, std::vector<std::string>{"電気"});
}

TEST(ScheduleDifference, ListsAddedAndRemovedEntriesPerDayInDateOrder) {
  const Schedule saved = Make({k5, k1, k2, "preset 2 記念日"});
  const Schedule memory = Make({k1, k3, k4, k4, "preset 2 記念日", "preset 2 命日"});
  const ScheduleChanges changes = DiffSchedules(saved.View(), memory.View());
  ASSERT_EQ(changes.Days.size(), 3u);
  EXPECT_EQ(changes.Days[0].Date, (DateParts{2026, 12, 8, 0}));
  ASSERT_EQ(changes.Days[0].Added.size(), 1u);
  EXPECT_EQ(changes.Days[0].Added[0].strSpecial, "記念日");
  ASSERT_EQ(changes.Days[0].Removed.size(), 1u);
  EXPECT_EQ(changes.Days[0].Removed[0].strTitle, "昼食");
  EXPECT_EQ(changes.Days[1].Added.size(), 2u);
  EXPECT_EQ(changes.Days[2].Date.Year, 2027);
  EXPECT_EQ(changes.Days[2].Removed.size(), 1u);
  EXPECT_EQ(changes.AddedEntries(), 3);
  EXPECT_EQ(changes.RemovedEntries(), 2);
  EXPECT_EQ(changes.Presets[2].Added, std::vector<std::string>{"命日"});
  EXPECT_TRUE(DiffSchedules(memory.View(), memory.View()).Empty());
}

TEST(ScheduleDifference, TextsListEachDayAndCutLongLists) {
  const Schedule saved = Make({k1, k2});
  const Schedule memory = Make({k1, k3, "2026/12/9 S 誕生日 母", "preset 1 昼食"});
  const ScheduleChanges changes = DiffSchedules(saved.View(), memory.View());
  EXPECT_EQ(DescribeChanges(changes),
            "2026/12/08\r\n"
            "  追加: 記念日 (特に特別な日) 結婚\r\n"
            "  削除: 昼食 800円 (現金)\r\n"
            "2026/12/09\r\n"
            "  追加: 誕生日 (特別な日) 母\r\n"
            "定型入力 (現金払い・振り込み等)\r\n"
            "  追加: 昼食\r\n");
  EXPECT_EQ(DescribeChanges(changes, 2), "2026/12/08\r\n  追加: 記念日 (特に特別な日) 結婚\r\nほか 3 件\r\n");
  EXPECT_EQ(DescribeEntry({false, 0, "家賃", 1234567, false, "", ""}), "家賃 1,234,567円 (自動振替)");
  EXPECT_NE(UnsavedChangesText(changes).find("追加 2 件、削除 1 件、定型入力の変更 1 件"), std::string::npos);
  EXPECT_NE(MergeMessageText(changes, "D:\\予定.ORV").find("D:\\予定.ORV"), std::string::npos);
}

TEST(CopySchedule, CopiesTreeTotalsAndPresets) {
  Schedule from = Make({k1, k2, k4, "preset 3 記念日"});
  FindDay(from.Years, SplitDate(MakeDate(2026, 12, 8)))->TotalPaymentPrice = 1;
  YearDatas years;
  DefaultUserListArray lists;
  CopySchedule(from.View(), years, lists);
  EXPECT_EQ(Lines(years, lists), Lines(from.Years, from.Lists));
  EXPECT_EQ(FindDay(years, SplitDate(MakeDate(2026, 12, 8)))->TotalPaymentPrice, 1);
}

}  // namespace
}  // namespace orv
