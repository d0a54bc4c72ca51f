#include "platform/ini_file.hpp"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "platform/text_codec.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

struct ReadCase {
  const char* name;
  std::string content;
  const char* section;
  const char* key;
  std::string expected;  // with default "<default>"
};

class IniReadRules : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadRules, ReadsAsThePlatformReaderDoes) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(IniFile::Parse(c.content).Get(c.section, c.key, "<default>"), c.expected);
}

const std::string kLongValue(1500, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadRules,
    testing::Values(
        ReadCase{"Plain", "[Head]\r\nTitle=Sky\r\n", "Head", "Title", "Sky"},
        ReadCase{"SectionAndKeyIgnoreCase", "[hEAD]\nTITLE=Sky\n", "Head", "title", "Sky"},
        ReadCase{"MissingKey", "[Head]\nTitle=Sky\n", "Head", "Comment", "<default>"},
        ReadCase{"MissingSection", "[Head]\nTitle=Sky\n", "Body", "Title", "<default>"},
        ReadCase{"EmptyValueIsNotTheDefault", "[Head]\nTitle=\n", "Head", "Title", ""},
        ReadCase{"KeyWithoutEqualsGivesDefault", "[Head]\nTitle\n", "Head", "Title", "<default>"},
        ReadCase{"FirstKeyWins", "[Head]\nTitle=One\nTitle=Two\n", "Head", "Title", "One"},
        ReadCase{"OnlyFirstSectionSearched", "[Head]\nA=1\n[Other]\n[HEAD]\nTitle=Two\n", "Head",
                 "Title", "<default>"},
        ReadCase{"TrimsAroundKeyAndValue", "[Head]\n  Title \t=  Sky blue \t\r\n", "Head", "Title",
                 "Sky blue"},
        ReadCase{"TrimsTheQuery", "[Head]\nTitle=Sky\n", " Head ", " Title ", "Sky"},
        ReadCase{"SectionNameNotTrimmedInside", "[ Head ]\nTitle=Sky\n", "Head", "Title",
                 "<default>"},
        ReadCase{"IndentedHeader", "   [Head]\nTitle=Sky\n", "Head", "Title", "Sky"},
        ReadCase{"TextAfterHeader", "[Head] ; the head\nTitle=Sky\n", "Head", "Title", "Sky"},
        ReadCase{"HeaderEndsAtLastBracket", "[a]b]\nTitle=Sky\n", "a]b", "Title", "Sky"},
        ReadCase{"DoubleQuotesStripped", "[Head]\nTitle=\"  Sky  \"\n", "Head", "Title", "  Sky  "},
        ReadCase{"SingleQuotesStripped", "[Head]\nTitle='Sky'\n", "Head", "Title", "Sky"},
        ReadCase{"MismatchedQuotesKept", "[Head]\nTitle=\"Sky'\n", "Head", "Title", "\"Sky'"},
        ReadCase{"LoneQuoteKept", "[Head]\nTitle=\"\n", "Head", "Title", "\""},
        ReadCase{"EmptyQuotes", "[Head]\nTitle=\"\"\n", "Head", "Title", ""},
        ReadCase{"CommentLineIsNoKey", "[Head]\n;Title=Old\nTitle=New\n", "Head", "Title", "New"},
        ReadCase{"SemicolonInValueKept", "[Head]\nTitle=a;b\n", "Head", "Title", "a;b"},
        ReadCase{"EqualsInValueKept", "[Head]\nTitle=a=b\n", "Head", "Title", "a=b"},
        ReadCase{"IdeographicSpaceKept", "[Head]\nTitle=\x81\x40\x8B\xF3\x81\x40\n", "Head",
                 "Title", "\u3000空\u3000"},
        ReadCase{"CutAtNul", std::string("[Head]\nTitle=ab\0cd\n", 19), "Head", "Title", "ab"},
        ReadCase{"CutAt1023", "[Head]\nTitle=" + kLongValue + "\n", "Head", "Title",
                 std::string(1023, 'x')},
        ReadCase{"OldMacLineBreaks", "[Head]\rTitle=Sky\rComment=c\r", "Head", "Comment", "c"},
        ReadCase{"NoFinalLineBreak", "[Head]\nTitle=Sky", "Head", "Title", "Sky"},
        ReadCase{"HeaderWithoutBracketIsNotASection", "[Head]\n[Body\nTitle=Sky\n", "Head",
                 "Title", "Sky"},
        ReadCase{"CtrlZIsSpace", "[Head]\nTitle=Sky\x1A\n", "Head", "Title", "Sky"},
        ReadCase{"Cp932Text", "[\x83\x65\x81\x5B\x83\x7D]\n\x96\xBC\x91\x4F=\x8B\xF3\n",
                 "テーマ", "名前", "空"},
        ReadCase{"Utf8Bom", "\xEF\xBB\xBF[Head]\nTitle=空\n", "Head", "Title", "空"},
        ReadCase{"Utf16LeBom",
                 std::string("\xFF\xFE[\0H\0]\0\r\0\n\0T\0=\0\x7A\x7A\r\0\n\0", 22), "H", "T",
                 "\u7A7A"}),
    [](const testing::TestParamInfo<ReadCase>& param_info) { return std::string(param_info.param.name); });

