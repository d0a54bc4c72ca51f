#include "desktop/wallpaper.hpp"

#include <algorithm>
#include <array>
#include <functional>
#include <limits>

namespace orv {
namespace {

PixelRect Bounds(const PixelRect& a, const PixelRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// Where a copy of the given size starts so that it is centred in `space`.
int Centred(int space, int size) { return static_cast<int>(RoundRatio(std::int64_t{space} - size, 2)); }

PixelRect CentredIn(const PixelRect& box, int width, int height) {
  const int x = box.left + Centred(box.Width(), width);
  const int y = box.top + Centred(box.Height(), height);
  return {x, y, x + width, y + height};
}

// The picture scaled to cover `box` (fill) or to fit inside it (fit), keeping its aspect
// ratio, centred. The side that matches the box is exact; the other is rounded.
PixelRect Scaled(const PixelRect& box, int pw, int ph, bool cover) {
  const std::int64_t w = box.Width(), h = box.Height();
  const bool wider = std::int64_t{pw} * h >= std::int64_t{ph} * w;  // the picture's shape against the box's
  int width = 0, height = 0;
  if (wider == cover) {  // the heights match
    height = static_cast<int>(h);
    width = static_cast<int>(std::max<std::int64_t>(1, RoundRatio(std::int64_t{pw} * h, ph)));
  } else {
    width = static_cast<int>(w);
    height = static_cast<int>(std::max<std::int64_t>(1, RoundRatio(std::int64_t{ph} * w, pw)));
  }
  return CentredIn(box, width, height);
}

// First tile edge at or before `from` on a grid of `size` starting at `origin`.
int GridStart(int origin, int from, int size) {
  const int offset = from - origin;
  const int steps = offset >= 0 ? offset / size : -((-offset + size - 1) / size);
  return origin + steps * size;
}

// First tile edge at or after `to` on a grid of `size` through `start`.
int GridEnd(int start, int to, int size) {
  const std::int64_t cells = (std::int64_t{to} - start + size - 1) / size;
  return static_cast<int>(std::min<std::int64_t>(start + cells * size, std::numeric_limits<int>::max()));
}

}  // namespace

WallpaperPlacement StyleOf(const WallpaperValues& values) {
  const std::string& style = values.WallpaperStyle;
  if (style == "2") return WallpaperPlacement::kStretch;
  if (style == "6") return WallpaperPlacement::kFit;
  if (style == "10") return WallpaperPlacement::kFill;
  if (style == "22") return WallpaperPlacement::kSpan;
  if (values.TileWallpaper == "1") return WallpaperPlacement::kTile;
  if (values.TileWallpaper == "0") return WallpaperPlacement::kCenter;
  return WallpaperPlacement::kNone;
}

WallpaperPlacement StyleOfPosition(int position) {
  switch (position) {
    case 0: return WallpaperPlacement::kCenter;
    case 1: return WallpaperPlacement::kTile;
    case 2: return WallpaperPlacement::kStretch;
    case 3: return WallpaperPlacement::kFit;
    case 4: return WallpaperPlacement::kFill;
    case 5: return WallpaperPlacement::kSpan;
    default: return WallpaperPlacement::kNone;
  }
}

namespace {
struct StyleName {
  std::string_view name;
  WallpaperPlacement style;
  const char* wallpaper_style;
  const char* tile;
};
constexpr StyleName kStyleNames[] = {
    {"fill", WallpaperPlacement::kFill, "10", "0"},      {"fit", WallpaperPlacement::kFit, "6", "0"},
    {"span", WallpaperPlacement::kSpan, "22", "0"},      {"stretch", WallpaperPlacement::kStretch, "2", "0"},
    {"center", WallpaperPlacement::kCenter, "0", "0"},   {"tile", WallpaperPlacement::kTile, "0", "1"},
};
}  // namespace

std::optional<WallpaperPlacement> StyleNamed(std::string_view name) {
  for (const StyleName& s : kStyleNames)
    if (s.name == name) return s.style;
  return std::nullopt;
}

WallpaperValues ValuesFor(WallpaperPlacement style, std::string wallpaper) {
  for (const StyleName& s : kStyleNames)
    if (s.style == style) return {std::move(wallpaper), s.tile, s.wallpaper_style};
  return {std::move(wallpaper), "", ""};
}

std::optional<Rgb> ParseColorTriple(std::string_view text) {
  int parts[3] = {0, 0, 0};
  int count = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t') {
      ++i;
      continue;
    }
    if (text[i] < '0' || text[i] > '9' || count == 3) return std::nullopt;
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      value = value * 10 + (text[i] - '0');
      if (value > 255) return std::nullopt;
    }
    parts[count++] = value;
  }
  if (count != 3) return std::nullopt;
  return MakeRgb(parts[0], parts[1], parts[2]);
}

