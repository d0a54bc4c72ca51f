#include "platform/text_codec.hpp"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "platform/text_codec_platform.hpp"

namespace orv {
namespace {

// Code page 932 and UTF-8 agree on 0x00-0x7F, and most stored texts are plain ASCII.
bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The platform's code page 932 tables, read once character by character, so that texts are
// converted without a call into the platform per text (a schedule holds tens of thousands).
// Every character is what the platform gives for it alone; a text with anything the tables
// do not hold goes to the platform whole, so results never differ from the platform's.
class Cp932Tables {
public:
  static const Cp932Tables& Get() {
    static const std::unique_ptr<Cp932Tables> tables(new Cp932Tables());
    return *tables;
  }

  // Appends the UTF-8 form; false (and `out` as it was) when the text has a byte sequence the
  // tables lack. One pass finds the characters and the exact length, so the text gets one
  // heap block of its final size; the second writes it. A schedule holds tens of thousands.
  bool Decode(std::string_view cp932, std::string& out) const {
    std::size_t length = 0;
    if (!Walk(cp932, [&length](std::uint32_t cp) { length += cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3; }))
      return false;
    const std::size_t at = out.size();
    out.resize(at + length);
    char* p = out.data() + at;
    Walk(cp932, [&p](std::uint32_t cp) {
      if (cp < 0x80) {
        *p++ = static_cast<char>(cp);
      } else if (cp < 0x800) {
        *p++ = static_cast<char>(0xC0 | (cp >> 6));
        *p++ = static_cast<char>(0x80 | (cp & 0x3F));
      } else {
        *p++ = static_cast<char>(0xE0 | (cp >> 12));
        *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (cp & 0x3F));
      }
    });
    return true;
  }

  // Appends the code page 932 form; false for invalid UTF-8 or a character the tables lack.
  bool Encode(std::string_view utf8, std::string& out) const {
    for (std::size_t i = 0; i < utf8.size();) {
      const unsigned char b = static_cast<unsigned char>(utf8[i]);
      if (b < 0x80) {
        out += static_cast<char>(b);
        ++i;
        continue;
      }
      // Two- and three-byte forms (all that code page 932 can hold) read here; anything else
      // (invalid, or beyond U+FFFF) has no code in the table.
      std::uint32_t cp = 0;
      const std::size_t left = utf8.size() - i;
      auto trail = [&utf8, i](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]) ^ 0x80u; };
      if ((b & 0xE0) == 0xC0 && left >= 2 && trail(1) < 0x40) {
        cp = ((b & 0x1Fu) << 6) | trail(1);
        if (cp < 0x80) return false;
        i += 2;
      } else if ((b & 0xF0) == 0xE0 && left >= 3 && trail(1) < 0x40 && trail(2) < 0x40) {
        cp = ((b & 0x0Fu) << 12) | (trail(1) << 6) | trail(2);
        if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += 3;
      } else {
        return false;
      }
      const std::uint16_t code = encode_[cp];
      if (code == 0) return false;
      if (code > 0xFF) out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    }
    return true;
  }