TEST(IniFileTest, DamagedCp932BytesDecodeWithoutFailing) {
  IniFile file = IniFile::Parse("[Head]\nTitle=a\x81\xFF" "b\n");
  EXPECT_EQ(file.Get("Head", "Title", ""), "a・・b");
}

TEST(IniFileTest, CutNeverSplitsACharacter) {
  // 1022 units, then a character outside the basic plane (two units) that does not fit.
  std::string value(1022, 'x');
  value += "\xF0\x9F\x98\x80";
  IniFile file = IniFile::Parse("\xEF\xBB\xBF[S]\nK=" + value + "\n");
  EXPECT_EQ(file.Get("S", "K", ""), std::string(1022, 'x'));
}

TEST(IniFileTest, SetReplacesInPlaceAndKeepsEveryOtherLineByteForByte) {
  const std::string before =
      "; list of themes\r\n[CalendarDraw]\r\n  count = 1 \r\nFile_1=\x83\x65.ini\r\n\r\n"
      "[Other]\r\nbroken=\x81\xFF\r\n";
  IniFile file = IniFile::Parse(before);
  ASSERT_TRUE(file.Set("calendardraw", "Count", "2"));
  ASSERT_TRUE(file.Set("CalendarDraw", "File_2", "C:\\x.ini"));
  EXPECT_EQ(file.Serialize(),
            "; list of themes\r\n[CalendarDraw]\r\nCount=2\r\nFile_1=\x83\x65.ini\r\n"
            "File_2=C:\\x.ini\r\n\r\n[Other]\r\nbroken=\x81\xFF\r\n");
}

TEST(IniFileTest, SetAppendsANewSectionAndKeepsUnixLineBreaks) {
  IniFile file = IniFile::Parse("[A]\nx=1");  // no final line break
  ASSERT_TRUE(file.Set("B", "y", "2"));
  EXPECT_EQ(file.Serialize(), "[A]\nx=1\n[B]\ny=2\n");
  EXPECT_EQ(IniFile::Parse(file.Serialize()).Get("b", "Y", ""), "2");
}

TEST(IniFileTest, NewLinesAfterTheLastLineFeedEndInCarriageReturns) {
  // After the last LF only CR ends lines; an LF added there would join the lines before it.
  IniFile file = IniFile::Parse("[A]\nx=1\ry=2\r");
  ASSERT_TRUE(file.Set("A", "z", "3"));
  EXPECT_EQ(file.Serialize(), "[A]\nx=1\ry=2\rz=3\r");
  EXPECT_EQ(IniFile::Parse(file.Serialize()).Get("A", "y", ""), "2");
}

TEST(IniFileTest, SetOnAnEmptyFileUsesWindowsLineBreaksAndCodePage932) {
  IniFile file;
  ASSERT_TRUE(file.Set("テーマ", "名前", "空"));
  EXPECT_EQ(file.Serialize(), "[\x83\x65\x81\x5B\x83\x7D]\r\n\x96\xBC\x91\x4F=\x8B\xF3\r\n");
}

