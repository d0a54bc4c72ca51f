#include "desktop/change_watch.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace std::chrono;

// A time zone as the rules describe it: standard offset, daylight offset, and the local
// times (by the clock before the change) at which daylight time begins and ends each year,
// as "the n-th (5: last) weekday of a month, minutes after that day began" (1440: its end).
struct ZoneRule {
  std::chrono::month in;
  unsigned nth;
  std::chrono::weekday day;
  minutes at;
};
struct Zone {
  minutes standard;  // local time minus UTC
  minutes daylight;
  ZoneRule begins, ends;

  sys_time<milliseconds> Change(year y, const ZoneRule& rule, minutes offset_before) const {
    const sys_days day = rule.nth == 5 ? sys_days(y / rule.in / rule.day[last])
                                       : sys_days(y / rule.in / rule.day[rule.nth]);
    return day + rule.at - offset_before;
  }
  local_time<milliseconds> LocalOf(sys_time<milliseconds> t) const {
    const year y = year_month_day(floor<days>(t + standard)).year();
    const auto begin = Change(y, begins, standard), end = Change(y, ends, daylight);
    const bool summer = begin < end ? (t >= begin && t < end) : (t >= begin || t < end);
    return local_time<milliseconds>((t + (summer ? daylight : standard)).time_since_epoch());
  }
};

constexpr Zone kChile{-4h, -3h, {September, 1, Saturday, 24h}, {April, 1, Saturday, 24h}};
constexpr Zone kParaguay{-4h, -3h, {October, 1, Sunday, 0h}, {March, 4, Sunday, 0h}};
constexpr Zone kEgypt{2h, 3h, {April, 5, Friday, 0h}, {October, 5, Thursday, 24h}};
constexpr Zone kLebanon{2h, 3h, {March, 5, Sunday, 0h}, {October, 5, Sunday, 0h}};
constexpr Zone kJordan{2h, 3h, {March, 5, Thursday, 24h}, {October, 5, Friday, 1h}};
constexpr Zone kSyria{2h, 3h, {March, 5, Friday, 0h}, {October, 5, Friday, 0h}};
constexpr Zone kCuba{-5h, -4h, {March, 2, Sunday, 0h}, {November, 1, Sunday, 1h}};
constexpr Zone kCentralEurope{1h, 2h, {March, 5, Sunday, 2h}, {October, 5, Sunday, 3h}};

TEST(UntilDateChange, TheFirstInstantOfTheNextDateEvenWhereMidnightIsSkippedOrRepeated) {
  struct Case {
    const char* what;
    const Zone& zone;
    sys_time<milliseconds> now;  // UTC
    milliseconds wait;
  };
  const auto at = [](year_month_day d, milliseconds t) { return sys_days(d) + t; };
  const Case cases[] = {
      // Clocks go from 23:59:59 to 01:00: the date changes at the jump, an hour after a
      // reckoning by the clock face would have it (and then found its midnight missing).
      {"Chile begins, 21:00 -04", kChile, at(2024y / September / 8, 1h), 3h},
      {"Chile begins, 23:30 -04", kChile, at(2024y / September / 8, 3h + 30min), 30min},
      {"Chile begins, 23:59:59.999", kChile, at(2024y / September / 8, 4h - 1ms), 1ms},
      {"Paraguay begins", kParaguay, at(2024y / October / 6, 1h), 3h},
      {"Egypt begins", kEgypt, at(2024y / April / 25, 19h), 3h},
      {"Lebanon begins", kLebanon, at(2024y / March / 30, 19h), 3h},
      {"Jordan begins", kJordan, at(2021y / March / 25, 19h), 3h},
      {"Syria begins", kSyria, at(2021y / March / 25, 19h), 3h},
      {"Cuba begins", kCuba, at(2024y / March / 10, 2h), 3h},
      // Clocks go from 23:59:59 back to 23:00: the date changes at the second midnight.
      {"Chile ends, 21:00 -03", kChile, at(2024y / April / 7, 0h), 4h},
      {"Paraguay ends", kParaguay, at(2024y / March / 24, 0h), 4h},
      {"Egypt ends", kEgypt, at(2024y / October / 31, 18h), 4h},
      // Clocks go from 01:00 back to 00:00: the date changed at the first midnight.
      {"Cuba ends", kCuba, at(2024y / November / 3, 1h), 3h},
      // Changes after midnight: that night's midnight is an ordinary one, the next day is
      // an hour shorter or longer.
      {"Europe, the evening before spring", kCentralEurope, at(2024y / March / 30, 20h), 3h},
      {"Europe, the spring day", kCentralEurope, at(2024y / March / 30, 23h), 23h},
      {"Europe, the autumn day", kCentralEurope, at(2024y / October / 26, 22h), 25h},
      {"an ordinary noon", kCentralEurope, at(2024y / June / 1, 10h), 12h},
  };
  for (const Case& c : cases) {
    const LocalTimeOf local = [&c](sys_time<milliseconds> t) { return c.zone.LocalOf(t); };
    const milliseconds wait = UntilDateChange(c.now, local);
    EXPECT_EQ(wait, c.wait) << c.what;
    const local_days today = floor<days>(local(c.now));
    EXPECT_EQ(floor<days>(local(c.now + wait - 1ms)), today) << c.what;
    EXPECT_NE(floor<days>(local(c.now + wait)), today) << c.what;
    // The timer that comes then waits for the next day, not for a moment over and over.
    EXPECT_GE(UntilDateChange(c.now + wait, local), 22h) << c.what;
  }
}

