#pragma once
// The user's schedule in memory: years hold months, months hold days, a day holds its
// payments and special-day entries plus the totals the calendar draws without walking the
// entries. Beside the tree sit the four preset name lists of the add-entry dialog.
//
// Keys are decimal texts without leading zeros; order is insertion order; nothing is sorted.
#include <array>
#include <cstdint>
#include <string>

#include "core/dates.hpp"
#include "core/keyed_collection.hpp"

namespace orv {

struct PaymentData {
  std::string Key;
  std::int32_t Payment = 0;  // 0 automatic transfer, 1 cash
  std::string strTitle;
  std::int32_t lngPrice = 0;
};

struct SpecialData {
  std::string Key;
  std::string strComment;
  bool blnSpecial = false;  // true: very special day
  std::string strSpecial;   // title
};

struct DefaultUserD {
  std::string Key;
  std::string strValue1;
};

using PaymentDatas = KeyedCollection<PaymentData>;
using SpecialDatas = KeyedCollection<SpecialData>;
using DefaultUserDs = KeyedCollection<DefaultUserD>;

// The five totals are stored values: the file keeps them and the editing dialogs recompute
// them after every change.
struct DayData {
  std::string Key;
  bool TotalCash = false;
  std::string SpecialTitle;
  bool TotalSpecial = false;
  std::string SpecialKey;
  orv::SpecialDatas SpecialDatas;
  std::int32_t TotalPaymentPrice = 0;
  orv::PaymentDatas PaymentDatas;
};
using DayDatas = KeyedCollection<DayData>;

struct MonthData {
  std::string Key;
  orv::DayDatas DayDatas;
};
using MonthDatas = KeyedCollection<MonthData>;

struct YearData {
  std::string Key;
  orv::MonthDatas MonthDatas;
};
using YearDatas = KeyedCollection<YearData>;

// Preset lists by kind of entry.
enum PresetKind : int {
  kAutomaticTransfers = 0,
  kCashPayments = 1,
  kVerySpecialDays = 2,
  kSpecialDays = 3,
};
using DefaultUserListArray = std::array<DefaultUserDs, 4>;

// The day of `date`, with its year, month and day created (appended) when missing.
DayData& GetOrCreateDay(YearDatas& years, const DateParts& date);
// The day of `date` when the tree holds it, else nullptr.
DayData* FindDay(const YearDatas& years, const DateParts& date);

void RecalcPaymentTotals(DayData& day);
void RecalcSpecialTotals(DayData& day);

std::string NextPaymentKey(const DayData& day);
std::string NextSpecialKey(const DayData& day);
std::string NextDefaultUserKey(const DefaultUserListArray& lists, int index);

// A number with thousands separators, "-1,234,567": the way texts outside the calendar
// picture (which uses the locale's currency format) write a price, a count or a size.
std::string GroupedAmount(std::int64_t amount);

}  // namespace orv
