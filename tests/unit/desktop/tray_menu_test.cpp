#include "desktop/tray_menu.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

std::vector<std::string> Captions(const MenuNode& node) {
  std::vector<std::string> out;
  for (const MenuNode& child : node.children) {
    out.push_back(child.caption);
    for (const MenuNode& grandchild : child.children) out.push_back("  " + grandchild.caption);
  }
  return out;
}

TEST(TrayMenuTest, CaptionsInOrderWithTheirSubmenus) {
  EXPECT_EQ(TrayMenu().caption, "ポップアップ");
  EXPECT_EQ(Captions(TrayMenu()),
            (std::vector<std::string>{
                "データの上書き保存(&S)", "予定の一括削除(&D)...", "-", "再描画(&R)",
                "カレンダーをめくる(&N)", "  1年前", "  1ヶ月前", "  1ヶ月後", "  1年後",
                "カレンダーの予定表示(&E)", "  カレンダーに予定を表示しない(&O)",
                "  支払いの予定(&P)", "  特別な日の予定(&S)", "-", "今後の予定(&U)...", "オプション(&O)...", "-",
                "データファイルを開く...", "新しいデータファイル...", "バックアップから復元...", "-",
                "バージョン情報(&A)...", "終了(&Q)"}));
}

TEST(TrayMenuTest, ScrollMenuCarriesTheKeyHintsAfterATab) {
  EXPECT_EQ(ScrollMenu().caption, "スクロール");
  EXPECT_EQ(Captions(ScrollMenu()),
            (std::vector<std::string>{"今日の表示(&T)\tCtrl+D", "-", "4週間前\tHome",
                                      "1週間前\tPageUp", "1週間後\tPageDown", "4週間後\tEnd"}));
}

TEST(TrayAddRetryTest, SoonAtFirstThenLessOftenThenNoMore) {
  using std::chrono::milliseconds;
  EXPECT_EQ(TrayAddRetryDelay(0), std::nullopt);  // added
  std::vector<long long> delays;
  for (int failures = 1; TrayAddRetryDelay(failures); ++failures) delays.push_back(TrayAddRetryDelay(failures)->count());
  EXPECT_EQ(delays, (std::vector<long long>{1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000, 30000, 30000, 30000, 30000}));
}

TEST(TrayCallbackTest, EachMouseMessageAndTheDialogBlock) {
  struct Case { unsigned message; bool dialog; bool foreground; TrayAction action; };
  const Case cases[] = {
      {512, false, false, TrayAction::Nothing},       {513, false, true, TrayAction::FocusCalendar},
      {513, true, true, TrayAction::FocusCalendar},   {514, false, false, TrayAction::Nothing},
      {515, false, true, TrayAction::ShowToday},      {515, true, true, TrayAction::Nothing},
      {516, false, true, TrayAction::OpenMenu},       {516, true, true, TrayAction::Nothing},
      {517, false, false, TrayAction::Nothing},       {518, false, false, TrayAction::Nothing},
      {0x405, false, true, TrayAction::ShowUpcoming}, {0x405, true, true, TrayAction::Nothing},  // the reminder clicked
  };
  for (const Case& c : cases) {
    const TrayResponse r = TrayCallback(c.message, c.dialog);
    EXPECT_EQ(r.foreground, c.foreground) << c.message;
    EXPECT_EQ(r.action, c.action) << c.message << " dialog " << c.dialog;
  }
}

TEST(PageDateTest, KeepsTheDayAndClampsToShorterMonths) {
  struct Case { Date from; int index; Date to; };
  const Case cases[] = {
      {MakeDate(2026, 3, 31), 1, MakeDate(2026, 2, 28)},
      {MakeDate(2028, 3, 31), 1, MakeDate(2028, 2, 29)},
      {MakeDate(2028, 2, 29), 0, MakeDate(2027, 2, 28)},
      {MakeDate(2026, 1, 31), 2, MakeDate(2026, 2, 28)},
      {MakeDate(2026, 12, 15), 2, MakeDate(2027, 1, 15)},
      {MakeDate(2026, 1, 15), 1, MakeDate(2025, 12, 15)},
      {MakeDate(2026, 5, 31), 3, MakeDate(2027, 5, 31)},
      {MakeDate(2026, 5, 31), 7, MakeDate(2026, 5, 31)},
  };
  for (const Case& c : cases) EXPECT_EQ(PageDate(c.from, c.index), c.to) << c.index;
}

