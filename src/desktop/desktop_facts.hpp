#pragma once
// What the program asks of the desktop it lives on. The Win32 adapter asks the system; tests
// fill a FakeDesktopFacts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/app_state.hpp"
#include "platform/canvas.hpp"

namespace orv {

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
  // Last-modified time of a file as comparable text; nullopt when it cannot be examined.
  virtual std::optional<std::string> FileTimeText(const std::string& path) = 0;

  virtual int ScreenWidth() = 0;  // primary screen, pixels
  virtual int ScreenHeight() = 0;
  virtual Rect32 WorkArea() = 0;  // pixels
  virtual int TwipsPerPixelX() = 0;
  virtual int TwipsPerPixelY() = 0;
  virtual Rgb DesktopColor() = 0;
  virtual Date Today() = 0;

  // An amount in the user's currency format (regional settings), e.g. "￥50,000".
  virtual std::string FormatCurrency(std::int32_t amount) = 0;
};

}  // namespace orv
