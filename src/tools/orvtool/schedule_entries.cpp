#include "tools/orvtool/schedule_entries.hpp"

#include <cstdio>

namespace orv::tool {

std::string IsoDate(const DateParts& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
  return text;
}

std::string ListScheduleEntries(const YearDatas& years, std::vector<DatedEntry>& entries) {
  std::vector<DatedEntry> list;
  for (const auto& year : years)
    for (const auto& month : year.MonthDatas)
      for (const auto& day : month.DayDatas) {
        // The tree's keys are decimal numbers within range: the loader and GetOrCreateDay
        // make no others.
        const std::chrono::year_month_day ymd{
            std::chrono::year{std::stoi(year.Key)},
            std::chrono::month{static_cast<unsigned>(std::stoi(month.Key))},
            std::chrono::day{static_cast<unsigned>(std::stoi(day.Key))}};
        if (!ymd.ok()) {
          if (day.PaymentDatas.Empty() && day.SpecialDatas.Empty()) continue;
          DateParts parts{static_cast<std::int16_t>(static_cast<int>(ymd.year())),
                          static_cast<std::int16_t>(static_cast<unsigned>(ymd.month())),
                          static_cast<std::int16_t>(static_cast<unsigned>(ymd.day())), 0};
          return "the file holds entries for " + IsoDate(parts) +
                 ", which is not a day of the calendar";
        }
        const DateParts date = SplitDate(std::chrono::sys_days{ymd});
        for (const auto& payment : day.PaymentDatas) list.push_back({date, EntryOf(payment)});
        for (const auto& special : day.SpecialDatas) list.push_back({date, EntryOf(special)});
      }
  entries = std::move(list);
  return {};
}

}  // namespace orv::tool
