#include "calendar/calendar_picture.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "holidays/japanese_holidays.hpp"

namespace orv {
namespace {

// Text positions are computed in fractions and land on the nearest pixel.
int Px(double value) { return static_cast<int>(std::nearbyint(value)); }

std::string FourDigitYear(int year) {
  std::string y = std::to_string(year);
  while (y.size() < 4) y.insert(y.begin(), '0');
  return y;
}

class DayPass {
public:
  DayPass(AppState& state, DesktopFacts& facts, const CalendarLayout& layout, Canvas& canvas)
      : state_(state), theme_(state.CurrentTheme), facts_(facts), layout_(layout), g_(layout.geometry), c_(canvas) {}

  void Run() {
    c_.Clear();
    if (state_.CalendarMode != kShowNothing) state_.LastCalendarMode = state_.CalendarMode;
    DrawYearTitle();
    DrawExtraTitle();
    bool first_label = true;
    for (int row = 0; row < layout_.rows; ++row) DrawRow(row, first_label);
  }

private:
  int TW(std::string_view text) { return c_.MeasureText(text).width; }
  int TH(std::string_view text) { return c_.MeasureText(text).height; }
  void Print(int x, int y, std::string_view text) { c_.PrintText(x, y, text); }
  void SetColor(Rgb color) {
    text_color_ = color;
    c_.SetTextColor(color);
  }
  void Use(const FontSpec& font, Rgb color) {
    c_.SetFont(font);
    SetColor(color);
  }

  void DrawYearTitle() {
    if (!theme_.CalendarYear) return;
    Use(theme_.CalendarYearFont, theme_.CalendarYearColor);
    Print(g_.CalendarYearLeft, g_.CalendarYearTop,
          theme_.CalendarYearLeftString + " " + std::to_string(state_.StartDateParts.Year) + " " +
              theme_.CalendarYearRightString);
  }

  void DrawExtraTitle() {
    if (state_.CalendarMode == kShowNothing || !theme_.ExtraTitle) return;
    Use(theme_.ExtraTitleFont, theme_.ExtraTitleColor);
    const std::string& text =
        state_.CalendarMode == kShowPayments ? theme_.ExtraTitle_Payment : theme_.ExtraTitle_Special;
    const int anchor = layout_.mini_width + g_.ExtraTitleLeft;
    double x = anchor;
    if (theme_.ExtraTitleAlignment == 1) x = anchor - TW(text) / 2.0;
    if (theme_.ExtraTitleAlignment == 2) x = anchor - TW(text);
    Print(Px(x), g_.ExtraTitleTop, text);
  }

  Rgb DayNumberColor(Date date, const DateParts& parts, const DayData* day, bool holiday) const {
    Rgb color = theme_.DayColor;
    if (date < state_.Today && theme_.HasLastWeekColor) color = theme_.LastWeekColor;
    if (parts.Weekday == 1 && theme_.HasSunColor) color = theme_.SunColor;
    // Holidays are red days: the Sunday colour unless the theme gives them one of their own.
    if (holiday && theme_.HasHolidayColor) color = theme_.HolidayColor;
    else if (holiday && theme_.HasSunColor) color = theme_.SunColor;
    if (state_.CalendarMode == kShowSpecialDays && theme_.HasSpecialDayColor && day && day->TotalSpecial)
      color = theme_.SpecialDayColor;
    if (date == state_.Today && theme_.HasTodayColor) color = theme_.TodayColor;
    return color;
  }

  void DrawRow(int row, bool& first_label) {
    const Date date = state_.StartDate + std::chrono::days{row};
    const DateParts parts = SplitDate(date);
    const int top = layout_.RowTop(row);
    const DayData* day =
        state_.CalendarMode != kShowNothing ? FindDay(state_.Years, parts) : nullptr;
    const std::string_view holiday = state_.ShowHolidays ? HolidayName(date) : std::string_view{};

    // Day number, centred in a box as wide as "33".
    Use(theme_.DayFont, DayNumberColor(date, parts, day, !holiday.empty()));
    const std::string number = std::to_string(parts.Day);
    const int box = TW("33");
    Print(Px(layout_.day_area_left + (box - TW(number)) / 2.0), top, number);
    const int baseline = top + TH(number);

    // Weekday in the number's colour, centred in a box as wide as "WED".
    c_.SetFont(theme_.WeekFont);
    const std::string_view name = kWeekNames[static_cast<std::size_t>(parts.Weekday - 1)];
    const double x = layout_.day_area_left + box + g_.WeekdayGap + (TW(kWeekNames[3]) - TW(name)) / 2.0;
    Print(Px(x), baseline - TH(name) - 1, name);

    if (state_.CalendarMode == kShowPayments) DrawPayment(day, baseline);
    if (state_.CalendarMode == kShowSpecialDays) DrawSpecial(day, holiday, baseline);
    DrawMonthLabel(row, date, parts, top, first_label);
  }

