#pragma once
// Twips and pixels. Window places and dialog positions are kept in twips (1440 to the inch),
// everything inside the calendar in pixels. The screen's twips per pixel is an exact ratio
// (1440 / dots per inch): at 175 % (168 dpi) a pixel is 8.571… twips, not 8, so widths,
// hotspots and positions keep their size at every scale.
#include <cstdint>

namespace orv {

// Twips per pixel on one axis, as the exact fraction twips / pixels.
struct TwipsScale {
  std::int32_t twips = 15;
  std::int32_t pixels = 1;

  // The scale of a screen with `dpi` dots per inch (96 when the screen gives none).
  static constexpr TwipsScale ForDpi(int dpi) { return {1440, dpi > 0 ? dpi : 96}; }
  // Dots per inch, to the nearest whole one.
  int Dpi() const;
  bool operator==(const TwipsScale&) const = default;
};

// The one rounding rule of every conversion: exact arithmetic, then the nearest whole
// number with halves going to the even neighbour (as the platform's integer conversion).
std::int64_t RoundRatio(std::int64_t numerator, std::int64_t denominator);

std::int32_t PixelsToTwips(std::int64_t pixels, TwipsScale scale);
std::int32_t TwipsToPixels(std::int64_t twips, TwipsScale scale);

}  // namespace orv
