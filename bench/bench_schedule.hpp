#pragma once
// The large schedule the benchmarks work on: 20 years, every day with 3 payments and 2 special
// entries, 4 x 200 presets. Saved, it makes a user data file of about 1.65 MB.
#include <string>

#include "schedule/schedule.hpp"

namespace orv::bench {

inline void BuildLargeSchedule(YearDatas& years, DefaultUserListArray& lists) {
  const auto first = MakeDate(2010, 1, 1);
  const auto last = MakeDate(2030, 1, 1);
  for (auto d = first; d < last; d += std::chrono::days{1}) {
    DayData& day = GetOrCreateDay(years, SplitDate(d));
    for (int i = 0; i < 3; ++i) {
      auto& p = *day.PaymentDatas.Add(NextPaymentKey(day));
      p.Payment = i == 2;
      p.lngPrice = 1000 * (i + 1);
      p.strTitle = i == 0 ? "家賃の自動振替" : "Lunch at the office";
    }
    for (int i = 0; i < 2; ++i) {
      auto& s = *day.SpecialDatas.Add(NextSpecialKey(day));
      s.blnSpecial = i == 0;
      s.strSpecial = "記念日";
      s.strComment = "A comment that is a little longer than the title";
    }
    RecalcPaymentTotals(day);
    RecalcSpecialTotals(day);
  }
  for (auto& list : lists)
    for (int i = 0; i < 200; ++i) list.Add(list.NextKey())->strValue1 = "定型 " + std::to_string(i);
}

}  // namespace orv::bench
