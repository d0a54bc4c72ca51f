#include "desktop/wallpaper.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "../../support/fake_desktop_facts.hpp"
#include "platform/recording_canvas.hpp"

namespace orv {
namespace {

using test::FakeDesktopFacts;

using Style = WallpaperPlacement;
const std::vector<PixelRect> kOneScreen{{0, 0, 1024, 768}};

std::vector<PixelRect> Dests(const WallpaperLayout& layout) {
  std::vector<PixelRect> dests;
  for (const WallpaperPiece& piece : layout.copies) dests.push_back(piece.dest);
  return dests;
}
std::vector<PixelRect> Layout(Style style, int w, int h, const std::vector<PixelRect>& monitors = kOneScreen) {
  return Dests(LayoutWallpaper(style, w, h, monitors));
}

TEST(WallpaperStyleTest, SettingsNameEveryStyleAndStyleTwoStretchesWhateverTheTileValue) {
  struct Case {
    const char* tile;
    const char* style;
    Style expected;
  };
  const Case cases[] = {
      {"0", "2", Style::kStretch}, {"1", "2", Style::kStretch}, {"", "2", Style::kStretch},
      {"0", "6", Style::kFit},     {"1", "10", Style::kFill},   {"0", "22", Style::kSpan},
      {"1", "0", Style::kTile},    {"0", "0", Style::kCenter},  {"0", "", Style::kCenter},
      {"1", "7", Style::kTile},    {"", "0", Style::kNone},     {"2", "10", Style::kFill},
  };
  for (const Case& c : cases) EXPECT_EQ(StyleOf({"C:\\w.bmp", c.tile, c.style}), c.expected) << c.tile << "/" << c.style;
  // The shell's own numbering, and the command line's names, which give settings that name
  // the same style back.
  const Style order[] = {Style::kCenter, Style::kTile, Style::kStretch, Style::kFit, Style::kFill, Style::kSpan};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(StyleOfPosition(i), order[i]);
  EXPECT_EQ(StyleOfPosition(6), Style::kNone);
  for (const char* name : {"fill", "fit", "span", "stretch", "center", "tile"}) {
    const auto style = StyleNamed(name);
    ASSERT_TRUE(style) << name;
    EXPECT_EQ(StyleOf(ValuesFor(*style, "w.bmp")), *style) << name;
  }
  EXPECT_FALSE(StyleNamed("centre"));
}

TEST(WallpaperStyleTest, DesktopColourTriples) {
  EXPECT_EQ(ParseColorTriple("58 110 165"), MakeRgb(58, 110, 165));
  EXPECT_EQ(ParseColorTriple(" 0  0\t255 "), MakeRgb(0, 0, 255));
  for (const char* bad : {"", "1 2", "1 2 3 4", "256 0 0", "1,2,3", "-1 0 0", "a b c"})
    EXPECT_FALSE(ParseColorTriple(bad)) << bad;
}

TEST(WallpaperStyleTest, OnlyWallpaperPatternAndWorkAreaChangesConcernTheCopy) {
  for (unsigned action : {0x0014u, 0x0015u, 0x002Fu}) EXPECT_TRUE(SettingChangeConcernsDesktop(action)) << action;
  // Environment, colour-set and regional changes come as action 0 with an area name;
  // SPI_SETNONCLIENTMETRICS and SPI_SETDESKWALLPAPER's neighbours are no concern either.
  for (unsigned action : {0x0000u, 0x002Au, 0x0013u, 0x0016u, 0x2001u})
    EXPECT_FALSE(SettingChangeConcernsDesktop(action)) << action;
}

TEST(WallpaperLayoutTest, CentreRoundsHalvesToEvenAndMayGoNegative) {
  EXPECT_EQ(Layout(Style::kCenter, 800, 600), (std::vector<PixelRect>{{112, 84, 912, 684}}));
  EXPECT_EQ(Layout(Style::kCenter, 1280, 1024), (std::vector<PixelRect>{{-128, -128, 1152, 896}}));
  // (1024 - 1019) / 2 = 2.5 -> 2;  (768 - 761) / 2 = 3.5 -> 4;  (1024 - 1027) / 2 = -1.5 -> -2
  EXPECT_EQ(Layout(Style::kCenter, 1019, 761).front(), (PixelRect{2, 4, 1021, 765}));
  EXPECT_EQ(Layout(Style::kCenter, 1027, 769).front(), (PixelRect{-2, 0, 1025, 769}));
}

TEST(WallpaperLayoutTest, StretchFitAndFillOnOddSizes) {
  EXPECT_EQ(Layout(Style::kStretch, 333, 77), kOneScreen);
  // Fit: a wide picture fills the width; 1024 x 768 / 1000 x 300 -> height 307.2 -> 307,
  // top (768 - 307) / 2 = 230.5 -> 230.
  EXPECT_EQ(Layout(Style::kFit, 1000, 300), (std::vector<PixelRect>{{0, 230, 1024, 537}}));
  // A tall one fills the height: 301 x 1001 -> width 230.93 -> 231, left 396.5 -> 396.
  EXPECT_EQ(Layout(Style::kFit, 301, 1001), (std::vector<PixelRect>{{396, 0, 627, 768}}));
  // Fill covers: the wide picture fills the height (2560 wide, centred at -768), the tall one
  // the width (3405.42 -> 3405 high, top -1318.5 -> -1318).
  EXPECT_EQ(Layout(Style::kFill, 1000, 300), (std::vector<PixelRect>{{-768, 0, 1792, 768}}));
  EXPECT_EQ(Layout(Style::kFill, 301, 1001), (std::vector<PixelRect>{{0, -1318, 1024, 2087}}));
  // Same shape as the screen: fit and fill agree, scaled exactly.
  EXPECT_EQ(Layout(Style::kFit, 640, 480), kOneScreen);
  EXPECT_EQ(Layout(Style::kFill, 640, 480), kOneScreen);
  // Odd overflow: 1366 x 768 on 1024 x 768 overflows 342 -> left -171; 1367 wide: 343 / 2 =
  // 171.5 -> -172 (halves to even).
  EXPECT_EQ(Layout(Style::kFill, 1366, 768).front(), (PixelRect{-171, 0, 1195, 768}));
  EXPECT_EQ(Layout(Style::kFill, 1367, 768).front(), (PixelRect{-172, 0, 1195, 768}));
  // A sliver still gets a pixel.
  EXPECT_EQ(Layout(Style::kFit, 5000, 1).front().Height(), 1);
}

TEST(WallpaperLayoutTest, TilesCoverTheScreenFromTheTopLeftAsOneTiledPiece) {
  // 300 x 400 tiles: 4 columns (the last cut off), 2 rows.
  const auto cut = LayoutWallpaper(Style::kTile, 300, 400, kOneScreen);
  EXPECT_EQ(cut.copies, (std::vector<WallpaperPiece>{{{0, 0, 1200, 800}, kOneScreen[0], 0, true}}));
  EXPECT_EQ(Layout(Style::kTile, 256, 768), (std::vector<PixelRect>{{0, 0, 1024, 768}}));
  // Only the cells that meet the wanted part: columns 900.. of the screen lie in the cells
  // from 900 (the fourth column) on.
  EXPECT_EQ(LayoutWallpaper(Style::kTile, 300, 400, kOneScreen, PixelRect{900, 0, 1024, 768}).copies,
            (std::vector<WallpaperPiece>{{{900, 0, 1200, 800}, kOneScreen[0], 0, true}}));
  EXPECT_TRUE(LayoutWallpaper(Style::kTile, 300, 400, kOneScreen, PixelRect{1024, 0, 1100, 768}).copies.empty());
}

// A one-pixel picture tiled over three 4K screens once meant a piece for every pixel (25
// million): the pieces are the monitors that meet the band, whatever the picture's size.
TEST(WallpaperLayoutTest, TheWorkOfTilingIsBoundedWhateverThePicturesSize) {
  const std::vector<PixelRect> three_4k{{0, 0, 3840, 2160}, {3840, 0, 7680, 2160}, {-3840, 0, 0, 2160}};
  const PixelRect band{3500, 0, 3840, 2160};
  for (int size : {1, 3, 7, 5000}) {
    SCOPED_TRACE(size);
    const auto everywhere = LayoutWallpaper(Style::kTile, size, size, three_4k).copies;
    ASSERT_EQ(everywhere.size(), 3u);
    for (const auto& piece : everywhere) {
      EXPECT_TRUE(piece.tiled);
      // On the one grid from the desktop's corner (-3840, 0), covering the whole monitor.
      EXPECT_EQ((piece.dest.left + 3840) % size, 0);
      EXPECT_EQ(piece.dest.top % size, 0);
      EXPECT_EQ(Intersect(piece.dest, piece.clip), piece.clip);
      EXPECT_LT(piece.dest.right - piece.clip.right, size);
    }
    const auto behind = LayoutWallpaper(Style::kTile, size, size, three_4k, band).copies;
    ASSERT_EQ(behind.size(), 1u);
    EXPECT_EQ(behind[0].monitor, 0);
    EXPECT_EQ(Intersect(behind[0].dest, band), band);
    EXPECT_LT(band.left - behind[0].dest.left, size);
  }
}

TEST(WallpaperLayoutTest, NothingWithoutAStylePixelsOrMonitors) {
  EXPECT_TRUE(Layout(Style::kNone, 800, 600).empty());
  EXPECT_TRUE(Layout(Style::kTile, 0, 600).empty());  // a picture without pixels
  EXPECT_TRUE(Layout(Style::kFill, 800, 600, {}).empty());
}

// Two monitors: the primary at (0, 0) and a second one beside it, below it, or left of it (at
// negative coordinates). Each monitor is laid out on its own and clipped to itself; a span
// covers the bounding box; tiles run on one grid from the desktop's top-left.
TEST(WallpaperLayoutTest, EachMonitorOnItsOwnSpanOverAllTilesFromTheDesktopCorner) {
  const PixelRect primary{0, 0, 1920, 1080};
  struct Case {
    const char* name;
    PixelRect second;
    std::vector<WallpaperPiece> fill, span;
    PixelRect first_tile_of_primary;
  };
  const Case cases[] = {
      // Fill: 800 x 600 covers 1920 x 1080 as 1920 x 1440 (top -180) and 1280 x 1024 as
      // 1365.33 -> 1365 x 1024 (left (1280 - 1365) / 2 = -42.5 -> -42).
      {"right", {1920, 0, 3200, 1024},
       {{{0, -180, 1920, 1260}, primary, 0}, {{1878, 0, 3243, 1024}, {1920, 0, 3200, 1024}, 1}},
       // 3200 x 1080 covered by an 800 x 600 picture: 3200 x 2400, centred at -660
       {{{0, -660, 3200, 1740}, {0, 0, 3200, 1080}, -1}},
       {0, 0, 800, 600}},
      {"below", {0, 1080, 1280, 2104},
       {{{0, -180, 1920, 1260}, primary, 0}, {{-42, 1080, 1323, 2104}, {0, 1080, 1280, 2104}, 1}},
       // 1920 x 2104 covered: 2805.33 -> 2805 wide, left -442.5 -> -442
       {{{-442, 0, 2363, 2104}, {0, 0, 1920, 2104}, -1}},
       {0, 0, 800, 600}},
      {"left", {-1280, 56, 0, 1080},
       // The left monitor's copy reaches past its right edge into the primary's area; its
       // clip keeps it on its own monitor.
       {{{0, -180, 1920, 1260}, primary, 0}, {{-1322, 56, 43, 1080}, {-1280, 56, 0, 1080}, 1}},
       {{{-1280, -660, 1920, 1740}, {-1280, 0, 1920, 1080}, -1}},
       // The grid starts at (-1280, 0): columns at -480, 320, … reach the primary first.
       {-480, 0, 320, 600}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<PixelRect> monitors{primary, c.second};
    EXPECT_EQ(LayoutWallpaper(Style::kFill, 800, 600, monitors).copies, c.fill);
    EXPECT_EQ(LayoutWallpaper(Style::kSpan, 800, 600, monitors).copies, c.span);
    const auto tiles = LayoutWallpaper(Style::kTile, 800, 600, monitors).copies;
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles.front().dest.left, c.first_tile_of_primary.left);
    EXPECT_EQ(tiles.front().dest.top, c.first_tile_of_primary.top);
    EXPECT_EQ(tiles.front().clip, primary);
    for (const auto& tile : tiles) {
      // Every monitor's cells sit on the one grid and cover the monitor they are clipped to.
      const int origin = std::min(primary.left, c.second.left);
      EXPECT_EQ((tile.dest.left - origin) % 800, 0);
      EXPECT_EQ((tile.dest.top - std::min(primary.top, c.second.top)) % 600, 0);
      EXPECT_EQ(tile.dest.Width() % 800, 0);
      EXPECT_EQ(tile.dest.Height() % 600, 0);
      EXPECT_EQ(Intersect(tile.dest, tile.clip), tile.clip);
    }
    // Centre and stretch stay inside their own monitor's frame.
    const auto centre = LayoutWallpaper(Style::kCenter, 800, 600, monitors).copies;
    ASSERT_EQ(centre.size(), 2u);
    EXPECT_EQ(centre[0].dest, (PixelRect{560, 240, 1360, 840}));
    EXPECT_EQ(LayoutWallpaper(Style::kStretch, 800, 600, monitors).copies[1].dest, c.second);
  }
}

class DesktopImageCopy : public ::testing::Test {
protected:
  DesktopImageCopy() { facts.file_times["C:\\wall.bmp"] = "t0"; }
  FakeDesktopFacts facts;
  WallpaperState state;
  RecordingCanvas image;
  // Knows one wallpaper file; every other path fails like a missing file.
  struct OneFileLoader : PictureLoader {
    int loads = 0;
    LoadedPicture Load(const std::string& path) override {
      ++loads;
      if (path == "C:\\Themes\\TranscodedWallpaper") return {std::make_shared<SyntheticPicture>(640, 480, "transcoded"), {}};
      if (path == "C:\\other.jpg") return {std::make_shared<SyntheticPicture>(300, 200, "other"), {}};
      if (path != "C:\\wall.bmp") return {nullptr, {2, "not found"}};
      return {std::make_shared<SyntheticPicture>(800, 600, "wall"), {}};
    }
  } loader;
};

TEST_F(DesktopImageCopy, PaintsTheDesktopColourThenTheWallpaperAndRecordsTheSettings) {
  facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"TileWallpaper", "0"}, {"WallpaperStyle", "0"}};
  facts.file_times["C:\\wall.bmp"] = "2026/12/07 7:00:00";
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_EQ(image.Width(), 1024);
  ASSERT_EQ(image.calls.size(), 3u);
  EXPECT_EQ(image.calls[1].kind, DrawCall::Fill);
  EXPECT_EQ(image.calls[1].color, facts.desktop);
  EXPECT_EQ(image.calls[2].kind, DrawCall::Picture);
  EXPECT_EQ(image.calls[2].rect, (PixelRect{112, 84, 912, 684}));
  EXPECT_FALSE(image.calls[2].halftone);
  EXPECT_EQ(state.LastWallpaperDate, "2026/12/07 7:00:00");
  EXPECT_EQ(state.LastTileWallpaper, "0");
}

