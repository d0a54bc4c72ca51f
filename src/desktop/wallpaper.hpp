#pragma once
// The screen-sized copy of what the desktop shows under its icons: the desktop colour with the
// wallpaper laid out on it the way the system lays it out. The calendar copies the rectangle
// behind itself from this image, so it looks painted onto the wallpaper.
#include <string>
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

struct WallpaperLayout {
  enum Kind { kNothing, kStretch, kCenter, kTile } kind = kNothing;
  std::vector<PixelRect> copies;  // destination of each copy of the whole picture
};

// Where the wallpaper goes on a screen_width x screen_height image. Only style "2" stretches;
// otherwise TileWallpaper "0" centres, "1" tiles, and anything else draws nothing.
WallpaperLayout LayoutWallpaper(const WallpaperValues& values, int screen_width, int screen_height,
                                int picture_width, int picture_height);

// What the last copy was made from; the change watch compares against it.
struct WallpaperState {
  std::string LastWallpaper;
  std::string LastTileWallpaper;
  std::string LastWallpaperStyle;
  std::string LastWallpaperDate;
  // Whether the wallpaper file could be examined at the last copy. A file that cannot be
  // examined counts as a change once, when it becomes so, not at every tick after.
  bool LastWallpaperDateKnown = false;
};

// Rebuilds `image` (resized to the screen) from the current desktop settings and records them.
void dsDesktopImageCopy(WallpaperState& state, DesktopFacts& facts, PictureLoader& loader,
                        Canvas& image);

enum class WallpaperWatch {
  kNothing,          // nothing changed
  kRedrawOnly,       // the date changed: update today and redraw, same wallpaper copy
  kCopyAndRedraw,    // wallpaper, its file, tiling, style or work area changed
};

// One tick of the change watch. `work_area` is the work area the calendar last laid itself out
// in, `today` the date it marks as today. Tests stop at the first change, so a quiet tick costs
// one file time and the work-area comparison, plus three registry reads unless the facts
// vouch that the settings are unchanged. A wallpaper file that cannot be examined is a change
// only when it could be examined at the last copy.
WallpaperWatch CheckWallpaper(const WallpaperState& state, DesktopFacts& facts,
                              const Rect32& work_area, Date today);

}  // namespace orv
