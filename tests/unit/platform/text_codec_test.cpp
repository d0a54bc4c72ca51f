// These vectors run in both builds: against iconv natively and against the system's code
// page 932 tables under Wine, so both codecs must give the same bytes.
#include "platform/text_codec.hpp"

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

}  // namespace
}  // namespace orv
