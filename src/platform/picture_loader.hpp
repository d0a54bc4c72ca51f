#pragma once
// Loading pictures from files. The Windows adapter decodes bitmaps, icons, JPEG, GIF and
// PNG with the system's codecs; PictureHeaderLoader reads only the size from the header,
// for the portable build's tools; tests use fakes that hand out SyntheticPicture.
#include <memory>
#include <string>

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

}  // namespace orv
