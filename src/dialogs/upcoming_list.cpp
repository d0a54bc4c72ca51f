#include "dialogs/upcoming_list.hpp"

#include <algorithm>
#include <charconv>

#include "core/settings.hpp"
#include "holidays/japanese_holidays.hpp"
#include "reminders/reminders.hpp"

namespace orv {
namespace {

constexpr char kIndent[] = "　";  // an ideographic space: entries stand under their day

bool IsPayment(DueKind kind) { return kind == DueKind::AutomaticTransfer || kind == DueKind::Cash; }

}  // namespace

UpcomingList BuildUpcoming(const YearDatas& years, Date today, bool holidays, int days) {
  UpcomingList list;
  list.list_name = "今後" + std::to_string(days) + "日間の予定(&L):";
  for (int i = 0; i < days; ++i) {
    const Date date = today + std::chrono::days{i};
    const std::vector<DueEntry> entries = EntriesBetween(years, date, date, true, true);
    const std::string_view holiday = holidays ? HolidayName(date) : std::string_view{};
    if (entries.empty() && holiday.empty()) continue;
    std::int64_t day_total = 0;
    bool any_payment = false;
    for (const DueEntry& entry : entries) {
      if (!IsPayment(entry.kind)) continue;
      any_payment = true;
      day_total += entry.amount;
      (entry.kind == DueKind::Cash ? list.cash : list.automatic) += entry.amount;
    }
    std::string heading = ShortDateText(date);
    if (i == 0) heading += " 今日";
    if (!holiday.empty()) heading += " " + std::string(holiday);
    if (any_payment) heading += "  合計 " + Yen(day_total);
    list.rows.push_back({date, std::move(heading), true, 0});
    for (const DueEntry& entry : entries)
      list.rows.push_back({date, kIndent + DueEntryText(entry), false, IsPayment(entry.kind) ? kShowPayments : kShowSpecialDays});
  }
  if (list.rows.empty())
    list.rows.push_back({today, "今後" + std::to_string(days) + "日間に予定はありません", true, 0});
  list.totals = "期間の合計  自動振替 " + Yen(list.automatic) + "  現金 " + Yen(list.cash) + "  計 " +
                Yen(list.automatic + list.cash);
  return list;
}

std::int32_t DayListModeFor(const UpcomingRow& row, const YearDatas& years, std::int32_t current) {
  if (!row.heading && row.mode != 0) return row.mode;
  const DayData* day = FindDay(years, SplitDate(row.date));
  const bool payments = day && day->PaymentDatas.Count() > 0;
  const bool specials = day && day->SpecialDatas.Count() > 0;
  if ((current == kShowPayments && payments) || (current == kShowSpecialDays && specials)) return current;
  if (payments) return kShowPayments;
  if (specials) return kShowSpecialDays;
  return current == kShowNothing ? kShowPayments : current;
}

std::optional<WindowBox> ReadUpcomingPlace(const SettingsStore& store) {
  const std::string text = store.Get(kApplicationName, "Run", "UpcomingPlace", "");
  int values[4] = {};
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 4; ++i) {
    const auto [next, error] = std::from_chars(at, end, values[i]);
    if (error != std::errc{}) return std::nullopt;
    at = next;
    if (i < 3) {
      if (at == end || *at != ',') return std::nullopt;
      ++at;
    }
  }
  if (at != end || values[2] <= 0 || values[3] <= 0) return std::nullopt;
  return WindowBox{values[0], values[1], values[2], values[3]};
}

void SaveUpcomingPlace(SettingsStore& store, const WindowBox& box) {
  store.Set(kApplicationName, "Run", "UpcomingPlace",
            std::to_string(box.left) + "," + std::to_string(box.top) + "," + std::to_string(box.width) + "," +
                std::to_string(box.height));
}

WindowBox PlaceOnScreen(std::optional<WindowBox> saved, const WindowBox& work_area, int min_width, int min_height,
                        const WindowBox& fallback) {
  WindowBox box = saved.value_or(fallback);
  if (!saved) {
    box.left = work_area.left + (work_area.width - box.width) / 2;
    box.top = work_area.top + (work_area.height - box.height) / 2;
  }
  box.width = std::clamp(box.width, std::min(min_width, work_area.width), std::max(work_area.width, 1));
  box.height = std::clamp(box.height, std::min(min_height, work_area.height), std::max(work_area.height, 1));
  box.left = std::clamp(box.left, work_area.left, work_area.left + work_area.width - box.width);
  box.top = std::clamp(box.top, work_area.top, work_area.top + work_area.height - box.height);
  return box;
}

}  // namespace orv
