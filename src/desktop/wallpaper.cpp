#include "desktop/wallpaper.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace orv {
namespace {

// Offsets of a centred picture round half to even, like the platform's integer conversion.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

WallpaperLayout LayoutWallpaper(const WallpaperValues& values, int screen_width, int screen_height,
                                int picture_width, int picture_height) {
  WallpaperLayout layout;
  if (picture_width <= 0 || picture_height <= 0) return layout;
  if (values.WallpaperStyle == "2") {
    layout.kind = WallpaperLayout::kStretch;
    layout.copies.push_back({0, 0, screen_width, screen_height});
  } else if (values.TileWallpaper == "0") {
    layout.kind = WallpaperLayout::kCenter;
    const int x = RoundHalfEven((screen_width - picture_width) / 2.0);
    const int y = RoundHalfEven((screen_height - picture_height) / 2.0);
    layout.copies.push_back({x, y, x + picture_width, y + picture_height});
  } else if (values.TileWallpaper == "1") {
    layout.kind = WallpaperLayout::kTile;
    const int columns = (screen_width + picture_width - 1) / picture_width;
    const int rows = (screen_height + picture_height - 1) / picture_height;
    for (int i = 0; i < columns; ++i)
      for (int j = 0; j < rows; ++j)
        layout.copies.push_back({i * picture_width, j * picture_height, (i + 1) * picture_width,
                                 (j + 1) * picture_height});
  }
  return layout;
}

void RecordWallpaperSettings(WallpaperState& state, DesktopFacts& facts) {
  state.LastWallpaper = facts.WallpaperValue("Wallpaper");
  state.LastTileWallpaper = facts.WallpaperValue("TileWallpaper");
  state.LastWallpaperStyle = facts.WallpaperValue("WallpaperStyle");
  state.LastWallpaperDateKnown = false;
  if (!state.LastWallpaper.empty()) {
    if (auto time = facts.FileTimeText(state.LastWallpaper)) {
      state.LastWallpaperDate = *time;
      state.LastWallpaperDateKnown = true;
    }
  }
}

void dsDesktopImageCopy(WallpaperState& state, DesktopFacts& facts, PictureLoader& loader,
                        Canvas& image, int left) {
  const int width = facts.ScreenWidth();
  const int height = facts.ScreenHeight();
  left = std::clamp(left, 0, std::max(width, 0));
  const int band = width - left;
  const Rgb desktop = facts.DesktopColor();
  image.SetBackColor(desktop);
  image.Resize(band, height);
  image.FillRect({0, 0, band, height}, desktop);

  RecordWallpaperSettings(state, facts);
  if (state.LastWallpaper.empty() || band == 0) return;

  const LoadedPicture loaded = loader.Load(state.LastWallpaper);
  const Picture* picture = loaded.picture.get();
  if (!picture) return;  // unreadable or not a picture: the plain desktop colour stays
  const WallpaperLayout layout =
      LayoutWallpaper({state.LastWallpaper, state.LastTileWallpaper, state.LastWallpaperStyle},
                      width, height, picture->Width(), picture->Height());
  const bool halftone = layout.kind == WallpaperLayout::kStretch;
  if (halftone && left > 0) {
    // Smoothing averages over the whole destination: a stretch clipped to the band gives other
    // pixels than the whole screen shows. Stretch onto the whole screen for a moment, then keep
    // the band.
    image.Resize(width, height);
    image.DrawPicture(*picture, {0, 0, width, height}, RasterOp::Copy, true);
    image.CopyFrom(image, {left, 0, width, height}, {0, 0, band, height});
    image.Resize(band, height);
    return;
  }
  // Laid out on the whole screen, drawn shifted into the band; copies left of it are skipped.
  for (const PixelRect& dest : layout.copies) {
    if (dest.right <= left) continue;
    image.DrawPicture(*picture, {dest.left - left, dest.top, dest.right - left, dest.bottom},
                      RasterOp::Copy, halftone);
  }
}

void WallpaperCopy::Copy() {
  if (!wanted_) {
    RecordWallpaperSettings(state_, facts_);
    return;
  }
  left_ = std::clamp(*wanted_, 0, std::max(facts_.ScreenWidth(), 0));
  dsDesktopImageCopy(state_, facts_, loader_, pixels_, left_);
  copied_ = true;
}

void WallpaperCopy::Cover(int left) {
  wanted_ = left;
  if (!copied_ || std::max(left, 0) < left_) Copy();
}

void WallpaperCopy::CopyTo(Canvas& target, const PixelRect& from, const PixelRect& dest) const {
  const PixelRect part{std::max(from.left, left_), std::max(from.top, 0),
                       std::min(from.right, left_ + pixels_.Width()), std::min(from.bottom, pixels_.Height())};
  const bool inside = copied_ && part == from;
  if (!inside) target.FillRect(dest, facts_.DesktopColor());
  if (!copied_ || part.Width() <= 0 || part.Height() <= 0) return;
  const int dx = dest.left - from.left;
  const int dy = dest.top - from.top;
  target.CopyFrom(pixels_, {part.left - left_, part.top, part.right - left_, part.bottom},
                  {part.left + dx, part.top + dy, part.right + dx, part.bottom + dy});
}

WallpaperWatch CheckWallpaper(const WallpaperState& state, DesktopFacts& facts,
                              const Rect32& work_area, Date today) {
  // Each registry read is a round trip to the system; settings known to be unchanged since
  // the last look are taken from the state instead.
  const bool reread = facts.WallpaperValuesMayHaveChanged();
  const std::string wallpaper = reread ? facts.WallpaperValue("Wallpaper") : state.LastWallpaper;
  bool changed = wallpaper != state.LastWallpaper;
  if (!changed && !wallpaper.empty()) {
    auto time = facts.FileTimeText(state.LastWallpaper);
    changed = time ? !state.LastWallpaperDateKnown || *time != state.LastWallpaperDate
                   : state.LastWallpaperDateKnown;
  }
  changed = changed || (reread && facts.WallpaperValue("TileWallpaper") != state.LastTileWallpaper);
  changed = changed || (reread && facts.WallpaperValue("WallpaperStyle") != state.LastWallpaperStyle);
  if (!changed) {
    // Compared in twips as single-precision values, as the system reports the work area.
    const Rect32 now = facts.WorkArea();
    const float tx = static_cast<float>(facts.TwipsPerPixelX());
    const float ty = static_cast<float>(facts.TwipsPerPixelY());
    auto twips = [tx, ty](const Rect32& r) {
      return std::array<float, 4>{static_cast<float>(r.Left) * tx, static_cast<float>(r.Top) * ty,
                                  static_cast<float>(r.Right - r.Left) * tx,
                                  static_cast<float>(r.Bottom - r.Top) * ty};
    };
    changed = twips(now) != twips(work_area);
  }
  if (changed) return WallpaperWatch::kCopyAndRedraw;
  if (facts.Today() != today) return WallpaperWatch::kRedrawOnly;
  return WallpaperWatch::kNothing;
}

}  // namespace orv