TEST_F(DesktopImageCopy, MissingOrUnloadableWallpaperLeavesThePlainColourWithNoPixelsKept) {
  facts.values = {{"Wallpaper", ""}, {"TileWallpaper", "1"}};
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_EQ(loader.loads, 0);
  EXPECT_EQ(image.Width(), 0);

  state.LastWallpaperDate = "kept";
  facts.values["Wallpaper"] = "C:\\missing.jpg";
  image.calls.clear();
  dsDesktopImageCopy(state, facts, loader, image);
  // A file that cannot be examined is not opened (an unreachable share would hold up the
  // desktop), and without the shell's transcoded copy the plain colour stays.
  EXPECT_EQ(loader.loads, 0);
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(state.LastWallpaperDate, "kept");  // file time unreadable: previous value stays
}

TEST_F(DesktopImageCopy, StretchUsesHalftone) {
  facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"WallpaperStyle", "2"}};
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_TRUE(image.calls.back().halftone);
  EXPECT_EQ(image.calls.back().rect, (PixelRect{0, 0, 1024, 768}));
}

TEST_F(DesktopImageCopy, BandKeepsTheColumnsFromLeftToTheScreenEdgeInPlace) {
  struct Case {
    const char* tile;
    const char* style;
    int left;
    std::vector<PixelRect> pictures;  // in the band's own coordinates
  };
  const Case cases[] = {
      // A smoothed stretch is drawn where it stands on the screen; the band's edges clip it.
      {"0", "2", 700, {{-700, 0, 324, 768}}},
      {"0", "0", 900, {{-788, 84, 12, 684}}},  // centred: only its right end is in the band
      {"0", "0", 950, {}},                     // centred picture wholly left of the band
      // 800 x 600 tiles: the first column lies left of the band and is skipped; the second,
      // both rows of it, is one fill.
      {"1", "0", 820, {{-20, 0, 780, 1200}}},
      {"0", "2", -40, {{0, 0, 1024, 768}}},       // clamped to the screen
      {"0", "0", 2000, {}},                       // nothing of the screen: an empty band
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"TileWallpaper", c.tile}, {"WallpaperStyle", c.style}};
    image.calls.clear();
    dsDesktopImageCopy(state, facts, loader, image, c.left);
    const int width = 1024 - std::clamp(c.left, 0, 1024);
    EXPECT_EQ(image.Width(), width);
    EXPECT_EQ(image.Height(), 768);
    if (width > 0) {
      ASSERT_GE(image.calls.size(), 2u);
      EXPECT_EQ(image.calls[1].rect, (PixelRect{0, 0, width, 768}));  // the desktop colour first
    }
    std::vector<PixelRect> pictures;
    for (const auto& call : image.calls)
      if (call.kind == DrawCall::Picture || call.kind == DrawCall::Tiles) pictures.push_back(call.rect);
    EXPECT_EQ(pictures, c.pictures);
    // Drawn straight into the band: never a surface wider than the band for a moment.
    for (const auto& call : image.calls) EXPECT_NE(call.kind, DrawCall::Copy);
    EXPECT_EQ(state.LastWallpaperStyle, c.style);  // the settings are recorded all the same
  }
}

