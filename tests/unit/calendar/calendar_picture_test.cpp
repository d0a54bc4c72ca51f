#include "calendar/calendar_picture.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "../../support/fake_desktop_facts.hpp"
#include "calendar_test_theme.hpp"

namespace orv {
namespace {

// The recording canvas: 8 pixels a character, 16 pixels a line.
class CalendarPictureTest : public ::testing::Test {
protected:
  AppState state;
  test::FakeDesktopFacts facts;
  RecordingCanvas draw, view, desktop;
  WallpaperState wallpaper;
  // Only "C:\wall.bmp" is a picture: the desktop's, stretched.
  struct OnePicture : PictureLoader {
    LoadedPicture Load(const std::string& path) override {
      if (path != "C:\\wall.bmp") return {};
      return {std::make_shared<SyntheticPicture>(800, 600, "wall"), {}};
    }
  } pictures;
  WallpaperCopy copy{wallpaper, facts, pictures, desktop};
  CalendarSurfaces surfaces{draw, view, copy};

  void SetUp() override {
    facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"WallpaperStyle", "2"}};
    facts.file_times["C:\\wall.bmp"] = "t0";
    state.CurrentTheme = test::CalendarTestTheme();
    state.Today = MakeDate(2026, 12, 6);  // a Sunday
    state.TodayParts = SplitDate(state.Today);
    Start(MakeDate(2026, 12, 1));
  }
  void Start(Date date) { SetStartDate(state, date); }
  CalendarLayout Full() {
    draw.calls.clear();
    return dsDrawCalendar(state, facts, surfaces);
  }
  std::vector<DrawCall> Texts(const std::string& font_face) const {
    std::vector<DrawCall> out;
    for (const auto& c : draw.calls)
      if (c.kind == DrawCall::Text && c.font.face == font_face) out.push_back(c);
    return out;
  }
  // The day-number call of a row.
  DrawCall DayNumber(int row) const { return Texts("day").at(static_cast<std::size_t>(row)); }
  std::vector<DrawCall> Pictures() const {
    std::vector<DrawCall> out;
    for (const auto& c : draw.calls)
      if (c.kind == DrawCall::Picture) out.push_back(c);
    return out;
  }
};

TEST_F(CalendarPictureTest, RowsShowCentredDayNumbersAndWeekdaysUnderThem) {
  auto layout = Full();
  ASSERT_EQ(Texts("day").size(), static_cast<std::size_t>(layout.rows));
  // Row 0: 1 December 2026, a Tuesday. "33" is 16 wide, "1" 8: centred at 60 + 4.
  EXPECT_EQ(DayNumber(0).text, "1");
  EXPECT_EQ(DayNumber(0).rect.left, 64);
  EXPECT_EQ(DayNumber(0).rect.top, 20);
  EXPECT_EQ(DayNumber(9).text, "10");
  EXPECT_EQ(DayNumber(9).rect.left, 60);
  auto week = Texts("week");
  EXPECT_EQ(week[0].text, "TUE");
  // x = 60 + 16 + 6 + (24 - 24) / 2; y = baseline (20 + 16) - 16 - 1.
  EXPECT_EQ(week[0].rect.left, 82);
  EXPECT_EQ(week[0].rect.top, 19);
  EXPECT_EQ(week[0].color, DayNumber(0).color);
}

TEST_F(CalendarPictureTest, DayNumberColourPrecedence) {
  // Rows: 1 Dec Tue (past), 5 Dec Sat (past), 6 Dec Sun (today), 13 Dec Sun, 8 Dec Tue.
  DayData& special = GetOrCreateDay(state.Years, {2026, 12, 2, 4});
  special.TotalSpecial = true;
  special.SpecialTitle = "記念日";
  GetOrCreateDay(state.Years, {2026, 12, 8, 3}).TotalSpecial = true;
  const auto& t = state.CurrentTheme;
  Full();
  EXPECT_EQ(DayNumber(0).color, t.LastWeekColor);
  EXPECT_EQ(DayNumber(1).color, t.LastWeekColor);  // special, but mode 0
  EXPECT_EQ(DayNumber(5).color, t.TodayColor);     // today beats Sunday
  EXPECT_EQ(DayNumber(12).color, t.SunColor);
  EXPECT_EQ(DayNumber(6).color, t.DayColor);
  state.CalendarMode = 2;
  Full();
  EXPECT_EQ(DayNumber(1).color, t.SpecialDayColor);  // past special day in special mode
  EXPECT_EQ(DayNumber(7).color, t.SpecialDayColor);
  state.CalendarMode = 1;
  Full();
  EXPECT_EQ(DayNumber(1).color, t.LastWeekColor);
  state.CurrentTheme.HasTodayColor = false;
  Full();
  EXPECT_EQ(DayNumber(5).color, t.SunColor);
}

