#pragma once
// The copy of what the desktop shows under its icons: the desktop colour with the wallpaper
// laid out on it the way the system lays it out. The calendar copies the rectangle behind
// itself from this image, so it looks painted onto the wallpaper. The calendar sits at the
// right edge of the work area, so only a band of screen columns up to the screen's right edge
// is kept, not the whole screen.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/desktop_facts.hpp"
#include "platform/canvas.hpp"
#include "platform/picture_loader.hpp"

namespace orv {

struct WallpaperValues {
  std::string Wallpaper;
  std::string TileWallpaper;
  std::string WallpaperStyle;
};

// The style the desktop settings ask for: "WallpaperStyle" "2" stretch, "6" fit, "10" fill,
// "22" span; any other style with "TileWallpaper" "1" tiles, with "0" centres, and anything
// else draws nothing.
WallpaperPlacement StyleOf(const WallpaperValues& values);
// The style of the shell's own position numbers (centre 0, tile 1, stretch 2, fit 3, fill 4,
// span 5); kNone for any other.
WallpaperPlacement StyleOfPosition(int position);
// A style named on the command line ("fill", "fit", "span", "stretch", "center", "tile"),
// and the settings that ask for it.
std::optional<WallpaperPlacement> StyleNamed(std::string_view name);
WallpaperValues ValuesFor(WallpaperPlacement style, std::string wallpaper);

// A colour written "R G B" (the desktop colour in "Control Panel\Colors"); nullopt unless
// it is three whole numbers from 0 to 255.
std::optional<Rgb> ParseColorTriple(std::string_view text);

// One copy of the whole picture: scaled to `dest`, showing only what falls in `clip` (its
// monitor, or every monitor's bounding box for a span). A tiled piece is instead the picture
// repeated at its own size across `dest` from its top-left corner (Canvas::TilePicture).
struct WallpaperPiece {
  PixelRect dest;
  PixelRect clip;
  int monitor = -1;  // index into the monitors laid out on, -1 for a span over all of them
  bool tiled = false;
  bool operator==(const WallpaperPiece&) const = default;
};

struct WallpaperLayout {
  WallpaperPlacement style = WallpaperPlacement::kNone;
  std::vector<WallpaperPiece> copies;
  // Whether the copies are scaled (and so drawn smoothed) rather than the picture's own size.
  bool Scaled() const {
    return style == WallpaperPlacement::kStretch || style == WallpaperPlacement::kFit ||
           style == WallpaperPlacement::kFill || style == WallpaperPlacement::kSpan;
  }
};

// Where a picture of the given size goes on the monitors (virtual-screen coordinates, the
// primary monitor's top-left at 0, 0; others may lie at negative coordinates). Each monitor is
// laid out on its own, except that a span covers the monitors' bounding box and tiles start at
// its top-left corner. Rounding, where the system documents none: a scaled size is the exact
// ratio rounded to the nearest pixel, and a centred copy starts at (space − size) / 2 rounded
// to the nearest pixel, halves to the even neighbour, so an odd overflow puts the extra pixel
// on the same side the platform's integer conversion would.
//
// Tiles come as one tiled piece a monitor: the grid's cells that meet the monitor and
// `within` (the part of the desktop that is wanted, all of it when not given), so the pieces
// are never more than the monitors, whatever the picture's size.
WallpaperLayout LayoutWallpaper(WallpaperPlacement style, int picture_width, int picture_height,
                                const std::vector<PixelRect>& monitors,
                                const std::optional<PixelRect>& within = std::nullopt);

// What the last copy was made from; the change watch compares against it.
struct WallpaperState {
  std::string LastWallpaper;
  std::string LastTileWallpaper;
  std::string LastWallpaperStyle;
  std::string LastWallpaperDate;
  // Whether the wallpaper file could be examined at the last copy. A file that cannot be
  // examined counts as a change once, when it becomes so, not at every look after.
  bool LastWallpaperDateKnown = false;
  // The shell's copy of its picture, where the last copy showed it (empty otherwise), and
  // that file's time then: the shell rewrites it in place for each new picture.
  std::string LastTranscoded;
  std::optional<std::string> LastTranscodedDate;
};

// Records the current desktop settings in `state` (what the change watch compares against).
void RecordWallpaperSettings(WallpaperState& state, DesktopFacts& facts);

// Rebuilds `image` from the current desktop settings and records them. The image holds the
// primary screen's columns from `left` (clamped to the screen) to its right edge, full height:
// its pixel (x, y) is the screen's (left + x, y). The picture is the one the shell shows: its
// own account where it gives one (per monitor), else the "Wallpaper" setting; the shell's
// transcoded copy when that file is gone or a slideshow or spotlight picks the pictures; the
// plain desktop colour when there is neither, and then the image is left empty: a plain
// colour needs no pixels kept (WallpaperCopy answers with the colour).
void dsDesktopImageCopy(WallpaperState& state, DesktopFacts& facts, PictureLoader& loader,
                        Canvas& image, int left = 0);

// The wallpaper copy as the calendar uses it: a band from a screen column to the screen's right
// edge, read in screen coordinates. The calendar says which columns it may cover (Cover) before
// it reads; a band that does not reach that far is copied afresh, so a wider theme or a moved
// work area never reads outside the copy.
class WallpaperCopy {
public:
  WallpaperCopy(WallpaperState& state, DesktopFacts& facts, PictureLoader& loader, Canvas& pixels)
      : state_(state), facts_(facts), loader_(loader), pixels_(pixels) {}

  // dsDesktopImageCopy for the band last asked for. Until the calendar has asked for one, only
  // the settings are recorded: its first Cover makes the copy.
  void Copy();
  // The calendar may read screen columns from `left` rightwards: copies afresh unless the
  // band already holds them.
  void Cover(int left);
  // The screen rectangle `from` into `dest` (same size) of `target`. Parts outside the band
  // (outside the screen) get the desktop colour; nothing is read outside the copy.
  void CopyTo(Canvas& target, const PixelRect& from, const PixelRect& dest) const;

  int Left() const { return left_; }  // screen column of the band's first pixel
  const Canvas& Pixels() const { return pixels_; }

private:
  WallpaperState& state_;
  DesktopFacts& facts_;
  PictureLoader& loader_;
  Canvas& pixels_;
  std::optional<int> wanted_;  // the left column last asked for
  int left_ = 0;
  bool copied_ = false;
};

// Whether a system setting change (by its action number) may alter the desktop picture or
// the calendar's place: the wallpaper, the desktop pattern or the work area. Changes of named
// areas ("Environment", "ImmersiveColorSet", "intl", …, action 0) and every other action leave
// the copy as it is; whatever really changes the wallpaper is still seen by the watch.
bool SettingChangeConcernsDesktop(unsigned action);

enum class WallpaperWatch {
  kNothing,          // nothing changed
  kRedrawOnly,       // the date changed: update today and redraw, same wallpaper copy
  kCopyAndRedraw,    // wallpaper, its file, tiling, style or work area changed
};

// One look of the change watch (it runs when the system reports a change; see change_watch.hpp).
// `work_area` is the work area the calendar last laid itself out in, `today` the date it
// marks as today. Tests stop at the first change, so a quiet look costs
// one file time and the work-area comparison, plus three registry reads unless the facts
// vouch that the settings are unchanged (and the time of the shell's copy where the last copy
// showed it). A wallpaper file that cannot be examined is a change only when it could be
// examined at the last copy.
WallpaperWatch CheckWallpaper(const WallpaperState& state, DesktopFacts& facts,
                              const Rect32& work_area, Date today);

}  // namespace orv
