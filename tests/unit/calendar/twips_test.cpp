#include "core/twips.hpp"

#include <gtest/gtest.h>

#include "calendar/calendar_interaction.hpp"
#include "calendar/calendar_layout.hpp"
#include "theme/theme.hpp"

namespace orv {
namespace {

TEST(TwipsTest, OneRoundingRuleNearestWithHalvesToEven) {
  EXPECT_EQ(RoundRatio(5, 2), 2);
  EXPECT_EQ(RoundRatio(7, 2), 4);
  EXPECT_EQ(RoundRatio(-5, 2), -2);
  EXPECT_EQ(RoundRatio(-7, 2), -4);
  EXPECT_EQ(RoundRatio(10, 3), 3);
  EXPECT_EQ(RoundRatio(-10, 3), -3);
  EXPECT_EQ(RoundRatio(11, 3), 4);
  EXPECT_EQ(RoundRatio(3, -2), -2);
  EXPECT_EQ(RoundRatio(1, 0), 0);
}

// The conversions of every size and position at the five usual scales: the calendar's
// built-in widths (3600 and 2200 twips), the mode hotspot (255 twips), a dialog position and
// a theme width given in pixels (240).
TEST(TwipsTest, EveryConversionAtTheUsualScales) {
  struct Case {
    int dpi;
    int full, mini, hotspot;  // pixels
    std::int32_t theme_twips;  // 240 px
    std::int32_t dialog_left;  // twips
  };
  // 125 % is 12 twips a pixel, 150 % 10, 200 % 7.5 and 175 % 8.571… (8 would make everything
  // 7 % too wide).
  const Case cases[] = {
      {96, 240, 147, 17, 3600, 16350 - 5145},    // 1090 px to the dialog's right edge
      {120, 300, 183, 21, 2880, 13080 - 5145},   // 183.33; 21.25
      {144, 360, 220, 26, 2400, 10900 - 5145},   // 25.5 -> 26, 146.67 * 1.5 = 220
      {168, 420, 257, 30, 2057, 9343 - 5145},    // 29.75 -> 30, 2057.14; 1090 * 8.5714 = 9342.86
      {192, 480, 293, 34, 1800, 8175 - 5145},    // 293.33
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const TwipsScale scale = TwipsScale::ForDpi(c.dpi);
    EXPECT_EQ(scale.Dpi(), c.dpi);
    ThemeRecord theme = DefaultTheme();
    EXPECT_EQ(CalendarWidth(theme, 1, scale), c.full);
    EXPECT_EQ(CalendarWidth(theme, 0, scale), c.mini);
    EXPECT_EQ(ModeChangeHotspotWidth(scale), c.hotspot);
    EXPECT_EQ(PixelsToTwips(240, scale), c.theme_twips);
    // Pixels given to the theme come back as the same pixels on the same screen.
    EXPECT_EQ(TwipsToPixels(PixelsToTwips(240, scale), scale), 240);
    const ScreenFacts screen{1280, 1024, scale, scale};
    EXPECT_EQ(DialogPositionFor(screen, 0, 240, 60, 100).Left, c.dialog_left);
  }
  // A ratio given as whole twips per pixel stays exact too.
  EXPECT_EQ(PixelsToTwips(240, TwipsScale{12, 1}), 2880);
  EXPECT_EQ(TwipsScale({12, 1}).Dpi(), 120);
  // No usable scale: 15 twips a pixel.
  EXPECT_EQ(PixelsToTwips(2, TwipsScale{0, 0}), 30);
  EXPECT_EQ(TwipsScale::ForDpi(0).Dpi(), 96);
}

}  // namespace
}  // namespace orv