TEST_F(CalendarPictureTest, PaymentColumnShowsTotalsWithCashMarks) {
  state.CalendarMode = 1;
  DayData& cash = GetOrCreateDay(state.Years, {2026, 12, 1, 3});
  cash.TotalPaymentPrice = 50000;
  cash.TotalCash = true;
  DayData& transfer = GetOrCreateDay(state.Years, {2026, 12, 2, 4});
  transfer.TotalPaymentPrice = 300;
  DayData& zero = GetOrCreateDay(state.Years, {2026, 12, 3, 5});
  zero.TotalCash = true;  // sums to nothing: no amount, no mark
  Full();
  auto payments = Texts("payment");
  ASSERT_EQ(payments.size(), 3u);
  EXPECT_EQ(payments[0].text, "￥50,000");
  EXPECT_EQ(payments[0].rect.left, 155);
  EXPECT_EQ(payments[0].rect.top, 20 + 16 - 16 - 1);
  EXPECT_EQ(payments[1].text, "[C]");
  EXPECT_EQ(payments[1].rect.left, 155 + 7 * 8 + 6);
  EXPECT_EQ(payments[2].text, "￥300");
  EXPECT_EQ(payments[0].color, DayNumber(0).color);  // no payment colour in the theme

  state.CurrentTheme.CashOutline = true;
  state.CurrentTheme.CashIcon = test::Slot(12, 10, "cash");
  state.CurrentTheme.HasPaymentColor = true;
  state.CurrentTheme.PaymentColor = MakeRgb(9, 9, 9);
  Full();
  payments = Texts("payment");
  EXPECT_EQ(payments.size(), 2u);
  EXPECT_EQ(payments[0].color, MakeRgb(9, 9, 9));
  bool framed = false, icon = false;
  for (const auto& c : draw.calls) {
    if (c.kind == DrawCall::Frame) {
      framed = true;
      EXPECT_EQ(c.rect, (PixelRect{151, 36 - 16 - 2, 155 + 56 + 4 + 1, 36}));
      EXPECT_EQ(c.color, MakeRgb(9, 9, 9));
    }
    if (c.kind == DrawCall::Picture && c.text == "cash") {
      icon = true;
      EXPECT_EQ(c.rect, (PixelRect{155 + 56 + 6, 36 - 10, 155 + 56 + 6 + 12, 36}));
    }
  }
  EXPECT_TRUE(framed);
  EXPECT_TRUE(icon);
}

TEST_F(CalendarPictureTest, SpecialColumnShowsTheRepresentativeTitle) {
  state.CalendarMode = 2;
  DayData& day = GetOrCreateDay(state.Years, {2026, 12, 2, 4});
  day.SpecialTitle = "誕生日";
  GetOrCreateDay(state.Years, {2026, 12, 3, 5});  // a day without a title
  state.CurrentTheme.HasSpecialColor = true;
  state.CurrentTheme.SpecialColor = MakeRgb(7, 7, 7);
  Full();
  auto specials = Texts("special");
  ASSERT_EQ(specials.size(), 1u);
  EXPECT_EQ(specials[0].text, "誕生日");
  EXPECT_EQ(specials[0].rect.top, 45 + 16 - 16 - 1);
  EXPECT_EQ(specials[0].color, MakeRgb(7, 7, 7));
}

