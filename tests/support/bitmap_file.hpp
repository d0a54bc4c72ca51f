#pragma once
// BMP files written byte by byte for the picture tests: any uncompressed bit depth, either row
// order, and the header fields a loader must check, so odd and broken files are easy to make.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv::test {

struct BitmapFileSpec {
  int width = 1;
  int height = 1;
  int bits = 24;
  bool top_down = false;
  std::uint32_t header_size = 40;     // 40, or a later header kind (108, 124)
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, for 1, 4 and 8 bits
  std::uint32_t colors_used = 0;      // as written in the header
  std::uint32_t compression = 0;
};

// `pixel(x, y)`, with y = 0 the top row, gives a palette index or, for 16 bits and more, the
// pixel's value (0x00RRGGBB for 24 and 32 bits).
inline std::string BitmapFile(const BitmapFileSpec& spec, const std::function<std::uint32_t(int x, int y)>& pixel) {
  const int stride = (spec.width * spec.bits + 31) / 32 * 4;
  std::string rows;
  for (int r = 0; r < spec.height; ++r) {
    const int y = spec.top_down ? r : spec.height - 1 - r;
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < spec.width; ++x) {
      const std::uint32_t v = pixel(x, y);
      if (spec.bits >= 16) {  // little-endian, as many bytes as a pixel takes
        const int bytes = spec.bits / 8;
        for (int k = 0; k < bytes; ++k)
          row[static_cast<std::size_t>(x * bytes + k)] = static_cast<char>((v >> (8 * k)) & 0xFF);
      } else {
        const int bit = x * spec.bits;
        const int shift = 8 - spec.bits - bit % 8;  // the leftmost pixel in the high bits
        row[static_cast<std::size_t>(bit / 8)] = static_cast<char>(
            static_cast<unsigned char>(row[static_cast<std::size_t>(bit / 8)]) | (v << shift));
      }
    }
    rows += row;
  }
  std::string b;
  auto u16 = [&b](unsigned v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&u16](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  const auto offset = static_cast<std::uint32_t>(14 + spec.header_size + spec.palette.size() * 4);
  b += "BM";
  u32(offset + static_cast<std::uint32_t>(rows.size()));
  u32(0);
  u32(offset);
  u32(spec.header_size);
  u32(static_cast<std::uint32_t>(spec.width));
  u32(static_cast<std::uint32_t>(spec.top_down ? -spec.height : spec.height));
  u16(1);
  u16(static_cast<unsigned>(spec.bits));
  u32(spec.compression);
  u32(static_cast<std::uint32_t>(rows.size()));
  u32(2835);  // 72 dots an inch
  u32(2835);
  u32(spec.colors_used);
  u32(0);
  b.append(spec.header_size - 40, '\0');  // masks and colour space of the later kinds: unused
  for (std::uint32_t c : spec.palette) u32(c);
  return b + rows;
}

}  // namespace orv::test
