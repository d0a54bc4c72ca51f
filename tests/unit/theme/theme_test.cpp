#include "theme/theme.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/text_codec.hpp"
#include "../../support/recording_calendar_view.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

class NamedPicture : public Picture {
public:
  explicit NamedPicture(std::string name) : name_(std::move(name)) {}
  int Width() const override { return 4; }
  int Height() const override { return 3; }
  const std::string& Name() const { return name_; }

private:
  std::string name_;
};

// Hands out named pictures for files that begin with "PIC" and fails on anything else,
// as the system does for a file that is not a picture.
class FakePictureLoader : public PictureLoader {
public:
  std::vector<std::string> loaded;
  LoadedPicture Load(const std::string& path) override {
    loaded.push_back(path);
    if (test::ReadBytes(path).starts_with("PIC"))
      return {std::make_shared<NamedPicture>(path), {}};
    return {nullptr, {481, "Invalid picture"}};
  }
};

using RecordingCalendar = test::RecordingCalendarView;

const std::string kValidSizes =
    "[PixelSize]\r\nFullWidth=240\r\nMiniWidth=150\r\nLastweekHeight=20\r\nNextweekHeight=21\r\n"
    "MonthWidth=80\r\nDayHeight=24\r\n";

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8).value(); }

class ThemeFileTest : public testing::Test {
protected:
  test::TempDir dir;
  FakePictureLoader pictures;
  ThemeEnvironment environment{pictures, 15};
  ThemeRecord current = DefaultTheme();

  std::string Write(const std::string& content, const std::string& name = "theme.ini") {
    std::string path = dir.File(name);
    test::WriteBytes(path, content);
    return path;
  }
  std::string Load(const std::string& content) {
    return sfLoadINIThemeFile(current, Write(content), environment);
  }
  void ExpectUnchanged() {
    ThemeRecord built_in = DefaultTheme();
    EXPECT_EQ(current.FullWidth, built_in.FullWidth);
    EXPECT_EQ(current.DayHeight, built_in.DayHeight);
    EXPECT_EQ(current.ExtraTitle_Payment, built_in.ExtraTitle_Payment);
    EXPECT_FALSE(current.Body.HasPicture);
  }
};

