#pragma once
// Loading pictures from files. The Windows adapter decodes bitmaps, icons, JPEG, GIF and
// PNG with the system's codecs; PictureHeaderLoader reads only the size from the header,
// for the portable build's tools; tests use fakes that hand out SyntheticPicture.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/canvas.hpp"
#include "platform/file_system.hpp"

namespace orv {

struct LoadedPicture {
  std::shared_ptr<const Picture> picture;  // null on failure
  SystemError error;                       // the system's number and text on failure
};

class PictureLoader {
public:
  virtual ~PictureLoader() = default;
  virtual LoadedPicture Load(const std::string& path) = 0;
};

// A picture known only by its size: what PictureHeaderLoader makes.
class SizeOnlyPicture : public Picture {
public:
  SizeOnlyPicture(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }

private:
  int width_, height_;
};

// Recognises BMP, PNG, GIF, JPEG and ICO files by their headers and reads their size;
// anything else fails with an error. It decodes no pixels.
class PictureHeaderLoader : public PictureLoader {
public:
  LoadedPicture Load(const std::string& path) override;
};

// Where the parts of a BMP file lie when its pixels can be copied as they are, without the
// imaging codecs: an uncompressed picture of 1, 4, 8 or 24 bits a pixel, with an information
// header of 40 bytes or a later, longer kind, its palette and every row inside the file. Files
// that are compressed, use bit fields, or have 16 or 32 bits a pixel (where an alpha channel
// may be meant) are left to the codecs.
struct PlainBitmapLayout {
  int width = 0;
  int height = 0;  // negative: the rows are stored top row first
  int bits_per_pixel = 0;
  std::size_t palette_offset = 0;  // blue-green-red-reserved quads
  int palette_count = 0;
  std::size_t bits_offset = 0;
};
std::optional<PlainBitmapLayout> FindPlainBitmap(std::string_view file);

}  // namespace orv
