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

namespace {
std::tm LocalClock() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}
}  // namespace

Date LocalToday() {
  const std::tm local = LocalClock();
  return MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

LocalTime LocalNow() {
  const std::tm local = LocalClock();
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace orv