TEST(ScrollDaysTest, FourStepsAndZeroOtherwise) {
  EXPECT_EQ(ScrollDaysFor(0), -28);
  EXPECT_EQ(ScrollDaysFor(1), -7);
  EXPECT_EQ(ScrollDaysFor(2), 7);
  EXPECT_EQ(ScrollDaysFor(3), 28);
  EXPECT_EQ(ScrollDaysFor(4), 0);
  EXPECT_EQ(ExtraModeChecks(2), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(ExtraModeChecks(0), (std::vector<bool>{true, false, false}));
}

class RecordingPorts : public HostPorts {
public:
  std::vector<std::string> log;
  std::string save_result;
  void DrawCalendar() override { log.push_back("draw"); }
  void CalendarScroll(std::int16_t days) override { log.push_back("scroll " + std::to_string(days)); }
  void FocusCalendar() override { log.push_back("focus"); }
  void CopyWallpaper() override { log.push_back("wallpaper"); }
  std::string SaveUserData() override {
    log.push_back("save");
    return save_result;
  }
  void StoreUserDataPath() override { log.push_back("store path"); }
  void ShowSaveError() override { log.push_back("error box"); }
  void ShowYearDatasDialog() override { log.push_back("years"); }
  void ShowOptionDialog() override { log.push_back("options"); }
  void ShowVersionDialog() override { log.push_back("version"); }
  void Quit() override { log.push_back("quit"); }
  void ShowUpcoming() override { log.push_back("upcoming"); }
};

struct HostFixture : ::testing::Test {
  AppState state;
  RecordingPorts ports;
  HostController host{state, ports};
  HostFixture() { state.clock = [] { return MakeDate(2026, 3, 31); }; }
};
using HostControllerTest = HostFixture;

TEST_F(HostControllerTest, SaveStoresThePathAlwaysAndReportsOnlyFailures) {
  host.OnCommand(kCmdSaveUserCalendar);
  EXPECT_EQ(ports.log, (std::vector<std::string>{"save", "store path"}));
  ports.log.clear();
  ports.save_result = "sfSaveUserData\t5\tdenied\n";
  host.OnCommand(kCmdSaveUserCalendar);
  EXPECT_EQ(ports.log, (std::vector<std::string>{"save", "store path", "error box"}));
}

TEST_F(HostControllerTest, PageMovesStartDateWithoutRefreshingToday) {
  SetStartDate(state, MakeDate(2026, 3, 31));
  host.OnCommand(kCmdPage0 + 1);
  EXPECT_EQ(state.StartDate, MakeDate(2026, 2, 28));
  EXPECT_EQ(state.StartDateParts, SplitDate(MakeDate(2026, 2, 28)));
  EXPECT_EQ(state.Today, Date{});
  EXPECT_EQ(ports.log, (std::vector<std::string>{"draw", "focus"}));
}

TEST_F(HostControllerTest, TodayRedrawModeAndScrollCommands) {
  state.TodayStart = 1;
  host.OnCommand(kCmdToday);
  EXPECT_EQ(state.StartDate, MakeDate(2026, 3, 30));
  host.OnCommand(kCmdExtraMode0 + 2);
  EXPECT_EQ(state.CalendarMode, 2);
  host.OnCommand(kCmdScrollDays0 + 3);
  host.OnCommand(kCmdRedraw);
  host.OnCommand(kCmdUpcoming);
  EXPECT_EQ(ports.log, (std::vector<std::string>{"draw", "focus", "draw", "scroll 28", "wallpaper", "draw", "upcoming"}));
  EXPECT_FALSE(host.OnCommand(999));
  EXPECT_FALSE(host.SaveEntryVisible());
  state.OverWriteMenu = true;
  EXPECT_TRUE(host.SaveEntryVisible());
}

}  // namespace
}  // namespace orv