  void DrawPayment(const DayData* day, int baseline) {
    c_.SetFont(theme_.PaymentFont);
    if (theme_.HasPaymentColor) SetColor(theme_.PaymentColor);
    if (!day) return;
    const std::string amount = facts_.FormatCurrency(day->TotalPaymentPrice);
    if (amount.empty() || amount == facts_.FormatCurrency(0)) return;
    const int ex = layout_.entry_x;
    const int amount_height = TH("\\");
    Print(ex, baseline - amount_height - 1, amount);
    if (!day->TotalCash) return;
    const int amount_width = TW(amount);
    if (theme_.CashOutline) {
      // The outline's corners are both inside it.
      const int pad = g_.CashOutlinePad;
      c_.FrameRect({ex - pad, baseline - amount_height - 2, ex + amount_width + pad + 1, baseline - 1 + 1},
                   text_color_);
    }
    if (theme_.CashIcon.HasPicture && theme_.CashIcon.Picture) {
      DrawScaledPicture(c_, theme_.CashIcon, g_.CashIcon, ex + amount_width + g_.CashGap,
                        baseline - g_.CashIcon.height);
    } else {
      Print(ex + amount_width + g_.CashGap, baseline - TH("C") - 1, "[C]");
    }
  }

  // The day's own entry; on a holiday without one, the holiday's name in its day number's
  // colour, so it reads as part of the date rather than as something the user wrote.
  void DrawSpecial(const DayData* day, std::string_view holiday, int baseline) {
    c_.SetFont(theme_.SpecialFont);
    const bool own_entry = day && !day->SpecialTitle.empty();
    if (day && theme_.HasSpecialColor && (own_entry || holiday.empty())) SetColor(theme_.SpecialColor);
    if (own_entry)
      Print(layout_.entry_x, baseline - TH("\\") - 1, day->SpecialTitle);
    else if (!holiday.empty())
      Print(layout_.entry_x, baseline - TH("\\") - 1, holiday);
  }

  void DrawMonthLabel(int row, Date date, const DateParts& parts, int top, bool& first_label) {
    if (!first_label && parts.Day != 1) return;
    first_label = false;
    const int draw_days = theme_.DrawDays;
    const DateParts last = SplitDate(date + std::chrono::days{draw_days - 1});
    if (row + draw_days > layout_.rows || last.Year != parts.Year || last.Month != parts.Month) return;
    if (theme_.Month.HasPicture) DrawScaledPicture(c_, theme_.Month, g_.Month, g_.MonthPictureLeft, g_.MonthPictureTop);
    DrawMonthText(parts, top);
  }

  void DrawMonthText(const DateParts& parts, int top) {
    const FontSpec& mf = theme_.MonthFont;
    const FontSpec& ef = theme_.MonthEnglishFont;
    SetColor(theme_.MonthColor);
    const int x0 = g_.MonthLeft;
    const int y0 = top + g_.MonthTop;
    const std::string m = std::to_string(parts.Month);
    const std::string year = FourDigitYear(parts.Year);
    const std::string name(kMonthNames[static_cast<std::size_t>(parts.Month - 1)]);
    switch (theme_.DrawType) {
      case 1: {
        c_.SetFont(ef);
        const std::string head = year + " ";
        const int shift = TW(head);
        Print(x0, y0, head);
        c_.SetFont(mf);
        Print(x0 + shift, y0, m);
        break;
      }
      case 2:
        c_.SetFont(ef);
        Print(x0, y0, year + " " + name);
        break;
      case 3: {
        c_.SetFont(mf);
        const int w = TW("12");
        const int h = TH("12");
        Print(Px(x0 + (w - TW(m)) / 2.0), y0, m);
        c_.SetFont(ef);
        const std::string below = year + " " + name;
        Print(Px(x0 - (TW(below) - w) / 2.0), y0 + h, below);
        break;
      }
      case 4: {
        c_.SetFont(mf);
        Print(x0 + TW("12") - TW(m), y0, m);
        const int x1 = x0 + TW("12 ");
        const int ym = Px(y0 + TH(m) / 2.0);
        c_.SetFont(ef);
        Print(x1, ym - TH(year), " " + year);
        Print(x1, ym, " " + name);
        break;
      }
      case 5:
      case 6: {
        c_.SetFont(ef);
        const int x = x0 + TH("Mj");
        FontSpec rotated = ef;
        rotated.escapement = -900;
        rotated.pixel_height = TH("2") - 2;
        rotated.outline = true;
        c_.SetFont(rotated);
        Print(x, top - g_.VerticalLabelLift + g_.MonthTop, year + " " + (theme_.DrawType == 5 ? m : name));
        break;
      }
      default:
        c_.SetFont(mf);
        Print(x0, y0, m);
        break;
    }
  }