TEST(DefaultThemeTest, HasEveryValueOfTheBuiltInTable) {
  ThemeRecord t;
  t.Body.HasPicture = true;
  t.TitleTop = 9;
  LoadDefaultTheme(t);
  EXPECT_EQ(t.DrawType, 3);
  EXPECT_EQ(t.MonthFont, (FontSpec{"Arial", 24, true, false}));
  EXPECT_EQ(t.MonthEnglishFont, (FontSpec{"Arial", 8, false, false}));
  EXPECT_EQ(t.MonthColor, MakeRgb(255, 255, 255));
  EXPECT_EQ(t.MonthLeft, 30);
  EXPECT_EQ(t.MonthTop, -4);
  EXPECT_EQ(t.DrawDays, 3);
  EXPECT_EQ(t.MonthWidth, 90);
  EXPECT_EQ(t.MonthPictureLeft, 0);
  EXPECT_EQ(t.MonthPictureTop, 0);
  EXPECT_EQ(t.DayFont, (FontSpec{"Arial", 11, true, false}));
  EXPECT_EQ(t.WeekFont, (FontSpec{"Arial", 7, false, false}));
  EXPECT_EQ(t.LastWeekColor, MakeRgb(64, 128, 196));
  EXPECT_EQ(t.TodayColor, MakeRgb(32, 255, 32));
  EXPECT_EQ(t.DayColor, MakeRgb(255, 255, 255));
  EXPECT_EQ(t.SunColor, MakeRgb(253, 73, 32));
  EXPECT_EQ(t.SpecialDayColor, MakeRgb(255, 255, 0));
  EXPECT_TRUE(t.HasLastWeekColor && t.HasTodayColor && t.HasSunColor && t.HasSpecialDayColor);
  EXPECT_EQ(t.DayHeight, 22);
  EXPECT_EQ(t.FullWidth, 3600);
  EXPECT_EQ(t.MiniWidth, 2200);
  EXPECT_EQ(t.LastweekHeight, 18);
  EXPECT_EQ(t.NextweekHeight, 18);
  EXPECT_FALSE(t.CalendarYear);
  EXPECT_EQ(t.CalendarYearFont, (FontSpec{"Arial", 8, true, false}));
  EXPECT_EQ(t.CalendarYearColor, MakeRgb(255, 255, 255));
  EXPECT_EQ(t.CalendarYearLeftString, "");
  EXPECT_EQ(t.CalendarYearRightString, "");
  EXPECT_EQ(t.CalendarYearLeft, 0);
  EXPECT_EQ(t.CalendarYearTop, 0);
  EXPECT_TRUE(t.ExtraTitle);
  EXPECT_EQ(t.ExtraTitleFont, (FontSpec{"Arial", 8, true, false}));
  EXPECT_EQ(t.ExtraTitleColor, MakeRgb(255, 255, 255));
  EXPECT_EQ(t.ExtraTitleLeft, -5);
  EXPECT_EQ(t.ExtraTitleTop, 2);
  EXPECT_EQ(t.ExtraTitle_Payment, "- PAYMENT -");
  EXPECT_EQ(t.ExtraTitle_Special, "- SPECIAL -");
  EXPECT_EQ(t.ExtraTitleAlignment, 0);
  EXPECT_EQ(t.ExtraLeft, 5);
  EXPECT_EQ(t.PaymentFont, (FontSpec{"ＭＳ Ｐゴシック", 10, false, false}));
  EXPECT_FALSE(t.HasPaymentColor);
  EXPECT_FALSE(t.CashOutline);
  EXPECT_EQ(t.SpecialFont, (FontSpec{"ＭＳ Ｐゴシック", 10, false, false}));
  EXPECT_FALSE(t.HasSpecialColor);
  EXPECT_EQ(t.BodyDrawMode, 0);
  for (const ThemePicture* p : {&t.Lastweek, &t.Nextweek, &t.Body, &t.Month, &t.CashIcon, &t.Title})
    EXPECT_FALSE(p->HasPicture || p->HasMask || p->Picture || p->Mask);
  EXPECT_EQ(t.TitleLeft, 0);
  EXPECT_EQ(t.TitleTop, 0);
}

TEST(NextThemeKeyTest, FollowsTheCollectionRule) {
  CDrawLoads list;
  EXPECT_EQ(NextThemeKey(list), "1");
  list.Add("1");
  list.Add("3");
  EXPECT_EQ(NextThemeKey(list), "4");  // "3" is above the count of 2 but taken
  list.Remove("1");
  EXPECT_EQ(NextThemeKey(list), "2");
}