// November 2026 from Sunday the 1st: the 3rd (文化の日) and the 23rd (勤労感謝の日) are
// holidays, both before the fixture's today.
TEST_F(CalendarPictureTest, HolidaysTakeTheSundayColourOrTheirOwn) {
  Start(MakeDate(2026, 11, 1));
  const Rgb holiday = MakeRgb(9, 8, 7);
  struct Case {
    bool show_holidays;
    bool has_holiday_color;
    bool has_sun_color;
    Rgb expected;
  } cases[] = {
      {true, false, true, MakeRgb(3, 3, 3)},   // the Sunday colour
      {true, true, true, holiday},
      {true, true, false, holiday},
      {true, false, false, MakeRgb(1, 1, 1)},  // neither: as any past day
      {false, true, true, MakeRgb(1, 1, 1)},   // holidays switched off
  };
  for (const Case& c : cases) {
    state.ShowHolidays = c.show_holidays;
    state.CurrentTheme.HasHolidayColor = c.has_holiday_color;
    state.CurrentTheme.HolidayColor = holiday;
    state.CurrentTheme.HasSunColor = c.has_sun_color;
    Full();
    EXPECT_EQ(DayNumber(2).text, "3");
    EXPECT_EQ(DayNumber(2).color, c.expected);
    EXPECT_EQ(Texts("week").at(2).color, c.expected);
    EXPECT_EQ(DayNumber(22).color, c.expected);
    EXPECT_EQ(DayNumber(3).color, MakeRgb(1, 1, 1));  // the 4th: a working day
  }
}

TEST_F(CalendarPictureTest, SpecialModeNamesHolidaysWithoutAnEntryOfTheirOwn) {
  Start(MakeDate(2026, 11, 1));
  state.CalendarMode = kShowSpecialDays;
  DayData& own = GetOrCreateDay(state.Years, {2026, 11, 23, 2});
  own.TotalSpecial = true;
  own.SpecialTitle = "誕生日";
  GetOrCreateDay(state.Years, {2026, 11, 3, 3}).TotalPaymentPrice = 500;  // no special entry
  state.CurrentTheme.HasSpecialColor = true;
  state.CurrentTheme.SpecialColor = MakeRgb(7, 7, 7);
  Full();
  auto specials = Texts("special");
  ASSERT_EQ(specials.size(), 2u);
  EXPECT_EQ(specials[0].text, "文化の日");
  EXPECT_EQ(specials[0].rect.left, 155);
  EXPECT_EQ(specials[0].rect.top, DayNumber(2).rect.top + 16 - 16 - 1);
  EXPECT_EQ(specials[0].color, DayNumber(2).color);  // the holiday's colour, not the entries'
  EXPECT_EQ(specials[1].text, "誕生日");
  EXPECT_EQ(specials[1].color, MakeRgb(7, 7, 7));

  state.CalendarMode = kShowPayments;
  Full();
  EXPECT_TRUE(Texts("special").empty());
  state.CalendarMode = kShowSpecialDays;
  state.ShowHolidays = false;
  Full();
  specials = Texts("special");
  ASSERT_EQ(specials.size(), 1u);
  EXPECT_EQ(specials[0].text, "誕生日");
}

// Month labels by the room rule: a label needs DrawDays rows of its month from its row on.
TEST_F(CalendarPictureTest, MonthLabelsNeedRoomForDrawDaysRowsOfTheirMonth) {
  auto labels = [this] {
    std::vector<std::string> out;
    for (const auto& c : Texts("month")) out.push_back(c.text + "@" + std::to_string(c.rect.top));
    return out;
  };
  Start(MakeDate(2026, 11, 30));  // 28 rows: 30 Nov .. 27 Dec; 30 Nov leaves only 1 row
  Full();
  EXPECT_EQ(labels(), (std::vector<std::string>{"12@43"}));  // row 1, top 45, MonthTop -2
  Start(MakeDate(2026, 12, 7));  // rows to 3 Jan: 1 January sits on the third-last row
  Full();
  EXPECT_EQ(labels(), (std::vector<std::string>{"12@18", "1@643"}));
  Start(MakeDate(2026, 12, 6));  // 1 January on the second-last row: no room
  Full();
  EXPECT_EQ(labels(), (std::vector<std::string>{"12@18"}));
  state.CurrentTheme.DrawDays = 1;
  Start(MakeDate(2026, 12, 31));
  Full();
  EXPECT_EQ(labels(), (std::vector<std::string>{"12@18", "1@43"}));
}

