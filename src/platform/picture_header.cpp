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
  if (header < 40) return std::nullopt;
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

std::optional<PlainBitmapLayout> FindPlainBitmap(std::string_view file) {
  const Bytes b(file);
  constexpr std::size_t kInfo = 14;  // the file header's length
  if (!b.StartsWith("BM") || !b.Has(kInfo + 40)) return std::nullopt;
  const std::uint32_t header = b.Le32(kInfo);
  // The information header and its later kinds (V2, V3, V4, V5), whose first 40 bytes agree.
  if (header != 40 && header != 52 && header != 56 && header != 108 && header != 124) return std::nullopt;
  if (!b.Has(kInfo + header)) return std::nullopt;
  PlainBitmapLayout layout;
  const auto width = static_cast<std::int32_t>(b.Le32(kInfo + 4));
  const auto height = static_cast<std::int32_t>(b.Le32(kInfo + 8));
  const unsigned planes = b.Le16(kInfo + 12);
  layout.bits_per_pixel = static_cast<int>(b.Le16(kInfo + 14));
  const std::uint32_t compression = b.Le32(kInfo + 16);
  const std::uint32_t colors_used = b.Le32(kInfo + 32);
  // The same bounds the codecs' path keeps: each side below 32768, four bytes a pixel in 2 GiB.
  if (width <= 0 || height == 0 || height == INT32_MIN || width > 32767 || std::abs(height) > 32767) return std::nullopt;
  if (std::uint64_t{static_cast<std::uint32_t>(width)} * static_cast<std::uint32_t>(std::abs(height)) * 4 > 0x7FFFFFFF)
    return std::nullopt;
  if (planes != 1 || compression != 0) return std::nullopt;
  const int bits = layout.bits_per_pixel;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
  layout.width = width;
  layout.height = height;
  layout.palette_offset = kInfo + header;
  if (bits <= 8) {
    const std::uint32_t full = 1u << bits;
    if (colors_used > full) return std::nullopt;
    layout.palette_count = static_cast<int>(colors_used ? colors_used : full);
  }
  const std::size_t palette_end = layout.palette_offset + static_cast<std::size_t>(layout.palette_count) * 4;
  layout.bits_offset = b.Le32(10);
  const std::uint64_t stride = (std::uint64_t{static_cast<std::uint32_t>(width)} * static_cast<unsigned>(bits) + 31) / 32 * 4;
  const std::uint64_t rows = static_cast<std::uint32_t>(std::abs(height));
  if (layout.bits_offset < palette_end || layout.bits_offset + stride * rows > b.size()) return std::nullopt;
  return layout;
}

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
