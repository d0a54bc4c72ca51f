#pragma once
// "今後の予定": the days of the coming month that have entries or are holidays, one heading
// row per day (date, weekday, holiday, the day's payment total) followed by a row per entry,
// and the period's totals of automatic and cash payments. Every text is a row's own text, so
// a screen reader reads the schedule as it is shown.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.hpp"
#include "platform/settings_store.hpp"

namespace orv {

inline constexpr char kUpcomingCaption[] = "今後の予定";
inline constexpr int kUpcomingDays = 31;

struct UpcomingRow {
  Date date{};
  std::string text;
  bool heading = false;      // the day's own row
  std::int32_t mode = 0;     // the calendar mode that lists the row's entry (0: a heading's choice)
  bool operator==(const UpcomingRow&) const = default;
};

struct UpcomingList {
  std::vector<UpcomingRow> rows;
  std::int64_t automatic = 0;  // the period's automatic transfers
  std::int64_t cash = 0;       // and cash payments
  std::string totals;          // the line under the list
  std::string list_name;       // the list's label
};

// The days today .. today + days - 1. Holidays only when `holidays` (the option) is on.
UpcomingList BuildUpcoming(const YearDatas& years, Date today, bool holidays, int days = kUpcomingDays);

// The display mode the day list opens in for a row: the row's kind of entry; for a heading
// the current mode when it lists something of that day, else payments when the day has any,
// else special days.
std::int32_t DayListModeFor(const UpcomingRow& row, const YearDatas& years, std::int32_t current);

// Where the dialog stands, in screen pixels.
struct WindowBox {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const WindowBox&) const = default;
};
// "Run"/"UpcomingPlace" as "left,top,width,height"; nullopt when missing or unreadable.
std::optional<WindowBox> ReadUpcomingPlace(const SettingsStore& store);
void SaveUpcomingPlace(SettingsStore& store, const WindowBox& box);
// The remembered box kept wholly inside the work area and no smaller than the minimum;
// without one, `fallback` (the default size centred) kept the same way.
WindowBox PlaceOnScreen(std::optional<WindowBox> saved, const WindowBox& work_area, int min_width, int min_height,
                        const WindowBox& fallback);

}  // namespace orv
