#include "schedule/user_data_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string Hex(std::string_view hex) {
  std::string out;
  for (std::size_t i = 0; i < hex.size();) {
    if (hex[i] == ' ' || hex[i] == '|') {
      ++i;
      continue;
    }
    out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    i += 2;
  }
  return out;
}

// The example: one cash payment of 1000 titled ABC on 2002-04-01, four empty preset lists.
const std::string kExample = Hex(
    "01 00 | 01 00 00 00 | D2 07 | 01 00 00 00 | 04 00 | 01 00 00 00 | 01 00 |"
    "01 00 00 00 E8 03 00 00 FF FF 00 00 00 00 00 00 00 00 00 00 |"
    "E8 03 00 00 01 00 03 00 41 42 43 | 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

const std::string kEmpty = Hex("01 00 00 00 00 00 00000000 00000000 00000000 00000000");

void BuildExample(YearDatas& years) {
  DayData& day = GetOrCreateDay(years, {2002, 4, 1, 2});
  auto& payment = *day.PaymentDatas.Add(NextPaymentKey(day));
  payment.Payment = 1;
  payment.lngPrice = 1000;
  payment.strTitle = "ABC";
  RecalcPaymentTotals(day);
  RecalcSpecialTotals(day);
}

TEST(UserDataFileFormat, ExampleAndEmptyScheduleComeOutByteForByte) {
  YearDatas years;
  DefaultUserListArray lists;
  std::string bytes;
  ASSERT_EQ(SerializeUserData(years, lists, bytes), "");
  EXPECT_EQ(bytes, kEmpty);
  EXPECT_EQ(bytes.size(), 22u);
  BuildExample(years);
  ASSERT_EQ(SerializeUserData(years, lists, bytes), "");
  EXPECT_EQ(bytes, kExample);
}

TEST(UserDataFileFormat, JapaneseTextsAreStoredInCodePage932AndCountBytes) {
  YearDatas years;
  DefaultUserListArray lists;
  lists[3].Add("1")->strValue1 = "日本";
  std::string bytes;
  ASSERT_EQ(SerializeUserData(years, lists, bytes), "");
  EXPECT_EQ(bytes.substr(bytes.size() - 10), Hex("01 00 00 00 04 00 93 FA 96 7B"));
}

TEST(UserDataFileFormat, LoadRestoresStoredTotalsAndGivesFreshKeysInFileOrder) {
  YearDatas years;
  DefaultUserListArray lists;
  DayData& day = GetOrCreateDay(years, {2026, 12, 7, 2});
  day.PaymentDatas.Add("7")->strTitle = "x";
  day.PaymentDatas.Add("3")->strTitle = "y";
  auto* s = day.SpecialDatas.Add("9");
  s->strSpecial = "誕生日";
  s->strComment = "コメント";
  s->blnSpecial = true;
  day.TotalPaymentPrice = 12345;  // stored values, deliberately not recomputed
  day.SpecialKey = "9";
  day.SpecialTitle = "誕生日";
  day.TotalSpecial = true;
  lists[0].Add("4")->strValue1 = "家賃";
  lists[0].Add("2")->strValue1 = "電気";

  std::string bytes;
  ASSERT_EQ(SerializeUserData(years, lists, bytes), "");
  YearDatas loaded;
  DefaultUserListArray loaded_lists;
  ASSERT_EQ(ParseUserData(bytes, loaded, loaded_lists), "");
  DayData* back = FindDay(loaded, {2026, 12, 7, 2});
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->TotalPaymentPrice, 12345);
  EXPECT_EQ(back->SpecialKey, "9");
  EXPECT_TRUE(back->TotalSpecial);
  EXPECT_EQ(back->PaymentDatas.At(1)->Key, "1");
  EXPECT_EQ(back->PaymentDatas.At(1)->strTitle, "x");
  EXPECT_EQ(back->PaymentDatas.At(2)->Key, "2");
  EXPECT_EQ(back->SpecialDatas.At(1)->Key, "1");
  EXPECT_EQ(back->SpecialDatas.At(1)->strComment, "コメント");
  EXPECT_EQ(loaded_lists[0].At(2)->Key, "2");
  EXPECT_EQ(loaded_lists[0].At(2)->strValue1, "電気");

  std::string again;
  ASSERT_EQ(SerializeUserData(loaded, loaded_lists, again), "");
  EXPECT_EQ(again, bytes);
}

TEST(UserDataFileFormat, VersionZeroLoadsAndVersionTwoIsRefusedWithoutTouchingTheTree) {
  YearDatas years;
  DefaultUserListArray lists;
  std::string v0 = kExample;
  v0[0] = 0;
  ASSERT_EQ(ParseUserData(v0, years, lists), "");
  EXPECT_EQ(years.Count(), 1);

  std::string v2 = kEmpty;
  v2[0] = 2;
  EXPECT_EQ(ParseUserData(v2, years, lists),
            "sfLoadUserData\t1\tこのバージョンのファイルには対応していません\n");
  EXPECT_EQ(years.Count(), 1);
}

