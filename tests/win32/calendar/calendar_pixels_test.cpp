// The calendar composition on the real GDI canvas: what the masks, the tiled body and the
// wallpaper copy leave in the pixels.
#include <gtest/gtest.h>

#include <functional>

#include "../../support/bitmap_font.hpp"
#include "../../support/fake_desktop_facts.hpp"
#include "../../support/temp_dir.hpp"
#include "calendar/calendar_picture.hpp"
#include "desktop/wallpaper.hpp"
#include "platform/win32/gdi_canvas.hpp"
#include "platform/win32/wide.hpp"
#include "theme/theme.hpp"

namespace orv {
namespace {

// A picture of `width` x `height` whose pixel colours come from `color_at`.
std::shared_ptr<BitmapPicture> MakePicture(int width, int height,
                                           const std::function<Rgb(int, int)>& color_at) {
  GdiCanvas paint(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) paint.FillRect({x, y, x + 1, y + 1}, color_at(x, y));
  HDC screen = GetDC(nullptr);
  BitmapHandle bitmap(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  MemoryDc dc(CreateCompatibleDC(nullptr));
  {
    SelectedObject selected(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, width, height, paint.dc(), 0, 0, SRCCOPY);
  }
  return std::make_shared<BitmapPicture>(std::move(bitmap));
}

std::shared_ptr<BitmapPicture> Solid(int width, int height, Rgb color) {
  GdiCanvas paint(1, 1);
  HDC screen = GetDC(nullptr);
  BitmapHandle bitmap(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  MemoryDc dc(CreateCompatibleDC(nullptr));
  {
    SelectedObject selected(dc.get(), bitmap.get());
    BrushHandle brush(CreateSolidBrush(color));
    RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, brush.get());
  }
  return std::make_shared<BitmapPicture>(std::move(bitmap));
}

constexpr Rgb kRed = MakeRgb(255, 0, 0);
constexpr Rgb kBlue = MakeRgb(0, 0, 255);
constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr Rgb kGreen = MakeRgb(0, 255, 0);

// A 1024 x 600 desktop without a wallpaper, in red, and the calendar's surfaces over it.
struct PlainDesktop {
  struct NoPictures : PictureLoader {
    LoadedPicture Load(const std::string&) override { return {}; }
  };
  PlainDesktop() {
    facts.work_area = {0, 0, 1024, 600};
    facts.desktop = kRed;
  }
  CalendarLayout DrawCalendar(AppState& state) { return dsDrawCalendar(state, facts, surfaces); }

  test::FakeDesktopFacts facts;
  NoPictures loader;
  WallpaperState wallpaper;
  GdiCanvas image{1, 1}, draw{1, 1}, view{1, 1};
  WallpaperCopy copy{wallpaper, facts, loader, image};
  CalendarSurfaces surfaces{draw, view, copy};
};

TEST(CalendarPixels, MaskLeavesTheBackgroundWhereMaskAndPictureAreWhite) {
  GdiCanvas canvas(40, 10);
  canvas.FillRect({0, 0, 40, 10}, kRed);
  ThemePicture slot;
  // Left half: white picture under a white mask (see-through). Right half: blue under black.
  slot.Picture = MakePicture(20, 10, [](int x, int) { return x < 10 ? kWhite : kBlue; });
  slot.Mask = MakePicture(20, 10, [](int x, int) { return x < 10 ? kWhite : kBlack; });
  slot.HasPicture = slot.HasMask = true;
  DrawThemePicture(canvas, slot, 10, 0);
  EXPECT_EQ(canvas.PixelAt(5, 5), kRed);    // outside the picture
  EXPECT_EQ(canvas.PixelAt(12, 5), kRed);   // white on white: the background shows
  EXPECT_EQ(canvas.PixelAt(25, 5), kBlue);  // black mask: the picture shows unchanged
  EXPECT_EQ(canvas.PixelAt(35, 5), kRed);

  slot.HasMask = false;  // without a mask the picture covers its whole rectangle
  DrawThemePicture(canvas, slot, 10, 0);
  EXPECT_EQ(canvas.PixelAt(12, 5), kWhite);
}

TEST(CalendarPixels, TiledBodyStopsAtTheNextWeekStrip) {
  AppState state;
  state.CurrentTheme.FullWidth = 200 * 15;
  state.CurrentTheme.MiniWidth = 120 * 15;
  state.CurrentTheme.LastweekHeight = 20;
  state.CurrentTheme.NextweekHeight = 30;
  state.CurrentTheme.MonthWidth = 40;
  state.CurrentTheme.DayHeight = 20;
  state.CurrentTheme.DrawDays = 99;  // no month labels
  state.CurrentTheme.Body.Picture = Solid(120, 64, kGreen);
  state.CurrentTheme.Body.HasPicture = true;
  state.CurrentTheme.BodyDrawMode = 2;
  SetStartDate(state, MakeDate(2026, 12, 1));
  PlainDesktop desktop;
  auto layout = desktop.DrawCalendar(state);
  const GdiCanvas& draw = desktop.draw;
  const GdiCanvas& view = desktop.view;
  ASSERT_EQ(layout.height, 600);
  const int x = layout.width - 3;  // nothing but the background there in mode 0
  EXPECT_EQ(draw.PixelAt(x, 10), kRed);          // the top strip: wallpaper
  EXPECT_EQ(draw.PixelAt(x, 21), kGreen);        // the body
  EXPECT_EQ(draw.PixelAt(x, 600 - 31), kGreen);  // just above the strip
  EXPECT_EQ(draw.PixelAt(x, 600 - 30), kRed);    // the strip: cut off exactly
  EXPECT_EQ(view.PixelAt(x, 600 - 31), kGreen);  // the view shows the finished picture
}

// Month labels of styles 5 and 6 run downwards from 4 pixels above their row, whatever face
// the theme names: one that exists only as bitmaps cannot be turned, so an outline face of
// its family draws them.
TEST(CalendarPixels, TurnedMonthLabelsRunDownwardsEvenWithABitmapOnlyFace) {
  test::TempDir dir;
  const std::string file = dir.File("bitmap.fnt");
  test::WriteBytes(file, test::BitmapFontFile("OrvantaBitmap"));
  const std::wstring wide_file = Utf8ToWide(file);
  ASSERT_GT(AddFontResourceExW(wide_file.c_str(), FR_PRIVATE, nullptr), 0);
  for (int style : {5, 6}) {
    SCOPED_TRACE(style);
    AppState state;
    state.CurrentTheme = DefaultTheme();
    ThemeRecord& t = state.CurrentTheme;
    t.DrawType = style;
    t.DrawDays = 1;
    t.MonthColor = kBlue;
    t.MonthEnglishFont = FontSpec{"OrvantaBitmap", 12};
    SetStartDate(state, MakeDate(2026, 12, 1));  // the top row carries the label
    PlainDesktop desktop;
    const CalendarLayout layout = desktop.DrawCalendar(state);
    const GdiCanvas& draw = desktop.draw;
    // The label's pixels in the month column (smoothed edges count by their hue).
    PixelRect box{1 << 20, 1 << 20, -1, -1};
    for (int y = 0; y < layout.height; ++y)
      for (int x = 0; x < t.MonthWidth; ++x) {
        const Rgb c = draw.PixelAt(x, y);
        if (BlueOf(c) < 128 || RedOf(c) > 96 || GreenOf(c) > 96) continue;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
      }
    ASSERT_GT(box.right, 0) << "no label drawn";
    EXPECT_GT(box.Height(), 2 * box.Width()) << "not running downwards: " << box.Width() << " x " << box.Height();
    const int start = t.DayAreaTop - 4 + t.MonthTop;
    EXPECT_GE(box.top, start - 1);
    EXPECT_LE(box.top, start + 4);
    EXPECT_LE(box.right, t.MonthLeft + 20) << "the glyphs stand left of the print position";
  }
  RemoveFontResourceExW(wide_file.c_str(), FR_PRIVATE, nullptr);
}

// The built-in theme over a black desktop from Sunday 1 November 2026: the 3rd (文化の日) is a
// holiday, the 4th a working day. Counts the pixels of each colour in a row's day column.
TEST(CalendarPixels, HolidayNumbersTakeTheSundayColourOrTheirOwn) {
  constexpr Rgb kHoliday = MakeRgb(40, 220, 40);
  struct Case {
    bool show_holidays;
    bool has_holiday_color;
    Rgb holiday_row;  // the colour of the 3rd's number and weekday
  } cases[] = {
      {true, false, DefaultTheme().SunColor},
      {true, true, kHoliday},
      {false, true, DefaultTheme().DayColor},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.show_holidays << c.has_holiday_color);
    AppState state;
    state.CurrentTheme = DefaultTheme();
    state.CurrentTheme.HasHolidayColor = c.has_holiday_color;
    state.CurrentTheme.HolidayColor = kHoliday;
    state.ShowHolidays = c.show_holidays;
    state.Today = MakeDate(2026, 10, 1);  // everything shown lies ahead
    SetStartDate(state, MakeDate(2026, 11, 1));
    PlainDesktop desktop;
    desktop.facts.desktop = kBlack;
    const CalendarLayout layout = desktop.DrawCalendar(state);
    auto count = [&](int row, Rgb color) {
      int n = 0;
      for (int y = layout.RowTop(row); y < layout.RowTop(row) + layout.day_height; ++y)
        for (int x = layout.day_area_left; x < layout.mini_width; ++x) n += desktop.view.PixelAt(x, y) == color;
      return n;
    };
    const Rgb others[] = {DefaultTheme().SunColor, kHoliday, DefaultTheme().DayColor};
    for (Rgb other : others) {
      if (other == c.holiday_row) EXPECT_GT(count(2, other), 10);
      else EXPECT_EQ(count(2, other), 0) << std::hex << other;
    }
    EXPECT_GT(count(3, DefaultTheme().DayColor), 10);
    EXPECT_EQ(count(3, c.holiday_row == DefaultTheme().DayColor ? kHoliday : c.holiday_row), 0);
  }
}

// Pictures drawn for 192 dpi at every display scale: their edges on whole pixels where the
// scale puts them, the mask's see-through part exactly where the picture's is, the body's
// tiles edge to edge. (Sizes of powers of two put every edge on a whole pixel at 100 to 200 %.)
class ScaledPicturePixels : public testing::TestWithParam<int> {};

TEST_P(ScaledPicturePixels, EdgesMasksAndTilesLandOnTheScaledPixels) {
  const int dpi = GetParam();
  auto at = [dpi](int design) { return design * dpi / 192; };  // exact for these sizes
  AppState state;
  ThemeRecord& t = state.CurrentTheme;
  t.FullWidth = 200 * 15;
  t.MiniWidth = 128 * 15;
  t.LastweekHeight = 16;
  t.NextweekHeight = 16;
  t.MonthWidth = 120;  // the day numbers stand right of every pixel looked at
  t.DayHeight = 24;
  t.DrawDays = 99;  // no month labels
  t.DesignDpi = 192;
  // The top strip: see-through on its left half (white on white), blue on its right.
  t.Lastweek.Picture = MakePicture(256, 32, [](int x, int) { return x < 128 ? kWhite : kBlue; });
  t.Lastweek.Mask = MakePicture(256, 32, [](int x, int) { return x < 128 ? kWhite : kBlack; });
  t.Lastweek.HasPicture = t.Lastweek.HasMask = true;
  // The body: tiles of 64 (192-dpi) rows whose first 8 are green, the rest white, over the
  // left half of the calendar.
  t.Body.Picture = MakePicture(128, 64, [](int, int y) { return y < 8 ? kGreen : kWhite; });
  t.Body.HasPicture = true;
  t.BodyDrawMode = 2;
  SetStartDate(state, MakeDate(2026, 12, 1));
  PlainDesktop desktop;
  desktop.facts.twips_x = desktop.facts.twips_y = TwipsScale::ForDpi(dpi);
  const CalendarLayout layout = desktop.DrawCalendar(state);
  const GdiCanvas& draw = desktop.draw;
  const int strip = layout.day_area_top;
  ASSERT_EQ(strip, at(32));  // the strip as high as its picture at every scale
  const int half = at(128);
  EXPECT_EQ(draw.PixelAt(half - 1, strip / 2), kRed);   // see-through up to the middle
  EXPECT_EQ(draw.PixelAt(half, strip / 2), kBlue);      // the picture from there on
  EXPECT_EQ(draw.PixelAt(half, strip - 1), kBlue);      // down to its last row
  EXPECT_EQ(draw.PixelAt(10, strip), kGreen);           // where the body's first tile starts
  const int tile = at(64);
  for (int k = 1; strip + k * tile < layout.day_area_bottom; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(draw.PixelAt(10, strip + k * tile - 1), kWhite);  // the end of one tile
    EXPECT_EQ(draw.PixelAt(10, strip + k * tile), kGreen);      // the start of the next
  }
  EXPECT_EQ(draw.PixelAt(half - 1, strip + 2), kGreen);  // the scaled body's last column
  EXPECT_EQ(draw.PixelAt(half, strip + 2), kRed);         // and the wallpaper beside it
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledPicturePixels, testing::Values(96, 120, 144, 168, 192),
                         [](const testing::TestParamInfo<int>& param_info) { return std::to_string(param_info.param) + "Dpi"; });

TEST(CalendarPixels, CentredWallpaperLandsInTheMiddleOfTheDesktopImage) {
  struct Loader : PictureLoader {
    LoadedPicture Load(const std::string&) override { return {Solid(800, 600, kBlue), {}}; }
  } loader;
  test::FakeDesktopFacts facts;
  facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"TileWallpaper", "0"}, {"WallpaperStyle", "0"}};
  facts.file_times["C:\\wall.bmp"] = "t";
  facts.desktop = kRed;
  WallpaperState state;
  GdiCanvas image(1, 1);
  dsDesktopImageCopy(state, facts, loader, image);
  ASSERT_EQ(image.Width(), 1024);
  EXPECT_EQ(image.PixelAt(112, 84), kBlue);
  EXPECT_EQ(image.PixelAt(911, 683), kBlue);
  EXPECT_EQ(image.PixelAt(111, 84), kRed);
  EXPECT_EQ(image.PixelAt(912, 683), kRed);
  EXPECT_EQ(image.PixelAt(500, 83), kRed);
}

