#include "core/settings.hpp"

#include <gtest/gtest.h>

#include "platform/ini_file.hpp"
#include "platform/registry_reader.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

void Store(MemorySettingsStore& store, std::string_view section, std::string_view key,
           std::string_view value) {
  store.Set(kApplicationName, section, key, value);
}

// Every option away from its default, so that a read or a round trip shows each one.
AppState AwayFromTheDefaults() {
  AppState state;
  state.MicrosoftWheelMouse = false;
  state.MicrosoftWheelMouseChange = 1;
  state.TodayStart = 0;
  state.IgnoreXPTheme = true;
  state.CenterClick = false;
  state.ShiftAuto = false;
  state.OverWriteMenu = true;
  state.AutoSave = true;
  state.ShowHolidays = false;
  state.RemindPayments = false;
  state.RemindDaysAhead = 14;
  state.RemindVerySpecial = false;
  state.LastCalendarMode = 1;
  return state;
}

TEST(ReadOptionsTest, FreshAccountGetsTheDefaults) {
  MemorySettingsStore store;
  AppState state = AwayFromTheDefaults();
  state.UserDataPath = "x";
  ReadOptions(store, state);
  ReadUserDataPath(store, state);
  EXPECT_TRUE(state.MicrosoftWheelMouse);
  EXPECT_EQ(state.MicrosoftWheelMouseChange, 0);
  EXPECT_EQ(state.TodayStart, 2);
  EXPECT_FALSE(state.IgnoreXPTheme);
  EXPECT_TRUE(state.CenterClick);
  EXPECT_TRUE(state.ShiftAuto);
  EXPECT_FALSE(state.OverWriteMenu);
  EXPECT_FALSE(state.AutoSave);
  EXPECT_TRUE(state.ShowHolidays);
  EXPECT_TRUE(state.RemindPayments);
  EXPECT_EQ(state.RemindDaysAhead, 2);
  EXPECT_TRUE(state.RemindVerySpecial);
  EXPECT_EQ(state.LastCalendarMode, 0);
  EXPECT_EQ(state.UserDataPath, "");
}

struct IntegerCase {
  const char* key;
  const char* stored;
  std::int32_t expected;
  const char* what;  // the stored text in the test's name
};

class IntegerOptionRanges : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerOptionRanges, MapsStoredTextAsTheTableSays) {
  MemorySettingsStore store;
  const IntegerCase& c = GetParam();
  std::string_view key = c.key;
  Store(store, key == "LastCalendarMode" ? "Run" : "Option", key, c.stored);
  AppState state;
  ReadOptions(store, state);
  std::int32_t got = key == "TodayStart" ? state.TodayStart
                     : key == "MicrosoftWheelMouseChange" ? state.MicrosoftWheelMouseChange
                     : key == "Zoom"                      ? state.Zoom
                     : key == "RemindDaysAhead"           ? state.RemindDaysAhead
                                                          : state.LastCalendarMode;
  EXPECT_EQ(got, c.expected) << c.key << "=" << c.stored;
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerOptionRanges,
    testing::Values(IntegerCase{"TodayStart", "1", 1, "One"}, IntegerCase{"TodayStart", "0", 0, "Zero"},
                    IntegerCase{"TodayStart", "5", 2, "Five"}, IntegerCase{"TodayStart", "-1", 2, "MinusOne"},
                    IntegerCase{"TodayStart", "A", 0, "Letter"}, IntegerCase{"TodayStart", "1.5", 2, "OnePointFive"},
                    IntegerCase{"TodayStart", "0.5", 0, "ZeroPointFive"},
                    IntegerCase{"TodayStart", "99999", 0, "BeyondAnInteger"},
                    IntegerCase{"MicrosoftWheelMouseChange", "1", 1, "One"},
                    IntegerCase{"MicrosoftWheelMouseChange", "-1", 0, "MinusOne"},
                    IntegerCase{"MicrosoftWheelMouseChange", "2", 0, "Two"},
                    // Days ahead of a reminder: 0..14, anything else the default two.
                    IntegerCase{"RemindDaysAhead", "0", 0, "Zero"}, IntegerCase{"RemindDaysAhead", "14", 14, "Fourteen"},
                    IntegerCase{"RemindDaysAhead", "15", 2, "Fifteen"}, IntegerCase{"RemindDaysAhead", "-1", 2, "MinusOne"},
                    IntegerCase{"LastCalendarMode", "2", 2, "Two"},
                    IntegerCase{"LastCalendarMode", "-7", -7, "MinusSeven"},  // no range check
                    IntegerCase{"LastCalendarMode", "40000", 0, "BeyondAnInteger"},
                    // The zoom is one of its choices, or follows the monitor (0).
                    IntegerCase{"Zoom", "150", 150, "OneFifty"}, IntegerCase{"Zoom", "200", 200, "TwoHundred"},
                    IntegerCase{"Zoom", "130", 0, "NoChoice"}, IntegerCase{"Zoom", "-100", 0, "MinusHundred"},
                    IntegerCase{"Zoom", "x", 0, "Letter"}),
    [](const testing::TestParamInfo<IntegerCase>& param_info) {
      return std::string(param_info.param.key) + param_info.param.what;
    });

