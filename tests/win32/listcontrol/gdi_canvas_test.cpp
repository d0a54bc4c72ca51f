#include "platform/win32/gdi_canvas.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kRed = MakeRgb(255, 0, 0);
constexpr Rgb kBlue = MakeRgb(0, 0, 255);

std::shared_ptr<BitmapPicture> SolidPicture(int w, int h, Rgb color) {
  GdiCanvas source(w, h);
  source.FillRect({0, 0, w, h}, color);
  HDC screen = GetDC(nullptr);
  BitmapHandle bitmap(CreateCompatibleBitmap(source.dc(), w, h));
  ReleaseDC(nullptr, screen);
  MemoryDc dc(CreateCompatibleDC(source.dc()));
  {
    SelectedObject selection(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, w, h, source.dc(), 0, 0, SRCCOPY);
  }
  return std::make_shared<BitmapPicture>(std::move(bitmap));
}

// A picture whose every pixel differs: (x, y) has red 40 x + 1, green 100 y + 1.
std::shared_ptr<BitmapPicture> PatternPicture(int w, int h) {
  GdiCanvas source(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) source.FillRect({x, y, x + 1, y + 1}, MakeRgb(40 * x + 1, 100 * y + 1, 7));
  BitmapHandle bitmap(CreateCompatibleBitmap(source.dc(), w, h));
  MemoryDc dc(CreateCompatibleDC(source.dc()));
  {
    SelectedObject selection(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, w, h, source.dc(), 0, 0, SRCCOPY);
  }
  return std::make_shared<BitmapPicture>(std::move(bitmap));
}

// Tiles start at the destination's top-left (also off the surface) and stop at its edges,
// whether drawn copy by copy (a few) or as one fill (many: a tiny wallpaper on a big screen).
TEST(GdiCanvas, TilesAPictureFromTheDestinationsCornerOneByOneOrAsOneFill) {
  const auto picture = PatternPicture(3, 2);
  for (const PixelRect dest : {PixelRect{5, 5, 11, 9}, PixelRect{-4, -1, 37, 29}}) {
    SCOPED_TRACE(dest.left);
    GdiCanvas canvas(40, 30);
    canvas.FillRect({0, 0, 40, 30}, kWhite);
    canvas.TilePicture(*picture, dest);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool inside = x >= dest.left && x < dest.right && y >= dest.top && y < dest.bottom;
        const int px = (x - dest.left) % 3, py = (y - dest.top) % 2;
        ASSERT_EQ(canvas.PixelAt(x, y), inside ? MakeRgb(40 * px + 1, 100 * py + 1, 7) : kWhite) << x << "," << y;
      }
  }
}

TEST(GdiCanvas, FillsFramesAndClearsToTheBackColour) {
  GdiCanvas canvas(40, 30);
  EXPECT_EQ(canvas.PixelAt(5, 5), kWhite);
  canvas.FillRect({2, 2, 10, 10}, kRed);
  EXPECT_EQ(canvas.PixelAt(2, 2), kRed);
  EXPECT_EQ(canvas.PixelAt(9, 9), kRed);
  EXPECT_EQ(canvas.PixelAt(10, 10), kWhite);  // right and bottom are exclusive
  canvas.FrameRect({20, 5, 30, 15}, kBlue);
  EXPECT_EQ(canvas.PixelAt(20, 5), kBlue);
  EXPECT_EQ(canvas.PixelAt(29, 14), kBlue);
  EXPECT_EQ(canvas.PixelAt(25, 10), kWhite);
  canvas.Clear();
  EXPECT_EQ(canvas.PixelAt(2, 2), kWhite);
}

TEST(GdiCanvas, ResizeKeepsTheOverlapAndClearBringsBackTheKeptBackground) {
  GdiCanvas canvas(20, 20);
  canvas.FillRect({0, 0, 20, 20}, kRed);
  canvas.Resize(30, 40);
  EXPECT_EQ(canvas.PixelAt(19, 19), kRed);
  EXPECT_EQ(canvas.PixelAt(25, 35), kWhite);
  canvas.KeepAsBackground();
  canvas.FillRect({0, 0, 30, 40}, kBlue);
  canvas.Clear();
  EXPECT_EQ(canvas.PixelAt(5, 5), kRed);
  EXPECT_EQ(canvas.PixelAt(25, 35), kWhite);
}

