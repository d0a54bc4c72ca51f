#pragma once
// What the program asks of the desktop it lives on. The Win32 adapter asks the system; tests
// fill a FakeDesktopFacts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.hpp"
#include "core/twips.hpp"
#include "platform/canvas.hpp"

namespace orv {

// How the wallpaper is laid out on each monitor, as the system names the choices.
enum class WallpaperPlacement { kNone, kCenter, kTile, kStretch, kFit, kFill, kSpan };

// What the shell itself says it shows, where it can say (newer systems).
struct ShellWallpaper {
  WallpaperPlacement style = WallpaperPlacement::kNone;
  std::vector<std::string> pictures;  // one a monitor, in the order of Monitors(); empty: none
  bool changing_pictures = false;     // a slideshow or spotlight picks the pictures
  std::optional<Rgb> background;      // the colour around the pictures, where the shell says
  bool operator==(const ShellWallpaper&) const = default;
};

// The shell's account as one text and back, for handing it between threads: the shell is
// asked on a worker, so that a shell that hangs never holds up the desktop.
std::string ShellWallpaperText(const ShellWallpaper& shown);
std::optional<ShellWallpaper> ParseShellWallpaper(std::string_view text);

class DesktopFacts {
public:
  virtual ~DesktopFacts() = default;

  // A text value under the current user's "Control Panel\Desktop" ("Wallpaper",
  // "TileWallpaper", "WallpaperStyle"); empty when missing or unreadable.
  virtual std::string WallpaperValue(std::string_view name) = 0;
  // False only when the system vouches that none of those values has changed since the
  // previous call returned, so the change watch need not read them again. A system that
  // cannot tell answers true every time.
  virtual bool WallpaperValuesMayHaveChanged() { return true; }
  // Last-modified time of a file as comparable text; nullopt when it cannot be examined
  // (also when the answer does not come in a short time: a file on an unreachable share
  // must never hold up the caller).
  virtual std::optional<std::string> FileTimeText(const std::string& path) = 0;
  // The shell's account of the wallpaper; nullopt where it gives none (the settings count).
  virtual std::optional<ShellWallpaper> ShownWallpaper() { return std::nullopt; }
  // The shell's own copy of the picture it shows, kept for when the named file is gone or the
  // pictures change by themselves; empty where there is none.
  virtual std::string TranscodedWallpaper() { return {}; }
  // The monitors, in virtual-screen pixels: the primary one first, its top-left at (0, 0).
  virtual std::vector<PixelRect> Monitors() { return {{0, 0, ScreenWidth(), ScreenHeight()}}; }

  virtual int ScreenWidth() = 0;  // primary screen, pixels
  virtual int ScreenHeight() = 0;
  virtual Rect32 WorkArea() = 0;  // pixels
  // The screen's twips per pixel, exact (1440 / dpi of the monitor the calendar is on).
  virtual TwipsScale TwipsPerPixelX() = 0;
  virtual TwipsScale TwipsPerPixelY() = 0;
  // The colour around and under the wallpaper (fit and centre show it).
  virtual Rgb DesktopColor() = 0;
  virtual Date Today() = 0;

  // An amount in the user's currency format (regional settings), e.g. "￥50,000".
  virtual std::string FormatCurrency(std::int32_t amount) = 0;
};

}  // namespace orv
