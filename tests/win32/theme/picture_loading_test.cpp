// Loading pictures with the system's codecs, and a theme file with real pictures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/win32/wic_picture_loader.hpp"
#include "theme/theme.hpp"
#include "../../support/bitmap_file.hpp"
#include "../../support/picture_fixtures.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

// A 24-bit bottom-up bitmap file: `width` x `height` pixels of `color`, with the top-left
// pixel `corner`.
std::string BitmapFile(int width, int height, Rgb color, Rgb corner) {
  test::BitmapFileSpec spec;
  spec.width = width;
  spec.height = height;
  auto rgb = [](Rgb c) { return static_cast<std::uint32_t>(RedOf(c) << 16 | GreenOf(c) << 8 | BlueOf(c)); };
  return test::BitmapFile(spec, [&](int x, int y) { return rgb(x == 0 && y == 0 ? corner : color); });
}

// Every pixel of a loaded picture as stored: blue, green, red, alpha.
std::vector<std::uint32_t> PixelsOf(const Picture& picture) {
  const auto& win = dynamic_cast<const BitmapPicture&>(picture);
  DIBSECTION section{};
  if (!GetObjectW(win.bitmap(), sizeof section, &section) || !section.dsBm.bmBits) return {};
  const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
  return {bits, bits + static_cast<std::size_t>(picture.Width()) * static_cast<std::size_t>(picture.Height())};
}

// The colour of pixel (x, y) of a loaded picture, read back through GDI.
Rgb PixelOf(const Picture& picture, int x, int y) {
  const auto& win = dynamic_cast<const BitmapPicture&>(picture);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, win.bitmap());
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return static_cast<Rgb>(c);
}

class PictureLoadingTest : public testing::Test {
protected:
  test::TempDir dir;
  WicPictureLoader loader;
  std::string Write(const std::string& name, std::string_view bytes) {
    std::string path = dir.File(name);
    test::WriteBytes(path, std::string(bytes));
    return path;
  }
};

TEST_F(PictureLoadingTest, LoadsEveryCommonFormat) {
  const Rgb red = MakeRgb(255, 0, 0), blue = MakeRgb(0, 0, 255);
  struct Case {
    const char* name;
    std::string bytes;
    bool blue_corner;  // bottom-right pixel blue (lossless formats)
  };
  for (const Case& c : {Case{"絵.png", std::string(test::kRedPng), true},
                        Case{"a.gif", std::string(test::kRedGif), true},
                        Case{"a.ico", std::string(test::kRedIco), true},
                        Case{"a.jpg", std::string(test::kRedJpeg), false}}) {
    LoadedPicture loaded = loader.Load(Write(c.name, c.bytes));
    ASSERT_TRUE(loaded.picture) << c.name << ": " << loaded.error.number << " "
                                << loaded.error.description;
    EXPECT_EQ(loaded.picture->Width(), 3) << c.name;
    EXPECT_EQ(loaded.picture->Height(), 2) << c.name;
    Rgb top_left = PixelOf(*loaded.picture, 0, 0);
    EXPECT_GE(RedOf(top_left), 240) << c.name;
    EXPECT_LE(BlueOf(top_left), 15) << c.name;
    if (c.blue_corner) {
      EXPECT_EQ(PixelOf(*loaded.picture, 2, 1), blue) << c.name;
    }
  }
  LoadedPicture bmp = loader.Load(Write("b.bmp", BitmapFile(5, 4, red, MakeRgb(1, 2, 3))));
  ASSERT_TRUE(bmp.picture) << bmp.error.description;
  EXPECT_EQ(bmp.picture->Width(), 5);
  EXPECT_EQ(bmp.picture->Height(), 4);
  EXPECT_EQ(PixelOf(*bmp.picture, 0, 0), MakeRgb(1, 2, 3));
  EXPECT_EQ(PixelOf(*bmp.picture, 4, 3), red);
}

