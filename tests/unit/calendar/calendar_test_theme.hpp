#pragma once
// A small theme with round numbers, so expected positions can be worked out by hand with the
// recording canvas's metrics (8 pixels a character, 16 a line).
#include <memory>
#include <string>

#include "core/app_state.hpp"
#include "platform/recording_canvas.hpp"

namespace orv::test {

inline FontSpec Font(const char* face) { return FontSpec{face, 10, false, false, 0, 0}; }

// A theme picture slot holding a synthetic picture named `name` (and its "_Mask" when asked).
inline ThemePicture Slot(int w, int h, const char* name, bool mask = false) {
  ThemePicture slot;
  slot.Picture = std::make_shared<SyntheticPicture>(w, h, name);
  slot.HasPicture = true;
  if (mask) {
    slot.Mask = std::make_shared<SyntheticPicture>(w, h, std::string(name) + "_Mask");
    slot.HasMask = true;
  }
  return slot;
}

inline ThemeRecord CalendarTestTheme() {
  ThemeRecord t;
  t.FullWidth = 240 * 15;
  t.MiniWidth = 150 * 15;
  t.LastweekHeight = 20;
  t.NextweekHeight = 30;
  t.MonthWidth = 60;
  t.DayHeight = 25;
  t.ExtraLeft = 5;
  t.DrawDays = 3;
  t.DrawType = 0;
  t.MonthLeft = 4;
  t.MonthTop = -2;
  t.DayFont = Font("day");
  t.WeekFont = Font("week");
  t.MonthFont = Font("month");
  t.MonthEnglishFont = Font("english");
  t.PaymentFont = Font("payment");
  t.SpecialFont = Font("special");
  t.DayColor = MakeRgb(255, 255, 255);
  t.MonthColor = MakeRgb(200, 200, 200);
  t.LastWeekColor = MakeRgb(1, 1, 1);
  t.TodayColor = MakeRgb(2, 2, 2);
  t.SunColor = MakeRgb(3, 3, 3);
  t.SpecialDayColor = MakeRgb(4, 4, 4);
  t.HasLastWeekColor = t.HasTodayColor = t.HasSunColor = t.HasSpecialDayColor = true;
  return t;
}

}  // namespace orv::test
