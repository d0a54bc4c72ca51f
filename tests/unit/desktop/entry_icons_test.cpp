#include "desktop/entry_icons.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include <array>
#include <cstdlib>

namespace orv {
namespace {

// Each icon drawn once for all tests.
const IconImage& Icon(int kind, int pixels) {
  static const auto drawn = [] {
    std::array<std::array<IconImage, kEntryKindCount>, 2> icons;
    for (int k = 0; k < kEntryKindCount; ++k) {
      icons[0][static_cast<std::size_t>(k)] = DrawEntryIcon(k, 32);
      icons[1][static_cast<std::size_t>(k)] = DrawEntryIcon(k, 64);
    }
    return icons;
  }();
  return drawn[pixels == 32 ? 0 : 1][static_cast<std::size_t>(kind)];
}

TEST(EntryIconsTest, SizeCodeNamesTheSetAndNothingElse) {
  const struct {
    int size;
    std::optional<int> pixels;
  } cases[] = {{0, 32}, {1, 64}, {2, std::nullopt}, {-1, std::nullopt}, {32, std::nullopt}, {64, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(IconSetPixels(c.size), c.pixels) << "size " << c.size;
  for (int index : {-1, 4, 100}) EXPECT_FALSE(IsEntryIconIndex(index)) << index;
  for (int index = 0; index < kEntryKindCount; ++index) EXPECT_TRUE(IsEntryIconIndex(index)) << index;
}

TEST(EntryIconsTest, NoPictureForAnUnknownKindOrAnEmptySize) {
  EXPECT_TRUE(DrawEntryIcon(-1, 32).Empty());
  EXPECT_TRUE(DrawEntryIcon(4, 64).Empty());
  EXPECT_TRUE(DrawEntryIcon(0, 0).Empty());
  EXPECT_TRUE(DrawEntryIcon(0, -5).Empty());
}

// Every icon: the asked size, transparent corners outside the rounded tile, an opaque middle,
// and soft (partly transparent) pixels along the tile's rounded edge.
TEST(EntryIconsTest, EachIconIsAnOpaqueRoundedTileWithSoftEdges) {
  for (int pixels : {32, 64}) {
    for (int kind = 0; kind < kEntryKindCount; ++kind) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << ", " << pixels << " px");
      const IconImage& icon = Icon(kind, pixels);
      ASSERT_EQ(icon.width, pixels);
      ASSERT_EQ(icon.height, pixels);
      ASSERT_EQ(icon.pixels.size(), static_cast<std::size_t>(pixels * pixels));
      const int last = pixels - 1;
      for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) EXPECT_EQ(AlphaOf(icon.At(x, y)), 0);
      EXPECT_EQ(AlphaOf(icon.At(pixels / 2, pixels / 2)), 255);
      EXPECT_EQ(AlphaOf(icon.At(pixels / 8, pixels / 2)), 255);
      int soft = 0;
      for (std::uint32_t p : icon.pixels) soft += AlphaOf(p) > 0 && AlphaOf(p) < 255;
      EXPECT_GT(soft, pixels / 2);
    }
  }
}

// The tile's colour tells the kinds apart at a glance: blue, green, red, violet.
TEST(EntryIconsTest, TileColourOfEachKind) {
  for (int pixels : {32, 64}) {
    const int x = pixels * 6 / 64, y = pixels / 2;  // inside the tile, beside the symbol
    const std::uint32_t transfer = Icon(0, pixels).At(x, y);
    const std::uint32_t cash = Icon(1, pixels).At(x, y);
    const std::uint32_t very_special = Icon(2, pixels).At(x, y);
    const std::uint32_t special = Icon(3, pixels).At(x, y);
    EXPECT_GT(BlueOfArgb(transfer), RedOfArgb(transfer) + 40) << pixels;
    EXPECT_GT(GreenOfArgb(cash), RedOfArgb(cash) + 40) << pixels;
    EXPECT_GT(GreenOfArgb(cash), BlueOfArgb(cash) + 40) << pixels;
    EXPECT_GT(RedOfArgb(very_special), BlueOfArgb(very_special) + 40) << pixels;
    EXPECT_GT(RedOfArgb(very_special), GreenOfArgb(very_special) + 40) << pixels;
    EXPECT_GT(BlueOfArgb(special), GreenOfArgb(special) + 40) << pixels;
    EXPECT_GT(RedOfArgb(special), GreenOfArgb(special) + 30) << pixels;
  }
}

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  return std::abs(AlphaOf(a) - AlphaOf(b)) + std::abs(RedOfArgb(a) - RedOfArgb(b)) +
         std::abs(GreenOfArgb(a) - GreenOfArgb(b)) + std::abs(BlueOfArgb(a) - BlueOfArgb(b));
}

