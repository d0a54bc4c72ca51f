#pragma once
// How a day of the calendar is named to a screen reader: the date, the weekday, the holiday,
// then every entry of the day and the payments' total, whichever kind of entry the strip
// shows at the moment -- a listener cannot glance at the other kind.
//
//   "12月8日 火曜日 文化の日、家賃 50,000円 (自動振替)、合計 50,000円"
#include <optional>
#include <string>
#include <string_view>

#include "calendar/calendar_interaction.hpp"
#include "core/dates.hpp"
#include "schedule/schedule.hpp"

namespace orv {

// "日曜日" .. "土曜日" for Weekday 1..7; "" otherwise.
std::string_view WeekdayName(int weekday);

// The day's name. `entries` is the day as the schedule holds it (null when it has none);
// `holiday` the holiday's name when the day is one.
std::string DayAccessibleName(const DateParts& day, const DayData* entries,
                              std::optional<std::string_view> holiday = std::nullopt);

// A hotspot as a button: the week buttons by the way they move ("前の週", "次の週"), the
// others by their tooltip.
std::string_view HotspotName(Hotspot hotspot, std::int32_t calendar_mode);

}  // namespace orv
