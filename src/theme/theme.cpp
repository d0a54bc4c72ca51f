#include "theme/theme.hpp"

#include <algorithm>
#include <cctype>
#include <limits>

#include "core/safe.hpp"
#include "platform/file_system.hpp"
#include "platform/ini_file.hpp"

namespace orv {
namespace {

constexpr const char* kRoutine = "sfLoadINIThemeFile";
constexpr const char* kMissingFile = "ファイルが存在しません";
constexpr const char* kInvalidData = "ファイルのデータが不正です";
constexpr int kMaxFontPoints = 2160;
constexpr std::int32_t kLowestDesignDpi = 48;
constexpr std::int32_t kHighestDesignDpi = 960;

FontSpec Font(const char* face, double points, bool bold) { return FontSpec{face, points, bold}; }

constexpr Rgb kWhite = MakeRgb(255, 255, 255);

// The folder of a file, with its separator: pictures are named relative to it.
std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::int16_t Integer(const IniFile& ini, const char* section, const char* key, const char* def) {
  return static_cast<std::int16_t>(SafeInteger(ini.Get(section, key, def)));
}

FontSpec ReadFont(const IniFile& ini, const char* section) {
  FontSpec font{kThemeFontFace, kThemeFontPoints};
  // Values a font cannot take leave the attribute as a new font has it.
  std::string face = ini.Get(section, "Name", kThemeFontFace);
  if (!face.empty()) font.face = std::move(face);
  std::int32_t points = SafeInteger(ini.Get(section, "Size", "10"));
  if (points >= 1 && points <= kMaxFontPoints) font.points = points;
  font.bold = ParseBoolean(ini.Get(section, "Bold", "False"));
  font.italic = ParseBoolean(ini.Get(section, "Italic", "False"));
  return font;
}

// A colour is defined only when all three components are present and not empty; each is
// clamped to 0..255. Undefined colours are black.
bool ReadColor(const IniFile& ini, const char* section, Rgb& color) {
  color = 0;
  for (const char* key : {"Color_B", "Color_G", "Color_R"})
    if (ini.Get(section, key, "").empty()) return false;
  auto component = [&](const char* key) {
    return std::clamp(SafeInteger(ini.Get(section, key, "0")), 0, 255);
  };
  color = MakeRgb(component("Color_R"), component("Color_G"), component("Color_B"));
  return true;
}

// Only a clear "False" (or 0) switches a default-on setting off: an empty or garbled value
// keeps the default.
bool SaysFalse(const std::string& text) {
  if (ParseBoolean(text)) return false;
  const std::string trimmed = SafeText(text);
  if (trimmed.size() == 5) {
    std::string folded;
    for (char ch : trimmed) folded += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (folded == "false") return true;
  }
  return ParseWholeNumber(trimmed).has_value();
}

}  // namespace

ThemeRecord DefaultTheme() {
  ThemeRecord t;
  t.DrawType = 3;
  t.MonthFont = Font("Arial", 24, true);
  t.MonthEnglishFont = Font("Arial", 8, false);
  t.MonthColor = kWhite;
  t.MonthLeft = 30;
  t.MonthTop = -4;
  t.DrawDays = 3;
  t.MonthWidth = 90;
  t.DayFont = Font("Arial", 11, true);
  t.WeekFont = Font("Arial", 7, false);
  t.LastWeekColor = MakeRgb(64, 128, 196);
  t.TodayColor = MakeRgb(32, 255, 32);
  t.DayColor = kWhite;
  t.SunColor = MakeRgb(253, 73, 32);
  t.SpecialDayColor = MakeRgb(255, 255, 0);
  t.HasLastWeekColor = t.HasTodayColor = t.HasSunColor = t.HasSpecialDayColor = true;
  t.DayHeight = 22;
  t.FullWidth = 3600;  // already twips: not scaled by the screen
  t.MiniWidth = 2200;
  t.LastweekHeight = 18;
  t.NextweekHeight = 18;
  t.CalendarYear = false;
  t.CalendarYearFont = Font("Arial", 8, true);
  t.CalendarYearColor = kWhite;
  t.ExtraTitle = true;
  t.ExtraTitleFont = Font("Arial", 8, true);
  t.ExtraTitleColor = kWhite;
  t.ExtraTitleLeft = -5;
  t.ExtraTitleTop = 2;
  t.ExtraTitle_Payment = "- PAYMENT -";
  t.ExtraTitle_Special = "- SPECIAL -";
  t.ExtraLeft = 5;
  t.PaymentFont = Font(kThemeFontFace, 10, false);
  t.SpecialFont = Font(kThemeFontFace, 10, false);
  return t;
}

void LoadDefaultTheme(ThemeRecord& current) { current = DefaultTheme(); }

std::string sfLoadINIThemeFile(ThemeRecord& current, const std::string& path,
                               const ThemeEnvironment& environment) {
  if (!FileExists(path)) return sfSemCreate(kRoutine, 0, kMissingFile);
  std::string bytes;
  if (SystemError error = ReadWholeFile(path, bytes))
    return sfSemCreate(kRoutine, error.number, error.description);
  const IniFile ini = IniFile::Parse(bytes);
  const std::string folder = FolderOf(path);
  ThemeRecord t;

  // Sizes, in this order; the first that is not above 0 rejects the file. The two widths
  // are given in pixels and kept in twips.
  auto width = [&](const char* key, std::int32_t& field) {
    std::int64_t px = SafeInteger(ini.Get("PixelSize", key, "0"));
    if (px <= 0) return false;
    const std::int32_t twips = PixelsToTwips(px, environment.twips_per_pixel_x);
    if (twips <= 0 || twips == std::numeric_limits<std::int32_t>::max()) return false;
    field = twips;
    return true;
  };
  auto height = [&](const char* key, std::int16_t& field) {
    field = Integer(ini, "PixelSize", key, "0");
    return field > 0;
  };
  if (!width("FullWidth", t.FullWidth) || !width("MiniWidth", t.MiniWidth) ||
      !height("LastweekHeight", t.LastweekHeight) ||
      !height("NextweekHeight", t.NextweekHeight) || !height("MonthWidth", t.MonthWidth) ||
      !height("DayHeight", t.DayHeight))
    return sfSemCreate(kRoutine, 1, kInvalidData);

  t.MonthLeft = Integer(ini, "PixelSize", "MonthLeft", "0");
  t.MonthTop = Integer(ini, "PixelSize", "MonthTop", "0");
  t.ExtraTitleLeft = Integer(ini, "PixelSize", "ExtraTitleLeft", "0");
  t.ExtraTitleTop = Integer(ini, "PixelSize", "ExtraTitleTop", "0");
  t.ExtraLeft = Integer(ini, "PixelSize", "ExtraLeft", "0");
  t.CalendarYearLeft = Integer(ini, "PixelSize", "CalendarYearLeft", "0");
  t.CalendarYearTop = Integer(ini, "PixelSize", "CalendarYearTop", "0");
  t.TitleLeft = Integer(ini, "PixelSize", "TitleLeft", "0");
  // Theme files keep the title's vertical offset under this spelling of the section.
  t.TitleTop = Integer(ini, "PiexlSize", "TitleTop", "0");
  t.MonthPictureLeft = Integer(ini, "PixelSize", "MonthPictureLeft", "0");
  t.MonthPictureTop = Integer(ini, "PixelSize", "MonthPictureTop", "0");
  t.WidthTwipsPerPixel = environment.twips_per_pixel_x;
  // Pictures drawn for a finer screen than the values; one that names no usable resolution
  // was drawn for the values' own.
  const std::int32_t design_dpi = SafeInteger(ini.Get("PixelSize", "DesignDpi", "96"));
  t.DesignDpi = design_dpi >= kLowestDesignDpi && design_dpi <= kHighestDesignDpi ? design_dpi : 96;
  t.ScaleToDisplay = !SaysFalse(ini.Get("PixelSize", "Scale", "True"));

  struct Slot {
    const char* name;
    ThemePicture& picture;
  };
  for (Slot slot : {Slot{"Lastweek", t.Lastweek}, Slot{"Body", t.Body},
                    Slot{"Nextweek", t.Nextweek}, Slot{"CashIcon", t.CashIcon},
                    Slot{"Month", t.Month}, Slot{"Title", t.Title}}) {
    ThemePicture& p = slot.picture;
    p.PicturePath = folder + ini.Get("PictureFilename", slot.name, "");
    if (!FileExists(p.PicturePath)) continue;  // no picture, and no mask looked up
    LoadedPicture picture = environment.pictures.Load(p.PicturePath);
    if (!picture.picture) return sfSemCreate(kRoutine, picture.error.number, picture.error.description);
    p.Picture = std::move(picture.picture);
    p.HasPicture = true;
    p.MaskPath = folder + ini.Get("PictureFilename", std::string(slot.name) + "_Mask", "");
    if (!FileExists(p.MaskPath)) continue;
    LoadedPicture mask = environment.pictures.Load(p.MaskPath);
    if (!mask.picture) return sfSemCreate(kRoutine, mask.error.number, mask.error.description);
    p.Mask = std::move(mask.picture);
    p.HasMask = true;
  }

  t.DrawType = SafeInteger(ini.Get("MonthDraw", "DrawType", "0"));
  t.DrawDays = Integer(ini, "MonthDraw", "DrawDays", "3");
  t.CalendarYear = ParseBoolean(ini.Get("TitleDraw", "CalendarYear", "False"));
  t.CalendarYearLeftString = ini.Get("TitleDraw", "CalendarYearLeftString", "");
  t.CalendarYearRightString = ini.Get("TitleDraw", "CalendarYearRightString", "");
  t.BodyDrawMode = SafeInteger(ini.Get("PictureDraw", "BodyDrawMode", "0"));
  t.ExtraTitle = ParseBoolean(ini.Get("OthersDraw", "ExtraTitle", "False"));
  t.ExtraTitle_Payment = ini.Get("OthersDraw", "ExtraTitle_Payment", "PAYMENT");
  t.ExtraTitle_Special = ini.Get("OthersDraw", "ExtraTitle_Special", "SPECIAL");
  t.ExtraTitleAlignment = SafeInteger(ini.Get("OthersDraw", "ExtraTitleAlignment", "0"));
  t.CashOutline = ParseBoolean(ini.Get("OthersDraw", "CashOutline", "False"));

  t.MonthFont = ReadFont(ini, "MonthFont");
  t.MonthEnglishFont = ReadFont(ini, "MonthEnglishFont");
  t.DayFont = ReadFont(ini, "DayFont");
  t.WeekFont = ReadFont(ini, "WeekFont");
  t.PaymentFont = ReadFont(ini, "PaymentFont");
  t.SpecialFont = ReadFont(ini, "SpecialFont");
  t.ExtraTitleFont = ReadFont(ini, "ExtraTitleFont");
  t.CalendarYearFont = ReadFont(ini, "CalendarYearFont");

  ReadColor(ini, "MonthFont", t.MonthColor);
  t.HasPaymentColor = ReadColor(ini, "PaymentFont", t.PaymentColor);
  t.HasSpecialColor = ReadColor(ini, "SpecialFont", t.SpecialColor);
  t.HasLastWeekColor = ReadColor(ini, "LastWeekColor", t.LastWeekColor);
  ReadColor(ini, "DayFont", t.DayColor);
  t.HasTodayColor = ReadColor(ini, "TodayColor", t.TodayColor);
  t.HasSunColor = ReadColor(ini, "SunColor", t.SunColor);
  t.HasSpecialDayColor = ReadColor(ini, "SpecialDayColor", t.SpecialDayColor);
  t.HasHolidayColor = ReadColor(ini, "HolidayColor", t.HolidayColor);
  ReadColor(ini, "ExtraTitleFont", t.ExtraTitleColor);
  ReadColor(ini, "CalendarYearFont", t.CalendarYearColor);

  current = std::move(t);
  return {};
}

std::string ApplySelectedTheme(AppState& state, const ThemeEnvironment& environment,
                               CalendarView& calendar) {
  std::string error;
  const CDrawLoad* entry =
      state.SelectedThemeKey.empty() ? nullptr : state.ThemeList.Find(state.SelectedThemeKey);
  if (entry && FileExists(entry->IniFilePath)) {
    error = sfLoadINIThemeFile(state.CurrentTheme, entry->IniFilePath, environment);
    // A loaded theme always has a width; without one nothing could be drawn.
    if (!error.empty() && state.CurrentTheme.FullWidth <= 0) {
      state.SelectedThemeKey.clear();
      LoadDefaultTheme(state.CurrentTheme);
    }
  } else {
    state.SelectedThemeKey.clear();
    LoadDefaultTheme(state.CurrentTheme);
  }
  calendar.dsDrawCalendar();
  return error;
}

}  // namespace orv
