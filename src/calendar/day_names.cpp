#include "calendar/day_names.hpp"

#include <array>

#include "dialogs/dialog_texts.hpp"

namespace orv {

std::string_view WeekdayName(int weekday) {
  static constexpr std::array<std::string_view, 7> kNames = {"日曜日", "月曜日", "火曜日", "水曜日",
                                                             "木曜日", "金曜日", "土曜日"};
  return weekday >= 1 && weekday <= 7 ? kNames[static_cast<std::size_t>(weekday - 1)] : std::string_view{};
}

std::string DayAccessibleName(const DateParts& day, const DayData* entries, std::optional<std::string_view> holiday) {
  std::string name = std::to_string(day.Month) + "月" + std::to_string(day.Day) + "日";
  if (const std::string_view weekday = WeekdayName(day.Weekday); !weekday.empty()) name += " " + std::string(weekday);
  if (holiday && !holiday->empty()) name += " " + std::string(*holiday);
  bool first = !(holiday && !holiday->empty());
  auto add = [&](const std::string& part) {
    name += first ? " " : "、";
    name += part;
    first = false;
  };
  if (!entries) return name;
  for (const SpecialData& special : entries->SpecialDatas) {
    std::string part = special.strSpecial;
    if (!special.strComment.empty()) part += (part.empty() ? "" : " ") + special.strComment;
    if (!part.empty()) add(part);
  }
  for (const PaymentData& payment : entries->PaymentDatas) {
    std::string part = payment.strTitle;
    if (!part.empty()) part += " ";
    part += GroupedAmount(payment.lngPrice) + "円";
    if (payment.Payment == 0) part += texts::kAutomaticTransferSuffix;
    if (payment.Payment == 1) part += texts::kCashSuffix;
    add(part);
  }
  if (entries->PaymentDatas.Count() > 0) add("合計 " + GroupedAmount(entries->TotalPaymentPrice) + "円");
  return name;
}

std::string_view HotspotName(Hotspot hotspot, std::int32_t calendar_mode) {
  switch (hotspot) {
    case Hotspot::WeekBack: return "前の週";
    case Hotspot::WeekForward: return "次の週";
    default: return HotspotTooltip(hotspot, calendar_mode);
  }
}

}  // namespace orv
