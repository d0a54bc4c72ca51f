#include "schedule/schedule.hpp"

namespace orv {
namespace {

template <class Collection>
auto& FindOrAdd(Collection& collection, const std::string& key) {
  auto* element = collection.Find(key);
  if (!element) element = collection.Add(key);
  return *element;
}

}  // namespace

DayData& GetOrCreateDay(YearDatas& years, const DateParts& date) {
  auto& year = FindOrAdd(years, std::to_string(date.Year));
  auto& month = FindOrAdd(year.MonthDatas, std::to_string(date.Month));
  return FindOrAdd(month.DayDatas, std::to_string(date.Day));
}

DayData* FindDay(const YearDatas& years, const DateParts& date) {
  auto* year = years.Find(std::to_string(date.Year));
  if (!year) return nullptr;
  auto* month = year->MonthDatas.Find(std::to_string(date.Month));
  if (!month) return nullptr;
  return month->DayDatas.Find(std::to_string(date.Day));
}

void RecalcPaymentTotals(DayData& day) {
  // Summed in 64 bits and stored modulo 2^32, like the 32-bit field it is; the dialogs
  // refuse amounts that would make the sum leave the 32-bit range.
  std::int64_t total = 0;
  day.TotalCash = false;
  for (const auto& payment : day.PaymentDatas) {
    total += payment.lngPrice;
    if (payment.Payment == 1) day.TotalCash = true;
  }
  day.TotalPaymentPrice = static_cast<std::int32_t>(static_cast<std::uint32_t>(total));
}

void RecalcSpecialTotals(DayData& day) {
  // The representative entry: the first very special one, else the first one.
  day.TotalSpecial = false;
  std::string key;
  for (const auto& special : day.SpecialDatas) {
    key = special.Key;
    if (special.blnSpecial) {
      day.TotalSpecial = true;
      break;
    }
  }
  if (!day.TotalSpecial && !key.empty()) key = day.SpecialDatas.At(1)->Key;
  day.SpecialKey = key;
  day.SpecialTitle.clear();
  if (!key.empty()) day.SpecialTitle = day.SpecialDatas.Find(key)->strSpecial;
}

std::string NextPaymentKey(const DayData& day) { return day.PaymentDatas.NextKey(); }
std::string NextSpecialKey(const DayData& day) { return day.SpecialDatas.NextKey(); }
std::string NextDefaultUserKey(const DefaultUserListArray& lists, int index) {
  return lists.at(static_cast<std::size_t>(index)).NextKey();
}

std::string GroupedAmount(std::int64_t amount) {
  // The magnitude as unsigned: the most negative value has no positive counterpart.
  const std::uint64_t magnitude = amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
  std::string digits = std::to_string(magnitude);
  for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
  return amount < 0 ? "-" + digits : digits;
}

}  // namespace orv
