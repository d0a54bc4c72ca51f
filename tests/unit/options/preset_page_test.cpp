#include "options/preset_page.hpp"

#include <gtest/gtest.h>

#include "../../support/scripted_prompts.hpp"

namespace orv {
namespace {

class PresetPageTest : public testing::Test {
protected:
  AppState state;
  test::ScriptedPrompts prompts;
  PresetPage page{state, prompts};

  void Fill(int kind, std::vector<std::string> names) {
    for (auto& name : names) {
      auto key = NextDefaultUserKey(state.DefaultUserLists, kind);
      state.DefaultUserLists[static_cast<std::size_t>(kind)].Add(key)->strValue1 = name;
    }
  }
};

TEST(PresetPrompts, KindDataFieldWordAsk) {
  EXPECT_EQ(PresetPrompt(0), "自動振替データの名称を入力してください");
  EXPECT_EQ(PresetPrompt(1), "現金支払データの名称を入力してください");
  EXPECT_EQ(PresetPrompt(2), "特に特別な日データのタイトルを入力してください");
  EXPECT_EQ(PresetPrompt(3), "特別な日データのタイトルを入力してください");
}

TEST_F(PresetPageTest, ChoosingAKindShowsItsNamesInOrder) {
  Fill(0, {"電気", "ガス"});
  Fill(3, {"誕生日"});
  page.ChooseKind(0);
  EXPECT_EQ(page.lines(), (std::vector<std::string>{"電気", "ガス"}));
  page.ChooseKind(3);
  EXPECT_EQ(page.lines(), (std::vector<std::string>{"誕生日"}));
  EXPECT_EQ(page.DUDKeys(), (std::vector<std::string>{"1"}));
  page.ChooseKind(1);
  EXPECT_TRUE(page.lines().empty());
}

TEST_F(PresetPageTest, AddingAsksAndAppendsEvenADuplicate) {
  page.ChooseKind(2);
  prompts.inputs = {std::string("記念日"), std::string("記念日"), std::string(""), std::nullopt};
  for (int i = 0; i < 4; ++i) page.AddPreset();
  EXPECT_EQ(prompts.input_prompts[0], "特に特別な日データのタイトルを入力してください");
  EXPECT_EQ(page.lines(), (std::vector<std::string>{"記念日", "記念日"}));
  EXPECT_EQ(page.DUDKeys(), (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(prompts.messages.empty()) << "an empty answer adds nothing and says nothing";
}

TEST_F(PresetPageTest, RemovingTickedNamesKeepsTheOthersInOrder) {
  Fill(1, {"a", "b", "c", "d", "e"});
  page.ChooseKind(1);
  prompts.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
  const std::vector<bool> ticks{false, true, false, true, false};
  page.DeleteTickedPresets(ticks);
  EXPECT_EQ(page.lines().size(), 5u) << "cancelled";
  page.DeleteTickedPresets(ticks);
  EXPECT_EQ(page.lines(), (std::vector<std::string>{"a", "c", "e"}));
  EXPECT_EQ(page.DUDKeys(), (std::vector<std::string>{"1", "3", "5"}));
  EXPECT_EQ(prompts.messages[1].title, "削除の確認");
  EXPECT_EQ(prompts.messages[1].text, "チェックがつけられた項目を、一覧から削除します\r\n本当に削除しますか？");
  EXPECT_EQ(prompts.messages[1].icon, MessageIcon::Question);
}

TEST_F(PresetPageTest, RemovingWithNothingTickedOnlyExplains) {
  Fill(0, {"a"});
  page.ChooseKind(0);
  page.DeleteTickedPresets({false});
  page.DeleteTickedPresets({});
  EXPECT_EQ(prompts.Titles(), (std::vector<std::string>(2, "一覧からの削除について")));
  EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(page.lines().size(), 1u);
}

TEST_F(PresetPageTest, NoKindChosenAddsNothing) {
  page.ChooseKind(-1);
  page.AddPreset();
  EXPECT_TRUE(prompts.input_prompts.empty());
  EXPECT_TRUE(page.lines().empty());
}

}  // namespace
}  // namespace orv
