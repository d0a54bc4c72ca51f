#include "tools/orvtool/theme_command.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/text_codec.hpp"
#include "../../support/picture_fixtures.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

// The smallest bitmap header that names a size: 54 bytes, 7 x 5 pixels.
std::string BitmapHeader() {
  std::string b(54, '\0');
  b[0] = 'B';
  b[1] = 'M';
  b[14] = 40;
  b[18] = 7;
  b[22] = 5;
  return b;
}

TEST(PictureHeaderLoaderTest, ReadsTheSizeOfEachFormatAndRefusesOtherFiles) {
  test::TempDir dir;
  PictureHeaderLoader loader;
  struct Case {
    const char* name;
    std::string bytes;
    int width, height;
  };
  for (const Case& c : {Case{"a.bmp", BitmapHeader(), 7, 5},
                        Case{"a.png", std::string(test::kRedPng), 3, 2},
                        Case{"a.gif", std::string(test::kRedGif), 3, 2},
                        Case{"a.ico", std::string(test::kRedIco), 3, 2},
                        Case{"a.jpg", std::string(test::kRedJpeg), 3, 2}}) {
    test::WriteBytes(dir.File(c.name), c.bytes);
    LoadedPicture loaded = loader.Load(dir.File(c.name));
    ASSERT_TRUE(loaded.picture) << c.name;
    EXPECT_EQ(loaded.picture->Width(), c.width) << c.name;
    EXPECT_EQ(loaded.picture->Height(), c.height) << c.name;
    // Cut short, the same file is no picture.
    test::WriteBytes(dir.File(c.name), c.bytes.substr(0, 8));
    EXPECT_FALSE(loader.Load(dir.File(c.name)).picture) << c.name;
  }
  test::WriteBytes(dir.File("text.bmp"), "hello");
  LoadedPicture text = loader.Load(dir.File("text.bmp"));
  EXPECT_FALSE(text.picture);
  EXPECT_NE(text.error.number, 0);
  EXPECT_NE(loader.Load(dir.File("missing.bmp")).error.number, 0);
}

class ThemeCommandTest : public testing::Test {
protected:
  test::TempDir dir;
  PictureHeaderLoader pictures;
  std::ostringstream out, err;

  // A sample theme as an author would write it: Shift-JIS text, a picture with its mask, a
  // picture that is missing.
  std::string SampleTheme() {
    test::WriteBytes(dir.File("top.bmp"), BitmapHeader());
    test::WriteBytes(dir.File("top_mask.png"), std::string(test::kRedPng));
    const std::string text =
        "[Head]\r\nCanReadVersion=1\r\nTitle=夕焼け\r\n"
        "[PixelSize]\r\nFullWidth=240\r\nMiniWidth=150\r\nLastweekHeight=20\r\n"
        "NextweekHeight=20\r\nMonthWidth=80\r\nDayHeight=24\r\n"
        "[PiexlSize]\r\nTitleTop=3\r\n"
        "[OthersDraw]\r\nExtraTitle_Payment=\"支払 \"\"一覧\"\"\"\r\n"
        "[PictureFilename]\r\nLastweek=top.bmp\r\nLastweek_Mask=top_mask.png\r\nBody=gone.jpg\r\n"
        "[DayFont]\r\nName=ＭＳ ゴシック\r\nSize=12\r\nBold=True\r\n"
        "[TodayColor]\r\nColor_R=300\r\nColor_G=-5\r\nColor_B=10\r\n";
    const std::string path = dir.File("夕焼け.ini");
    test::WriteBytes(path, Utf8ToCp932(text).value());
    return path;
  }
  nlohmann::json Printed() const { return nlohmann::json::parse(out.str()); }
};

TEST_F(ThemeCommandTest, PrintsEveryFieldAsJson) {
  ASSERT_EQ(RunThemeCommand({SampleTheme()}, pictures, out, err), 0) << err.str();
  EXPECT_EQ(err.str(), "");
  const nlohmann::json json = Printed();
  EXPECT_EQ(json["FullWidth"], 3600);
  EXPECT_EQ(json["TitleTop"], 3);
  EXPECT_EQ(json["DesignDpi"], 96);
  EXPECT_EQ(json["Scale"], true);
  EXPECT_EQ(json["DayFont"],
            (nlohmann::json{{"face", "ＭＳ ゴシック"}, {"points", 12}, {"bold", true}, {"italic", false}}));
  EXPECT_EQ(json["TodayColor"], (nlohmann::json{{"r", 255}, {"g", 0}, {"b", 10}}));
  EXPECT_EQ(json["HasTodayColor"], true);
  EXPECT_EQ(json["ExtraTitle_Payment"], "支払 \"\"一覧\"\"");
  EXPECT_EQ(json["Lastweek"], (nlohmann::json{{"path", dir.File("top.bmp")},
                                               {"found", true},
                                               {"width", 7},
                                               {"height", 5},
                                               {"mask_path", dir.File("top_mask.png")},
                                               {"mask_found", true}}));
  EXPECT_EQ(json["Body"], (nlohmann::json{{"path", dir.File("gone.jpg")},
                                           {"found", false},
                                           {"mask_path", nullptr},
                                           {"mask_found", false}}));
  // Every field of the record, in the record's order: the three derived ones aside, and the
  // widths' twips per pixel (the widths are printed as read).
  EXPECT_EQ(json.size(), 62u);
  EXPECT_EQ(json["HasHolidayColor"], false);
  EXPECT_EQ(nlohmann::ordered_json::parse(out.str()).begin().key(), "DrawType");
}

TEST_F(ThemeCommandTest, TwipsOptionScalesTheWidths) {
  ASSERT_EQ(RunThemeCommand({"--twips", "12", SampleTheme()}, pictures, out, err), 0);
  EXPECT_EQ(Printed()["FullWidth"], 2880);
  EXPECT_EQ(Printed()["MiniWidth"], 1800);
  // 175 %: 8.571… twips a pixel, not 8.
  out.str("");
  ASSERT_EQ(RunThemeCommand({"--dpi", "168", SampleTheme()}, pictures, out, err), 0);
  EXPECT_EQ(Printed()["FullWidth"], 2057);  // 240 px = 2057.14 twips
}

TEST_F(ThemeCommandTest, LoadErrorsAndUsageErrors) {
  EXPECT_EQ(RunThemeCommand({dir.File("none.ini")}, pictures, out, err), 1);
  EXPECT_EQ(err.str(), "sfLoadINIThemeFile\t0\tファイルが存在しません\n");
  EXPECT_EQ(out.str(), "");
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {}, {"--twips", "0", "a.ini"}, {"--twips", "x", "a.ini"}, {"--dpi", "0", "a.ini"}, {"a.ini", "b.ini"},
           {"--unknown", "a.ini"}}) {
    std::ostringstream quiet_out, quiet_err;
    EXPECT_EQ(RunThemeCommand(args, pictures, quiet_out, quiet_err), 2);
    EXPECT_FALSE(quiet_err.str().empty());
  }
}

}  // namespace
}  // namespace orv