TEST_F(ThemeFileTest, ReadsEveryFieldOfACompleteFile) {
  Write("PIC lastweek", "last.bmp");
  Write("PIC lastweek mask", "last_m.bmp");
  Write("PIC body", "body.jpg");
  Write("PIC title", "タイトル.gif");
  const std::string path = Write(
      kValidSizes +
      "MonthLeft=1\r\nMonthTop=-2\r\nExtraTitleLeft=3\r\nExtraTitleTop=4\r\nExtraLeft=5\r\n"
      "CalendarYearLeft=6\r\nCalendarYearTop=7\r\nTitleLeft=8\r\nMonthPictureLeft=9\r\n"
      "MonthPictureTop=10\r\n"
      "[PiexlSize]\r\nTitleTop=11\r\n"
      "[MonthDraw]\r\nDrawType=2\r\nDrawDays=5\r\n"
      "[TitleDraw]\r\nCalendarYear=True\r\nCalendarYearLeftString=" + Sjis("西暦") +
      "\r\nCalendarYearRightString=" + Sjis("年") + "\r\n"
      "[PictureDraw]\r\nBodyDrawMode=3\r\n"
      "[OthersDraw]\r\nExtraTitle=-1\r\nExtraTitle_Payment=" + Sjis("支払") +
      "\r\nExtraTitleAlignment=2\r\nCashOutline=true\r\n"
      "[PictureFilename]\r\nLastweek=last.bmp\r\nLastweek_Mask=last_m.bmp\r\nBody=body.jpg\r\n"
      "Body_Mask=missing.bmp\r\nTitle=" + Sjis("タイトル.gif") + "\r\n"
      "[MonthFont]\r\nName=Verdana\r\nSize=30\r\nBold=True\r\nItalic=True\r\n"
      "Color_R=1\r\nColor_G=2\r\nColor_B=3\r\n"
      "[DayFont]\r\nName=" + Sjis("ＭＳ 明朝") + "\r\nSize=12\r\n"
      "Color_R=10\r\nColor_G=20\r\nColor_B=30\r\n"
      "[PaymentFont]\r\nColor_R=4\r\nColor_G=5\r\nColor_B=6\r\n"
      "[TodayColor]\r\nColor_R=7\r\nColor_G=8\r\nColor_B=9\r\n"
      "[SunColor]\r\nColor_R=255\r\nColor_G=0\r\nColor_B=0\r\n");
  ASSERT_EQ(sfLoadINIThemeFile(current, path, environment), "");
  const ThemeRecord& t = current;
  EXPECT_EQ(t.FullWidth, 3600);
  EXPECT_EQ(t.MiniWidth, 2250);
  EXPECT_EQ(t.LastweekHeight, 20);
  EXPECT_EQ(t.NextweekHeight, 21);
  EXPECT_EQ(t.MonthWidth, 80);
  EXPECT_EQ(t.DayHeight, 24);
  EXPECT_EQ((std::vector<int>{t.MonthLeft, t.MonthTop, t.ExtraTitleLeft, t.ExtraTitleTop,
                              t.ExtraLeft, t.CalendarYearLeft, t.CalendarYearTop, t.TitleLeft,
                              t.MonthPictureLeft, t.MonthPictureTop, t.TitleTop}),
            (std::vector<int>{1, -2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(t.DrawType, 2);
  EXPECT_EQ(t.DrawDays, 5);
  EXPECT_TRUE(t.CalendarYear);
  EXPECT_EQ(t.CalendarYearLeftString, "西暦");
  EXPECT_EQ(t.CalendarYearRightString, "年");
  EXPECT_EQ(t.BodyDrawMode, 3);
  EXPECT_TRUE(t.ExtraTitle);
  EXPECT_EQ(t.ExtraTitle_Payment, "支払");
  EXPECT_EQ(t.ExtraTitle_Special, "SPECIAL");
  EXPECT_EQ(t.ExtraTitleAlignment, 2);
  EXPECT_TRUE(t.CashOutline);

  EXPECT_TRUE(t.Lastweek.HasPicture);
  EXPECT_TRUE(t.Lastweek.HasMask);
  EXPECT_EQ(static_cast<const NamedPicture&>(*t.Lastweek.Mask).Name(), dir.File("last_m.bmp"));
  EXPECT_TRUE(t.Body.HasPicture);
  EXPECT_FALSE(t.Body.HasMask);
  EXPECT_EQ(t.Body.MaskPath, dir.File("missing.bmp"));
  EXPECT_TRUE(t.Title.HasPicture);
  for (const ThemePicture* p : {&t.Nextweek, &t.CashIcon, &t.Month}) EXPECT_FALSE(p->HasPicture);

  EXPECT_EQ(t.MonthFont, (FontSpec{"Verdana", 30, true, true}));
  EXPECT_EQ(t.DayFont, (FontSpec{"ＭＳ 明朝", 12, false, false}));
  EXPECT_EQ(t.WeekFont, (FontSpec{"ＭＳ Ｐゴシック", 10, false, false}));
  EXPECT_EQ(t.MonthColor, MakeRgb(1, 2, 3));
  EXPECT_EQ(t.DayColor, MakeRgb(10, 20, 30));
  EXPECT_EQ(t.PaymentColor, MakeRgb(4, 5, 6));
  EXPECT_TRUE(t.HasPaymentColor);
  EXPECT_EQ(t.TodayColor, MakeRgb(7, 8, 9));
  EXPECT_TRUE(t.HasTodayColor);
  EXPECT_EQ(t.SunColor, MakeRgb(255, 0, 0));
  EXPECT_TRUE(t.HasSunColor);
  // Not in the file: no colour, black, flag off; flagless colours black.
  EXPECT_FALSE(t.HasLastWeekColor || t.HasSpecialDayColor || t.HasSpecialColor || t.HasHolidayColor);
  EXPECT_EQ(t.LastWeekColor, 0u);
  EXPECT_EQ(t.ExtraTitleColor, 0u);
  EXPECT_EQ(t.CalendarYearColor, 0u);
}

TEST_F(ThemeFileTest, WidthsScaleWithTheScreensTwipsPerPixel) {
  environment.twips_per_pixel_x = {12, 1};
  ASSERT_EQ(Load(kValidSizes), "");
  EXPECT_EQ(current.FullWidth, 2880);
  EXPECT_EQ(current.MiniWidth, 1800);
  environment.twips_per_pixel_x = TwipsScale::ForDpi(168);  // 8.571… twips a pixel
  ASSERT_EQ(Load(kValidSizes), "");
  EXPECT_EQ(current.FullWidth, 2057);  // 240 px
  EXPECT_EQ(current.MiniWidth, 1286);  // 150 px: 1285.71
}

TEST_F(ThemeFileTest, WidthsKeepTheTwipsPerPixelTheyWereReadWith) {
  // So the calendar gets the theme's own pixels back at any later scale.
  environment.twips_per_pixel_x = TwipsScale::ForDpi(168);
  ASSERT_EQ(Load(kValidSizes), "");
  EXPECT_EQ(current.WidthTwipsPerPixel, TwipsScale::ForDpi(168));
  EXPECT_EQ(TwipsToPixels(current.FullWidth, current.WidthTwipsPerPixel), 240);
  EXPECT_EQ(TwipsToPixels(current.MiniWidth, current.WidthTwipsPerPixel), 150);
}

// How the theme meets the display scale: [PixelSize] DesignDpi and Scale.
struct ScaleKeysCase {
  const char* lines;  // added under [PixelSize]
  std::int32_t design_dpi;
  bool scale;
  const char* what;  // the lines in the test's name
};
class ThemeScaleKeysTest : public ThemeFileTest, public testing::WithParamInterface<ScaleKeysCase> {};

TEST_P(ThemeScaleKeysTest, AreReadWithTheirDefaults) {
  ASSERT_EQ(Load(kValidSizes + GetParam().lines), "");
  EXPECT_EQ(current.DesignDpi, GetParam().design_dpi);
  EXPECT_EQ(current.ScaleToDisplay, GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ThemeScaleKeysTest,
    testing::Values(ScaleKeysCase{"", 96, true, "Neither"}, ScaleKeysCase{"DesignDpi=192\r\n", 192, true, "Dpi192"},
                    ScaleKeysCase{"DesignDpi=144\r\n", 144, true, "Dpi144"},
                    // Resolutions no picture is drawn for mean the values' own.
                    ScaleKeysCase{"DesignDpi=0\r\n", 96, true, "DpiZero"}, ScaleKeysCase{"DesignDpi=-192\r\n", 96, true, "DpiNegative"},
                    ScaleKeysCase{"DesignDpi=9600\r\n", 96, true, "DpiTooHigh"}, ScaleKeysCase{"DesignDpi=hoch\r\n", 96, true, "DpiNotANumber"},
                    ScaleKeysCase{"Scale=False\r\n", 96, false, "ScaleFalse"}, ScaleKeysCase{"Scale=false\r\n", 96, false, "ScaleLowerCaseFalse"},
                    ScaleKeysCase{"Scale=0\r\n", 96, false, "ScaleZero"}, ScaleKeysCase{"Scale=True\r\n", 96, true, "ScaleTrue"},
                    // Only a clear "no" switches scaling off.
                    ScaleKeysCase{"Scale=\r\n", 96, true, "ScaleEmpty"}, ScaleKeysCase{"Scale=nein\r\n", 96, true, "ScaleGarbled"},
                    ScaleKeysCase{"Scale=False\r\nDesignDpi=192\r\n", 192, false, "ScaleFalseDpi192"}),
    [](const testing::TestParamInfo<ScaleKeysCase>& param_info) { return std::string(param_info.param.what); });

TEST_F(ThemeFileTest, MissingFileFailsWithErrorZero) {
  EXPECT_EQ(sfLoadINIThemeFile(current, dir.File("none.ini"), environment),
            "sfLoadINIThemeFile\t0\tファイルが存在しません\n");
  ExpectUnchanged();
}

struct SizeCase {
  const char* key;
  const char* value;  // nullptr: key removed
  const char* what;   // the value in the test's name
};

class RequiredSizes : public ThemeFileTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(RequiredSizes, ABadSizeRejectsTheFileAndKeepsTheTheme) {
  const SizeCase& c = GetParam();
  std::string content;
  for (const char* key : {"FullWidth", "MiniWidth", "LastweekHeight", "NextweekHeight",
                          "MonthWidth", "DayHeight"}) {
    if (std::string_view(key) != c.key) content += std::string(key) + "=30\n";
    else if (c.value) content += std::string(key) + "=" + c.value + "\n";
  }
  // A broken picture is never reached: sizes are checked first.
  Write("not a picture", "body.bmp");
  EXPECT_EQ(Load("[PixelSize]\n" + content + "[PictureFilename]\nBody=body.bmp\n"),
            "sfLoadINIThemeFile\t1\tファイルのデータが不正です\n");
  EXPECT_TRUE(pictures.loaded.empty());
  ExpectUnchanged();
}

INSTANTIATE_TEST_SUITE_P(
    Values, RequiredSizes,
    testing::Values(SizeCase{"FullWidth", nullptr, "Missing"}, SizeCase{"FullWidth", "0", "Zero"},
                    SizeCase{"MiniWidth", "-1", "Negative"}, SizeCase{"LastweekHeight", "abc", "Text"},
                    SizeCase{"NextweekHeight", "40000", "BeyondAnInteger"}, SizeCase{"MonthWidth", "0.4", "RoundsToZero"},
                    SizeCase{"DayHeight", "0", "Zero"}, SizeCase{"DayHeight", nullptr, "Missing"},
                    SizeCase{"DayHeight", "", "Empty"}, SizeCase{"MonthWidth", "1e3", "Exponent"}),
    [](const testing::TestParamInfo<SizeCase>& param_info) {
      return std::string(param_info.param.key) + param_info.param.what;
    });

TEST_F(ThemeFileTest, FractionalSizesRoundHalfToEven) {
  ASSERT_EQ(Load("[PixelSize]\nFullWidth=2.5\nMiniWidth=3.5\nLastweekHeight=1\n"
                 "NextweekHeight=1\nMonthWidth=1\nDayHeight=0.6\n"),
            "");
  EXPECT_EQ(current.FullWidth, 30);
  EXPECT_EQ(current.MiniWidth, 60);
  EXPECT_EQ(current.DayHeight, 1);
}

TEST_F(ThemeFileTest, ColoursAreClampedAndNeedAllThreeComponents) {
  ASSERT_EQ(Load(kValidSizes +
                 "[MonthFont]\nColor_R=300\nColor_G=-5\nColor_B=10\n"
                 "[TodayColor]\nColor_R=1\nColor_G=2\n"
                 "[SunColor]\nColor_R=1\nColor_G=2\nColor_B=\n"
                 "[SpecialDayColor]\nColor_R=x\nColor_G=2.5\nColor_B=99999\n"
                 "[LastWeekColor]\nColor_R=\" \"\nColor_G=0\nColor_B=0\n"
                 "[HolidayColor]\nColor_R=250\nColor_G=300\nColor_B=1\n"),
            "");
  EXPECT_EQ(current.MonthColor, MakeRgb(255, 0, 10));
  EXPECT_FALSE(current.HasTodayColor);
  EXPECT_EQ(current.TodayColor, 0u);
  EXPECT_FALSE(current.HasSunColor);
  // Present but not numbers: defined, and the unconvertible components read as 0.
  EXPECT_TRUE(current.HasSpecialDayColor);
  EXPECT_EQ(current.SpecialDayColor, MakeRgb(0, 2, 0));
  // A quoted space is a value that is there.
  EXPECT_TRUE(current.HasLastWeekColor);
  EXPECT_TRUE(current.HasHolidayColor);
  EXPECT_EQ(current.HolidayColor, MakeRgb(250, 255, 1));
}

TEST_F(ThemeFileTest, TitleTopIsReadOnlyFromPiexlSize) {
  ASSERT_EQ(Load(kValidSizes + "TitleTop=5\nTitleLeft=6\n"), "");
  EXPECT_EQ(current.TitleTop, 0);
  EXPECT_EQ(current.TitleLeft, 6);
  ASSERT_EQ(Load(kValidSizes + "TitleTop=5\n[PiexlSize]\nTitleTop=7\n"), "");
  EXPECT_EQ(current.TitleTop, 7);
}

TEST_F(ThemeFileTest, MissingPictureSkipsItsMask) {
  Write("PIC mask", "body_m.bmp");
  ASSERT_EQ(Load(kValidSizes + "[PictureFilename]\nBody=gone.bmp\nBody_Mask=body_m.bmp\n"
                 "Title=\nTitle_Mask=body_m.bmp\n"),
            "");
  EXPECT_FALSE(current.Body.HasPicture || current.Body.HasMask || current.Title.HasMask);
  EXPECT_TRUE(pictures.loaded.empty());
}

TEST_F(ThemeFileTest, AFileThatIsNotAPictureFailsWithTheSystemsErrorAndKeepsTheTheme) {
  Write("PIC ok", "ok.bmp");
  Write("garbage", "bad.bmp");
  EXPECT_EQ(Load(kValidSizes + "[PictureFilename]\nLastweek=ok.bmp\nNextweek=bad.bmp\n"),
            "sfLoadINIThemeFile\t481\tInvalid picture\n");
  ExpectUnchanged();
  EXPECT_EQ(Load(kValidSizes + "[PictureFilename]\nLastweek=ok.bmp\nLastweek_Mask=bad.bmp\n"),
            "sfLoadINIThemeFile\t481\tInvalid picture\n");
  ExpectUnchanged();
}

TEST_F(ThemeFileTest, PicturesAreLoadedInTheirOrder) {
  for (const char* name : {"a", "b", "c", "d", "e", "f", "m"}) Write("PIC", name);
  ASSERT_EQ(Load(kValidSizes + "[PictureFilename]\nTitle=f\nMonth=e\nCashIcon=d\nNextweek=c\n"
                 "Body=b\nLastweek=a\nLastweek_Mask=m\n"),
            "");
  std::vector<std::string> expected;
  for (const char* name : {"a", "m", "b", "c", "d", "e", "f"}) expected.push_back(dir.File(name));
  EXPECT_EQ(pictures.loaded, expected);
}

TEST_F(ThemeFileTest, FontValuesAFontCannotTakeKeepTheNewFontsDefaults) {
  ASSERT_EQ(Load(kValidSizes +
                 "[MonthFont]\nName=\nSize=0\nBold=yes\nItalic=1\n"
                 "[DayFont]\nSize=-3\n[WeekFont]\nSize=99999\n[PaymentFont]\nSize=abc\n"
                 "[SpecialFont]\nSize=7.5\nBold=0\n"),
            "");
  EXPECT_EQ(current.MonthFont, (FontSpec{"ＭＳ Ｐゴシック", 10, false, true}));
  EXPECT_EQ(current.DayFont.points, 10);
  EXPECT_EQ(current.WeekFont.points, 10);
  EXPECT_EQ(current.PaymentFont.points, 10);
  EXPECT_EQ(current.SpecialFont, (FontSpec{"ＭＳ Ｐゴシック", 8, false, false}));
}

TEST_F(ThemeFileTest, PicturesLiveBesideTheThemeFile) {
  std::filesystem::create_directories(dir.path() / "Theme" / "Sky");
  Write("PIC", "Theme/Sky/body.bmp");
  const std::string path = Write(kValidSizes + "[PictureFilename]\nBody=body.bmp\n", "Theme/Sky/sky.ini");
  ASSERT_EQ(sfLoadINIThemeFile(current, path, environment), "");
  EXPECT_TRUE(current.Body.HasPicture);
}

TEST_F(ThemeFileTest, RandomAndHugeFilesNeverCrash) {
  std::mt19937 random(7);
  std::string bytes(1 << 16, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  EXPECT_EQ(Load(bytes), "sfLoadINIThemeFile\t1\tファイルのデータが不正です\n");
  std::string huge = kValidSizes + "[Comment]\n";
  while (huge.size() < 10'000'000) huge += "Line=" + std::string(200, 'z') + "\n";
  huge += "[MonthDraw]\nDrawType=4\n";
  ASSERT_EQ(Load(huge), "");
  EXPECT_EQ(current.DrawType, 4);
}

class ApplySelectedThemeTest : public ThemeFileTest {
protected:
  AppState state;
  RecordingCalendar calendar;
  std::string Apply() { return ApplySelectedTheme(state, environment, calendar); }
};

// The theme chosen in the list, applied as at start-up or after the options: what loads, what
// the selection becomes, and what is reported. The calendar is redrawn once either way.
struct ApplyCase {
  const char* name;
  const char* file;     // the list's file "1": its text, or nullptr for a file that is gone
  const char* key;      // the selection ("7": a key the list does not have); "" none, nor a list
  int draw_type_before;  // the theme in use before: 42 a loaded one, 99 a blank one, 0 none
  const char* error;    // what is reported: exactly this, or "*" any message
  int draw_type;        // the theme afterwards, by its DrawType (3: the built-in theme)
  const char* key_after;
};

void PrintTo(const ApplyCase& c, std::ostream* os) { *os << c.name; }

class ApplySelectedThemeCases : public ApplySelectedThemeTest, public testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplySelectedThemeCases, LoadsOrFallsBack) {
  const ApplyCase& c = GetParam();
  if (*c.key) state.ThemeList.Add("1")->IniFilePath = c.file ? Write(c.file) : dir.File("deleted.ini");
  state.SelectedThemeKey = c.key;
  if (c.draw_type_before == 42) LoadDefaultTheme(state.CurrentTheme);
  if (c.draw_type_before != 0) state.CurrentTheme.DrawType = c.draw_type_before;
  const std::string error = Apply();
  if (std::string(c.error) == "*") {
    EXPECT_NE(error, "");
  } else {
    EXPECT_EQ(error, c.error);
  }
  EXPECT_EQ(state.CurrentTheme.DrawType, c.draw_type);
  if (c.draw_type == 3) {
    EXPECT_EQ(state.CurrentTheme.FullWidth, 3600) << "the built-in theme";
  }
  EXPECT_EQ(state.SelectedThemeKey, c.key_after);
  EXPECT_EQ(calendar.full_draws, 1);
}

const std::string kDrawTypeOne = kValidSizes + "[MonthDraw]\nDrawType=1\n";
const char kInvalidSizes[] = "[PixelSize]\nFullWidth=1\n";

INSTANTIATE_TEST_SUITE_P(
    Themes, ApplySelectedThemeCases,
    testing::Values(ApplyCase{"NoSelectionLoadsTheBuiltInTheme", nullptr, "", 0, "", 3, ""},
                    ApplyCase{"TheSelectedFileIsLoaded", kDrawTypeOne.c_str(), "1", 0, "", 1, "1"},
                    ApplyCase{"ADeletedFileFallsBackAndClearsTheSelection", nullptr, "1", 99, "", 3, ""},
                    ApplyCase{"AnUnknownKeyFallsBackAndClearsTheSelection", nullptr, "7", 99, "", 3, ""},
                    ApplyCase{"AnInvalidFileKeepsTheThemeInUse", kInvalidSizes, "1", 42, "*", 42, "1"},
                    ApplyCase{"AnInvalidFileAtStartUpFallsBackToTheBuiltInTheme", kInvalidSizes, "1", 0,
                              "sfLoadINIThemeFile\t1\tファイルのデータが不正です\n", 3, ""}),
    [](const testing::TestParamInfo<ApplyCase>& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace orv