std::vector<DrawCall> PicturesOf(const RecordingCanvas& canvas) {
  std::vector<DrawCall> pictures;
  for (const auto& call : canvas.calls)
    if (call.kind == DrawCall::Picture) pictures.push_back(call);
  return pictures;
}

TEST_F(DesktopImageCopy, FitShowsTheDesktopColourAroundAndFillIsDrawnSmoothedIntoTheBand) {
  facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"TileWallpaper", "0"}, {"WallpaperStyle", "6"}};
  facts.screen_width = 1366;  // 800 x 600 fits as 1024 x 768, centred at 171
  dsDesktopImageCopy(state, facts, loader, image);
  ASSERT_EQ(PicturesOf(image).size(), 1u);
  EXPECT_EQ(image.calls[1].color, facts.desktop);  // the colour first, under the bars
  EXPECT_EQ(PicturesOf(image)[0].rect, (PixelRect{171, 0, 1195, 768}));
  EXPECT_TRUE(PicturesOf(image)[0].halftone);

  // Fill on a band: the scaled copy (1366 x 1024.5 -> 1024, top -128) is drawn smoothed
  // where it stands, shifted into the band's coordinates; the band's edges clip it.
  facts.values["WallpaperStyle"] = "10";
  image.calls.clear();
  dsDesktopImageCopy(state, facts, loader, image, 1000);
  const auto pictures = PicturesOf(image);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].rect, (PixelRect{-1000, -128, 366, 896}));
  EXPECT_TRUE(pictures[0].halftone);
  EXPECT_EQ(image.Width(), 366);
  EXPECT_EQ(image.Height(), 768);
}