// Each damaged file fails with an error text and leaves the tree exactly as it was.
TEST(UserDataFileFormat, DamagedFilesFailWithoutChangingTheTree) {
  struct Case {
    const char* name;
    std::string bytes;
    int number;
  };
  auto patched = [](std::size_t at, std::string_view with) {
    std::string b = kExample;
    b.replace(at, with.size(), with);
    return b;
  };
  const Case cases[] = {
      {"empty file", "", kUserDataTruncated},
      {"ends inside a payment title", kExample.substr(0, 50), kUserDataTruncated},
      {"ends before the preset lists", kExample.substr(0, kExample.size() - 16), kUserDataTruncated},
      {"trailing bytes", kExample + "X", kUserDataTrailingBytes},
      {"negative year count", patched(2, Hex("FF FF FF FF")), kUserDataInvalidValue},
      {"year count above 32767", patched(2, Hex("00 80 00 00")), kUserDataInvalidValue},
      {"month 13", patched(12, Hex("0D 00")), kUserDataInvalidValue},
      {"month 0", patched(12, Hex("00 00")), kUserDataInvalidValue},
      {"day 32", patched(18, Hex("20 00")), kUserDataInvalidValue},
      {"year 0", patched(6, Hex("00 00")), kUserDataInvalidValue},
      {"negative text length", patched(47, Hex("FF FF")), kUserDataInvalidValue},
      {"payment count 5 with one record", patched(20, Hex("05")), kUserDataTruncated},
      {"same month twice",
       Hex("01 00 01000000 D207 02000000 0400 00000000 0400 00000000") + std::string(16, '\0'),
       kUserDataInvalidValue},
  };
  for (const auto& c : cases) {
    YearDatas years;
    DefaultUserListArray lists;
    years.Add("1999");
    lists[1].Add("1")->strValue1 = "keep";
    std::string error = ParseUserData(c.bytes, years, lists);
    EXPECT_EQ(error.rfind("sfLoadUserData\t" + std::to_string(c.number) + "\t", 0), 0u)
        << c.name << ": " << error;
    EXPECT_EQ(error.back(), '\n') << c.name;
    ASSERT_EQ(years.Count(), 1) << c.name;
    EXPECT_EQ(years.At(1)->Key, "1999") << c.name;
    EXPECT_EQ(lists[1].At(1)->strValue1, "keep") << c.name;
  }
}

TEST(UserDataFileFormat, BrokenCodePage932TextLoadsWithAStandInThatCanBeSavedAgain) {
  std::string bytes = kExample;
  bytes.replace(bytes.size() - 16 - 3, 3, "\x93 Z");  // "ABC" -> lead byte without a valid trail
  YearDatas years;
  DefaultUserListArray lists;
  ASSERT_EQ(ParseUserData(bytes, years, lists), "");
  EXPECT_EQ(years.At(1)->MonthDatas.At(1)->DayDatas.At(1)->PaymentDatas.At(1)->strTitle, "・ Z");
  std::string again;
  EXPECT_EQ(SerializeUserData(years, lists, again), "");
}

TEST(UserDataFileFormat, TextsTheFileCannotHoldUnchangedFailTheSave) {
  YearDatas years;
  DefaultUserListArray lists;
  std::string bytes = "unchanged";
  lists[0].Add("1")->strValue1 = "絵文字😀";
  std::string error = SerializeUserData(years, lists, bytes);
  EXPECT_EQ(error.rfind("sfSaveUserData\t5\t", 0), 0u) << error;
  EXPECT_EQ(bytes, "unchanged");

  lists[0].At(1)->strValue1 = std::string(16383, 'a') + "日本";  // 16387 bytes: fits
  EXPECT_EQ(SerializeUserData(years, lists, bytes), "");
  lists[0].At(1)->strValue1 = std::string(32766, 'a') + "日";  // 32768 bytes
  EXPECT_NE(SerializeUserData(years, lists, bytes), "");
  lists[0].At(1)->strValue1 = std::string(32767, 'a');
  EXPECT_EQ(SerializeUserData(years, lists, bytes), "");
  EXPECT_EQ(CheckStorableText("😀"), "保存できない文字が含まれています");
  EXPECT_EQ(CheckStorableText(std::string(32768, 'x')), "文字列が長すぎます");
  EXPECT_EQ(CheckStorableText("ok"), "");
}

TEST(UserDataFile, MissingFileIsErrorZero) {
  TempDir dir;
  YearDatas years;
  DefaultUserListArray lists;
  EXPECT_EQ(sfLoadUserData(dir.File("none.ORV"), years, lists),
            "sfLoadUserData\t0\tファイルが存在しません\n");
  EXPECT_EQ(sfLoadUserData("", years, lists), "sfLoadUserData\t0\tファイルが存在しません\n");
}

TEST(UserDataFile, SaveReplacesLongerAndReadOnlyFilesWithExactlyTheNewImage) {
  TempDir dir;
  const std::string path = dir.File("予定.ORV");
  WriteBytes(path, std::string(1000, 'x'));
  test::MakeReadOnly(path);
  ASSERT_EQ(ReadBytes(path).size(), 1000u);
  YearDatas years;
  DefaultUserListArray lists;
  BuildExample(years);
  ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  EXPECT_EQ(ReadBytes(path), kExample);

  YearDatas loaded;
  DefaultUserListArray loaded_lists;
  ASSERT_EQ(sfLoadUserData(path, loaded, loaded_lists), "");
  EXPECT_EQ(FindDay(loaded, {2002, 4, 1, 2})->TotalPaymentPrice, 1000);
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(UserDataFile, FailedSaveKeepsTheOldFileAndReportsTheSystemError) {
  TempDir dir;
  const std::string path = dir.File("keep.ORV");
  WriteBytes(path, kEmpty);
  YearDatas years;
  DefaultUserListArray lists;
  lists[0].Add("1")->strValue1 = "😀";
  EXPECT_NE(sfSaveUserData(path, years, lists), "");
  EXPECT_EQ(ReadBytes(path), kEmpty);

  lists[0].Clear();
  const std::string error = sfSaveUserData(dir.File("no-such-folder/x.ORV"), years, lists);
  EXPECT_EQ(error.rfind("sfSaveUserData\t", 0), 0u) << error;
  EXPECT_NE(error.find('\t', 15), std::string::npos);
  EXPECT_NE(sfSaveUserData("", years, lists), "");
}

}  // namespace
}  // namespace orv
