#pragma once
// The program-wide state. One AppState is created by the entry point and passed by reference
// to every window and routine that needs it; it lives for the whole run.
#include <array>
#include <cstdint>
#include <string>

#include "core/dates.hpp"
#include "schedule/schedule.hpp"
#include "series/series.hpp"
#include "theme/theme_record.hpp"

namespace orv {

struct Rect32 {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const Rect32&) const = default;
};

// Which entries the calendar shows in its day cells.
enum CalendarModes : std::int32_t { kShowNothing = 0, kShowPayments = 1, kShowSpecialDays = 2 };

// Whoever keeps the user's schedule safe while the program runs: it hears of every edit (to
// make it durable at once) and is the one way the data file is written (so that nothing
// written by someone else is overwritten).
class ScheduleGuard {
public:
  virtual ~ScheduleGuard() = default;
  // The schedule or a preset list has just changed in memory.
  virtual void Edited() = 0;
  // Writes the data file; the error text, empty on success.
  virtual std::string Save() = 0;
};
// The zoom choices of the calendar ("Option"/"Zoom"), in percent; 0 follows the monitor.
inline constexpr std::array<std::int32_t, 6> kZoomChoices = {0, 100, 125, 150, 175, 200};

struct AppState {
  // Options: read from the settings store at start-up, written back at shutdown. The
  // defaults are those of a fresh account.
  bool MicrosoftWheelMouse = true;
  std::int32_t MicrosoftWheelMouseChange = 0;  // 0: seven days (five list items) a step, 1: one
  std::int32_t TodayStart = 2;                 // 0 today, 1 yesterday, 2 seven days back
  bool IgnoreXPTheme = false;
  bool CenterClick = true;
  bool ShiftAuto = true;
  bool OverWriteMenu = false;
  bool AutoSave = false;
  bool ShowHolidays = true;  // Japan's holidays on the calendar and in the day list
  // Reminders of what is due, from the tray: on, how many days ahead (0..14), and whether
  // very special days are reminded too.
  bool RemindPayments = true;
  std::int32_t RemindDaysAhead = 2;
  bool RemindVerySpecial = true;
  std::int32_t LastCalendarMode = 0;
  std::int32_t Zoom = 0;  // the calendar's zoom in percent; 0 follows the monitor's scale

  std::string UserDataPath;  // empty: none chosen
  bool XPThemeAvailable = false;
  ThemeRecord CurrentTheme;
  CDrawLoads ThemeList;
  std::string SelectedThemeKey;  // empty: the built-in theme
  std::string ThemeListIniPath;
  Rect32 WorkArea;

  Date Today{};
  DateParts TodayParts;
  Date StartDate{};  // the calendar's scroll position; change it only through SetStartDate
  DateParts StartDateParts;
  std::int32_t CalendarMode = kShowNothing;

  YearDatas Years;
  DefaultUserListArray DefaultUserLists;
  SeriesBook Series;  // the rules of repeating entries (their occurrences are in Years)

  std::int32_t ScrollMode = 0;
  bool DialogShowing = false;
  std::int32_t WheelMessageId = 0;

  Clock clock = LocalToday;  // where UpdateToday gets the date; tests replace it
  ScheduleGuard* guard = nullptr;  // not owned; none in tests and tools that save directly
};

// Tells the guard (if any) that the schedule or a preset list changed.
void ScheduleEdited(const AppState& state);

void UpdateToday(AppState& state);
// Keeps StartDate and StartDateParts together.
void SetStartDate(AppState& state, Date date);
// Start position by the TodayStart option: today, yesterday or seven days back.
Date StartDateForToday(const AppState& state);
// 1 and 2 alternate; 0 (nothing shown) stays 0.
void CycleCalendarMode(AppState& state);

}  // namespace orv
