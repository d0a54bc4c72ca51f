// These vectors run in both builds: against iconv natively and against the system's code
// page 932 tables under Wine, so both codecs must give the same bytes.
#include "platform/text_codec.hpp"

#include "platform/text_codec_platform.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct Vector {
  const char* utf8;
  const char* cp932;
};

const Vector kVectors[] = {
    {"", ""},
    {"ABC", "ABC"},
    {"\\~", "\\~"},
    {"日本", "\x93\xfa\x96\x7b"},
    {"ｱｲｳ", "\xb1\xb2\xb3"},                  // half-width katakana: one byte each
    {"表", "\x95\x5c"},                        // trail byte 0x5C
    {"￥", "\x81\x8f"},                        // full-width yen sign
    {"～", "\x81\x60"},                        // U+FF5E full-width tilde
    {"①", "\x87\x40"},                         // NEC special row
    {"髙", "\xfb\xfc"},                        // IBM extension
    {"給料（振込）", "\x8b\x8b\x97\xbf\x81\x69\x90\x55\x8d\x9e\x81\x6a"},
};

TEST(TextCodec, ConvertsBothWaysWithTheWindowsJapaneseTables) {
  for (const auto& v : kVectors) {
    EXPECT_EQ(Utf8ToCp932(v.utf8), std::string(v.cp932)) << v.utf8;
    EXPECT_EQ(Cp932ToUtf8(v.cp932), std::string(v.utf8)) << v.utf8;
  }
}

TEST(TextCodec, RefusesCharactersCodePage932CannotHold) {
  EXPECT_EQ(Utf8ToCp932("😀"), std::nullopt);
  EXPECT_EQ(Utf8ToCp932("é"), std::nullopt);  // no best-fit "e"
  EXPECT_EQ(Utf8ToCp932("한"), std::nullopt);
  // Pasted from the web, they look like characters the tables hold (U+FF5E, U+FF0D) but
  // would come back as those: the Windows tables have no form for them.
  EXPECT_EQ(Utf8ToCp932("〜"), std::nullopt);  // U+301C wave dash
  EXPECT_EQ(Utf8ToCp932("−"), std::nullopt);   // U+2212 minus sign
  EXPECT_EQ(Utf8ToCp932("A\xff"), std::nullopt);  // not UTF-8
}

TEST(TextCodec, StrictDecodingRefusesBrokenBytesAndLenientDecodingKeepsTheRest) {
  EXPECT_EQ(Cp932ToUtf8("\x93"), std::nullopt);   // lead byte without its trail
  EXPECT_EQ(Cp932ToUtf8("\x93\x20"), std::nullopt);
  EXPECT_EQ(Cp932ToUtf8Lenient("A\x93"), "A・");
  EXPECT_EQ(Cp932ToUtf8Lenient("\x93\xfa\x93"), "日・");
  EXPECT_EQ(Cp932ToUtf8Lenient("\x93 B"), "・ B");
  // Whatever lenient decoding gives can be stored again.
  EXPECT_TRUE(Utf8ToCp932(Cp932ToUtf8Lenient("\x80\xa0\xfd\xfe\xff")).has_value());
}

// The codec converts through tables it reads from the platform once; every character, and
// every broken sequence, must come out exactly as the platform converts it.
TEST(TextCodec, TablesGiveThePlatformsResultForEveryCharacter) {
  int differences = 0;
  auto same = [&differences](std::string_view text, const std::optional<std::string>& fast,
                             const std::optional<std::string>& platform) {
    if (fast == platform) return;
    if (++differences <= 5) ADD_FAILURE() << "differs for bytes of size " << text.size() << ": " << testing::PrintToString(std::string(text));
  };
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    const std::string one(1, static_cast<char>(lead));
    same(one, Cp932ToUtf8(one), PlatformCp932ToUtf8(one));
    for (int trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string text = "a" + one + static_cast<char>(trail) + "b";
      same(text, Cp932ToUtf8(text), PlatformCp932ToUtf8(text));
    }
  }
  for (std::uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string utf8 = "x";
    if (cp < 0x800) {
      utf8 += static_cast<char>(0xC0 | (cp >> 6));
    } else {
      utf8 += static_cast<char>(0xE0 | (cp >> 12));
      utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    same(utf8, Utf8ToCp932(utf8), PlatformUtf8ToCp932(utf8));
  }
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace orv