  AppState& state_;
  const ThemeRecord& theme_;
  DesktopFacts& facts_;
  const CalendarLayout& layout_;
  const ThemeGeometry& g_;
  Canvas& c_;
  Rgb text_color_ = 0;  // the colour last set, for the cash outline
};

void DrawSlot(Canvas& canvas, const ThemePicture& slot, const PixelRect& dest, bool smooth) {
  if (slot.HasMask && slot.Mask) {
    // The mask is scaled exactly as the picture, so its transparent edge stays on the
    // picture's edge.
    canvas.DrawPicture(*slot.Mask, dest, RasterOp::Erase, smooth);
    canvas.DrawPicture(*slot.Picture, dest, RasterOp::Invert, smooth);
  } else {
    canvas.DrawPicture(*slot.Picture, dest, RasterOp::Copy, smooth);
  }
}

}  // namespace

void DrawThemePicture(Canvas& canvas, const ThemePicture& slot, int x, int y,
                      std::optional<int> width, std::optional<int> height) {
  if (!slot.HasPicture || !slot.Picture) return;
  DrawSlot(canvas, slot,
           {x, y, x + width.value_or(slot.Picture->Width()), y + height.value_or(slot.Picture->Height())}, false);
}

void DrawScaledPicture(Canvas& canvas, const ThemePicture& slot, PixelSize size, int x, int y,
                       std::optional<int> height) {
  if (!slot.HasPicture || !slot.Picture) return;
  const PixelRect dest{x, y, x + size.width, y + height.value_or(size.height)};
  // Smoothing only where the display scale changes the picture's size; a picture drawn 1:1
  // is copied as it is, sharp.
  const bool smooth = size.width != slot.Picture->Width() || size.height != slot.Picture->Height();
  DrawSlot(canvas, slot, dest, smooth);
}

CalendarLayout dsDrawCalendar(AppState& state, DesktopFacts& facts, CalendarSurfaces& surfaces) {
  state.WorkArea = facts.WorkArea();
  ThemeRecord& theme = state.CurrentTheme;
  const CalendarLayout layout =
      ComputeCalendarLayout(theme, state.CalendarMode, state.WorkArea, facts.TwipsPerPixelX(), state.Zoom);
  const int w = layout.width;
  const int h = layout.height;
  Canvas& draw = surfaces.draw;
  draw.SetDpi(layout.geometry.dpi);  // fonts follow the calendar's scale, as its geometry does
  draw.Resize(w, h);
  surfaces.view.Resize(w, h);

  // The wallpaper under the window; the copy keeps the columns of the widest window this theme
  // can give, so switching modes needs no new copy.
  surfaces.desktop.Cover(state.WorkArea.Right - std::max(layout.mini_width, layout.full_width));
  surfaces.desktop.CopyTo(draw, {state.WorkArea.Right - w, state.WorkArea.Top, state.WorkArea.Right, state.WorkArea.Top + h},
                          {0, 0, w, h});
  theme.DayAreaLeft = layout.day_area_left;
  theme.DayAreaTop = layout.day_area_top;
  theme.DayAreaBottom = layout.day_area_bottom;

  const ThemeGeometry& g = layout.geometry;
  if (theme.Body.HasPicture && theme.Body.Picture) {
    const int top = g.LastweekHeight;
    const int body = h - g.LastweekHeight - g.NextweekHeight;
    // Tiles are the scaled tile, laid edge to edge on whole pixels.
    const int tile = g.Body.height;
    switch (theme.BodyDrawMode) {
      case 1:
        DrawScaledPicture(draw, theme.Body, g.Body, 0, top, body);
        break;
      case 2: {
        // Tiles down the body; the bottom strip is put back from the plain copy, so no tile
        // shows in it.
        surfaces.view.CopyFrom(draw, {0, 0, w, h}, {0, 0, w, h});
        if (tile > 0)
          for (int k = 0; k <= body / tile; ++k) DrawScaledPicture(draw, theme.Body, g.Body, 0, top + k * tile);
        const PixelRect strip{0, h - g.NextweekHeight, w, h};
        draw.CopyFrom(surfaces.view, strip, strip);
        break;
      }
      case 3:
        if (tile > 0)
          for (int k = 0; k <= h / tile; ++k) DrawScaledPicture(draw, theme.Body, g.Body, 0, k * tile);
        break;
      default:
        DrawScaledPicture(draw, theme.Body, g.Body, 0, 0, h);
        break;
    }
  }
  if (theme.Lastweek.HasPicture) DrawScaledPicture(draw, theme.Lastweek, g.Lastweek, 0, 0);
  if (theme.Nextweek.HasPicture) DrawScaledPicture(draw, theme.Nextweek, g.Nextweek, 0, h - g.NextweekHeight);
  if (theme.Title.HasPicture) DrawScaledPicture(draw, theme.Title, g.Title, g.TitleLeft, g.TitleTop);
  draw.KeepAsBackground();

  dsDrawCalendarDays(state, facts, layout, surfaces);
  return layout;
}

void dsDrawCalendarDays(AppState& state, DesktopFacts& facts, const CalendarLayout& layout,
                        CalendarSurfaces& surfaces) {
  DayPass(state, facts, layout, surfaces.draw).Run();
  surfaces.view.CopyFrom(surfaces.draw, {0, 0, layout.width, layout.height},
                         {0, 0, layout.width, layout.height});
}

}  // namespace orv
