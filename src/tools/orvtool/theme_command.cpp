#include "tools/orvtool/theme_command.hpp"

#include <cstdio>
#include <sstream>

#include "core/safe.hpp"
#include "theme/theme.hpp"

namespace orv {
namespace {

constexpr const char* kUsage = "usage: orvtool theme [--twips N] FILE.INI\n";

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// Writes `"name": value` pairs with commas and indentation, one object at a time.
class JsonObject {
public:
  JsonObject(std::ostringstream& out, int indent) : out_(out), indent_(indent) { out_ << "{"; }
  void Raw(std::string_view name, const std::string& value) {
    out_ << (first_ ? "\n" : ",\n") << std::string(static_cast<std::size_t>(indent_ + 2), ' ')
         << Quote(name) << ": " << value;
    first_ = false;
  }
  void Text(std::string_view name, std::string_view value) { Raw(name, Quote(value)); }
  void Number(std::string_view name, long long value) { Raw(name, std::to_string(value)); }
  void Flag(std::string_view name, bool value) { Raw(name, value ? "true" : "false"); }
  void Close() { out_ << "\n" << std::string(static_cast<std::size_t>(indent_), ' ') << "}"; }

private:
  std::ostringstream& out_;
  int indent_;
  bool first_ = true;
};

std::string FontJson(const FontSpec& font) {
  std::ostringstream out;
  out << "{\"face\": " << Quote(font.face) << ", \"points\": " << font.points
      << ", \"bold\": " << (font.bold ? "true" : "false")
      << ", \"italic\": " << (font.italic ? "true" : "false") << "}";
  return out.str();
}

std::string ColorJson(Rgb color) {
  return "{\"r\": " + std::to_string(RedOf(color)) + ", \"g\": " + std::to_string(GreenOf(color)) +
         ", \"b\": " + std::to_string(BlueOf(color)) + "}";
}

std::string PictureJson(const ThemePicture& p) {
  std::ostringstream out;
  out << "{\"path\": " << Quote(p.PicturePath) << ", \"found\": " << (p.HasPicture ? "true" : "false");
  if (p.Picture) out << ", \"width\": " << p.Picture->Width() << ", \"height\": " << p.Picture->Height();
  // The mask is looked up only beside a picture that was found.
  out << ", \"mask_path\": " << (p.HasPicture ? Quote(p.MaskPath) : "null")
      << ", \"mask_found\": " << (p.HasMask ? "true" : "false") << "}";
  return out.str();
}

}  // namespace

std::string ThemeRecordJson(const ThemeRecord& t) {
  std::ostringstream out;
  JsonObject o(out, 0);
  o.Number("DrawType", t.DrawType);
  o.Raw("MonthFont", FontJson(t.MonthFont));
  o.Raw("MonthEnglishFont", FontJson(t.MonthEnglishFont));
  o.Raw("MonthColor", ColorJson(t.MonthColor));
  o.Number("MonthLeft", t.MonthLeft);
  o.Number("MonthTop", t.MonthTop);
  o.Number("DrawDays", t.DrawDays);
  o.Number("MonthWidth", t.MonthWidth);
  o.Number("MonthPictureLeft", t.MonthPictureLeft);
  o.Number("MonthPictureTop", t.MonthPictureTop);
  o.Raw("DayFont", FontJson(t.DayFont));
  o.Raw("WeekFont", FontJson(t.WeekFont));
  o.Raw("LastWeekColor", ColorJson(t.LastWeekColor));
  o.Raw("TodayColor", ColorJson(t.TodayColor));
  o.Raw("DayColor", ColorJson(t.DayColor));
  o.Raw("SunColor", ColorJson(t.SunColor));
  o.Raw("SpecialDayColor", ColorJson(t.SpecialDayColor));
  o.Flag("HasLastWeekColor", t.HasLastWeekColor);
  o.Flag("HasTodayColor", t.HasTodayColor);
  o.Flag("HasSunColor", t.HasSunColor);
  o.Flag("HasSpecialDayColor", t.HasSpecialDayColor);
  o.Number("DayHeight", t.DayHeight);
  o.Number("FullWidth", t.FullWidth);
  o.Number("MiniWidth", t.MiniWidth);
  o.Number("LastweekHeight", t.LastweekHeight);
  o.Number("NextweekHeight", t.NextweekHeight);
  o.Flag("CalendarYear", t.CalendarYear);
  o.Raw("CalendarYearFont", FontJson(t.CalendarYearFont));
  o.Raw("CalendarYearColor", ColorJson(t.CalendarYearColor));
  o.Text("CalendarYearLeftString", t.CalendarYearLeftString);
  o.Text("CalendarYearRightString", t.CalendarYearRightString);
  o.Number("CalendarYearLeft", t.CalendarYearLeft);
  o.Number("CalendarYearTop", t.CalendarYearTop);
  o.Flag("ExtraTitle", t.ExtraTitle);
  o.Raw("ExtraTitleFont", FontJson(t.ExtraTitleFont));
  o.Raw("ExtraTitleColor", ColorJson(t.ExtraTitleColor));
  o.Number("ExtraTitleLeft", t.ExtraTitleLeft);
  o.Number("ExtraTitleTop", t.ExtraTitleTop);
  o.Text("ExtraTitle_Payment", t.ExtraTitle_Payment);
  o.Text("ExtraTitle_Special", t.ExtraTitle_Special);
  o.Number("ExtraTitleAlignment", t.ExtraTitleAlignment);
  o.Number("ExtraLeft", t.ExtraLeft);
  o.Raw("PaymentFont", FontJson(t.PaymentFont));
  o.Raw("PaymentColor", ColorJson(t.PaymentColor));
  o.Flag("HasPaymentColor", t.HasPaymentColor);
  o.Flag("CashOutline", t.CashOutline);
  o.Raw("SpecialFont", FontJson(t.SpecialFont));
  o.Raw("SpecialColor", ColorJson(t.SpecialColor));
  o.Flag("HasSpecialColor", t.HasSpecialColor);
  o.Raw("Lastweek", PictureJson(t.Lastweek));
  o.Raw("Nextweek", PictureJson(t.Nextweek));
  o.Raw("Body", PictureJson(t.Body));
  o.Number("BodyDrawMode", t.BodyDrawMode);
  o.Raw("Month", PictureJson(t.Month));
  o.Raw("CashIcon", PictureJson(t.CashIcon));
  o.Raw("Title", PictureJson(t.Title));
  o.Number("TitleLeft", t.TitleLeft);
  o.Number("TitleTop", t.TitleTop);
  o.Close();
  out << "\n";
  return out.str();
}

int RunThemeCommand(const std::vector<std::string>& args, PictureLoader& pictures,
                    std::ostream& out, std::ostream& err) {
  int twips = 15;
  std::string path;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--twips" && i + 1 < args.size()) {
      twips = SafeInteger(args[++i]);
      if (twips < 1 || twips > 1440) {
        err << "orvtool theme: --twips takes a number from 1 to 1440\n";
        return 2;
      }
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
  out << ThemeRecordJson(theme);
  return 0;
}

}  // namespace orv
