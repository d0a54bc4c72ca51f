// The date timer of the desktop facts with the system's own time-zone conversion, in a zone
// whose daylight time begins at midnight: Chile, as Windows describes it (the change at
// Saturday 23:59:59.999, since a SYSTEMTIME has no hour 24).
#include <gtest/gtest.h>

#include "desktop/win32/win32_desktop_facts.hpp"
#include "platform/win32/registry.hpp"

namespace orv {
namespace {

using namespace std::chrono;

std::int64_t UtcTicks(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  FILETIME f{};
  EXPECT_TRUE(SystemTimeToFileTime(&t, &f));
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
}

TIME_ZONE_INFORMATION Chile() {
  TIME_ZONE_INFORMATION zone{};
  zone.Bias = 240;  // UTC = local + 4 h
  zone.DaylightBias = -60;
  const SYSTEMTIME saturday_end{0, 0, 6, 1, 23, 59, 59, 999};  // the first Saturday, its last moment
  zone.DaylightDate = saturday_end;
  zone.DaylightDate.wMonth = 9;
  zone.StandardDate = saturday_end;
  zone.StandardDate.wMonth = 4;
  return zone;
}

TEST(DateTimer, WaitsForTheDateWhereMidnightIsSkipped) {
  Win32RegistryReader registry;
  Win32DesktopFacts facts(registry);
  struct Case {
    const char* what;
    std::int64_t utc;
    milliseconds wait;
  } cases[] = {
      // Saturday 7 September 2024, 21:00 and 23:30 -04: the date changes when the clock jumps
      // to 01:00 -03, three hours and half an hour on.
      {"21:00", UtcTicks(2024, 9, 8, 1, 0), 3h},
      {"23:30", UtcTicks(2024, 9, 8, 3, 30), 30min},
      // Saturday 6 April 2024, 21:00 -03: the clock goes back to 23:00 at midnight, and the
      // date changes at the second midnight.
      {"21:00 before the change back", UtcTicks(2024, 4, 7, 0, 0), 4h},
  };
  for (const Case& c : cases) {
    facts.SetClockForTesting(c.utc, Chile());
    const milliseconds wait = facts.UntilMidnight();
    // The change is described as Saturday's last moment; Wine reads the description to the
    // minute (23:59), so the clock may turn up to a minute early, never an hour.
    EXPECT_LE(wait, c.wait) << c.what;
    EXPECT_GE(wait, c.wait - 1min) << c.what;
    // When the timer comes the date has changed: the next wait is for the next day.
    facts.SetClockForTesting(c.utc + wait.count() * 10'000, Chile());
    EXPECT_GE(facts.UntilMidnight(), 22h) << c.what;
  }
}

}  // namespace
}  // namespace orv