TEST_F(DesktopImageCopy, TheShellsTranscodedCopyStandsInForAGoneFileOrChangingPictures) {
  facts.transcoded = "C:\\Themes\\TranscodedWallpaper";
  facts.values = {{"Wallpaper", "C:\\gone.jpg"}, {"TileWallpaper", "0"}, {"WallpaperStyle", "0"}};
  dsDesktopImageCopy(state, facts, loader, image);
  ASSERT_EQ(PicturesOf(image).size(), 1u);
  EXPECT_EQ(PicturesOf(image)[0].text, "transcoded");
  EXPECT_EQ(PicturesOf(image)[0].rect, (PixelRect{192, 144, 832, 624}));

  // A slideshow: the named file is one of many, the transcoded copy is what shows.
  facts.values["Wallpaper"] = "C:\\wall.bmp";
  facts.shell = ShellWallpaper{WallpaperPlacement::kCenter, {"C:\\wall.bmp"}, true, std::nullopt};
  image.calls.clear();
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_EQ(PicturesOf(image).at(0).text, "transcoded");

  // Neither the file nor a transcoded copy: the plain colour.
  facts.shell.reset();
  facts.transcoded = "C:\\Themes\\none";
  facts.values["Wallpaper"] = "C:\\gone.jpg";
  image.calls.clear();
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_TRUE(PicturesOf(image).empty());
}

