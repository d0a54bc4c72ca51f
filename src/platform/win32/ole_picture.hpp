#pragma once
// An OLE picture (IPicture: bitmaps, icons, metafiles) as a Win32Picture, so pictures handed
// over COM, such as a host's icons, paint through the canvas. Icons keep their transparency.
#include <ocidl.h>
#include <olectl.h>

#include "platform/win32/gdi_canvas.hpp"

namespace orv {

class OlePicture : public Win32Picture {
public:
  // Holds its own reference to `picture`.
  explicit OlePicture(IPicture* picture);
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  bool Render(HDC dc, const RECT& dest, RasterOp op) const override;
  IPicture* picture() const { return picture_.get(); }

private:
  ComPtr<IPicture> picture_;
  int width_ = 0, height_ = 0;  // pixels at the screen's resolution
  OLE_XSIZE_HIMETRIC himetric_width_ = 0;
  OLE_YSIZE_HIMETRIC himetric_height_ = 0;
};

}  // namespace orv