TEST_F(CalendarPictureTest, MonthLabelStyles) {
  Start(MakeDate(2026, 12, 1));
  auto& t = state.CurrentTheme;
  t.Month = test::Slot(30, 30, "month_pic");
  t.MonthPictureLeft = 2;
  t.MonthPictureTop = 100;
  t.DrawType = 3;
  Full();
  auto month = Texts("month");
  auto english = Texts("english");
  ASSERT_EQ(month.size(), 1u);
  EXPECT_EQ(month[0].text, "12");
  EXPECT_EQ(month[0].rect.left, 4);
  EXPECT_EQ(month[0].color, t.MonthColor);
  ASSERT_EQ(english.size(), 1u);
  EXPECT_EQ(english[0].text, "2026 December");
  EXPECT_EQ(english[0].rect.left, 4 - (13 * 8 - 16) / 2);
  EXPECT_EQ(english[0].rect.top, 18 + 16);
  EXPECT_EQ(Pictures().front().rect, (PixelRect{2, 100, 32, 130}));  // fixed place, not the row

  t.DrawType = 5;
  Full();
  english = Texts("english");
  ASSERT_EQ(english.size(), 1u);
  EXPECT_EQ(english[0].text, "2026 12");
  EXPECT_EQ(english[0].font.escapement, -900);
  EXPECT_EQ(english[0].font.pixel_height, 14);
  EXPECT_TRUE(english[0].font.outline) << "a bitmap face cannot be turned";
  EXPECT_EQ(english[0].rect.left, 4 + 16);
  EXPECT_EQ(english[0].rect.top, 20 - 4 - 2);

  t.DrawType = 4;
  Full();
  english = Texts("english");
  ASSERT_EQ(english.size(), 2u);
  EXPECT_EQ(english[0].text, " 2026");
  EXPECT_EQ(english[1].text, " December");
  EXPECT_EQ(english[0].rect.left, 4 + 24);
  EXPECT_EQ(english[1].rect.top, 18 + 8);
}

TEST_F(CalendarPictureTest, TitlesFollowTheirSwitchesAndTheMode) {
  auto& t = state.CurrentTheme;
  t.CalendarYear = true;
  t.CalendarYearFont = test::Font("year");
  t.CalendarYearLeftString = "<";
  t.CalendarYearRightString = ">";
  t.ExtraTitle = true;
  t.ExtraTitleFont = test::Font("extra");
  t.ExtraTitle_Payment = "PAY";
  t.ExtraTitle_Special = "SPECIAL";
  t.ExtraTitleLeft = -10;
  t.ExtraTitleAlignment = 1;
  Start(MakeDate(2026, 12, 31));  // the year of the first row
  Full();
  EXPECT_EQ(Texts("year").at(0).text, "< 2026 >");
  EXPECT_TRUE(Texts("extra").empty());  // mode 0
  state.CalendarMode = 2;
  Full();
  EXPECT_EQ(Texts("extra").at(0).text, "SPECIAL");
  EXPECT_EQ(Texts("extra").at(0).rect.left, 150 - 10 - 28);
  EXPECT_EQ(state.LastCalendarMode, 2);
  t.ExtraTitleAlignment = 2;
  state.CalendarMode = 1;
  Full();
  EXPECT_EQ(Texts("extra").at(0).rect.left, 140 - 24);
}

