#pragma once
// A font that exists only as bitmaps, written as a Windows font file (the raster FNT format,
// version 2): 8 x 16 cells, every printable ASCII character a filled bar. The system can
// draw it but never turn it.
#include <cstring>
#include <string>

namespace orv::test {

inline std::string BitmapFontFile(const char* face) {
  constexpr int kFirst = 32, kLast = 126, kCount = kLast - kFirst + 1, kWidth = 8, kHeight = 16;
  constexpr std::size_t kHeader = 118, kTable = (kCount + 1) * 4;  // + the sentinel entry
  constexpr std::size_t kBits = kHeader + kTable;
  const std::size_t face_at = kBits + (kCount + 1) * kHeight;
  std::string bytes(face_at + std::strlen(face) + 1, '\0');
  auto put = [&](std::size_t at, unsigned value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(0, 0x200, 2);                              // version
  put(2, static_cast<unsigned>(bytes.size()), 4);  // file size
  put(68, 12, 2);                                // points
  put(70, 96, 2);                                // vertical and horizontal resolution
  put(72, 96, 2);
  put(74, 13, 2);                                // ascent
  put(83, 400, 2);                               // weight
  put(86, kWidth, 2);                            // fixed width
  put(88, kHeight, 2);
  bytes[90] = 0x30;                              // fixed pitch, modern family
  put(91, kWidth, 2);                            // average and widest character
  put(93, kWidth, 2);
  bytes[95] = static_cast<char>(kFirst);
  bytes[96] = static_cast<char>(kLast);
  put(99, 1, 2);                                 // bytes per row of a cell
  put(105, static_cast<unsigned>(face_at), 4);
  put(113, static_cast<unsigned>(kBits), 4);
  for (int i = 0; i <= kCount; ++i) {
    put(kHeader + i * 4, kWidth, 2);
    put(kHeader + i * 4 + 2, static_cast<unsigned>(kBits + i * kHeight), 2);
  }
  for (int i = 1; i < kCount; ++i)  // the space (i = 0) stays empty
    for (int row = 2; row < 14; ++row) bytes[kBits + i * kHeight + row] = 0x7E;
  std::memcpy(&bytes[face_at], face, std::strlen(face));
  return bytes;
}

}  // namespace orv::test
