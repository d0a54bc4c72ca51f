#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/picture_loader.hpp"

namespace orv {
namespace {

struct Size {
  int width = 0, height = 0;
};

class Bytes {
public:
  explicit Bytes(std::string_view s) : s_(s) {}
  bool Has(std::size_t end) const { return end <= s_.size(); }
  unsigned At(std::size_t i) const { return static_cast<unsigned char>(s_[i]); }
  unsigned Le16(std::size_t i) const { return At(i) | At(i + 1) << 8; }
  unsigned Be16(std::size_t i) const { return At(i) << 8 | At(i + 1); }
  std::uint32_t Le32(std::size_t i) const { return Le16(i) | std::uint32_t{Le16(i + 2)} << 16; }
  std::uint32_t Be32(std::size_t i) const { return std::uint32_t{Be16(i)} << 16 | Be16(i + 2); }
  bool StartsWith(std::string_view prefix) const { return s_.substr(0, prefix.size()) == prefix; }
  std::size_t size() const { return s_.size(); }

private:
  std::string_view s_;
};

std::optional<Size> Valid(long long width, long long height) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return std::nullopt;
  return Size{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<Size> BitmapSize(const Bytes& b) {
  if (!b.StartsWith("BM") || !b.Has(26)) return std::nullopt;
  std::uint32_t header = b.Le32(14);
  if (header == 12) return Valid(b.Le16(18), b.Le16(20));
  if (header < 40 || !b.Has(26)) return std::nullopt;
  auto height = static_cast<std::int32_t>(b.Le32(22));  // negative: stored top-down
  return Valid(static_cast<std::int32_t>(b.Le32(18)), std::llabs(height));
}

std::optional<Size> PngSize(const Bytes& b) {
  if (!b.StartsWith("\x89PNG\r\n\x1A\n") || !b.Has(24)) return std::nullopt;
  return Valid(b.Be32(16), b.Be32(20));
}

std::optional<Size> GifSize(const Bytes& b) {
  if (!(b.StartsWith("GIF87a") || b.StartsWith("GIF89a")) || !b.Has(10)) return std::nullopt;
  return Valid(b.Le16(6), b.Le16(8));
}

std::optional<Size> IconSize(const Bytes& b) {
  if (!b.StartsWith(std::string_view("\0\0\1\0", 4)) || !b.Has(22) || b.Le16(4) == 0)
    return std::nullopt;
  return Valid(b.At(6) ? b.At(6) : 256, b.At(7) ? b.At(7) : 256);
}

std::optional<Size> JpegSize(const Bytes& b) {
  if (!b.StartsWith("\xFF\xD8")) return std::nullopt;
  for (std::size_t i = 2; b.Has(i + 4);) {
    if (b.At(i) != 0xFF) return std::nullopt;
    unsigned marker = b.At(i + 1);
    if (marker == 0xFF) {
      ++i;
      continue;
    }
    // Start of frame markers (all but the huffman, arithmetic and JPEG-LS tables) carry the size.
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (!b.Has(i + 9)) return std::nullopt;
      return Valid(b.Be16(i + 7), b.Be16(i + 5));
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // end or scan before a frame
    i += 2 + b.Be16(i + 2);
  }
  return std::nullopt;
}

}  // namespace

LoadedPicture PictureHeaderLoader::Load(const std::string& path) {
  std::string content;
  if (SystemError error = ReadWholeFile(path, content)) return {nullptr, error};
  Bytes b(content);
  for (auto reader : {BitmapSize, PngSize, GifSize, IconSize, JpegSize}) {
    if (auto size = reader(b)) return {std::make_shared<SizeOnlyPicture>(size->width, size->height), {}};
  }
  return {nullptr, {EINVAL, "The file is not a picture (BMP, PNG, JPEG, GIF or ICO)"}};
}

}  // namespace orv
