#include "platform/text_codec.hpp"

#include <algorithm>

#include "platform/text_codec_platform.hpp"

namespace orv {
namespace {

// Code page 932 and UTF-8 agree on 0x00-0x7F, and most stored texts are plain ASCII.
bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<std::uint32_t> NextUtf8CodePoint(std::string_view s, std::size_t& i) {
  auto byte = [&s](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  std::size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                  : (lead >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || i + len > s.size()) {
    ++i;
    return std::nullopt;
  }
  std::uint32_t cp = len == 1 ? lead : lead & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return std::nullopt;
    }
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return std::nullopt;
  }
  i += len;
  return cp;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();)
    if (!NextUtf8CodePoint(text, i)) return false;
  return true;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return PlatformUtf8ToCp932(utf8);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  return PlatformCp932ToUtf8(cp932);
}

std::string Cp932ToUtf8Lenient(std::string_view cp932) {
  if (auto whole = Cp932ToUtf8(cp932)) return *whole;
  // Slow path, only for damaged text: decode one character at a time.
  std::string out;
  std::size_t i = 0;
  while (i < cp932.size()) {
    std::size_t taken = 0;
    for (std::size_t len : {std::size_t{1}, std::size_t{2}}) {
      if (i + len > cp932.size()) break;
      if (auto piece = Cp932ToUtf8(cp932.substr(i, len))) {
        out += *piece;
        taken = len;
        break;
      }
    }
    if (taken == 0) {
      out += "\xE3\x83\xBB";  // U+30FB KATAKANA MIDDLE DOT
      taken = 1;
    }
    i += taken;
  }
  return out;
}

}  // namespace orv
