#pragma once
// The entry-kind icons of the host window: one picture per entry kind (0 automatic transfer,
// 1 cash payment, 2 very special day, 3 special day) in a 32-pixel and a 64-pixel set. The
// program draws them itself, so it carries no picture files: each icon is a few shapes
// (rounded tile, arrows, coin, star, calendar leaf) laid out on a 64-unit grid, scaled to the
// set's size and anti-aliased by sampling every pixel 4 x 4 times.
#include <cstdint>
#include <optional>
#include <vector>

namespace orv {

constexpr int kEntryKindCount = 4;

// Pixel width and height of the icon set `size` names: 0 the 32-pixel set, 1 the 64-pixel
// set; nothing for any other value.
std::optional<int> IconSetPixels(int size);
// Whether `index` names an entry kind, and so an icon of each set.
constexpr bool IsEntryIconIndex(int index) { return index >= 0 && index < kEntryKindCount; }

// A picture with an alpha channel: pixels row by row from the top, each 0xAARRGGBB with
// straight (not premultiplied) alpha; alpha 0 is transparent. This is the byte order of a
// 32-bit top-down device-independent bitmap, so the platform takes the rows as they are.
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool Empty() const { return pixels.empty(); }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

constexpr int AlphaOf(std::uint32_t argb) { return static_cast<int>(argb >> 24); }
constexpr int RedOfArgb(std::uint32_t argb) { return static_cast<int>((argb >> 16) & 0xFF); }
constexpr int GreenOfArgb(std::uint32_t argb) { return static_cast<int>((argb >> 8) & 0xFF); }
constexpr int BlueOfArgb(std::uint32_t argb) { return static_cast<int>(argb & 0xFF); }

// The icon of entry kind `index`, `pixels` wide and high; an empty image for an index that
// names no kind or a size below 1.
IconImage DrawEntryIcon(int index, int pixels);

// The tray picture, a leaf of a tear-off calendar, `pixels` wide and high (the system's small
// icon size at the scale in use). Its shapes are drawn on a 16-unit grid whose edges land on
// whole pixels at every size, so it stays sharp: no pixel is a blend. `few_colors` gives the
// variant for systems without visual styles.
IconImage DrawTrayIcon(int pixels, bool few_colors);

}  // namespace orv