// The shell's own account wins over the settings: its style and each monitor's picture. Only
// the primary monitor's part reaches the band; with a monitor left of it, tiles shift.
TEST_F(DesktopImageCopy, TheShellsAccountPerMonitorWinsAndTilesFollowTheDesktopCorner) {
  facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"TileWallpaper", "0"}, {"WallpaperStyle", "2"}};
  facts.file_times["C:\\other.jpg"] = "t";
  facts.monitors = {{0, 0, 1024, 768}, {-500, 0, 0, 768}};
  facts.shell = ShellWallpaper{WallpaperPlacement::kTile, {"C:\\other.jpg", "C:\\wall.bmp"}, false, std::nullopt};
  dsDesktopImageCopy(state, facts, loader, image, 800);
  std::vector<DrawCall> tiles;
  for (const auto& call : image.calls)
    if (call.kind == DrawCall::Tiles || call.kind == DrawCall::Picture) tiles.push_back(call);
  // The left monitor's picture never reaches the band: one fill with the primary's.
  ASSERT_EQ(tiles.size(), 1u);
  EXPECT_EQ(tiles[0].kind, DrawCall::Tiles);
  EXPECT_EQ(tiles[0].text, "other");
  // 300 x 200 tiles from x = -500: edges at 100, 400, 700, 1000 → in the band from 700 (-100),
  // two columns (700, 1000) and four rows.
  EXPECT_EQ(tiles[0].rect, (PixelRect{-100, 0, 500, 800}));
}

