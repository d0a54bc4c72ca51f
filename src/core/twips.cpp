#include "core/twips.hpp"

#include <limits>

namespace orv {

std::int64_t RoundRatio(std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0) return 0;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  std::int64_t quotient = numerator / denominator;
  std::int64_t remainder = numerator % denominator;
  if (remainder < 0) {  // floor division, remainder in [0, denominator)
    --quotient;
    remainder += denominator;
  }
  const std::int64_t twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
  return quotient;
}

namespace {
std::int32_t Clamp32(std::int64_t value) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value < lo ? lo : value > hi ? hi : value);
}
bool Usable(TwipsScale s) { return s.twips > 0 && s.pixels > 0; }
}  // namespace

int TwipsScale::Dpi() const { return Usable(*this) ? static_cast<int>(RoundRatio(1440LL * pixels, twips)) : 96; }

std::int32_t PixelsToTwips(std::int64_t pixels, TwipsScale scale) {
  if (!Usable(scale)) scale = TwipsScale{};
  return Clamp32(RoundRatio(pixels * scale.twips, scale.pixels));
}

std::int32_t TwipsToPixels(std::int64_t twips, TwipsScale scale) {
  if (!Usable(scale)) scale = TwipsScale{};
  return Clamp32(RoundRatio(twips * scale.pixels, scale.twips));
}

}  // namespace orv
