// The calendar at display scales: the theme's geometry at each scale, the pictures drawn at
// theirs, and the columns of the built-in and sample themes kept apart at every scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "../../support/fake_desktop_facts.hpp"
#include "../../support/font_metrics_canvas.hpp"
#include "../../support/temp_dir.hpp"
#include "calendar/calendar_picture.hpp"
#include "calendar_test_theme.hpp"
#include "holidays/japanese_holidays.hpp"
#include "theme/theme.hpp"

namespace orv {
namespace {

// Values chosen so that halves occur at several scales.
ThemeRecord OddTheme() {
  ThemeRecord t;
  t.MonthLeft = 30;
  t.MonthTop = -3;
  t.MonthWidth = 90;
  t.MonthPictureLeft = 5;
  t.MonthPictureTop = -7;
  t.DayHeight = 22;
  t.FullWidth = 250 * 15;
  t.MiniWidth = 147 * 15;
  t.LastweekHeight = 18;
  t.NextweekHeight = 21;
  t.CalendarYearLeft = 3;
  t.CalendarYearTop = 1;
  t.ExtraTitleLeft = -5;
  t.ExtraTitleTop = 2;
  t.ExtraLeft = 5;
  t.TitleLeft = 11;
  t.TitleTop = 9;
  t.DesignDpi = 192;
  t.Lastweek = test::Slot(500, 36, "lastweek");
  t.Body = test::Slot(3, 5, "body");
  t.CashIcon = test::Slot(28, 28, "cash", true);
  return t;
}

struct GeometryCase {
  int monitor_dpi;
  int zoom;
  // MonthLeft, MonthTop, MonthWidth, MonthPictureLeft, MonthPictureTop, DayHeight, FullWidth,
  // MiniWidth, LastweekHeight, NextweekHeight, CalendarYearLeft, CalendarYearTop,
  // ExtraTitleLeft, ExtraTitleTop, ExtraLeft, TitleLeft, TitleTop, WeekdayGap, CashOutlinePad
  std::array<int, 19> values;
  PixelSize lastweek, body, cash_icon;
  int mode_change_width;
};

std::array<int, 19> ValuesOf(const ThemeGeometry& g) {
  return {g.MonthLeft,        g.MonthTop,  g.MonthWidth,       g.MonthPictureLeft, g.MonthPictureTop,
          g.DayHeight,        g.FullWidth, g.MiniWidth,        g.LastweekHeight,   g.NextweekHeight,
          g.CalendarYearLeft, g.CalendarYearTop, g.ExtraTitleLeft, g.ExtraTitleTop, g.ExtraLeft,
          g.TitleLeft,        g.TitleTop,  g.WeekdayGap,       g.CashOutlinePad};
}

class ThemeGeometryTest : public testing::TestWithParam<GeometryCase> {};

// Each value is the theme's times the scale, rounded once to the nearest pixel with halves to
// the even neighbour (27.5 → 28, 312.5 → 312, −4.5 → −4); pictures drawn for 192 dpi are half
// size at 96 and 1:1 at 192, never less than a pixel.
TEST_P(ThemeGeometryTest, EveryValueIsScaledAndRoundedOnce) {
  const GeometryCase& c = GetParam();
  const int dpi = CalendarDpi(TwipsScale::ForDpi(c.monitor_dpi), c.zoom);
  const ThemeGeometry g = ScaleThemeGeometry(OddTheme(), dpi);
  EXPECT_EQ(ValuesOf(g), c.values);
  EXPECT_EQ(g.Lastweek, c.lastweek);
  EXPECT_EQ(g.Body, c.body);
  EXPECT_EQ(g.CashIcon, c.cash_icon);
  EXPECT_EQ(g.Month, PixelSize{});  // no picture
  EXPECT_EQ(g.ModeChangeWidth, c.mode_change_width);
  EXPECT_EQ(g.dpi, dpi);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, ThemeGeometryTest,
    testing::Values(
        GeometryCase{96, 0, {30, -3, 90, 5, -7, 22, 250, 147, 18, 21, 3, 1, -5, 2, 5, 11, 9, 6, 4}, {250, 18}, {2, 2}, {14, 14}, 17},
        GeometryCase{120, 0, {38, -4, 112, 6, -9, 28, 312, 184, 22, 26, 4, 1, -6, 2, 6, 14, 11, 8, 5}, {312, 22}, {2, 3}, {18, 18}, 21},
        GeometryCase{144, 0, {45, -4, 135, 8, -10, 33, 375, 220, 27, 32, 4, 2, -8, 3, 8, 16, 14, 9, 6}, {375, 27}, {2, 4}, {21, 21}, 26},
        GeometryCase{168, 0, {52, -5, 158, 9, -12, 38, 438, 257, 32, 37, 5, 2, -9, 4, 9, 19, 16, 10, 7}, {438, 32}, {3, 4}, {24, 24}, 30},
        GeometryCase{192, 0, {60, -6, 180, 10, -14, 44, 500, 294, 36, 42, 6, 2, -10, 4, 10, 22, 18, 12, 8}, {500, 36}, {3, 5}, {28, 28}, 34},
        // The user's zoom stands for the monitor's scale, whatever that is.
        GeometryCase{144, 100, {30, -3, 90, 5, -7, 22, 250, 147, 18, 21, 3, 1, -5, 2, 5, 11, 9, 6, 4}, {250, 18}, {2, 2}, {14, 14}, 17},
        GeometryCase{96, 125, {38, -4, 112, 6, -9, 28, 312, 184, 22, 26, 4, 1, -6, 2, 6, 14, 11, 8, 5}, {312, 22}, {2, 3}, {18, 18}, 21},
        GeometryCase{192, 150, {45, -4, 135, 8, -10, 33, 375, 220, 27, 32, 4, 2, -8, 3, 8, 16, 14, 9, 6}, {375, 27}, {2, 4}, {21, 21}, 26},
        GeometryCase{96, 175, {52, -5, 158, 9, -12, 38, 438, 257, 32, 37, 5, 2, -9, 4, 9, 19, 16, 10, 7}, {438, 32}, {3, 4}, {24, 24}, 30},
        GeometryCase{120, 200, {60, -6, 180, 10, -14, 44, 500, 294, 36, 42, 6, 2, -10, 4, 10, 22, 18, 12, 8}, {500, 36}, {3, 5}, {28, 28}, 34}),
    [](const testing::TestParamInfo<GeometryCase>& param_info) {
      return "Monitor" + std::to_string(param_info.param.monitor_dpi) + "Zoom" + std::to_string(param_info.param.zoom);
    });

TEST(ThemeGeometryScaleOffTest, KeepsExactPixelsAndNaturalPicturesAtAnyScale) {
  ThemeRecord theme = OddTheme();
  theme.ScaleToDisplay = false;
  for (int dpi : {96, 144, 192}) {
    SCOPED_TRACE(dpi);
    const ThemeGeometry g = ScaleThemeGeometry(theme, dpi);
    EXPECT_EQ(ValuesOf(g), (std::array<int, 19>{30, -3, 90, 5, -7, 22, 250, 147, 18, 21, 3, 1, -5, 2, 5, 11, 9, 6, 4}));
    EXPECT_EQ(g.Lastweek, (PixelSize{500, 36}));
    EXPECT_EQ(g.dpi, dpi);  // the text follows the scale, as it always did
  }
}

TEST(ThemeGeometryWidthTest, WidthsReadAtAnotherScaleComeBackAsTheThemesPixels) {
  ThemeRecord theme = OddTheme();
  theme.WidthTwipsPerPixel = TwipsScale::ForDpi(168);
  theme.FullWidth = PixelsToTwips(250, theme.WidthTwipsPerPixel);  // 2142.86 → 2143 twips
  theme.MiniWidth = PixelsToTwips(147, theme.WidthTwipsPerPixel);
  const ThemeGeometry g = ScaleThemeGeometry(theme, 144);
  EXPECT_EQ(g.FullWidth, 375);
  EXPECT_EQ(g.MiniWidth, 220);
}

TEST(CalendarLayoutScaleTest, RowsHotspotsAndTheWallpaperBandFollowTheScale) {
  const ThemeRecord theme = OddTheme();
  const Rect32 work{0, 0, 1920, 1000};
  const CalendarLayout l = ComputeCalendarLayout(theme, 1, work, TwipsScale::ForDpi(144));
  EXPECT_EQ(l.width, 375);
  EXPECT_EQ(l.window, (PixelRect{1545, 0, 1920, 1000}));
  EXPECT_EQ(l.day_area_left, 135);
  EXPECT_EQ(l.day_area_top, 27);
  EXPECT_EQ(l.day_area_bottom, 1000 - 32);
  EXPECT_EQ(l.rows, (968 - 27) / 33);
  EXPECT_EQ(l.entry_x, 220 + 8);
  const CalendarMetrics m = l.Metrics();
  const HotspotRects hot = LayoutHotspots(m, l.width, l.height, m.ModeChangeWidth);
  EXPECT_EQ(hot.ModeChange, (PixelRect{375 - 26, 0, 375, 1000}));
  EXPECT_EQ(hot.WeekBack, (PixelRect{0, 0, 220, 27}));
  EXPECT_EQ(hot.WeekForward, (PixelRect{0, 1000 - 32, 375, 1000}));
  // A day row is hit by its scaled height; the month column is not a row.
  EXPECT_EQ(DayRowAt(m, 200, 27 + 33 * 4 + 32), 4);
  EXPECT_EQ(DayRowAt(m, 134, 27 + 5), std::nullopt);
  // The zoom gives the same layout on any monitor; the widest width keeps the wallpaper band.
  EXPECT_EQ(ComputeCalendarLayout(theme, 1, work, TwipsScale::ForDpi(96), 150).Metrics().DayHeight, 33);
  EXPECT_EQ(WidestCalendarWidth(theme, TwipsScale::ForDpi(96), 200), 500);
  // The day dialogs stand beside the scaled month column.
  const ScreenFacts screen{1920, 1080, TwipsScale::ForDpi(144), TwipsScale::ForDpi(144)};
  EXPECT_EQ(DialogPositionFor(screen, 0, l.width, m.MonthWidth, 300).Left,
            PixelsToTwips(1920 - 375 + 135 - 10, screen.twips_x) - 5145);
}

// The composition at 150 %: every picture at its scaled size, smoothed, masks exactly with
// their pictures; tiles edge to edge; a picture drawn for the scale 1:1 and sharp.
class ScaledCompositionTest : public testing::Test {
protected:
  AppState state;
  test::FakeDesktopFacts facts;
  RecordingCanvas draw, view, desktop;
  WallpaperState wallpaper;
  struct NoPictures : PictureLoader {
    LoadedPicture Load(const std::string&) override { return {}; }
  } pictures;
  WallpaperCopy copy{wallpaper, facts, pictures, desktop};
  CalendarSurfaces surfaces{draw, view, copy};

