#include "schedule/new_entry.hpp"

#include <limits>

#include "schedule/user_data_file.hpp"

namespace orv {

bool IsPaymentKind(int kind) {
  return kind == kAutomaticTransfers || kind == kCashPayments;
}
bool IsSpecialKind(int kind) {
  return kind == kVerySpecialDays || kind == kSpecialDays;
}

EntryCheck CheckNewEntry(const YearDatas& years, const DateParts& date, const NewEntry& entry) {
  const bool payment = IsPaymentKind(entry.kind);
  if (payment ? entry.amount == 0 : !IsSpecialKind(entry.kind) || entry.name.empty())
    return {EntryRefusal::kMissingValue, {}};
  // Refused before anything is added: the file could not keep such a text unchanged, so the
  // next save would fail and the entry would be lost with the program.
  if (auto why = CheckStorableText(entry.name); !why.empty())
    return {EntryRefusal::kUnstorableName, why};
  if (!payment) {
    if (auto why = CheckStorableText(entry.comment); !why.empty())
      return {EntryRefusal::kUnstorableComment, why};
    return {};
  }
  // The day's total is a 32-bit value: an entry that would push it out of range is refused
  // instead of wrapping into a wrong total.
  std::int64_t total = entry.amount;
  if (const DayData* day = FindDay(years, date))
    for (const auto& existing : day->PaymentDatas) total += existing.lngPrice;
  if (total < std::numeric_limits<std::int32_t>::min() ||
      total > std::numeric_limits<std::int32_t>::max())
    return {EntryRefusal::kTotalOutOfRange, {}};
  return {};
}

DayData& AddNewEntry(YearDatas& years, const DateParts& date, const NewEntry& entry) {
  DayData& day = GetOrCreateDay(years, date);
  if (IsPaymentKind(entry.kind)) {
    PaymentData& payment = *day.PaymentDatas.Add(NextPaymentKey(day));
    payment.strTitle = entry.name;
    payment.lngPrice = entry.amount;
    payment.Payment = entry.kind == kAutomaticTransfers ? 0 : 1;
    RecalcPaymentTotals(day);
  } else {
    SpecialData& special = *day.SpecialDatas.Add(NextSpecialKey(day));
    special.strSpecial = entry.name;
    special.strComment = entry.comment;
    special.blnSpecial = entry.kind == kVerySpecialDays;
    RecalcSpecialTotals(day);
  }
  return day;
}

}  // namespace orv
