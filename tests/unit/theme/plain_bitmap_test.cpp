// Which BMP files may be copied as they are, without the imaging codecs, and where their
// palette and rows lie.
#include <gtest/gtest.h>

#include "platform/picture_loader.hpp"
#include "../../support/bitmap_file.hpp"

namespace orv {
namespace {

std::uint32_t Checker(int x, int y) { return static_cast<std::uint32_t>((x + y) % 2); }

test::BitmapFileSpec Spec(int width, int height, int bits = 24) {
  test::BitmapFileSpec spec;
  spec.width = width;
  spec.height = height;
  spec.bits = bits;
  return spec;
}

TEST(PlainBitmapTest, FindsThePaletteAndRowsOfEachUncompressedDepth) {
  struct Case {
    int bits;
    std::uint32_t colors_used;
    std::size_t palette_entries;
    int expected_count;
  };
  // A palette as long as the header says, or as the depth allows when it says 0.
  for (const Case& c : {Case{1, 0, 2, 2}, Case{4, 3, 3, 3}, Case{4, 0, 16, 16}, Case{8, 2, 2, 2}, Case{8, 0, 256, 256},
                        Case{24, 0, 0, 0}}) {
    test::BitmapFileSpec spec = Spec(5, 3, c.bits);
    spec.colors_used = c.colors_used;
    spec.palette.assign(c.palette_entries, 0x00FF00FFu);
    const std::string file = test::BitmapFile(spec, Checker);
    const auto layout = FindPlainBitmap(file);
    ASSERT_TRUE(layout) << c.bits;
    EXPECT_EQ(layout->width, 5);
    EXPECT_EQ(layout->height, 3);
    EXPECT_EQ(layout->bits_per_pixel, c.bits);
    EXPECT_EQ(layout->palette_offset, 54u);
    EXPECT_EQ(layout->palette_count, c.expected_count) << c.bits;
    EXPECT_EQ(layout->bits_offset, 54u + c.palette_entries * 4) << c.bits;
  }
}

TEST(PlainBitmapTest, KeepsTheRowOrderAndAcceptsTheLaterHeaderKinds) {
  test::BitmapFileSpec spec = Spec(2, 4);
  spec.top_down = true;
  const auto top_down = FindPlainBitmap(test::BitmapFile(spec, Checker));
  ASSERT_TRUE(top_down);
  EXPECT_EQ(top_down->height, -4);
  for (std::uint32_t header : {52u, 56u, 108u, 124u}) {
    spec = Spec(2, 2);
    spec.header_size = header;
    const auto later = FindPlainBitmap(test::BitmapFile(spec, Checker));
    ASSERT_TRUE(later) << header;
    EXPECT_EQ(later->palette_offset, 14u + header);
    EXPECT_EQ(later->bits_offset, 14u + header);
  }
}

TEST(PlainBitmapTest, LeavesEverythingElseToTheCodecs) {
  const std::string good = test::BitmapFile(Spec(3, 2), Checker);
  ASSERT_TRUE(FindPlainBitmap(good));
  // Cut short anywhere, down to the last byte of the last row.
  EXPECT_FALSE(FindPlainBitmap(good.substr(0, good.size() - 1)));
  EXPECT_FALSE(FindPlainBitmap(good.substr(0, 60)));
  EXPECT_FALSE(FindPlainBitmap(good.substr(0, 30)));
  EXPECT_FALSE(FindPlainBitmap(""));
  EXPECT_FALSE(FindPlainBitmap("PK" + good.substr(2)));
  // Depths that may carry alpha or bit fields, compression, and the old core header.
  for (int bits : {16, 32})
    EXPECT_FALSE(FindPlainBitmap(test::BitmapFile(Spec(3, 2, bits), Checker))) << bits;
  test::BitmapFileSpec rle = Spec(4, 2, 8);
  rle.compression = 1;
  rle.palette.assign(2, 0);
  EXPECT_FALSE(FindPlainBitmap(test::BitmapFile(rle, Checker)));
  test::BitmapFileSpec odd_header = Spec(3, 2);
  odd_header.header_size = 64;
  EXPECT_FALSE(FindPlainBitmap(test::BitmapFile(odd_header, Checker)));
  // More colours named than the depth has.
  test::BitmapFileSpec too_many = Spec(3, 2, 1);
  too_many.colors_used = 3;
  too_many.palette.assign(3, 0);
  EXPECT_FALSE(FindPlainBitmap(test::BitmapFile(too_many, Checker)));
  // Rows said to start inside the palette.
  test::BitmapFileSpec palette = Spec(3, 2, 8);
  palette.colors_used = 2;
  palette.palette.assign(2, 0);
  std::string overlapping = test::BitmapFile(palette, Checker);
  overlapping[10] = 54 + 4;  // one quad into the palette
  EXPECT_FALSE(FindPlainBitmap(overlapping));
  // No pixels, or more than the loader will hold.
  std::string empty = good;
  empty[18] = empty[19] = empty[20] = empty[21] = 0;
  EXPECT_FALSE(FindPlainBitmap(empty));
  std::string wide = good;
  wide[18] = 0;
  wide[19] = static_cast<char>(0x80);  // 32768 pixels
  EXPECT_FALSE(FindPlainBitmap(wide));
}

}  // namespace
}  // namespace orv
