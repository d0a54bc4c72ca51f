#pragma once
// The theme in use (`CurrentTheme`) and the list of installed theme files (`ThemeList`).
// Header-only: the program-wide state holds both.
#include <cstdint>
#include <memory>
#include <string>

#include "core/keyed_collection.hpp"
#include "core/twips.hpp"
#include "platform/canvas.hpp"

namespace orv {

// One picture slot of a theme. HasPicture is true only when the picture file existed and
// was loaded; HasMask only when, in addition, its mask file existed and was loaded.
// Pictures are immutable once loaded, so records that are copies share them.
struct ThemePicture {
  std::shared_ptr<const orv::Picture> Picture;
  std::shared_ptr<const orv::Picture> Mask;
  bool HasPicture = false;
  bool HasMask = false;
  // Where the loader looked for the files (theme folder + the file's value), for tools.
  std::string PicturePath;
  std::string MaskPath;
};

// Everything the calendar draws with. Integer fields are pixels unless they say twips;
// colours are 0x00BBGGRR.
struct ThemeRecord {
  std::int32_t DrawType = 0;
  FontSpec MonthFont;
  FontSpec MonthEnglishFont;
  Rgb MonthColor = 0;
  std::int16_t MonthLeft = 0;
  std::int16_t MonthTop = 0;
  std::int16_t DrawDays = 0;
  std::int16_t MonthWidth = 0;
  std::int16_t MonthPictureLeft = 0;
  std::int16_t MonthPictureTop = 0;
  FontSpec DayFont;
  FontSpec WeekFont;
  Rgb LastWeekColor = 0;
  Rgb TodayColor = 0;
  Rgb DayColor = 0;
  Rgb SunColor = 0;
  Rgb SpecialDayColor = 0;
  Rgb HolidayColor = 0;
  bool HasLastWeekColor = false;
  bool HasTodayColor = false;
  bool HasSunColor = false;
  bool HasSpecialDayColor = false;
  bool HasHolidayColor = false;  // without it holidays take the Sunday colour
  std::int16_t DayHeight = 0;
  std::int32_t FullWidth = 0;  // twips: calendar width with the entry column shown
  std::int32_t MiniWidth = 0;  // twips: calendar width with the entry column hidden
  std::int16_t LastweekHeight = 0;
  std::int16_t NextweekHeight = 0;
  bool CalendarYear = false;
  FontSpec CalendarYearFont;
  Rgb CalendarYearColor = 0;
  std::string CalendarYearLeftString;
  std::string CalendarYearRightString;
  std::int16_t CalendarYearLeft = 0;
  std::int16_t CalendarYearTop = 0;
  bool ExtraTitle = false;
  FontSpec ExtraTitleFont;
  Rgb ExtraTitleColor = 0;
  std::int16_t ExtraTitleLeft = 0;
  std::int16_t ExtraTitleTop = 0;
  std::string ExtraTitle_Payment;
  std::string ExtraTitle_Special;
  std::int32_t ExtraTitleAlignment = 0;  // 1 centred, 2 right-aligned, other left-aligned
  std::int16_t ExtraLeft = 0;
  FontSpec PaymentFont;
  Rgb PaymentColor = 0;
  bool HasPaymentColor = false;
  bool CashOutline = false;
  FontSpec SpecialFont;
  Rgb SpecialColor = 0;
  bool HasSpecialColor = false;
  ThemePicture Lastweek;
  ThemePicture Nextweek;
  ThemePicture Body;
  std::int32_t BodyDrawMode = 0;
  ThemePicture Month;
  ThemePicture CashIcon;
  ThemePicture Title;
  std::int16_t TitleLeft = 0;
  std::int16_t TitleTop = 0;
  // How the theme meets the display scale. Its pixel values are designed at 96 dots per inch
  // and its pictures at DesignDpi; the calendar scales both to its monitor's scale (or the
  // user's zoom). With ScaleToDisplay false every value and picture stays at exact pixels.
  std::int32_t DesignDpi = 96;
  bool ScaleToDisplay = true;
  // The twips per pixel the two widths were converted with when the theme was read, so the
  // widths in the theme's own pixels can be had back exactly.
  TwipsScale WidthTwipsPerPixel;
  // Derived geometry, filled by the calendar's full redraw; never read from a file.
  std::int32_t DayAreaLeft = 0;
  std::int32_t DayAreaTop = 0;
  std::int32_t DayAreaBottom = 0;
};

// An installed theme file.
struct CDrawLoad {
  std::string Key;          // decimal number from NextThemeKey
  std::string IniFilePath;  // full path of the theme file
};
using CDrawLoads = KeyedCollection<CDrawLoad>;

// The key for a new ThemeList entry: "1" for an empty list, else the first free number
// above the count.
inline std::string NextThemeKey(const CDrawLoads& list) { return list.NextKey(); }

}  // namespace orv
