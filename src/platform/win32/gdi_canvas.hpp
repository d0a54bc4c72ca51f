#pragma once
// The Canvas port on GDI: a 32-bit top-down DIB selected into a memory DC. Fonts come from
// FontSpec (an empty face means the default GUI font); pictures are Win32Pictures, which paint
// themselves into a DC (bitmaps, or OLE pictures such as icons handed over COM).
#include <windows.h>

#include <vector>

#include "platform/canvas.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

// A picture that knows how to paint itself into a device context.
class Win32Picture : public Picture {
public:
  // Paints into `dest` (stretched when sizes differ) combining as `op`; false on failure.
  virtual bool Render(HDC dc, const RECT& dest, RasterOp op) const = 0;
};

// The header of an uncompressed DIB whose rows are stored top row first; `height` is the
// number of rows (positive).
BITMAPINFOHEADER TopDownDibHeader(int width, int height, WORD bits_per_pixel);
// A DIB section of that layout, its pixels (all zero) at `bits`; a null handle when it cannot
// be made.
BitmapHandle MakeTopDownDib(int width, int height, WORD bits_per_pixel, void*& bits);

// The raster operation code GDI uses for `op`.
DWORD RopCode(RasterOp op);

// A picture held as a GDI bitmap the picture owns.
class BitmapPicture : public Win32Picture {
public:
  explicit BitmapPicture(BitmapHandle bitmap);
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  bool Render(HDC dc, const RECT& dest, RasterOp op) const override;
  HBITMAP bitmap() const { return bitmap_.get(); }

private:
  BitmapHandle bitmap_;
  int width_ = 0, height_ = 0;
};

class GdiCanvas : public Canvas {
public:
  // `bits_per_pixel` 32 (the default) or 24: a canvas that only ever holds opaque colours
  // can spend three bytes a pixel instead of four.
  GdiCanvas(int width, int height, int bits_per_pixel = 32);
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Resize(int width, int height) override;
  void SetBackColor(Rgb color) override { back_ = color; }
  void KeepAsBackground() override;
  void Clear() override;
  void SetDpi(int dpi) override { dpi_ = dpi; }
  void SetFont(const FontSpec& font) override;
  void SetTextColor(Rgb color) override;
  TextSize MeasureText(std::string_view text) override;
  void PrintText(int x, int y, std::string_view text) override;
  void FillRect(const PixelRect& rect, Rgb color) override;
  void FrameRect(const PixelRect& rect, Rgb color) override;
  void TilePicture(const Picture& picture, const PixelRect& dest) override;
  void DrawPicture(const Picture& picture, const PixelRect& dest, RasterOp op,
                   bool halftone = false) override;
  void CopyFrom(const Canvas& source, const PixelRect& from, const PixelRect& dest, bool halftone = false) override;
  Rgb SystemColorOf(SystemColor which) const override;

  // The memory DC holding the picture, for blitting it to a window.
  HDC dc() const { return dc_.get(); }
  // The colour of one pixel (0 outside the surface).
  Rgb PixelAt(int x, int y) const;

private:
  // `picture` scaled smoothly into `dest` with raster operation `op`, computed over the part of
  // it this surface shows; false when it could not be (the graphics system's own stretching
  // serves then).
  bool DrawSmoothed(const BitmapPicture& picture, const PixelRect& dest, RasterOp op);
  // The smoothing itself, into any device context of the given size: only the part of `dest`
  // inside it is computed.
  bool SmoothInto(HDC target, int target_width, int target_height, const BitmapPicture& picture,
                  const PixelRect& dest, RasterOp op) const;
  // A new surface of the given size filled with the back colour; nullptr when it cannot be made.
  BitmapHandle MakeSurface(int width, int height) const;
  void Fill(HDC dc, const RECT& rect, Rgb color) const;

  MemoryDc dc_;
  BitmapHandle bitmap_;
  SelectedObject bitmap_selection_;  // declared after the bitmap: deselected before it is freed
  FontHandle font_;
  SelectedObject font_selection_;
  BitmapHandle background_;  // the persistent background, or none
  // Small pictures smoothed whole, kept so that pictures drawn again and again at one size (a
  // theme's month picture and cash mark, in every day pass) are scaled once. Keyed by the
  // picture object; the copies are dropped whenever the surface is resized or keeps a new
  // background, which a full redraw (a new theme or scale) does before and after drawing.
  struct SmoothedCopy {
    const BitmapPicture* picture = nullptr;
    int width = 0, height = 0;
    BitmapHandle bitmap;
  };
  std::vector<SmoothedCopy> smoothed_;
  int width_ = 0, height_ = 0;
  int dpi_ = 0;  // 0: the screen's
  WORD bits_per_pixel_ = 32;
  Rgb back_ = MakeRgb(255, 255, 255);
};

}  // namespace orv