class WallpaperCopyTest : public DesktopImageCopy {
protected:
  WallpaperCopy copy{state, facts, loader, image};
  int Copies() const {
    int n = 0;
    for (const auto& call : image.calls) n += call.kind == DrawCall::Fill;
    return n;
  }
  void SetUp() override { facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"WallpaperStyle", "2"}}; }
};

TEST_F(WallpaperCopyTest, CopiesOnlyWhenTheCalendarAsksForColumnsTheBandLacks) {
  copy.Copy();  // before the calendar has said what it covers: the settings only
  EXPECT_EQ(Copies(), 0);
  EXPECT_EQ(state.LastWallpaper, "C:\\wall.bmp");

  copy.Cover(784);  // first draw
  EXPECT_EQ(Copies(), 1);
  EXPECT_EQ(copy.Left(), 784);
  EXPECT_EQ(image.Width(), 240);
  copy.Cover(874);  // a narrower mode: inside the band
  copy.Cover(784);
  EXPECT_EQ(Copies(), 1);

  copy.Cover(624);  // a wider theme
  EXPECT_EQ(Copies(), 2);
  EXPECT_EQ(copy.Left(), 624);
  EXPECT_EQ(image.Width(), 400);

  copy.Cover(900);  // a narrower theme keeps the wider band until the next copy...
  EXPECT_EQ(Copies(), 2);
  copy.Copy();      // ...which takes the band last asked for
  EXPECT_EQ(Copies(), 3);
  EXPECT_EQ(copy.Left(), 900);

  copy.Cover(-30);  // wider than the screen: the whole screen, once
  copy.Cover(-30);
  EXPECT_EQ(Copies(), 4);
  EXPECT_EQ(copy.Left(), 0);
}

TEST_F(WallpaperCopyTest, ReadsInScreenCoordinatesAndNeverOutsideTheBand) {
  RecordingCanvas target;
  copy.CopyTo(target, {900, 0, 1000, 10}, {0, 0, 100, 10});  // nothing copied yet
  ASSERT_EQ(target.calls.size(), 1u);
  EXPECT_EQ(target.calls[0].kind, DrawCall::Fill);

  copy.Cover(800);
  struct Case {
    PixelRect from, dest;
    bool filled;           // parts outside the band show the desktop colour
    PixelRect source, to;  // the part read from the band, and where it lands
  };
  const Case cases[] = {
      {{850, 100, 1024, 700}, {0, 0, 174, 600}, false, {50, 100, 224, 700}, {0, 0, 174, 600}},
      {{760, 0, 860, 768}, {5, 0, 105, 768}, true, {0, 0, 60, 768}, {45, 0, 105, 768}},
      {{1000, 700, 1100, 800}, {0, 0, 100, 100}, true, {200, 700, 224, 768}, {0, 0, 24, 68}},
  };
  for (const Case& c : cases) {
    target.calls.clear();
    copy.CopyTo(target, c.from, c.dest);
    std::vector<DrawCall> copies;
    for (const auto& call : target.calls)
      if (call.kind == DrawCall::Copy) copies.push_back(call);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].source, c.source);
    EXPECT_EQ(copies[0].rect, c.to);
    EXPECT_EQ(target.calls[0].kind == DrawCall::Fill, c.filled);
  }
  target.calls.clear();
  copy.CopyTo(target, {0, 0, 100, 100}, {0, 0, 100, 100});  // wholly left of the band
  ASSERT_EQ(target.calls.size(), 1u);
  EXPECT_EQ(target.calls[0].color, facts.desktop);
}

