#pragma once
// Pictures on Windows: a 32-bit top-down DIB section that a GDI canvas can select into a
// memory DC and blit, and the loader that decodes files into it with the system's imaging
// codecs (BMP, PNG, JPEG, GIF, ICO, TIFF and whatever else is installed).
#include <windows.h>

#include "platform/picture_loader.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

class Win32Picture : public Picture {
public:
  // Takes ownership of `bitmap`, a DIB section of `width` x `height` pixels.
  Win32Picture(GdiBitmap bitmap, int width, int height)
      : bitmap_(std::move(bitmap)), width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // 32 bits a pixel, blue-green-red-alpha with the colour premultiplied by the alpha, so a
  // fully transparent pixel is black: plain copies, masks (SRCERASE then SRCINVERT) and
  // AlphaBlend all draw it correctly. Owned by the picture; do not delete.
  HBITMAP Bitmap() const { return bitmap_.get(); }

private:
  GdiBitmap bitmap_;
  int width_, height_;
};

// Decodes the first frame of a picture file. A file that is not a picture, or a missing
// one, fails with the system's error number and description. Safe to call whether or not
// the calling thread has initialised COM.
class WicPictureLoader : public PictureLoader {
public:
  LoadedPicture Load(const std::string& path) override;
};

}  // namespace orv
