// Loading pictures with the system's codecs, and a theme file with real pictures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/win32/wic_picture_loader.hpp"
#include "theme/theme.hpp"
#include "../../support/picture_fixtures.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

// A 24-bit bottom-up bitmap file, written byte by byte: `width` x `height` pixels of
// `color`, with the top-left pixel `corner`.
std::string BitmapFile(int width, int height, Rgb color, Rgb corner) {
  const int stride = (width * 3 + 3) & ~3;
  const std::uint32_t image = static_cast<std::uint32_t>(stride * height);
  std::string b;
  auto u16 = [&b](unsigned v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&u16](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  b += "BM";
  u32(54 + image);
  u32(0);
  u32(54);
  u32(40);
  u32(static_cast<std::uint32_t>(width));
  u32(static_cast<std::uint32_t>(height));
  u16(1);
  u16(24);
  for (int i = 0; i < 6; ++i) u32(0);
  for (int row = height - 1; row >= 0; --row) {  // bottom row first
    for (int x = 0; x < width; ++x) {
      Rgb c = (row == 0 && x == 0) ? corner : color;
      b += static_cast<char>(BlueOf(c));
      b += static_cast<char>(GreenOf(c));
      b += static_cast<char>(RedOf(c));
    }
    b.append(static_cast<std::size_t>(stride - width * 3), '\0');
  }
  return b;
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