TEST_F(WallpaperCopyTest, APlainDesktopKeepsNoBandAndReadsAsItsColour) {
  facts.values = {{"Wallpaper", ""}};
  copy.Cover(800);
  EXPECT_EQ(image.Width(), 0);
  RecordingCanvas target;
  copy.CopyTo(target, {850, 100, 1024, 700}, {0, 0, 174, 600});
  ASSERT_EQ(target.calls.size(), 1u);
  EXPECT_EQ(target.calls[0].kind, DrawCall::Fill);
  EXPECT_EQ(target.calls[0].rect, (PixelRect{0, 0, 174, 600}));
  EXPECT_EQ(target.calls[0].color, facts.desktop);
  // A picture set later brings the band back.
  facts.values["Wallpaper"] = "C:\\wall.bmp";
  copy.Copy();
  EXPECT_EQ(image.Width(), 224);
}

class WallpaperWatchTest : public DesktopImageCopy {
protected:
  void SetUp() override {
    facts.values = {{"Wallpaper", "C:\\wall.bmp"}, {"TileWallpaper", "1"}, {"WallpaperStyle", "0"}};
    facts.file_times["C:\\wall.bmp"] = "t1";
    dsDesktopImageCopy(state, facts, loader, image);
    facts.value_reads = facts.time_reads = 0;
  }
  WallpaperWatch Tick() { return CheckWallpaper(state, facts, facts.work_area, MakeDate(2026, 12, 7)); }
};

TEST_F(WallpaperWatchTest, QuietTickCostsThreeReadsAndOneFileTime) {
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  EXPECT_EQ(facts.value_reads, 3);
  EXPECT_EQ(facts.time_reads, 1);
}

TEST_F(WallpaperWatchTest, EachKindOfChangeAsksForANewCopy) {
  struct Change {
    const char* what;
    std::function<void(FakeDesktopFacts&)> apply;
  };
  const Change changes[] = {
      {"new wallpaper", [](FakeDesktopFacts& f) { f.values["Wallpaper"] = "C:\\other.bmp"; }},
      {"file replaced in place", [](FakeDesktopFacts& f) { f.file_times["C:\\wall.bmp"] = "t2"; }},
      {"file can no longer be examined", [](FakeDesktopFacts& f) { f.file_times.clear(); }},
      {"tiling", [](FakeDesktopFacts& f) { f.values["TileWallpaper"] = "0"; }},
      {"style", [](FakeDesktopFacts& f) { f.values["WallpaperStyle"] = "2"; }},
      {"taskbar moved", [](FakeDesktopFacts& f) { f.work_area.Right = 990; }},
  };
  for (const auto& change : changes) {
    FakeDesktopFacts saved = facts;
    change.apply(facts);
    EXPECT_EQ(CheckWallpaper(state, facts, saved.work_area, MakeDate(2026, 12, 7)),
              WallpaperWatch::kCopyAndRedraw)
        << change.what;
    facts = saved;
  }
}

TEST_F(WallpaperWatchTest, AnUnexaminableFileIsOneChangeNotOneEveryTick) {
  facts.file_times.clear();
  ASSERT_EQ(Tick(), WallpaperWatch::kCopyAndRedraw);
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  facts.file_times["C:\\wall.bmp"] = "t3";  // examinable again
  EXPECT_EQ(Tick(), WallpaperWatch::kCopyAndRedraw);
}

