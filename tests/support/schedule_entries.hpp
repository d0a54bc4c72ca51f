#pragma once
// Entries put into a test's schedule the way the program adds them: under the day's next free
// key, with the day's totals recomputed.
#include <cstdint>
#include <string>
#include <utility>

#include "core/dates.hpp"
#include "schedule/new_entry.hpp"

namespace orv::test {

// `kind` is the payment's kind as the data file stores it: 0 automatic transfer, 1 cash.
inline DayData& AddPayment(YearDatas& years, Date date, std::string name, std::int32_t amount, int kind = 0) {
  return AddNewEntry(years, SplitDate(date), {kind == 0 ? kAutomaticTransfers : kCashPayments, std::move(name), amount, {}});
}

inline DayData& AddSpecial(YearDatas& years, Date date, std::string title, bool very, std::string comment = {}) {
  return AddNewEntry(years, SplitDate(date), {very ? kVerySpecialDays : kSpecialDays, std::move(title), 0, std::move(comment)});
}

}  // namespace orv::test
