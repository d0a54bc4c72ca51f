#include "options/preset_page.hpp"

#include <gtest/gtest.h>

#include "../../support/scripted_prompts.hpp"
#include "schedule/user_data_file.hpp"

namespace orv {
namespace {

std::string Repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

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

// A name the user data file cannot hold would make every later save fail: it never enters the
// list. The refusal names the field and the reason, and the box comes back with the input.
TEST_F(PresetPageTest, NamesTheFileCannotHoldAreRefusedWithTheReasonAndAskedAgain) {
  struct Case {
    int kind;
    std::string name;
    const char* reason;
  } cases[] = {
      {0, "가계부", "保存できない文字が含まれています"},               // Hangul
      {1, "ケーキ\xF0\x9F\x8E\x82", "保存できない文字が含まれています"},  // an emoji
      {2, "記念日\u301C", "保存できない文字が含まれています"},         // WAVE DASH from a web page
      {3, "\u2212" "5", "保存できない文字が含まれています"},            // MINUS SIGN
      {0, std::string(kUserDataMaxTextBytes + 1, 'a'), "文字列が長すぎます"},
      {3, Repeated("日", kUserDataMaxTextBytes / 2 + 1), "文字列が長すぎます"},  // two bytes each
  };
  for (const auto& c : cases) {
    test::ScriptedPrompts asked;
    AppState fresh;
    PresetPage fresh_page{fresh, asked};
    fresh_page.ChooseKind(c.kind);
    asked.inputs = {c.name, std::nullopt};  // refused, then the box is cancelled
    fresh_page.AddPreset();
    EXPECT_TRUE(fresh_page.lines().empty()) << c.reason;
    ASSERT_EQ(asked.messages.size(), 1u);
    EXPECT_EQ(asked.messages[0].title, "一覧へ追加");
    EXPECT_EQ(asked.messages[0].icon, MessageIcon::Information);
    const std::string field = c.kind <= 1 ? "「名称」" : "「タイトル」";
    EXPECT_EQ(asked.messages[0].text, field + "の内容はユーザーデータファイルに保存できません\r\n" + c.reason);
    ASSERT_EQ(asked.input_defaults.size(), 2u);
    EXPECT_EQ(asked.input_defaults[0], "");
    EXPECT_EQ(asked.input_defaults[1], c.name) << "the input is kept";
  }
  // Corrected in the box that came back: stored, and the file can be written again.
  page.ChooseKind(2);
  prompts.inputs = {std::string("記念日\u301C"), std::string("記念日\uFF5E")};
  page.AddPreset();
  EXPECT_EQ(page.lines(), (std::vector<std::string>{"記念日\uFF5E"}));
  std::string bytes;
  EXPECT_EQ(SerializeUserData(state.Years, state.DefaultUserLists, bytes), "");
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