// Uncompressed bitmaps are copied without the codecs: pixel for pixel what the codecs give,
// at every depth, in either row order, with any header kind and odd row padding.
TEST_F(PictureLoadingTest, PlainBitmapsMatchTheCodecs) {
  const std::vector<std::uint32_t> colors{0x00102030, 0x00FF8000, 0x0000C0FF, 0x00FFFFFF, 0x00000000,
                                          0x00808080, 0x00123456, 0x00FEDCBA};
  struct Case {
    int bits;
    bool top_down;
    std::uint32_t header;
    std::size_t palette;
  };
  int n = 0;
  for (const Case& c : {Case{1, false, 40, 2}, Case{4, false, 40, 8}, Case{4, true, 40, 16}, Case{8, false, 40, 8},
                        Case{8, true, 124, 256}, Case{24, false, 40, 0}, Case{24, true, 108, 0}}) {
    test::BitmapFileSpec spec;
    spec.width = 7;  // rows padded at every depth
    spec.height = 5;
    spec.bits = c.bits;
    spec.top_down = c.top_down;
    spec.header_size = c.header;
    for (std::size_t i = 0; i < c.palette; ++i) spec.palette.push_back(colors[i % colors.size()] ^ static_cast<std::uint32_t>(i));
    spec.colors_used = c.palette == 256 ? 0 : static_cast<std::uint32_t>(c.palette);
    const auto pixel = [&](int x, int y) {
      const auto k = static_cast<std::size_t>(x * 3 + y * 5);
      return c.bits == 24 ? colors[k % colors.size()] : static_cast<std::uint32_t>(k % c.palette);
    };
    const std::string path = Write("p" + std::to_string(n++) + ".bmp", test::BitmapFile(spec, pixel));
    const auto plain = LoadPlainBitmap(path);
    LoadedPicture codecs = loader.LoadWithCodecs(path);
    ASSERT_TRUE(plain && codecs.picture) << c.bits << " bits: " << codecs.error.description;
    EXPECT_EQ(plain->Width(), 7);
    EXPECT_EQ(plain->Height(), 5);
    EXPECT_EQ(PixelsOf(*plain), PixelsOf(*codecs.picture)) << c.bits << " bits, header " << c.header
                                                                    << (c.top_down ? ", top-down" : "");
  }
  // Depths left to the codecs still load.
  test::BitmapFileSpec deep;
  deep.width = 3;
  deep.height = 2;
  deep.bits = 32;
  const std::string path = Write("deep.bmp", test::BitmapFile(deep, [](int, int) { return 0x00C08040u; }));
  EXPECT_FALSE(LoadPlainBitmap(path));
  LoadedPicture loaded = loader.Load(path);
  ASSERT_TRUE(loaded.picture) << loaded.error.description;
  EXPECT_EQ(PixelOf(*loaded.picture, 2, 1), MakeRgb(0xC0, 0x80, 0x40));
}

TEST_F(PictureLoadingTest, NotAPictureFailsWithTheSystemsError) {
  LoadedPicture text = loader.Load(Write("text.bmp", "this is not a picture"));
  EXPECT_FALSE(text.picture);
  EXPECT_NE(text.error.number, 0);
  EXPECT_EQ(text.error.description.find("Error "), std::string::npos) << text.error.description;
  LoadedPicture missing = loader.Load(dir.File("missing.png"));
  EXPECT_FALSE(missing.picture);
  EXPECT_EQ(missing.error.number, ERROR_FILE_NOT_FOUND);
}

TEST_F(PictureLoadingTest, ThemeWithRealPicturesAndABrokenOne) {
  Write("top.bmp", BitmapFile(8, 6, MakeRgb(0, 128, 0), MakeRgb(0, 128, 0)));
  Write("top_mask.png", test::kRedPng);
  Write("broken.gif", "GIF89a but nothing else");
  const std::string sizes =
      "[PixelSize]\r\nFullWidth=240\r\nMiniWidth=150\r\nLastweekHeight=20\r\nNextweekHeight=20\r\n"
      "MonthWidth=80\r\nDayHeight=24\r\n[PictureFilename]\r\nLastweek=top.bmp\r\n"
      "Lastweek_Mask=top_mask.png\r\n";
  ThemeEnvironment environment{loader, 15};
  ThemeRecord current = DefaultTheme();
  ASSERT_EQ(sfLoadINIThemeFile(current, Write("good.ini", sizes), environment), "");
  EXPECT_TRUE(current.Lastweek.HasPicture && current.Lastweek.HasMask);
  EXPECT_EQ(current.Lastweek.Picture->Width(), 8);

  std::string error =
      sfLoadINIThemeFile(current, Write("bad.ini", sizes + "Body=broken.gif\r\n"), environment);
  EXPECT_TRUE(error.starts_with("sfLoadINIThemeFile\t")) << error;
  EXPECT_TRUE(error.ends_with("\n"));
  EXPECT_EQ(current.Lastweek.Picture->Width(), 8);  // the earlier theme is still in use
  EXPECT_FALSE(current.Body.HasPicture);
}

}  // namespace
}  // namespace orv