WallpaperLayout LayoutWallpaper(WallpaperPlacement style, int pw, int ph, const std::vector<PixelRect>& monitors,
                                const std::optional<PixelRect>& within) {
  WallpaperLayout layout;
  layout.style = style;
  if (pw <= 0 || ph <= 0 || monitors.empty() || style == WallpaperPlacement::kNone) {
    layout.style = WallpaperPlacement::kNone;
    return layout;
  }
  PixelRect all = monitors.front();
  for (const PixelRect& m : monitors) all = Bounds(all, m);
  if (style == WallpaperPlacement::kSpan) {
    layout.copies.push_back({Scaled(all, pw, ph, true), all, -1});
    return layout;
  }
  for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
    const PixelRect& m = monitors[static_cast<std::size_t>(i)];
    if (Empty(m)) continue;
    switch (style) {
      case WallpaperPlacement::kCenter: layout.copies.push_back({CentredIn(m, pw, ph), m, i}); break;
      case WallpaperPlacement::kStretch: layout.copies.push_back({m, m, i}); break;
      case WallpaperPlacement::kFit: layout.copies.push_back({Scaled(m, pw, ph, false), m, i}); break;
      case WallpaperPlacement::kFill: layout.copies.push_back({Scaled(m, pw, ph, true), m, i}); break;
      case WallpaperPlacement::kTile: {
        // One grid over the whole desktop from its top-left corner; of it, the cells that
        // meet the wanted part of the monitor.
        const PixelRect wanted = within ? Intersect(m, *within) : m;
        if (Empty(wanted)) break;
        const int x = GridStart(all.left, wanted.left, pw), y = GridStart(all.top, wanted.top, ph);
        layout.copies.push_back({{x, y, GridEnd(x, wanted.right, pw), GridEnd(y, wanted.bottom, ph)}, m, i, true});
        break;
      }
      default: break;
    }
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

namespace {

// Draws the pieces of one picture that show in the band (screen columns from `band.left`,
// image pixel (0, 0) at the band's top-left). The band lies on the primary monitor, so a piece
// of another monitor never reaches it, and the image's own edges do the clipping. A scaled
// copy is drawn smoothed; its pixels do not depend on how much of it the band shows, so the
// band holds what the whole screen would.
void DrawPieces(Canvas& image, const Picture& picture, const WallpaperLayout& layout, const PixelRect& band,
                const std::function<bool(int)>& uses_picture) {
  for (const WallpaperPiece& piece : layout.copies) {
    if (!uses_picture(piece.monitor)) continue;
    if (Empty(Intersect(Intersect(piece.dest, piece.clip), band))) continue;
    const PixelRect dest = Shifted(piece.dest, -band.left, -band.top);
    if (piece.tiled) image.TilePicture(picture, dest);
    else image.DrawPicture(picture, dest, RasterOp::Copy, layout.Scaled());
  }
}

}  // namespace

void dsDesktopImageCopy(WallpaperState& state, DesktopFacts& facts, PictureLoader& loader,
                        Canvas& image, int left) {
  const int width = facts.ScreenWidth();
  const int height = facts.ScreenHeight();
  left = std::clamp(left, 0, std::max(width, 0));
  const PixelRect band{left, 0, width, height};
  // The shell's account first: it may bring the background colour with it.
  const std::optional<ShellWallpaper> shell = facts.ShownWallpaper();
  const Rgb desktop = facts.DesktopColor();

  RecordWallpaperSettings(state, facts);
  state.LastTranscoded.clear();
  state.LastTranscodedDate.reset();
  std::vector<PixelRect> monitors = facts.Monitors();
  if (monitors.empty()) monitors.push_back({0, 0, width, height});

  const WallpaperPlacement style = shell ? shell->style
                                         : StyleOf({state.LastWallpaper, state.LastTileWallpaper, state.LastWallpaperStyle});
  // The picture of each monitor: the shell's where it names one, else the setting's.
  std::vector<std::string> pictures(monitors.size(), state.LastWallpaper);
  if (shell)
    for (std::size_t i = 0; i < pictures.size() && i < shell->pictures.size(); ++i)
      if (!shell->pictures[i].empty()) pictures[i] = shell->pictures[i];
  const bool changing = shell && shell->changing_pictures;

  // Which pictures reach the band: a span draws the first monitor's over all of them.
  std::vector<std::string> wanted;
  for (std::size_t i = 0; i < monitors.size() && band.Width() > 0; ++i) {
    const bool reaches = style == WallpaperPlacement::kSpan ? i == 0 : !Empty(Intersect(monitors[i], band));
    if (reaches && !pictures[i].empty() && std::find(wanted.begin(), wanted.end(), pictures[i]) == wanted.end())
      wanted.push_back(pictures[i]);
  }
  std::vector<std::pair<std::string, LoadedPicture>> loaded;
  for (const std::string& path : wanted) {
    // A file that cannot even be examined is not opened: on an unreachable share that would
    // hold up the desktop. The shell's transcoded copy stands in for a missing file.
    const bool examinable = path == state.LastWallpaper ? state.LastWallpaperDateKnown : facts.FileTimeText(path).has_value();
    LoadedPicture picture;
    if (examinable && !changing) picture = loader.Load(path);
    if (!picture.picture) {
      const std::string transcoded = facts.TranscodedWallpaper();
      if (!transcoded.empty()) picture = loader.Load(transcoded);
      if (picture.picture) {
        state.LastTranscoded = transcoded;
        state.LastTranscodedDate = facts.FileTimeText(transcoded);
      }
    }
    // Unreadable or not a picture: the plain desktop colour stays there.
    if (picture.picture) loaded.emplace_back(path, std::move(picture));
  }

  // A desktop of one plain colour keeps no pixels: the band is empty, and whoever reads it gets
  // the colour (WallpaperCopy::CopyTo). With a picture, the band starts as the colour (around a
  // centred or fitted picture) and the pictures go over it.
  image.SetBackColor(desktop);
  if (loaded.empty()) {
    image.Resize(0, height);
    return;
  }
  image.Resize(band.Width(), height);
  image.FillRect({0, 0, band.Width(), height}, desktop);
  for (const auto& [path, picture] : loaded) {
    const WallpaperLayout layout =
        LayoutWallpaper(style, picture.picture->Width(), picture.picture->Height(), monitors, band);
    DrawPieces(image, *picture.picture, layout, band, [&, &path = path](int monitor) {
      return monitor < 0 || pictures[static_cast<std::size_t>(monitor)] == path;
    });
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

bool SettingChangeConcernsDesktop(unsigned action) {
  // SPI_SETDESKWALLPAPER, SPI_SETDESKPATTERN, SPI_SETWORKAREA.
  constexpr unsigned kDeskWallpaper = 0x0014, kDeskPattern = 0x0015, kWorkArea = 0x002F;
  return action == kDeskWallpaper || action == kDeskPattern || action == kWorkArea;
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
  changed = changed || (!state.LastTranscoded.empty() && facts.FileTimeText(state.LastTranscoded) != state.LastTranscodedDate);
  if (!changed) {
    // Compared in twips, as the system reports the work area. (A twip is never more than a
    // pixel, so no two pixel rectangles give the same twips.)
    const Rect32 now = facts.WorkArea();
    const TwipsScale tx = facts.TwipsPerPixelX();
    const TwipsScale ty = facts.TwipsPerPixelY();
    auto twips = [tx, ty](const Rect32& r) {
      return std::array<std::int32_t, 4>{PixelsToTwips(r.Left, tx), PixelsToTwips(r.Top, ty),
                                         PixelsToTwips(std::int64_t{r.Right} - r.Left, tx),
                                         PixelsToTwips(std::int64_t{r.Bottom} - r.Top, ty)};
    };
    changed = twips(now) != twips(work_area);
  }
  if (changed) return WallpaperWatch::kCopyAndRedraw;
  if (facts.Today() != today) return WallpaperWatch::kRedrawOnly;
  return WallpaperWatch::kNothing;
}

}  // namespace orv

namespace orv {

std::string ShellWallpaperText(const ShellWallpaper& shown) {
  std::string text = "style " + std::to_string(static_cast<int>(shown.style)) + "\nchanging " +
                     (shown.changing_pictures ? "1" : "0") + "\nbackground " +
                     (shown.background ? std::to_string(*shown.background) : "-") + "\n";
  for (const std::string& picture : shown.pictures) text += "picture " + picture + "\n";
  return text;
}

std::optional<ShellWallpaper> ParseShellWallpaper(std::string_view text) {
  ShellWallpaper shown;
  int fields = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // every line ends
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const std::string_view key = line.substr(0, space), value = line.substr(space + 1);
    const auto number = [&](std::int64_t low, std::int64_t high) -> std::optional<std::int64_t> {
      std::int64_t n = 0;
      if (value.empty() || value.size() > 10) return std::nullopt;
      for (char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
      }
      if (n < low || n > high) return std::nullopt;
      return n;
    };
    if (key == "style") {
      const auto style = number(0, static_cast<int>(WallpaperPlacement::kSpan));
      if (!style) return std::nullopt;
      shown.style = static_cast<WallpaperPlacement>(*style);
      ++fields;
    } else if (key == "changing") {
      if (value != "0" && value != "1") return std::nullopt;
      shown.changing_pictures = value == "1";
      ++fields;
    } else if (key == "background") {
      if (value != "-") {
        const auto color = number(0, 0xFFFFFF);
        if (!color) return std::nullopt;
        shown.background = static_cast<Rgb>(*color);
      }
      ++fields;
    } else if (key == "picture") {
      shown.pictures.emplace_back(value);
    } else {
      return std::nullopt;
    }
  }
  if (fields != 3) return std::nullopt;
  return shown;
}

}  // namespace orv