  void SetUp() override {
    state.CurrentTheme = test::CalendarTestTheme();
    state.CurrentTheme.DesignDpi = 192;
    state.Today = MakeDate(2026, 12, 7);
    state.TodayParts = SplitDate(state.Today);
    SetStartDate(state, MakeDate(2026, 12, 1));
    facts.twips_x = facts.twips_y = TwipsScale::ForDpi(144);
  }
  std::vector<DrawCall> Pictures(const std::string& name) const {
    std::vector<DrawCall> out;
    for (const auto& c : draw.calls)
      if (c.kind == DrawCall::Picture && c.text.starts_with(name)) out.push_back(c);
    return out;
  }
};

TEST_F(ScaledCompositionTest, PicturesAreDrawnAtTheirScaledSizeAndSmoothed) {
  ThemeRecord& t = state.CurrentTheme;
  t.Lastweek = test::Slot(480, 40, "lastweek", true);  // 192-dpi pixels: 360 × 30 at 144 dpi
  t.Nextweek = test::Slot(480, 60, "nextweek");
  t.Title = test::Slot(24, 92, "title", true);
  t.TitleLeft = 10;
  t.TitleTop = 4;
  const CalendarLayout l = dsDrawCalendar(state, facts, surfaces);
  EXPECT_EQ(draw.Dpi(), 144);  // fonts follow the same scale
  auto last = Pictures("lastweek");
  ASSERT_EQ(last.size(), 2u);  // mask, then picture: the same rectangle, both smoothed
  for (const DrawCall& c : last) {
    EXPECT_EQ(c.rect, (PixelRect{0, 0, 360, 30}));
    EXPECT_TRUE(c.halftone);
  }
  EXPECT_EQ(last[0].op, RasterOp::Erase);
  EXPECT_EQ(last[1].op, RasterOp::Invert);
  ASSERT_EQ(Pictures("nextweek").size(), 1u);
  EXPECT_EQ(Pictures("nextweek")[0].rect, (PixelRect{0, l.height - 45, 360, l.height}));
  EXPECT_EQ(Pictures("title")[0].rect, (PixelRect{15, 6, 15 + 18, 6 + 69}));
}

TEST_F(ScaledCompositionTest, TiledBodiesTileTheScaledTileEdgeToEdge) {
  ThemeRecord& t = state.CurrentTheme;
  t.Body = test::Slot(480, 50, "body");  // 37.5 → 38 pixels high at 144 dpi
  t.BodyDrawMode = 3;
  const CalendarLayout l = dsDrawCalendar(state, facts, surfaces);
  const auto tiles = Pictures("body");
  ASSERT_EQ(tiles.size(), static_cast<std::size_t>(l.height / 38 + 1));
  for (std::size_t k = 0; k < tiles.size(); ++k) {
    EXPECT_EQ(tiles[k].rect, (PixelRect{0, static_cast<int>(k) * 38, 360, static_cast<int>(k) * 38 + 38}));
    EXPECT_TRUE(tiles[k].halftone);
  }
}

TEST_F(ScaledCompositionTest, PicturesDrawnForTheScaleAreCopiedAsTheyAre) {
  facts.twips_x = facts.twips_y = TwipsScale::ForDpi(192);
  state.CurrentTheme.Lastweek = test::Slot(480, 40, "lastweek");
  dsDrawCalendar(state, facts, surfaces);
  ASSERT_EQ(Pictures("lastweek").size(), 1u);
  EXPECT_EQ(Pictures("lastweek")[0].rect, (PixelRect{0, 0, 480, 40}));
  EXPECT_FALSE(Pictures("lastweek")[0].halftone);
}

TEST_F(ScaledCompositionTest, TheZoomOverridesTheMonitorsScale) {
  state.Zoom = 200;
  const CalendarLayout l = dsDrawCalendar(state, facts, surfaces);
  EXPECT_EQ(draw.Dpi(), 192);
  EXPECT_EQ(l.width, 150 * 2);
  EXPECT_EQ(l.day_height, 50);
}

// The built-in theme and the three sample themes at every scale: no text runs into the next
// column. Month labels stay left of the day column, day numbers and weekdays within it (left
// of the entries in the wide modes), entries right of it, with text that grows with the scale
// as real text does (and, for the themes' faces, a little wider than most).
ThemeRecord SampleTheme(const std::string& name) {
  // The sample theme files are UTF-8 in the source tree (the package writes them as code page
  // 932): with a byte-order mark they load as they are.
  test::TempDir dir;
  const std::string path = dir.File(name + ".INI");
  test::WriteBytes(path, "\xEF\xBB\xBF" + test::ReadBytes(std::string(ORV_SAMPLE_THEMES) + "/" + name + "/" + name + ".INI"));
  PictureHeaderLoader pictures;  // the pictures are drawn by the package, not here
  ThemeRecord theme;
  EXPECT_EQ(sfLoadINIThemeFile(theme, path, {pictures, TwipsScale{}}), "") << name;
  return theme;
}

struct Box {
  PixelRect rect;
  std::string text;
};

class ThemeColumnsTest : public testing::TestWithParam<int> {};

TEST_P(ThemeColumnsTest, NoTextRunsIntoAnotherColumn) {
  const int dpi = GetParam();
  for (const std::string name : {"", "Light", "Dark", "Notebook"}) {
    for (int mode : {1, 2}) {
      SCOPED_TRACE((name.empty() ? "built-in" : name) + " mode " + std::to_string(mode) + " at " +
                   std::to_string(dpi) + " dpi");
      AppState state;
      state.CurrentTheme = name.empty() ? DefaultTheme() : SampleTheme(name);
      state.CalendarMode = mode;
      state.Today = MakeDate(2026, 12, 7);
      state.TodayParts = SplitDate(state.Today);
      SetStartDate(state, MakeDate(2026, 11, 26));  // a "December" label, the widest month name
      // An entry on every row, so the entry column is drawn.
      for (int day = 0; day < 40; ++day) {
        const DateParts p = SplitDate(state.StartDate + std::chrono::days{day});
        DayData& d = GetOrCreateDay(state.Years, p);
        d.TotalPaymentPrice = 123456;
        d.TotalCash = true;
        d.SpecialTitle = "記念日";
      }
      test::FakeDesktopFacts facts;
      facts.work_area = {0, 0, 1920, 1200};
      facts.twips_x = facts.twips_y = TwipsScale::ForDpi(dpi);
      test::FontMetricsCanvas draw;
      RecordingCanvas view, desktop;
      WallpaperState wallpaper;
      PictureHeaderLoader pictures;
      WallpaperCopy copy{wallpaper, facts, pictures, desktop};
      CalendarSurfaces surfaces{draw, view, copy};
      const CalendarLayout l = dsDrawCalendar(state, facts, surfaces);
      ASSERT_GT(l.rows, 10);
      const std::string amount = facts.FormatCurrency(123456);
      // Days past the entries that are holidays show their names in the entry column.
      std::set<std::string, std::less<>> holiday_names;
      for (const Holiday& h : HolidaysOfYears(2026, 2027)) holiday_names.emplace(h.name);
      int labels = 0, entries = 0;
      for (const DrawCall& c : draw.calls) {
        if (c.kind != DrawCall::Text || c.rect.top < l.day_area_top) continue;  // the strips' titles
        SCOPED_TRACE("\"" + c.text + "\" at " + std::to_string(c.rect.left) + ".." + std::to_string(c.rect.right));
        const bool weekday = std::find(kWeekNames.begin(), kWeekNames.end(), c.text) != kWeekNames.end();
        const bool day_number = c.font == state.CurrentTheme.DayFont &&
                                std::all_of(c.text.begin(), c.text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
        if (weekday || day_number) {
          EXPECT_GE(c.rect.left, l.day_area_left);
          EXPECT_LE(c.rect.right, l.entry_x);
        } else if (c.text == amount || c.text == "[C]" || c.text == "記念日" || holiday_names.count(c.text)) {
          ++entries;  // may run past the calendar's edge: entries are not clipped
          EXPECT_GE(c.rect.left, l.entry_x);
        } else {
          ++labels;
          EXPECT_LE(c.rect.right, l.day_area_left);
        }
      }
      EXPECT_GT(labels, 0);
      EXPECT_GT(entries, 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, ThemeColumnsTest, testing::Values(96, 120, 144, 168, 192),
                         [](const testing::TestParamInfo<int>& param_info) { return std::to_string(param_info.param) + "Dpi"; });

}  // namespace
}  // namespace orv
