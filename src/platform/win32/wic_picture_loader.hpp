#pragma once
// The loader that decodes picture files with the system's imaging codecs (BMP, PNG, JPEG,
// GIF, ICO, TIFF and whatever else is installed) into BitmapPictures: 32-bit top-down DIB
// sections, blue-green-red-alpha with the colour premultiplied by the alpha, so a fully
// transparent pixel is black and plain copies and masks (SRCERASE then SRCINVERT) both draw
// it correctly.
#include <windows.h>

#include <memory>

#include "platform/picture_loader.hpp"
#include "platform/win32/gdi_canvas.hpp"

namespace orv {

// Decodes the first frame of a picture file. A file that is not a picture, or a missing
// one, fails with the system's error number and description. Safe to call whether or not
// the calling thread has initialised COM. Uncompressed BMP files are copied by GDI alone, with
// the same result, so a program whose pictures are all such files never loads the codecs.
class WicPictureLoader : public PictureLoader {
public:
  LoadedPicture Load(const std::string& path) override;
  // Always through the codecs.
  LoadedPicture LoadWithCodecs(const std::string& path);
};

// An uncompressed BMP file (FindPlainBitmap) copied by GDI, which converts each of its pixel
// formats: the codecs, and the libraries they bring into the process, are not needed for the
// most common theme and wallpaper files. Null when the file is not such a bitmap or GDI cannot
// copy it.
std::shared_ptr<BitmapPicture> LoadPlainBitmap(const std::string& path);

}  // namespace orv