private:
  // Calls `each` with the code point (all in the BMP) of every character; false at the first
  // byte sequence the tables lack.
  template <class Each>
  bool Walk(std::string_view cp932, Each each) const {
    for (std::size_t i = 0; i < cp932.size(); ++i) {
      const unsigned char b = static_cast<unsigned char>(cp932[i]);
      std::uint32_t cp = b;
      if (b >= 0x80) {
        cp = single_[b];
        if (cp == 0) {
          if (i + 1 >= cp932.size()) return false;
          cp = double_[(b << 8) | static_cast<unsigned char>(cp932[++i])];
          if (cp == 0) return false;
        }
      }
      each(cp);
    }
    return true;
  }

  Cp932Tables() {
    std::array<bool, 0x10000> shared{};  // code points more than one code decodes to
    auto note = [this, &shared](std::uint16_t code, std::uint32_t cp) {
      if (cp == 0 || cp > 0xFFFF) return false;
      if (encode_[cp] != 0) shared[cp] = true;
      encode_[cp] = code;
      return true;
    };
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      const std::string one(1, static_cast<char>(b));
      if (auto cp = OneCodePoint(PlatformCp932ToUtf8(one)); cp && note(static_cast<std::uint16_t>(b), *cp))
        single_[b] = static_cast<std::uint16_t>(*cp);
    }
    for (unsigned lead = 0x81; lead <= 0xFF; ++lead) {
      if (single_[lead] != 0) continue;
      // One call for the lead byte's whole row when every pair in it is a character, else
      // pair by pair.
      std::string row;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        row += static_cast<char>(lead);
        row += static_cast<char>(trail);
      }
      std::vector<std::uint32_t> cps;
      if (auto decoded = PlatformCp932ToUtf8(row)) {
        for (std::size_t i = 0; i < decoded->size();)
          if (auto cp = NextUtf8CodePoint(*decoded, i)) cps.push_back(*cp);
      }
      const bool whole_row = cps.size() == row.size() / 2 &&
                             std::all_of(cps.begin(), cps.end(), [](std::uint32_t cp) { return cp >= 0x80; });
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        const std::uint16_t code = static_cast<std::uint16_t>((lead << 8) | trail);
        std::optional<std::uint32_t> cp;
        if (whole_row) cp = cps[trail - 0x40];
        else cp = OneCodePoint(PlatformCp932ToUtf8(row.substr((trail - 0x40) * 2, 2)));
        if (cp && note(code, *cp)) double_[code] = static_cast<std::uint16_t>(*cp);
      }
    }
    // Where several codes decode to one character, the platform says which one it writes
    // (or that it writes none).
    for (std::uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
      if (!shared[cp]) continue;
      std::string utf8;
      AppendUtf8(utf8, cp);
      const auto bytes = PlatformUtf8ToCp932(utf8);
      encode_[cp] = 0;
      if (bytes && bytes->size() == 1) encode_[cp] = static_cast<unsigned char>((*bytes)[0]);
      if (bytes && bytes->size() == 2)
        encode_[cp] = static_cast<std::uint16_t>((static_cast<unsigned char>((*bytes)[0]) << 8) |
                                                 static_cast<unsigned char>((*bytes)[1]));
    }
  }

  // The one BMP code point of a decoded character, above U+007F.
  static std::optional<std::uint32_t> OneCodePoint(const std::optional<std::string>& utf8) {
    if (!utf8 || utf8->empty()) return std::nullopt;
    std::size_t i = 0;
    auto cp = NextUtf8CodePoint(*utf8, i);
    if (!cp || i != utf8->size() || *cp < 0x80 || *cp > 0xFFFF) return std::nullopt;
    return cp;
  }

  std::array<std::uint16_t, 0x100> single_{};     // byte -> code point, 0 = lead byte or none
  std::array<std::uint16_t, 0x10000> double_{};   // lead << 8 | trail -> code point, 0 = none
  std::array<std::uint16_t, 0x10000> encode_{};   // code point -> code, 0 = none
};

}  // namespace

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

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
  std::string out;
  if (!AppendUtf8AsCp932(utf8, out)) return std::nullopt;
  return out;
}

bool AppendUtf8AsCp932(std::string_view utf8, std::string& out) {
  if (IsAscii(utf8)) {
    out += utf8;
    return true;
  }
  const std::size_t size = out.size();
  if (Cp932Tables::Get().Encode(utf8, out)) return true;
  out.resize(size);
  auto converted = PlatformUtf8ToCp932(utf8);
  if (!converted) return false;
  out += *converted;
  return true;
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  if (!AppendCp932AsUtf8(cp932, out)) return std::nullopt;
  return out;
}

bool AppendCp932AsUtf8(std::string_view cp932, std::string& out) {
  if (IsAscii(cp932)) {
    out += cp932;
    return true;
  }
  if (Cp932Tables::Get().Decode(cp932, out)) return true;
  auto converted = PlatformCp932ToUtf8(cp932);
  if (!converted) return false;
  out += *converted;
  return true;
}

std::string Cp932ToUtf8Lenient(std::string_view cp932) {
  if (auto whole = Cp932ToUtf8(cp932)) return std::move(*whole);
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
