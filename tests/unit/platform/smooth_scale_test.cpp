#include "platform/smooth_scale.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace orv {
namespace {

std::uint32_t Grey(int v) { return static_cast<std::uint32_t>(v | (v << 8) | (v << 16)); }

// A picture with a different, irregular value in every channel of every pixel.
std::vector<std::uint32_t> Noise(int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  std::uint32_t state = 12345;
  for (auto& p : pixels) {
    state = state * 1103515245u + 12345u;
    p = (state >> 8) & 0xFFFFFF;
  }
  return pixels;
}

std::vector<std::uint32_t> Whole(const std::vector<std::uint32_t>& source, int sw, int sh, int dw, int dh) {
  return ScaleSmoothly(source, {0, 0, sw, sh}, sw, sh, dw, dh, {0, 0, dw, dh});
}

TEST(SmoothScale, TapsOfEveryDestinationPixelAddUpToOneAndStayInsideTheSource) {
  for (auto [source, dest] : {std::pair{7, 3}, {3, 7}, {1920, 1366}, {400, 1280}, {5, 5}, {1, 9}, {9, 1}}) {
    const auto taps = AxisTaps(source, dest, 0, dest);
    ASSERT_EQ(taps.size(), static_cast<std::size_t>(dest));
    for (const auto& pixel : taps) {
      double sum = 0;
      for (const ScaleTap& tap : pixel) {
        EXPECT_GE(tap.source, 0);
        EXPECT_LT(tap.source, source);
        sum += tap.weight;
      }
      EXPECT_NEAR(sum, 1.0, 1e-9) << source << " -> " << dest;
    }
  }
}

TEST(SmoothScale, KeepsAPlainColourAndCopiesAtTheSameSize) {
  const std::vector<std::uint32_t> plain(35, 0x00336699);
  for (auto [w, h] : {std::pair{3, 2}, {17, 11}, {5, 7}})
    for (std::uint32_t pixel : Whole(plain, 5, 7, w, h)) EXPECT_EQ(pixel, 0x00336699u);
  const auto noise = Noise(6, 4);
  EXPECT_EQ(Whole(noise, 6, 4, 6, 4), noise);
}

TEST(SmoothScale, ShrinkingAveragesWhatEachPixelCovers) {
  // Halving: each pixel is the mean of its 2 x 2 block.
  const std::vector<std::uint32_t> checker{Grey(0), Grey(200), Grey(100), Grey(40),
                                          Grey(60), Grey(20), Grey(0), Grey(0)};
  EXPECT_EQ(Whole(checker, 4, 2, 2, 1), (std::vector<std::uint32_t>{Grey(70), Grey(35)}));
  // Three to two: the middle source pixel is shared half and half.
  const std::vector<std::uint32_t> row{Grey(0), Grey(90), Grey(180)};
  EXPECT_EQ(Whole(row, 3, 1, 2, 1), (std::vector<std::uint32_t>{Grey(30), Grey(150)}));
}

TEST(SmoothScale, EnlargingBlendsNeighboursAndHoldsTheEdges) {
  const std::vector<std::uint32_t> row{Grey(0), Grey(200)};
  const auto wide = Whole(row, 2, 1, 8, 1);
  EXPECT_EQ(wide.front(), Grey(0));
  EXPECT_EQ(wide.back(), Grey(200));
  for (std::size_t i = 1; i < wide.size(); ++i) EXPECT_GE(wide[i] & 0xFF, wide[i - 1] & 0xFF);
  EXPECT_EQ(wide[3], Grey(75));  // centre 3.5 of 8 lies at 0.375 of the way from 0 to 200
}

TEST(SmoothScale, EveryPixelIsItsTapsWeightedOverBothAxes) {
  // Strong shrinks make one row blend many source rows (the most the scaler keeps at a time),
  // and odd ratios make neighbouring rows share source rows.
  for (auto [sw, sh, dw, dh] : {std::array{9, 97, 4, 5}, {13, 61, 6, 3}, {7, 40, 7, 39}, {5, 6, 11, 17},
                               {30, 300, 8, 1}}) {
    const auto source = Noise(sw, sh);
    const auto scaled = Whole(source, sw, sh, dw, dh);
    const auto columns = AxisTaps(sw, dw, 0, dw);
    const auto rows = AxisTaps(sh, dh, 0, dh);
    for (int y = 0; y < dh; ++y)
      for (int x = 0; x < dw; ++x)
        for (int shift : {0, 8, 16}) {
          double expected = 0;
          for (const ScaleTap& row : rows[static_cast<std::size_t>(y)])
            for (const ScaleTap& column : columns[static_cast<std::size_t>(x)])
              expected += row.weight * column.weight *
                          ((source[static_cast<std::size_t>(row.source) * sw + column.source] >> shift) & 0xFF);
          const auto got = static_cast<int>((scaled[static_cast<std::size_t>(y) * dw + x] >> shift) & 0xFF);
          ASSERT_NEAR(got, expected, 0.51) << sw << "x" << sh << " -> " << dw << "x" << dh << " at " << x << "," << y;
        }
  }
}

TEST(SmoothScale, APartComputedAloneEqualsThatPartOfTheWholeFromOnlyTheSourceItNeeds) {
  struct Case { int sw, sh, dw, dh; PixelRect part; };
  for (const Case& c : {Case{37, 23, 19, 11, {5, 0, 19, 11}}, Case{23, 17, 61, 40, {44, 3, 61, 40}},
                        Case{40, 30, 128, 51, {100, 0, 128, 51}}, Case{31, 31, 31, 31, {30, 0, 31, 31}},
                        Case{50, 9, 13, 40, {0, 7, 6, 33}}}) {
    const auto source = Noise(c.sw, c.sh);
    const auto whole = Whole(source, c.sw, c.sh, c.dw, c.dh);
    const PixelRect need = SourceNeeded(c.sw, c.sh, c.dw, c.dh, c.part);
    std::vector<std::uint32_t> given;
    for (int y = need.top; y < need.bottom; ++y)
      for (int x = need.left; x < need.right; ++x) given.push_back(source[static_cast<std::size_t>(y) * c.sw + x]);
    const auto part = ScaleSmoothly(given, need, c.sw, c.sh, c.dw, c.dh, c.part);
    ASSERT_EQ(part.size(), static_cast<std::size_t>(c.part.Width()) * c.part.Height());
    for (int y = 0; y < c.part.Height(); ++y)
      for (int x = 0; x < c.part.Width(); ++x)
        ASSERT_EQ(part[static_cast<std::size_t>(y) * c.part.Width() + x],
                  whole[static_cast<std::size_t>(c.part.top + y) * c.dw + c.part.left + x])
            << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " at " << x << "," << y;
  }
  EXPECT_EQ(SourceNeeded(10, 10, 5, 5, {2, 2, 2, 4}), PixelRect{});
}

}  // namespace
}  // namespace orv