TEST(ReadOptionsTest, BooleansFollowParseBoolean) {
  struct Case {
    const char* stored;
    bool expected;
  };
  for (Case c : {Case{"True", true}, Case{"true", true}, Case{"-1", true}, Case{"0", false},
                 Case{"yes", false}, Case{"", false}, Case{"False", false}}) {
    MemorySettingsStore store;
    for (const char* key : {"MicrosoftWheelMouse", "IgnoreXPTheme", "CenterClick", "ShiftAuto",
                            "OverWriteMenu", "AutoSave", "ShowHolidays", "RemindPayments", "RemindVerySpecial"})
      Store(store, "Option", key, c.stored);
    AppState state;
    ReadOptions(store, state);
    for (bool flag : {state.MicrosoftWheelMouse, state.IgnoreXPTheme, state.CenterClick,
                      state.ShiftAuto, state.OverWriteMenu, state.AutoSave, state.ShowHolidays,
                      state.RemindPayments, state.RemindVerySpecial})
      EXPECT_EQ(flag, c.expected) << c.stored;
  }
}

TEST(SaveSettingsTest, WritesInOrderAndSkipsIgnoreXPThemeWithoutVisualStyles) {
  AppState state;
  state.MicrosoftWheelMouse = false;
  state.TodayStart = 1;
  state.AutoSave = true;
  state.LastCalendarMode = 2;
  state.IgnoreXPTheme = true;
  MemorySettingsStore store;
  Store(store, "Option", "IgnoreXPTheme", "False");
  const std::string earlier = store.Log();
  SaveSettings(store, state);
  EXPECT_EQ(store.Log().substr(earlier.size()),
            "Option/MicrosoftWheelMouse=False\n"
            "Option/MicrosoftWheelMouseChange=0\n"
            "Option/TodayStart=1\n"
            "Option/CenterClick=True\n"
            "Option/ShiftAuto=True\n"
            "Option/OverWriteMenu=False\n"
            "Option/AutoSave=True\n"
            "Option/ShowHolidays=True\n"
            "Option/RemindPayments=True\n"
            "Option/RemindDaysAhead=2\n"
            "Option/RemindVerySpecial=True\n"
            "Option/Zoom=0\n"
            "Theme/Selected=\n"
            "Run/LastCalendarMode=2\n");
  EXPECT_EQ(store.Get(kApplicationName, "Option", "IgnoreXPTheme", ""), "False");

  state.XPThemeAvailable = true;
  MemorySettingsStore themed;
  SaveSettings(themed, state);
  EXPECT_NE(themed.Log().find("Option/TodayStart=1\nOption/IgnoreXPTheme=True\nOption/CenterClick="),
            std::string::npos);
}

