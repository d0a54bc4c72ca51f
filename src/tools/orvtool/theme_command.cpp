#include "tools/orvtool/theme_command.hpp"


#include "core/safe.hpp"
#include "theme/theme.hpp"

namespace orv {
namespace {

constexpr const char* kUsage = "usage: orvtool theme [--twips N | --dpi N] FILE.INI\n";

using nlohmann::ordered_json;

ordered_json FontJson(const FontSpec& font) {
  return {{"face", font.face}, {"points", font.points}, {"bold", font.bold}, {"italic", font.italic}};
}

ordered_json ColorJson(Rgb color) {
  return {{"r", RedOf(color)}, {"g", GreenOf(color)}, {"b", BlueOf(color)}};
}

ordered_json PictureJson(const ThemePicture& p) {
  ordered_json out{{"path", p.PicturePath}, {"found", p.HasPicture}};
  if (p.Picture) {
    out["width"] = p.Picture->Width();
    out["height"] = p.Picture->Height();
  }
  // The mask is looked up only beside a picture that was found.
  out["mask_path"] = p.HasPicture ? ordered_json(p.MaskPath) : ordered_json(nullptr);
  out["mask_found"] = p.HasMask;
  return out;
}

}  // namespace

ordered_json ThemeRecordJson(const ThemeRecord& t) {
  ordered_json o;
  o["DrawType"] = t.DrawType;
  o["MonthFont"] = FontJson(t.MonthFont);
  o["MonthEnglishFont"] = FontJson(t.MonthEnglishFont);
  o["MonthColor"] = ColorJson(t.MonthColor);
  o["MonthLeft"] = t.MonthLeft;
  o["MonthTop"] = t.MonthTop;
  o["DrawDays"] = t.DrawDays;
  o["MonthWidth"] = t.MonthWidth;
  o["MonthPictureLeft"] = t.MonthPictureLeft;
  o["MonthPictureTop"] = t.MonthPictureTop;
  o["DayFont"] = FontJson(t.DayFont);
  o["WeekFont"] = FontJson(t.WeekFont);
  o["LastWeekColor"] = ColorJson(t.LastWeekColor);
  o["TodayColor"] = ColorJson(t.TodayColor);
  o["DayColor"] = ColorJson(t.DayColor);
  o["SunColor"] = ColorJson(t.SunColor);
  o["SpecialDayColor"] = ColorJson(t.SpecialDayColor);
  o["HolidayColor"] = ColorJson(t.HolidayColor);
  o["HasLastWeekColor"] = t.HasLastWeekColor;
  o["HasTodayColor"] = t.HasTodayColor;
  o["HasSunColor"] = t.HasSunColor;
  o["HasSpecialDayColor"] = t.HasSpecialDayColor;
  o["HasHolidayColor"] = t.HasHolidayColor;
  o["DayHeight"] = t.DayHeight;
  o["FullWidth"] = t.FullWidth;
  o["MiniWidth"] = t.MiniWidth;
  o["LastweekHeight"] = t.LastweekHeight;
  o["NextweekHeight"] = t.NextweekHeight;
  o["CalendarYear"] = t.CalendarYear;
  o["CalendarYearFont"] = FontJson(t.CalendarYearFont);
  o["CalendarYearColor"] = ColorJson(t.CalendarYearColor);
  o["CalendarYearLeftString"] = t.CalendarYearLeftString;
  o["CalendarYearRightString"] = t.CalendarYearRightString;
  o["CalendarYearLeft"] = t.CalendarYearLeft;
  o["CalendarYearTop"] = t.CalendarYearTop;
  o["ExtraTitle"] = t.ExtraTitle;
  o["ExtraTitleFont"] = FontJson(t.ExtraTitleFont);
  o["ExtraTitleColor"] = ColorJson(t.ExtraTitleColor);
  o["ExtraTitleLeft"] = t.ExtraTitleLeft;
  o["ExtraTitleTop"] = t.ExtraTitleTop;
  o["ExtraTitle_Payment"] = t.ExtraTitle_Payment;
  o["ExtraTitle_Special"] = t.ExtraTitle_Special;
  o["ExtraTitleAlignment"] = t.ExtraTitleAlignment;
  o["ExtraLeft"] = t.ExtraLeft;
  o["PaymentFont"] = FontJson(t.PaymentFont);
  o["PaymentColor"] = ColorJson(t.PaymentColor);
  o["HasPaymentColor"] = t.HasPaymentColor;
  o["CashOutline"] = t.CashOutline;
  o["SpecialFont"] = FontJson(t.SpecialFont);
  o["SpecialColor"] = ColorJson(t.SpecialColor);
  o["HasSpecialColor"] = t.HasSpecialColor;
  o["Lastweek"] = PictureJson(t.Lastweek);
  o["Nextweek"] = PictureJson(t.Nextweek);
  o["Body"] = PictureJson(t.Body);
  o["BodyDrawMode"] = t.BodyDrawMode;
  o["Month"] = PictureJson(t.Month);
  o["CashIcon"] = PictureJson(t.CashIcon);
  o["Title"] = PictureJson(t.Title);
  o["TitleLeft"] = t.TitleLeft;
  o["TitleTop"] = t.TitleTop;
  o["DesignDpi"] = t.DesignDpi;
  o["Scale"] = t.ScaleToDisplay;
  return o;
}

int RunThemeCommand(const std::vector<std::string>& args, PictureLoader& pictures,
                    std::ostream& out, std::ostream& err) {
  TwipsScale twips;
  std::string path;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--twips" && i + 1 < args.size()) {
      const int n = SafeInteger(args[++i]);
      if (n < 1 || n > 1440) {
        err << "orvtool theme: --twips takes a number from 1 to 1440\n";
        return 2;
      }
      twips = {n, 1};
    } else if (args[i] == "--dpi" && i + 1 < args.size()) {
      const int dpi = SafeInteger(args[++i]);
      if (dpi < 1 || dpi > 1440) {
        err << "orvtool theme: --dpi takes a number from 1 to 1440\n";
        return 2;
      }
      twips = TwipsScale::ForDpi(dpi);
    } else if (path.empty() && !args[i].starts_with("--")) {
      path = args[i];
    } else {
      err << kUsage;
      return 2;
    }
  }
  if (path.empty()) {
    err << kUsage;
    return 2;
  }
  ThemeRecord theme;
  std::string error = sfLoadINIThemeFile(theme, path, ThemeEnvironment{pictures, twips});
  if (!error.empty()) {
    err << error;
    return 1;
  }
  out << ThemeRecordJson(theme).dump(2) << "\n";
  return 0;
}

}  // namespace orv
