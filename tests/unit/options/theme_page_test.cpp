#include "options/theme_page.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "options_fakes.hpp"

namespace orv {
namespace {

class ThemePageTest : public testing::Test {
protected:
  test::TempDir dir;
  AppState state;
  test::ScriptedPrompts prompts;
  test::FakePictures pictures;
  bool apply_enabled = false;
  ThemePage page{state, prompts, pictures, "C:\\Program Files\\Orvanta", apply_enabled};

  std::string Install(const std::string& name, const std::string& head = "") { return test::InstallTheme(state, dir, name, head); }
};

TEST_F(ThemePageTest, RefreshListsBuiltInFirstAndChoosesTheThemeInUse) {
  Install("a.ini", "Title=春の庭\r\n");
  state.SelectedThemeKey = Install("b.ini");
  page.ThemeListRefresh();
  EXPECT_EQ(page.titles(), (std::vector<std::string>{"シンプル （既定）", "春の庭", "（無題）"}));
  EXPECT_EQ(page.ThemeKeys(), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(page.chosen(), 2);
  EXPECT_TRUE(apply_enabled) << "refreshing chooses an entry, which counts as a change";
}

TEST_F(ThemePageTest, UnknownSelectionChoosesTheBuiltInEntry) {
  Install("a.ini");
  state.SelectedThemeKey = "9";
  page.ThemeListRefresh();
  EXPECT_EQ(page.chosen(), 0);
  EXPECT_EQ(page.ChosenKey(), "");
}

TEST_F(ThemePageTest, ChoosingAThemeShowsItsHeadAndTheSampleBesideTheFile) {
  Install("a.ini", "Comment=朝の色\r\nCopyright=(C) 作者\r\nSamplePicture=sample.bmp\r\n");
  test::WriteBytes(dir.File("sample.bmp"), "PIC");
  page.ThemeListRefresh();
  page.Choose(1);
  EXPECT_EQ(page.comment(), "朝の色");
  EXPECT_EQ(page.copyright(), "(C) 作者");
  EXPECT_EQ(pictures.loaded, (std::vector<std::string>{dir.File("sample.bmp")}));
  EXPECT_NE(page.sample(), nullptr);
  EXPECT_FALSE(page.sample_is_built_in());
  EXPECT_TRUE(page.delete_enabled());
  EXPECT_EQ(page.ChosenKey(), "1");

  page.Choose(0);
  EXPECT_TRUE(page.sample_is_built_in());
  EXPECT_EQ(page.comment(), kBuiltInThemeComment);
  EXPECT_FALSE(page.delete_enabled());
}

TEST_F(ThemePageTest, MissingHeadValuesAndSampleLeaveDefaultsAndNoPicture) {
  Install("a.ini", "SamplePicture=gone.bmp\r\n");
  Install("b.ini");
  page.ThemeListRefresh();
  page.Choose(1);
  EXPECT_EQ(page.sample(), nullptr);
  EXPECT_EQ(page.comment(), "（コメントがありません）");
  EXPECT_EQ(page.copyright(), "");
  page.Choose(2);
  EXPECT_EQ(pictures.loaded.size(), 1u) << "no SamplePicture: nothing is loaded";
  EXPECT_EQ(page.sample(), nullptr);
}

TEST(ThemePaths, ParentFolderKeepsItsSeparator) {
  EXPECT_EQ(ParentFolderOf("C:\\Themes\\a.ini"), "C:\\Themes\\");
  EXPECT_EQ(ParentFolderOf("/tmp/x/a.ini"), "/tmp/x/");
  EXPECT_EQ(ParentFolderOf("a.ini"), "");
}

TEST_F(ThemePageTest, AddAsksForAThemeFileInTheProgramsThemeFolder) {
  page.ThemeListRefresh();
  page.AddTheme();  // cancelled: no message
  ASSERT_EQ(prompts.file_requests.size(), 1u);
  EXPECT_EQ(prompts.file_requests[0].initial_folder, "C:\\Program Files\\Orvanta\\Theme\\");
  EXPECT_EQ(prompts.file_requests[0].filter, "カレンダーテーマ定義ファイル(*.INI)|*.INI|全てのファイル(*.*)|*.*");
  EXPECT_TRUE(prompts.file_requests[0].must_exist);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(state.ThemeList.Count(), 0);
}

struct VersionCase {
  const char* name;
  const char* line;  // the CanReadVersion line, or "" for none
  const char* title;  // expected message title, or "" for accepted
};
class AddVersions : public ThemePageTest, public testing::WithParamInterface<VersionCase> {};

TEST_P(AddVersions, OnlyExactlyOneIsAccepted) {
  std::string path = test::WriteTheme(dir, "new.ini", GetParam().line);
  prompts.files.push_back(path);
  page.ThemeListRefresh();
  apply_enabled = false;
  page.AddTheme();
  if (*GetParam().title == '\0') {
    EXPECT_TRUE(prompts.messages.empty());
    ASSERT_EQ(state.ThemeList.Count(), 1);
    EXPECT_EQ(state.ThemeList.At(1)->IniFilePath, path);
    EXPECT_EQ(page.titles().size(), 2u);
    EXPECT_EQ(page.chosen(), 0) << "the new theme is listed, not chosen";
  } else {
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, GetParam().title);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(state.ThemeList.Count(), 0);
  }
}
INSTANTIATE_TEST_SUITE_P(
    All, AddVersions,
    testing::Values(VersionCase{"One", "CanReadVersion=1\r\n", ""},
                    VersionCase{"Two", "CanReadVersion=2\r\n", "使用不可能なファイルバージョン"},
                    VersionCase{"Ten", "CanReadVersion=10\r\n", "使用不可能なファイルバージョン"},
                    VersionCase{"NoLine", "", "ファイルが読み込めませんでした"},
                    VersionCase{"Empty", "CanReadVersion=\r\n", "ファイルが読み込めませんでした"},
                    VersionCase{"Zero", "CanReadVersion=0\r\n", "ファイルが読み込めませんでした"},
                    VersionCase{"LeadingZero", "CanReadVersion=01\r\n", "ファイルが読み込めませんでした"},
                    VersionCase{"NotANumber", "CanReadVersion=abc\r\n", "ファイルが読み込めませんでした"},
                    VersionCase{"BeyondAnInteger", "CanReadVersion=40000\r\n", "ファイルが読み込めませんでした"}),
    [](const testing::TestParamInfo<VersionCase>& param_info) { return std::string(param_info.param.name); });

TEST(ThemeMessages, VersionMessageNamesTheProgramAndItsVersion) {
  EXPECT_EQ(ThemeVersionMessage(),
            "このファイルは Orvanta Verstion.1.0.0 で使用する事が出来ません！\r\n"
            "ソフトをアップグレードするか、このバージョンで使用できるテーマファイルを選択してください");
}

TEST_F(ThemePageTest, SamePathTwiceIsRefusedButOtherLetterCaseIsNot) {
  std::string path = test::WriteTheme(dir, "new.ini", "CanReadVersion=1\r\n");
  // The same file on a system whose paths ignore case; its own file elsewhere.
  std::string upper = test::WriteTheme(dir, "NEW.ini", "CanReadVersion=1\r\n");
  prompts.files = {path, path, upper};
  page.AddTheme();
  page.AddTheme();
  page.AddTheme();
  EXPECT_EQ(prompts.Titles(), (std::vector<std::string>{"追加済みの確認"}));
  EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(state.ThemeList.Count(), 2);
}

TEST_F(ThemePageTest, TheThemeInUseCannotBeRemovedWhateverIsChosen) {
  std::string a = Install("a.ini");
  std::string b = Install("b.ini");
  state.SelectedThemeKey = a;
  page.ThemeListRefresh();
  page.DeleteTheme();
  EXPECT_EQ(prompts.Titles(), (std::vector<std::string>{"表示中のテーマを削除する事は出来ません"}));
  EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(state.ThemeList.Count(), 2);

  // Once another theme is in use, the first one can go.
  state.SelectedThemeKey = b;
  page.Choose(1);
  prompts.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
  page.DeleteTheme();
  EXPECT_EQ(state.ThemeList.Count(), 2) << "cancelled";
  page.DeleteTheme();
  EXPECT_EQ(prompts.messages.back().title, "削除の確認");
  EXPECT_EQ(prompts.messages.back().buttons, MessageButtons::OkCancel);
  EXPECT_FALSE(state.ThemeList.Contains(a));
  EXPECT_EQ(page.chosen(), 1) << "the list returns to the theme in use";
  EXPECT_EQ(page.ChosenKey(), b);
}

TEST_F(ThemePageTest, SampleCopyIsReportedEvenWhenItFails) {
  int copies = 0;
  page.CopySample([&] { ++copies; });
  page.CopySample([&]() -> void { throw std::runtime_error("clipboard busy"); });
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(prompts.Titles(), (std::vector<std::string>(2, "サンプル画像の取り込み・確認")));
  EXPECT_EQ(prompts.messages[0].text,
            "現在表示されているカレンダーを、クリップボードにコピーしました。\r\n他のソフトウェアに張り付けて、使用してください");
}

TEST_F(ThemePageTest, RemovingTheBuiltInEntryDoesNothing) {
  Install("a.ini");
  page.ThemeListRefresh();
  page.Choose(0);
  page.DeleteTheme();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(state.ThemeList.Count(), 1);
}

}  // namespace
}  // namespace orv