TEST(GdiCanvas, MeasuresAndDrawsTextInTheTextColour) {
  GdiCanvas canvas(200, 40);
  const TextSize one = canvas.MeasureText("M");
  const TextSize many = canvas.MeasureText("MMMM");
  EXPECT_GT(one.width, 0);
  EXPECT_GT(one.height, 0);
  EXPECT_GT(many.width, 3 * one.width - 1);
  canvas.SetFont(FontSpec{"Arial", 12, true});
  EXPECT_GT(canvas.MeasureText("MMMM").height, 0);
  canvas.SetTextColor(kRed);
  canvas.PrintText(2, 2, "MMMM");
  int red = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) red += canvas.PixelAt(x, y) == kRed;
  EXPECT_GT(red, 10);
}

TEST(GdiCanvas, PaintsPicturesWithEachRasterOperationAndCopiesBetweenCanvases) {
  GdiCanvas canvas(20, 20);
  auto red = SolidPicture(4, 4, kRed);
  canvas.DrawPicture(*red, {0, 0, 4, 4}, RasterOp::Copy);
  EXPECT_EQ(canvas.PixelAt(3, 3), kRed);
  canvas.DrawPicture(*red, {0, 0, 4, 4}, RasterOp::Invert);  // red XOR red
  EXPECT_EQ(canvas.PixelAt(3, 3), MakeRgb(0, 0, 0));
  canvas.DrawPicture(*red, {10, 10, 18, 18}, RasterOp::Copy);  // stretched
  EXPECT_EQ(canvas.PixelAt(17, 17), kRed);

  GdiCanvas target(40, 40);
  target.CopyFrom(canvas, {10, 10, 18, 18}, {0, 0, 8, 8});
  EXPECT_EQ(target.PixelAt(7, 7), kRed);
  target.CopyFrom(canvas, {10, 10, 18, 18}, {20, 20, 36, 36}, true);
  EXPECT_EQ(target.PixelAt(28, 28), kRed);
}

// The screen-sized wallpaper copy is kept at three bytes a pixel; what it holds, and what a
// four-byte canvas copies out of it, must be exactly what a four-byte copy would give.
TEST(GdiCanvas, AThreeBytePixelCanvasHoldsTheSameColoursAsAFourByteOne) {
  // A picture of many colours, stretched with halftone (the stretched wallpaper) and copied.
  GdiCanvas source(16, 16);
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y)
      source.FillRect({x, y, x + 1, y + 1}, MakeRgb(x * 17, y * 16, (x * y) % 256));
  HDC screen = GetDC(nullptr);
  BitmapHandle bitmap(CreateCompatibleBitmap(screen, 16, 16));
  ReleaseDC(nullptr, screen);
  {
    MemoryDc dc(CreateCompatibleDC(source.dc()));
    SelectedObject selection(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, 16, 16, source.dc(), 0, 0, SRCCOPY);
  }
  const BitmapPicture picture(std::move(bitmap));
  GdiCanvas four(50, 40);
  GdiCanvas three(50, 40, 24);
  for (Canvas* image : {static_cast<Canvas*>(&four), static_cast<Canvas*>(&three)}) {
    image->SetBackColor(MakeRgb(58, 110, 165));
    image->Resize(60, 45);
    image->FillRect({0, 0, 60, 45}, MakeRgb(58, 110, 165));
    image->DrawPicture(picture, {5, 5, 45, 37}, RasterOp::Copy, true);
    image->DrawPicture(picture, {44, 20, 60, 36}, RasterOp::Copy);
  }
  GdiCanvas from_four(30, 45), from_three(30, 45);
  from_four.CopyFrom(four, {30, 0, 60, 45}, {0, 0, 30, 45});
  from_three.CopyFrom(three, {30, 0, 60, 45}, {0, 0, 30, 45});
  int differences = 0;
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 45; ++y) differences += four.PixelAt(x, y) != three.PixelAt(x, y);
  for (int x = 0; x < 30; ++x)
    for (int y = 0; y < 45; ++y) differences += from_four.PixelAt(x, y) != from_three.PixelAt(x, y);
  EXPECT_EQ(differences, 0);
  EXPECT_EQ(three.PixelAt(59, 44), MakeRgb(58, 110, 165));  // grown and filled like the other
  EXPECT_EQ(three.PixelAt(44 + 15, 20 + 15), MakeRgb(255, 240, 225));
}

}  // namespace
}  // namespace orv