TEST(IniFileTest, TextCodePage932CannotHoldTurnsTheFileIntoUtf8) {
  IniFile file = IniFile::Parse("[A]\r\nx=\x8B\xF3\r\n");
  ASSERT_TRUE(file.Set("A", "y", "C:\\Users\\Zoë\\t.ini"));
  EXPECT_EQ(file.encoding(), IniEncoding::Utf8Bom);
  const std::string bytes = file.Serialize();
  EXPECT_EQ(bytes, "\xEF\xBB\xBF[A]\r\nx=空\r\ny=C:\\Users\\Zoë\\t.ini\r\n");
  EXPECT_EQ(IniFile::Parse(bytes).Get("A", "x", ""), "空");
}

TEST(IniFileTest, Utf16FileStaysUtf16WhenWritten) {
  const std::string before("\xFF\xFE[\0A\0]\0\r\0\n\0x\0=\0" "1\0\r\0\n\0", 22);
  IniFile file = IniFile::Parse(before);
  ASSERT_TRUE(file.Set("A", "y", "空"));
  EXPECT_EQ(file.Serialize(), before + std::string("y\0=\0\x7A\x7A\r\0\n\0", 10));
}

TEST(IniFileTest, SetRefusesTextsThatWouldBreakTheFile) {
  IniFile file = IniFile::Parse("[A]\nx=1\n");
  for (auto [section, key, value] : std::initializer_list<std::array<std::string_view, 3>>{
           {"", "k", "v"}, {"A", "", "v"}, {"A", "k", "v\r\n[B]"}, {"A\n", "k", "v"},
           {"A", "k=j", "v"}, {"A", ";k", "v"}, {"A", "[k]", "v"}, {"A", "  ", "v"},
           {"A", "k", std::string_view("v\0w", 3)}}) {
    EXPECT_FALSE(file.Set(section, key, value)) << section << "/" << key << "/" << value;
  }
  EXPECT_EQ(file.Serialize(), "[A]\nx=1\n");
}

TEST(IniFileTest, KeysOfADuplicateSectionAreNotReachedButWritesGoToTheFirst) {
  IniFile file = IniFile::Parse("[A]\nx=1\n\n[A]\ny=2\n");
  ASSERT_TRUE(file.Set("A", "y", "3"));
  EXPECT_EQ(file.Serialize(), "[A]\nx=1\ny=3\n\n[A]\ny=2\n");
  EXPECT_EQ(file.Get("A", "y", ""), "3");
}

TEST(IniFileTest, ReadAndWriteThroughFiles) {
  test::TempDir dir;
  const std::string path = dir.File("テーマ一覧.INI");
  EXPECT_EQ(ReadIniString(path, "A", "x", "none"), "none");
  ASSERT_FALSE(WriteIniString(path, "A", "x", "1"));
  ASSERT_FALSE(WriteIniString(path, "A", "y", "\"2\""));
  EXPECT_EQ(test::ReadBytes(path), "[A]\r\nx=1\r\ny=\"2\"\r\n");
  EXPECT_EQ(ReadIniString(path, "a", "X", "none"), "1");
  EXPECT_EQ(ReadIniString(path, "A", "y", "none"), "2");
}

TEST(IniFileTest, AFileThatCannotBeWrittenStaysAsItWas) {
  test::TempDir dir;
  const std::string path = dir.File("sub/none/list.ini");  // folder missing
  EXPECT_TRUE(WriteIniString(path, "A", "x", "1"));
  EXPECT_EQ(ReadIniString(path, "A", "x", "gone"), "gone");
}

TEST(IniFileTest, RandomBytesNeverBreakTheReaderOrTheWriter) {
  std::mt19937 random(20260301);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(random() % 400, '\0');
    for (char& c : bytes) c = "[]=;\r\n \"'\x81\x82\xEF\xFF\xFE" "aA"[random() % 16];
    if (round % 3 == 0) bytes = "\xFF\xFE" + bytes;
    IniFile file = IniFile::Parse(bytes);
    file.Get("a", "a", "");
    if (file.Set("a", "k", "v")) {
      EXPECT_EQ(IniFile::Parse(file.Serialize()).Get("a", "k", ""), "v") << round;
    }
  }
}

TEST(IniFileTest, LargeFileReadsItsLastKey) {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += "[S" + std::to_string(i) + "]\r\nKey=Value " + std::to_string(i) + "\r\n";
  ASSERT_GT(bytes.size(), 5'000'000u);
  IniFile file = IniFile::Parse(bytes);
  EXPECT_EQ(file.Get("s199999", "key", ""), "Value 199999");
}

}  // namespace
}  // namespace orv