TEST(UntilDateChange, AClockThatNeverTurnsIsLookedAtAgainTomorrow) {
  const LocalTimeOf stopped = [](sys_time<milliseconds>) { return local_days(2024y / January / 1) + 12h; };
  EXPECT_EQ(UntilDateChange(sys_days(2024y / January / 1) + 12h, stopped), 24h);
}

TEST(WatchedFolders, TheWallpapersAndTheShellCopysFolderEachOnce) {
  EXPECT_EQ(FolderOf("C:\\Users\\me\\Pictures\\wall.bmp"), "C:\\Users\\me\\Pictures");
  EXPECT_EQ(FolderOf("C:/Users/me/wall.jpg"), "C:/Users/me");
  EXPECT_EQ(FolderOf("C:\\wall.bmp"), "C:\\");  // a drive's root keeps its separator
  EXPECT_EQ(FolderOf("\\\\server\\share\\wall.bmp"), "\\\\server\\share");
  EXPECT_EQ(FolderOf("\\\\server\\share\\a\\wall.bmp"), "\\\\server\\share\\a");
  EXPECT_EQ(FolderOf("wall.bmp"), "");

  EXPECT_EQ(ParentFolder("C:\\a\\b"), "C:\\a");
  EXPECT_EQ(ParentFolder("C:\\a\\b\\"), "C:\\a");
  EXPECT_EQ(ParentFolder("C:\\a"), "C:\\");
  EXPECT_EQ(ParentFolder("C:\\"), "");
  EXPECT_EQ(ParentFolder("\\\\server\\share\\a"), "\\\\server\\share");
  EXPECT_EQ(ParentFolder("\\\\server\\share"), "");
  // Only a drive letter's root can be asked what kind of drive it is.
  EXPECT_EQ(DriveRoot("C:\\Users\\wall.bmp"), "C:\\");
  EXPECT_EQ(DriveRoot("d:/wall.bmp"), "d:\\");
  EXPECT_EQ(DriveRoot("C:wall.bmp"), "");
  EXPECT_EQ(DriveRoot("\\\\server\\share\\wall.bmp"), "");
  EXPECT_EQ(DriveRoot("\\\\?\\C:\\wall.bmp"), "");
  EXPECT_EQ(DriveRoot("wall.bmp"), "");

  const std::string themes = "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\TranscodedWallpaper";
  EXPECT_EQ(FoldersToWatch("D:\\pics\\a.jpg", themes),
            (std::vector<std::string>{"D:\\pics", "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Themes"}));
  // The shell names its own copy as the wallpaper during a slideshow: one folder, whatever the case.
  EXPECT_EQ(FoldersToWatch("c:\\users\\ME\\appdata\\roaming\\microsoft\\windows\\themes\\TranscodedWallpaper", themes)
                .size(),
            1u);
  EXPECT_EQ(FoldersToWatch("", ""), std::vector<std::string>{});
  EXPECT_EQ(FoldersToWatch("wall.bmp", ""), std::vector<std::string>{});
}

}  // namespace
}  // namespace orv
