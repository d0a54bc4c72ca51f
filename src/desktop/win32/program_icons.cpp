#include "desktop/win32/program_icons.hpp"

#include <array>
#include <cstring>
#include <vector>
#include <string>
#include <string_view>

#include "platform/win32/gdi_canvas.hpp"

namespace orv {
namespace {

// Cursor art, 32 columns each: '#' black, '.' white, ' ' transparent.
using Art = std::array<std::string_view, 32>;

constexpr Art kArrowUp = {
    "               #                ", "              #.#               ", "             #...#              ",
    "            #.....#             ", "           #.......#            ", "          #.........#           ",
    "         #...........#          ", "        #######.#######         ", "              #.#               ",
    "              #.#               ", "              #.#               ", "              #.#               ",
    "              #.#               ", "              #.#               ", "              #.#               ",
    "              ###               ", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""};

constexpr Art kPointer = {
    "#                               ", "##                              ", "#.#                             ",
    "#..#                            ", "#...#                           ", "#....#                          ",
    "#.....#                         ", "#......#                        ", "#.......#                       ",
    "#........#                      ", "#.....#####                     ", "#..#..#                         ",
    "#.# #..#                        ", "##  #..#                        ", "#    #..#                       ",
    "     #..#                       ", "      ##                        ", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", ""};

constexpr Art kNarrow = {
    "", "", "", "", "", "", "", "", "",
    "          #          ##         ", "          ##         ##         ", "          #.#        ##         ",
    "          #..#       ##         ", "          #...#      ##         ", "          #....#     ##         ",
    "          #.....#    ##         ", "          #......#   ##         ", "          #.....#    ##         ",
    "          #....#     ##         ", "          #...#      ##         ", "          #..#       ##         ",
    "          #.#        ##         ", "          ##         ##         ", "          #          ##         ",
    "", "", "", "", "", "", "", ""};

using Rows = std::array<std::string, 32>;

Rows ToRows(const Art& art) {
  Rows rows;
  for (std::size_t y = 0; y < 32; ++y) {
    rows[y] = std::string(art[y]);
    rows[y].resize(32, ' ');
  }
  return rows;
}

// Turned upside down (vertical) or left to right (horizontal).
Rows Mirror(const Art& art, bool horizontal) {
  Rows rows = ToRows(art);
  Rows out;
  for (std::size_t y = 0; y < 32; ++y)
    out[y] = horizontal ? std::string(rows[y].rbegin(), rows[y].rend()) : rows[31 - y];
  return out;
}

CursorHandle FromArt(const Rows& art, int hot_x, int hot_y) {
  std::array<BYTE, 128> and_mask{}, xor_mask{};
  for (std::size_t y = 0; y < 32; ++y) {
    for (std::size_t x = 0; x < 32; ++x) {
      const char c = art[y][x];
      const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
      const std::size_t i = y * 4 + x / 8;
      if (c == ' ') and_mask[i] |= bit;            // screen shows through
      else if (c == '.') xor_mask[i] |= bit;       // white
    }
  }
  return CursorHandle(CreateCursor(GetModuleHandleW(nullptr), hot_x, hot_y, 32, 32, and_mask.data(),
                                   xor_mask.data()));
}

}  // namespace

CursorHandle MakeCursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::ArrowUp: return FromArt(ToRows(kArrowUp), 15, 0);
    case CursorShape::ArrowDown: return FromArt(Mirror(kArrowUp, false), 15, 31);
    case CursorShape::Pointer: return FromArt(ToRows(kPointer), 0, 0);
    case CursorShape::NarrowBar: return FromArt(ToRows(kNarrow), 16, 16);
    case CursorShape::WidenBar: return FromArt(Mirror(kNarrow, true), 16, 16);
  }
  return {};
}

IconHandle MakeTrayIcon(bool few_colors, int pixels) { return IconFromImage(DrawTrayIcon(pixels, few_colors)); }

IconHandle IconFromImage(const IconImage& image) {
  if (image.Empty()) return {};
  void* bits = nullptr;
  BitmapHandle color = MakeTopDownDib(image.width, image.height, 32, bits);  // top-down, as the image's rows
  if (!color) return {};
  std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof image.pixels[0]);
  GdiFlush();
  // Monochrome mask rows are padded to 16 bits; a set bit lets the screen show through.
  const int stride = (image.width + 15) / 16 * 2;
  std::vector<BYTE> mask_bits(static_cast<std::size_t>(stride) * image.height, 0);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (AlphaOf(image.At(x, y)) == 0)
        mask_bits[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
  BitmapHandle mask(CreateBitmap(image.width, image.height, 1, 1, mask_bits.data()));
  if (!mask) return {};
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmColor = color.get();
  icon.hbmMask = mask.get();
  return IconHandle(CreateIconIndirect(&icon));  // copies the bitmaps
}

}  // namespace orv