TEST(SaveSettingsTest, OptionsSurviveARoundTrip) {
  AppState saved = AwayFromTheDefaults();
  saved.XPThemeAvailable = true;
  saved.Zoom = 175;
  saved.UserDataPath = "C:\\データ\\家計.ORV";
  MemorySettingsStore store;
  SaveSettings(store, saved);
  SaveUserDataPath(store, saved);
  AppState read;
  ReadOptions(store, read);
  ReadUserDataPath(store, read);
  EXPECT_EQ(read.MicrosoftWheelMouse, saved.MicrosoftWheelMouse);
  EXPECT_EQ(read.MicrosoftWheelMouseChange, saved.MicrosoftWheelMouseChange);
  EXPECT_EQ(read.TodayStart, saved.TodayStart);
  EXPECT_EQ(read.IgnoreXPTheme, saved.IgnoreXPTheme);
  EXPECT_EQ(read.CenterClick, saved.CenterClick);
  EXPECT_EQ(read.ShiftAuto, saved.ShiftAuto);
  EXPECT_EQ(read.OverWriteMenu, saved.OverWriteMenu);
  EXPECT_EQ(read.AutoSave, saved.AutoSave);
  EXPECT_EQ(read.ShowHolidays, saved.ShowHolidays);
  EXPECT_EQ(read.RemindPayments, saved.RemindPayments);
  EXPECT_EQ(read.RemindDaysAhead, saved.RemindDaysAhead);
  EXPECT_EQ(read.RemindVerySpecial, saved.RemindVerySpecial);
  EXPECT_EQ(read.LastCalendarMode, saved.LastCalendarMode);
  EXPECT_EQ(read.Zoom, saved.Zoom);
  EXPECT_EQ(read.UserDataPath, saved.UserDataPath);
}

class ThemeListTest : public testing::Test {
protected:
  test::TempDir dir;
  AppState state;
  MemorySettingsStore store;
  void SetUp() override { state.ThemeListIniPath = dir.File("Orvanta.INI"); }
};

TEST_F(ThemeListTest, SkipsEmptyEntriesAndMarksTheSelectedPath) {
  test::WriteBytes(state.ThemeListIniPath,
                   "[CalendarDraw]\r\nCount=3\r\nFile_1=C:\\a.ini\r\nFile_2=\r\nFile_3=C:\\c.ini\r\n"
                   "File_4=C:\\never.ini\r\n");
  Store(store, "Theme", "Selected", "C:\\c.ini");
  state.SelectedThemeKey = "9";
  ReadThemeList(store, "C:\\Prog", state);
  ASSERT_EQ(state.ThemeList.Count(), 2);
  EXPECT_EQ(state.ThemeList.At(1)->Key, "1");
  EXPECT_EQ(state.ThemeList.At(1)->IniFilePath, "C:\\a.ini");
  EXPECT_EQ(state.ThemeList.At(2)->Key, "2");
  EXPECT_EQ(state.ThemeList.At(2)->IniFilePath, "C:\\c.ini");
  EXPECT_EQ(state.SelectedThemeKey, "2");
}

TEST_F(ThemeListTest, SelectionComparesPathsExactly) {
  test::WriteBytes(state.ThemeListIniPath, "[CalendarDraw]\nCount=1\nFile_1=C:\\A.ini\n");
  Store(store, "Theme", "Selected", "C:\\a.ini");
  ReadThemeList(store, "C:\\Prog", state);
  EXPECT_EQ(state.ThemeList.Count(), 1);
  EXPECT_EQ(state.SelectedThemeKey, "");
}

TEST_F(ThemeListTest, RelativeEntriesBecomeFullPathsAndAreWrittenBackSo) {
  test::WriteBytes(state.ThemeListIniPath,
                   "[CalendarDraw]\r\nCount=2\r\nFile_1=Theme\\Sky\\Sky.ini\r\n"
                   "File_2=theme\\low.ini\r\nFile_3=C:\\stale.ini\r\n");
  Store(store, "Theme", "Selected", "C:\\Prog\\Theme\\Sky\\Sky.ini");
  ReadThemeList(store, "C:\\Prog", state);
  ASSERT_EQ(state.ThemeList.Count(), 2);
  EXPECT_EQ(state.ThemeList.At(1)->IniFilePath, "C:\\Prog\\Theme\\Sky\\Sky.ini");
  EXPECT_EQ(state.ThemeList.At(2)->IniFilePath, "theme\\low.ini");  // prefix is case-sensitive
  EXPECT_EQ(state.SelectedThemeKey, "1");

  state.ThemeList.Remove("2");
  SaveSettings(store, state);
  EXPECT_EQ(test::ReadBytes(state.ThemeListIniPath),
            "[CalendarDraw]\r\nCount=1\r\nFile_1=C:\\Prog\\Theme\\Sky\\Sky.ini\r\n"
            "File_2=theme\\low.ini\r\nFile_3=C:\\stale.ini\r\n");
  EXPECT_EQ(store.Get(kApplicationName, "Theme", "Selected", "?"), "C:\\Prog\\Theme\\Sky\\Sky.ini");
  AppState again;
  again.ThemeListIniPath = state.ThemeListIniPath;
  ReadThemeList(store, "D:\\Elsewhere", again);
  ASSERT_EQ(again.ThemeList.Count(), 1);
  EXPECT_EQ(again.SelectedThemeKey, "1");
}

