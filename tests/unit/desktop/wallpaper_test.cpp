#include "desktop/wallpaper.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "../../support/fake_desktop_facts.hpp"
#include "platform/recording_canvas.hpp"

namespace orv {
namespace {

using test::FakeDesktopFacts;

WallpaperLayout Layout(const char* tile, const char* style, int w, int h, int sw = 1024, int sh = 768) {
  return LayoutWallpaper({"C:\\wall.bmp", tile, style}, sw, sh, w, h);
}

TEST(WallpaperLayoutTest, StyleTwoStretchesWhateverTheTileValue) {
  for (const char* tile : {"0", "1", ""}) {
    auto layout = Layout(tile, "2", 800, 600);
    EXPECT_EQ(layout.kind, WallpaperLayout::kStretch);
    EXPECT_EQ(layout.copies, (std::vector<PixelRect>{{0, 0, 1024, 768}}));
  }
}

TEST(WallpaperLayoutTest, CentreRoundsHalvesToEvenAndMayGoNegative) {
  EXPECT_EQ(Layout("0", "0", 800, 600).copies, (std::vector<PixelRect>{{112, 84, 912, 684}}));
  EXPECT_EQ(Layout("0", "", 1280, 1024).copies, (std::vector<PixelRect>{{-128, -128, 1152, 896}}));
  // (1024 - 1019) / 2 = 2.5 -> 2;  (768 - 761) / 2 = 3.5 -> 4
  EXPECT_EQ(Layout("0", "6", 1019, 761).copies.front().left, 2);
  EXPECT_EQ(Layout("0", "6", 1019, 761).copies.front().top, 4);
}

TEST(WallpaperLayoutTest, TileCoversTheScreenColumnByColumnFromTheTopLeft) {
  auto cut = Layout("1", "0", 300, 400);
  EXPECT_EQ(cut.kind, WallpaperLayout::kTile);
  ASSERT_EQ(cut.copies.size(), 4u * 2u);  // 4 columns (last cut off), 2 rows
  EXPECT_EQ(cut.copies[0], (PixelRect{0, 0, 300, 400}));
  EXPECT_EQ(cut.copies[1], (PixelRect{0, 400, 300, 800}));  // inner loop: rows
  EXPECT_EQ(cut.copies[2], (PixelRect{300, 0, 600, 400}));
  EXPECT_EQ(Layout("1", "0", 256, 768).copies.size(), 4u);
}

TEST(WallpaperLayoutTest, AnyOtherCombinationDrawsNothing) {
  EXPECT_EQ(Layout("", "0", 800, 600).kind, WallpaperLayout::kNothing);
  EXPECT_EQ(Layout("2", "10", 800, 600).copies.size(), 0u);
  EXPECT_EQ(Layout("1", "0", 0, 600).copies.size(), 0u);  // a picture without pixels
}

class DesktopImageCopy : public ::testing::Test {
protected:
  FakeDesktopFacts facts;
  WallpaperState state;
  RecordingCanvas image;
  // Knows one wallpaper file; every other path fails like a missing file.
  struct OneFileLoader : PictureLoader {
    int loads = 0;
    LoadedPicture Load(const std::string& path) override {
      ++loads;
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

TEST_F(DesktopImageCopy, MissingOrUnloadableWallpaperLeavesThePlainColour) {
  facts.values = {{"Wallpaper", ""}, {"TileWallpaper", "1"}};
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_EQ(loader.loads, 0);
  EXPECT_EQ(image.calls.back().kind, DrawCall::Fill);

  state.LastWallpaperDate = "kept";
  facts.values["Wallpaper"] = "C:\\missing.jpg";
  image.calls.clear();
  dsDesktopImageCopy(state, facts, loader, image);
  EXPECT_EQ(loader.loads, 1);
  EXPECT_EQ(image.calls.back().kind, DrawCall::Fill);
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
      // A smoothed stretch is drawn on the whole screen, then the band is cut out of it.
      {"0", "2", 700, {{0, 0, 1024, 768}}},
      {"0", "0", 900, {{-788, 84, 12, 684}}},  // centred: only its right end is in the band
      {"0", "0", 950, {}},                     // centred picture wholly left of the band
      // 800 x 600 tiles: the first column lies left of the band and is skipped.
      {"1", "0", 820, {{-20, 0, 780, 600}, {-20, 600, 780, 1200}}},
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
    ASSERT_GE(image.calls.size(), 2u);
    EXPECT_EQ(image.calls[1].rect, (PixelRect{0, 0, width, 768}));  // the desktop colour first
    std::vector<PixelRect> pictures;
    for (const auto& call : image.calls)
      if (call.kind == DrawCall::Picture) pictures.push_back(call.rect);
    EXPECT_EQ(pictures, c.pictures);
    if (std::string(c.style) == "2" && c.left > 0) {
      const DrawCall& cut = image.calls.at(image.calls.size() - 2);
      EXPECT_EQ(cut.kind, DrawCall::Copy);
      EXPECT_EQ(cut.source, (PixelRect{c.left, 0, 1024, 768}));
      EXPECT_EQ(cut.rect, (PixelRect{0, 0, width, 768}));
    }
    EXPECT_EQ(state.LastWallpaperStyle, c.style);  // the settings are recorded all the same
  }
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

}  // namespace
}  // namespace orv
