#include "core/safe.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(SafeConversions, IntegerAcceptsSignSpacesAndRoundsHalfToEven) {
  EXPECT_EQ(SafeInteger("12"), 12);
  EXPECT_EQ(SafeInteger(" 7 "), 7);
  EXPECT_EQ(SafeInteger("\t-7"), -7);
  EXPECT_EQ(SafeInteger("+3"), 3);
  EXPECT_EQ(SafeInteger("2.5"), 2);
  EXPECT_EQ(SafeInteger("3.5"), 4);
  EXPECT_EQ(SafeInteger("-2.5"), -2);
  EXPECT_EQ(SafeInteger("2.50001"), 3);
  EXPECT_EQ(SafeInteger(".5"), 0);
  EXPECT_EQ(SafeInteger("1.5"), 2);
  EXPECT_EQ(SafeInteger("7."), 7);
}

TEST(SafeConversions, IntegerGivesZeroForTextThatIsNotANumberOrDoesNotFit) {
  EXPECT_EQ(SafeInteger(""), 0);
  EXPECT_EQ(SafeInteger(std::nullopt), 0);
  EXPECT_EQ(SafeInteger("abc"), 0);
  EXPECT_EQ(SafeInteger("1 2"), 0);
  EXPECT_EQ(SafeInteger("--1"), 0);
  EXPECT_EQ(SafeInteger("-"), 0);
  EXPECT_EQ(SafeInteger("."), 0);
  EXPECT_EQ(SafeInteger("1e3"), 0);
  EXPECT_EQ(SafeInteger("32767"), 32767);
  EXPECT_EQ(SafeInteger("32768"), 0);
  EXPECT_EQ(SafeInteger("-32768"), -32768);
  EXPECT_EQ(SafeInteger("-32769"), 0);
  EXPECT_EQ(SafeInteger("32767.5"), 0);  // rounds to 32768: out of range
  EXPECT_EQ(SafeInteger("32766.5"), 32766);
}

TEST(SafeConversions, LongCoversThirtyTwoBitsAndHugeNumbers) {
  EXPECT_EQ(SafeLong(std::nullopt), 0);
  EXPECT_EQ(SafeLong("2147483647"), 2147483647);
  EXPECT_EQ(SafeLong("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(SafeLong("2147483648"), 0);
  EXPECT_EQ(SafeLong("99999999999999999999999999"), 0);
  EXPECT_EQ(SafeLong("-9223372036854775808"), 0);
  EXPECT_EQ(ParseWholeNumber("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ParseWholeNumber("9223372036854775808"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber("9223372036854775807.5"), std::nullopt);
}

TEST(SafeConversions, TextTrimsSpacesAndNullIsEmpty) {
  EXPECT_EQ(SafeText("  a b  "), "a b");
  EXPECT_EQ(SafeText(std::nullopt), "");
  EXPECT_EQ(SafeText("日本 "), "日本");
}

TEST(SafeConversions, BooleanWordsAndNumbers) {
  EXPECT_TRUE(ParseBoolean("true"));
  EXPECT_TRUE(ParseBoolean("True"));
  EXPECT_TRUE(ParseBoolean("TRUE"));
  EXPECT_TRUE(ParseBoolean("-1"));
  EXPECT_TRUE(ParseBoolean("0.4"));
  EXPECT_TRUE(ParseBoolean("12345678901234567890123"));
  EXPECT_FALSE(ParseBoolean("0"));
  EXPECT_FALSE(ParseBoolean("0.0"));
  EXPECT_FALSE(ParseBoolean("False"));
  EXPECT_FALSE(ParseBoolean("yes"));
  EXPECT_FALSE(ParseBoolean(""));
  EXPECT_FALSE(ParseBoolean(std::nullopt));
  EXPECT_FALSE(ParseBoolean("1-"));
}

TEST(ErrorText, LineOfRoutineNumberAndDescriptionAfterEarlierText) {
  const std::string first = sfSemCreate("sfLoadUserData", 1, "このバージョンのファイルには対応していません");
  EXPECT_EQ(first, "sfLoadUserData\t1\tこのバージョンのファイルには対応していません\n");
  EXPECT_EQ(sfSemCreate("b", -5, "two", first),
            first + "b\t-5\ttwo\n");
  EXPECT_EQ(sfSemCreate(std::nullopt, 0, std::nullopt, std::nullopt), "\t0\t\n");
}

}  // namespace
}  // namespace orv