// Where the system reports setting changes, a quiet tick reads no setting, and a reported
// change is read and judged like any other, whatever else the same tick finds.
TEST_F(WallpaperWatchTest, ReportedSettingChangesAreTheOnlyReasonToReadTheSettings) {
  facts.reports_setting_changes = true;
  facts.settings_changed = true;  // the first question: nothing is known yet
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  EXPECT_EQ(facts.value_reads, 3);
  facts.value_reads = 0;
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  EXPECT_EQ(facts.value_reads, 0);
  EXPECT_EQ(facts.time_reads, 3);  // the file and the work area are still looked at every tick

  struct Change {
    const char* what;
    const char* name;
    const char* value;
  };
  const Change changes[] = {{"new wallpaper", "Wallpaper", "C:\\other.bmp"},
                            {"no wallpaper any more", "Wallpaper", ""},
                            {"tiling", "TileWallpaper", "0"},
                            {"style", "WallpaperStyle", "2"}};
  for (const auto& change : changes) {
    FakeDesktopFacts saved = facts;
    facts.values[change.name] = change.value;
    EXPECT_EQ(Tick(), WallpaperWatch::kNothing) << change.what << ": not reported, not seen";
    facts.settings_changed = true;
    EXPECT_EQ(Tick(), WallpaperWatch::kCopyAndRedraw) << change.what;
    facts = saved;
  }

  // A report of a change that changed nothing (a value written again) costs one reading.
  facts.settings_changed = true;
  facts.value_reads = 0;
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  EXPECT_EQ(facts.value_reads, 3);
  // Unreported file, work-area and date changes are still seen.
  facts.file_times["C:\\wall.bmp"] = "t2";
  EXPECT_EQ(Tick(), WallpaperWatch::kCopyAndRedraw);
  facts.file_times["C:\\wall.bmp"] = "t1";
  facts.work_area.Bottom = 700;
  EXPECT_EQ(CheckWallpaper(state, facts, {0, 0, 1024, 768}, MakeDate(2026, 12, 7)), WallpaperWatch::kCopyAndRedraw);
  facts.work_area.Bottom = 768;
  facts.today = MakeDate(2026, 12, 8);
  EXPECT_EQ(Tick(), WallpaperWatch::kRedrawOnly);
}

TEST_F(WallpaperWatchTest, MidnightRedrawsWithoutANewCopy) {
  facts.today = MakeDate(2026, 12, 8);
  EXPECT_EQ(Tick(), WallpaperWatch::kRedrawOnly);
}

TEST_F(WallpaperWatchTest, NoWallpaperSkipsTheFileTime) {
  facts.values["Wallpaper"] = "";
  dsDesktopImageCopy(state, facts, loader, image);
  facts.time_reads = 0;
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  EXPECT_EQ(facts.time_reads, 0);
}

// During a slideshow the shell rewrites its copy in place for each picture: a new copy when
// it is what shows, nothing to look at when the named file shows.
TEST_F(WallpaperWatchTest, TheShellsCopyIsWatchedOnlyWhileItShows) {
  facts.transcoded = "C:\\Themes\\TranscodedWallpaper";
  facts.file_times[facts.transcoded] = "s1";
  facts.time_reads = 0;
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  EXPECT_EQ(facts.time_reads, 1);  // the named file shows: its time only
  facts.file_times[facts.transcoded] = "s2";
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);

  facts.shell = ShellWallpaper{WallpaperPlacement::kCenter, {"C:\\wall.bmp"}, true, std::nullopt};  // a slideshow
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  facts.file_times[facts.transcoded] = "s3";  // the next picture
  EXPECT_EQ(Tick(), WallpaperWatch::kCopyAndRedraw);
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_EQ(Tick(), WallpaperWatch::kNothing);
  facts.file_times.erase(facts.transcoded);  // gone: a change once
  EXPECT_EQ(Tick(), WallpaperWatch::kCopyAndRedraw);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// The shell's account travels from its worker as text: every field comes back, paths with
// spaces included, and anything garbled is no account at all (the settings count then).
TEST(ShellWallpaperTextTest, RoundTripsAndRefusesGarble) {
  const ShellWallpaper accounts[] = {
      {WallpaperPlacement::kTile, {"C:\\My Pictures\\a b.jpg", "", "\\\\srv\\share\\w.png"}, true, MakeRgb(1, 2, 3)},
      {WallpaperPlacement::kSpan, {}, false, std::nullopt},
  };
  for (const ShellWallpaper& shown : accounts) EXPECT_EQ(ParseShellWallpaper(ShellWallpaperText(shown)), shown);
  for (const char* garbled : {"", "style 2\nchanging 0\n", "style 9\nchanging 0\nbackground -\n",
                              "style 2\nchanging 2\nbackground -\n", "style 2\nchanging 0\nbackground 16777216\n",
                              "style 2\nchanging 0\nbackground -\npicture x", "style 2\nsize 3\nbackground -\n"})
    EXPECT_FALSE(ParseShellWallpaper(garbled)) << garbled;
}

}  // namespace
}  // namespace orv