TEST(EntryIconsTest, KindsDifferInMostOfTheirPixels) {
  for (int pixels : {32, 64}) {
    for (int a = 0; a < kEntryKindCount; ++a) {
      for (int b = a + 1; b < kEntryKindCount; ++b) {
        const IconImage &first = Icon(a, pixels), &second = Icon(b, pixels);
        int differing = 0;
        for (std::size_t i = 0; i < first.pixels.size(); ++i)
          differing += ChannelDistance(first.pixels[i], second.pixels[i]) > 60;
        EXPECT_GT(differing, pixels * pixels / 2) << "kinds " << a << " and " << b << ", " << pixels << " px";
      }
    }
  }
}

// Both sets show the same drawing: the 32-pixel icon matches the 64-pixel one shrunk by
// averaging 2 x 2 blocks, apart from rounding.
TEST(EntryIconsTest, SmallSetIsTheLargeDrawingAtHalfSize) {
  for (int kind = 0; kind < kEntryKindCount; ++kind) {
    const IconImage &small = Icon(kind, 32), &large = Icon(kind, 64);
    long total = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        int alpha = 0;
        for (auto [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) alpha += AlphaOf(large.At(2 * x + dx, 2 * y + dy));
        total += std::abs(AlphaOf(small.At(x, y)) - alpha / 4);
      }
    }
    EXPECT_LT(total / (32 * 32), 3) << "kind " << kind;
  }
}

// The tray picture at the small-icon sizes of 100 % to 200 %: opaque, made only of its own
// colours (no blended pixel, so it stays sharp), its outline and binding where the 16-unit
// grid puts them at each size.
TEST(TrayIconTest, SharpAtEverySmallIconSize) {
  const std::uint32_t palette[] = {0xFF000000, 0xFF404040, 0xFFFFFFFF, 0xFFC82830, 0xFF283C6E};
  for (int pixels : {16, 20, 24, 28, 32}) {
    SCOPED_TRACE(pixels);
    const IconImage icon = DrawTrayIcon(pixels, false);
    ASSERT_EQ(icon.width, pixels);
    ASSERT_EQ(icon.height, pixels);
    for (std::uint32_t p : icon.pixels)
      EXPECT_NE(std::find(std::begin(palette), std::end(palette), p), std::end(palette)) << std::hex << p;
    EXPECT_EQ(icon.At(0, 0), palette[0]);
    EXPECT_EQ(icon.At(pixels - 1, pixels - 1), palette[0]);
    EXPECT_EQ(icon.At(pixels * 13 / 16, pixels / 2), palette[2]);  // the page right of the lines
    // The binding spans grid rows 2 to 5: whole pixels at every size.
    const int top = (2 * pixels * 2 + 16) / 32, bottom = 5 * pixels / 16;
    EXPECT_EQ(icon.At(pixels / 2, top), palette[3]);
    EXPECT_EQ(icon.At(pixels / 2, bottom - 1), palette[3]);
  }
  // At 16 pixels it is the grid itself, cell for cell.
  const IconImage icon = DrawTrayIcon(16, false);
  EXPECT_EQ(icon.At(1, 1), palette[1]);
  EXPECT_EQ(icon.At(4, 7), palette[4]);
  EXPECT_EQ(icon.At(11, 12), palette[3]);
  EXPECT_EQ(DrawTrayIcon(16, true).At(2, 2), 0xFF800000);  // without visual styles
  EXPECT_TRUE(DrawTrayIcon(0, false).Empty());
}

}  // namespace
}  // namespace orv
