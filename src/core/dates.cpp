#include "core/dates.hpp"

#include <ctime>

namespace orv {

DateParts SplitDate(Date date) {
  const std::chrono::year_month_day ymd{date};
  const std::chrono::weekday wd{date};
  return DateParts{static_cast<std::int16_t>(static_cast<int>(ymd.year())),
                   static_cast<std::int16_t>(static_cast<unsigned>(ymd.month())),
                   static_cast<std::int16_t>(static_cast<unsigned>(ymd.day())),
                   static_cast<std::int16_t>(wd.c_encoding() + 1)};
}

Date MakeDate(int year, int month, int day) {
  return std::chrono::sys_days{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                               std::chrono::day{static_cast<unsigned>(day)}};
}

Date LocalToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace orv