TEST_F(ThemeListTest, MissingOrDamagedListGivesNoEntries) {
  ReadThemeList(store, "C:\\Prog", state);
  EXPECT_EQ(state.ThemeList.Count(), 0);
  for (const char* count : {"-3", "abc", "1e3", "99999"}) {
    test::WriteBytes(state.ThemeListIniPath,
                     std::string("[CalendarDraw]\nCount=") + count + "\nFile_1=C:\\a.ini\n");
    ReadThemeList(store, "C:\\Prog", state);
    EXPECT_EQ(state.ThemeList.Count(), 0) << count;
  }
}

TEST_F(ThemeListTest, SaveCreatesTheListAndWritesAnEmptySelectionForTheBuiltInTheme) {
  state.ThemeList.Add("1")->IniFilePath = "C:\\テーマ\\春.ini";
  SaveSettings(store, state);
  IniFile file = IniFile::Load(state.ThemeListIniPath);
  EXPECT_EQ(file.Get("CalendarDraw", "Count", ""), "1");
  EXPECT_EQ(file.Get("CalendarDraw", "File_1", ""), "C:\\テーマ\\春.ini");
  EXPECT_EQ(store.Get(kApplicationName, "Theme", "Selected", "?"), "");
}

TEST(JoinPathTest, AddsOneSeparator) {
  EXPECT_EQ(ThemeListIniPathFor("C:\\Program Files\\Orvanta"),
            "C:\\Program Files\\Orvanta\\Orvanta.INI");
  EXPECT_EQ(ThemeListIniPathFor("C:\\"), "C:\\Orvanta.INI");
  EXPECT_EQ(JoinPath("/opt/orvanta/", "Theme\\a.ini"), "/opt/orvanta/Theme\\a.ini");
}

TEST(ReadRegistryValueTest, TextNumberAndOtherKinds) {
  MemoryRegistryReader reader;
  const auto root = RegistryRoot::CurrentUser;
  const std::string desk = "Control Panel\\Desktop";
  reader.texts[{root, desk, "Wallpaper"}] = "C:\\壁紙.bmp";
  reader.texts[{root, desk, "Fits"}] = std::string(255, 'w');
  reader.texts[{root, desk, "TooLong"}] = std::string(256, 'w');
  reader.texts[{root, desk, "WideTooLong"}] = std::string(127, 'w') + "\xF0\x9F\x98\x80";
  reader.numbers[{root, desk, "Number"}] = 0xFFFFFFFF;
  const RegistryValue text_default = std::string("default");

  EXPECT_EQ(ReadRegistryValue(reader, root, desk, "Wallpaper", 1, text_default),
            RegistryValue(std::string("C:\\壁紙.bmp")));
  EXPECT_EQ(ReadRegistryValue(reader, root, desk, "Fits", 1, text_default),
            RegistryValue(std::string(255, 'w')));
  EXPECT_EQ(ReadRegistryValue(reader, root, desk, "TooLong", 1, text_default), text_default);
  EXPECT_EQ(ReadRegistryValue(reader, root, desk, "Missing", 1, text_default), text_default);
  EXPECT_EQ(ReadRegistryValue(reader, root, desk, "Number", 4, RegistryValue(7)),
            RegistryValue(-1));
  EXPECT_EQ(ReadRegistryValue(reader, root, desk, "Missing", 4, RegistryValue(7)),
            RegistryValue(7));
  EXPECT_EQ(ReadRegistryValue(reader, root, desk, "Wallpaper", 2, text_default), text_default);
  // 127 + 2 units fit easily: the limit counts UTF-16 units, not bytes.
  EXPECT_NE(ReadRegistryValue(reader, root, desk, "WideTooLong", 1, text_default), text_default);
}

}  // namespace
}  // namespace orv