TEST_F(CalendarPictureTest, BackgroundLayerOrderAndBodyModes) {
  auto& t = state.CurrentTheme;
  t.Body = test::Slot(150, 100, "body");
  t.Lastweek = test::Slot(150, 20, "last", true);
  t.Nextweek = test::Slot(150, 30, "next");
  t.Title = test::Slot(40, 10, "title");
  t.TitleLeft = 5;
  t.TitleTop = 3;
  Full();
  // Wallpaper first, from the window's place on the screen.
  EXPECT_EQ(draw.calls[1].kind, DrawCall::Copy);
  // The copy keeps the 240 columns of the widest mode, from screen column 784.
  EXPECT_EQ(draw.calls[1].source, (PixelRect{874 - 784, 0, 1024 - 784, 768}));
  auto pictures = Pictures();
  ASSERT_GE(pictures.size(), 5u);
  EXPECT_EQ(pictures[0].rect, (PixelRect{0, 0, 150, 768}));  // mode 0: stretched to the height
  EXPECT_EQ(pictures[1].text, "last_Mask");
  EXPECT_EQ(pictures[1].op, RasterOp::Erase);
  EXPECT_EQ(pictures[2].text, "last");
  EXPECT_EQ(pictures[2].op, RasterOp::Invert);
  EXPECT_EQ(pictures[3].rect, (PixelRect{0, 738, 150, 768}));
  EXPECT_EQ(pictures[3].op, RasterOp::Copy);
  EXPECT_EQ(pictures[4].rect, (PixelRect{5, 3, 45, 13}));
  EXPECT_EQ(state.CurrentTheme.DayAreaBottom, 738);

  t.BodyDrawMode = 1;
  Full();
  EXPECT_EQ(Pictures()[0].rect, (PixelRect{0, 20, 150, 738}));

  t.BodyDrawMode = 3;
  Full();
  int tiles = 0;
  for (const auto& p : Pictures()) tiles += p.text == "body";
  EXPECT_EQ(tiles, 768 / 100 + 1);

  t.BodyDrawMode = 2;
  Full();
  tiles = 0;
  for (const auto& p : Pictures()) tiles += p.text == "body";
  EXPECT_EQ(tiles, 718 / 100 + 1);
  // The next-week strip is put back from the plain copy before the decorations.
  bool restored = false;
  for (const auto& c : draw.calls)
    if (c.kind == DrawCall::Copy && c.rect == PixelRect{0, 738, 150, 768}) restored = true;
  EXPECT_TRUE(restored);
}

TEST_F(CalendarPictureTest, WallpaperBandCoversTheWindowInEveryModeAndFollowsTheTheme) {
  auto resizes = [this] {
    return std::count_if(desktop.calls.begin(), desktop.calls.end(),
                         [](const DrawCall& c) { return c.kind == DrawCall::Resize; });
  };
  struct Step {
    int full_width, mini_width;  // pixels
    Rect32 work_area;
    int copies;  // wallpaper copies made so far
    int left;    // the band's first screen column
  };
  const Step steps[] = {
      {240, 150, {0, 0, 1024, 768}, 1, 784},
      {400, 150, {0, 0, 1024, 768}, 2, 624},  // a wider theme: copied again
      {200, 300, {0, 0, 1024, 768}, 2, 624},  // narrower: the band still covers it
      {200, 300, {0, 0, 900, 740}, 3, 600},   // a taskbar at the right moves the window left
      {200, 300, {0, 40, 900, 768}, 3, 600},
  };
  for (const Step& step : steps) {
    state.CurrentTheme.FullWidth = step.full_width * 15;
    state.CurrentTheme.MiniWidth = step.mini_width * 15;
    facts.work_area = step.work_area;
    for (int mode : {kShowNothing, kShowPayments, kShowSpecialDays, kShowNothing}) {
      SCOPED_TRACE(testing::Message() << step.full_width << " mode " << mode);
      state.CalendarMode = mode;
      const CalendarLayout layout = Full();
      const DrawCall& read = draw.calls.at(1);
      ASSERT_EQ(read.kind, DrawCall::Copy);
      // Inside the band, and the same screen rectangle a whole-screen copy would give.
      EXPECT_GE(read.source.left, 0);
      EXPECT_LE(read.source.right, desktop.Width());
      EXPECT_LE(read.source.bottom, desktop.Height());
      EXPECT_EQ(read.source.left + copy.Left(), layout.window.left);
      EXPECT_EQ(read.source.top, step.work_area.Top);
      EXPECT_EQ(read.rect, (PixelRect{0, 0, layout.width, layout.height}));
    }
    EXPECT_EQ(resizes(), step.copies);
    EXPECT_EQ(copy.Left(), step.left);
  }
}

TEST_F(CalendarPictureTest, DayPassStartsFromTheKeptBackgroundAndEndsInTheView) {
  auto layout = Full();
  std::size_t keep = 0, clear = 0;
  for (std::size_t i = 0; i < draw.calls.size(); ++i) {
    if (draw.calls[i].kind == DrawCall::KeepAsBackground) keep = i;
    if (draw.calls[i].kind == DrawCall::Clear) clear = i;
  }
  EXPECT_LT(keep, clear);
  draw.calls.clear();
  view.calls.clear();
  dsDrawCalendarDays(state, facts, layout, surfaces);
  EXPECT_EQ(draw.calls.front().kind, DrawCall::Clear);
  EXPECT_EQ(view.calls.back().kind, DrawCall::Copy);
}

}  // namespace
}  // namespace orv