// The calendar's copy of the wallpaper keeps only a band at the right of the screen; what the
// calendar reads from it must be what a whole-screen copy held, for every style, the smoothed
// ones included.
TEST(CalendarPixels, WallpaperBandHoldsTheSamePixelsAsTheWholeScreenCopy) {
  struct Loader : PictureLoader {
    std::shared_ptr<BitmapPicture> picture;
    LoadedPicture Load(const std::string&) override { return {picture, {}}; }
  } loader;
  loader.picture = MakePicture(97, 61, [](int x, int y) { return MakeRgb(x * 7, y * 11, (x + y) * 3); });
  test::FakeDesktopFacts facts;
  facts.desktop = kRed;
  facts.file_times["C:\\wall.bmp"] = "t";
  const int left = 1024 - 260;
  for (const char* style : {"2", "0", "1", "6", "10", "22"}) {
    SCOPED_TRACE(style);
    facts.values = {{"Wallpaper", "C:\\wall.bmp"},
                    {"TileWallpaper", std::string(style) == "1" ? "1" : "0"},
                    {"WallpaperStyle", style}};
    WallpaperState state;
    GdiCanvas whole(1, 1, 24), band(1, 1, 24);
    dsDesktopImageCopy(state, facts, loader, whole);
    dsDesktopImageCopy(state, facts, loader, band, left);
    ASSERT_EQ(band.Width(), 260);
    ASSERT_NE(whole.PixelAt(512, 384), kRed);  // the picture is there
    int different = 0;
    for (int y = 0; y < 768; ++y)
      for (int x = 0; x < 260; ++x) different += band.PixelAt(x, y) != whole.PixelAt(left + x, y);
    EXPECT_EQ(different, 0);

    // And through the calendar's reading: a rectangle in screen coordinates.
    WallpaperCopy copy(state, facts, loader, band);
    copy.Cover(left);
    GdiCanvas read(200, 100, 24);
    copy.CopyTo(read, {1024 - 200, 300, 1024, 400}, {0, 0, 200, 100});
    for (int y = 0; y < 100; y += 7)
      for (int x = 0; x < 200; x += 3) different += read.PixelAt(x, y) != whole.PixelAt(1024 - 200 + x, 300 + y);
    EXPECT_EQ(different, 0);
  }
}

}  // namespace
}  // namespace orv
