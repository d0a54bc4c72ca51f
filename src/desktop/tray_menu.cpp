#include "desktop/tray_menu.hpp"

#include <algorithm>

namespace orv {

namespace {
MenuNode Item(std::string name, std::string caption, std::uint16_t command = kCmdNone) {
  return MenuNode{std::move(name), std::move(caption), command, {}};
}
MenuNode Separator(std::string name) { return Item(std::move(name), "-"); }
}  // namespace

MenuNode TrayMenu() {
  MenuNode page = Item("Pmenu_NextPage", "カレンダーをめくる(&N)");
  const char* pages[] = {"1年前", "1ヶ月前", "1ヶ月後", "1年後"};
  for (int i = 0; i < 4; ++i)
    page.children.push_back(Item("Pmenu_Page(" + std::to_string(i) + ")", pages[i],
                                 static_cast<std::uint16_t>(kCmdPage0 + i)));
  MenuNode extra = Item("Pmenu_Extra", "カレンダーの予定表示(&E)");
  const char* modes[] = {"カレンダーに予定を表示しない(&O)", "支払いの予定(&P)", "特別な日の予定(&S)"};
  for (int i = 0; i < 3; ++i)
    extra.children.push_back(Item("Pmenu_ExtraMode(" + std::to_string(i) + ")", modes[i],
                                  static_cast<std::uint16_t>(kCmdExtraMode0 + i)));
  MenuNode root = Item("Pmenu", "ポップアップ");
  root.children = {
      Item("Pmenu_SaveUserCalendar", "データの上書き保存(&S)", kCmdSaveUserCalendar),
      Item("Pmenu_DelYearDatas", "予定の一括削除(&D)...", kCmdDelYearDatas),
      Separator("Pmenu_Bar6"),
      Item("Pmenu_Redraw", "再描画(&R)", kCmdRedraw),
      std::move(page),
      std::move(extra),
      Separator("Pmenu_Bar2"),
      Item("Pmenu_Upcoming", "今後の予定(&U)...", kCmdUpcoming),
      Item("Pmenu_Option", "オプション(&O)...", kCmdOption),
      Separator("Pmenu_Bar1"),
      Item("Pmenu_OpenDataFile", "データファイルを開く...", kCmdOpenDataFile),
      Item("Pmenu_NewDataFile", "新しいデータファイル...", kCmdNewDataFile),
      Item("Pmenu_RestoreBackup", "バックアップから復元...", kCmdRestoreBackup),
      Separator("Pmenu_Bar7"),
      Item("Pmenu_Version", "バージョン情報(&A)...", kCmdVersion),
      Item("Pmenu_Quit", "終了(&Q)", kCmdQuit),
  };
  return root;
}

MenuNode ScrollMenu() {
  MenuNode root = Item("Pmenu_Scroll", "スクロール");
  root.children.push_back(Item("Pmenu_Today", "今日の表示(&T)\tCtrl+D", kCmdToday));
  root.children.push_back(Separator("Pmenu_Bar4"));
  const char* days[] = {"4週間前\tHome", "1週間前\tPageUp", "1週間後\tPageDown", "4週間後\tEnd"};
  for (int i = 0; i < 4; ++i)
    root.children.push_back(Item("Pmenu_ScrollDays(" + std::to_string(i) + ")", days[i],
                                 static_cast<std::uint16_t>(kCmdScrollDays0 + i)));
  return root;
}

std::optional<std::chrono::milliseconds> TrayAddRetryDelay(int failures) {
  constexpr int kGiveUpAfter = 12;  // about four and a half minutes of trying
  if (failures <= 0 || failures > kGiveUpAfter) return std::nullopt;
  const std::chrono::milliseconds delay{1000LL << std::min(failures - 1, 5)};
  return std::min(delay, std::chrono::milliseconds{30000});
}

TrayResponse TrayCallback(unsigned mouse_message, bool dialog_showing) {
  switch (mouse_message) {
    case 513: return {true, TrayAction::FocusCalendar};  // left button down
    case 515: return {true, dialog_showing ? TrayAction::Nothing : TrayAction::ShowToday};
    case 516: return {true, dialog_showing ? TrayAction::Nothing : TrayAction::OpenMenu};
    // The reminder was clicked: what comes next.
    case kBalloonUserClick: return {true, dialog_showing ? TrayAction::Nothing : TrayAction::ShowUpcoming};
    default: return {};
  }
}

Date PageDate(Date start, int index) {
  using namespace std::chrono;
  static constexpr int kMonths[] = {-12, -1, 1, 12};
  if (index < 0 || index > 3) return start;
  const year_month_day ymd{start};
  const year_month target = year_month{ymd.year(), ymd.month()} + months{kMonths[index]};
  const day last = year_month_day_last{target.year(), month_day_last{target.month()}}.day();
  return sys_days{target / (ymd.day() > last ? last : ymd.day())};
}

std::int16_t ScrollDaysFor(int index) {
  static constexpr std::int16_t kDays[] = {-28, -7, 7, 28};
  return index >= 0 && index < 4 ? kDays[index] : 0;
}

std::vector<bool> ExtraModeChecks(std::int32_t calendar_mode) {
  std::vector<bool> checks(3, false);
  if (calendar_mode >= 0 && calendar_mode < 3) checks[static_cast<std::size_t>(calendar_mode)] = true;
  return checks;
}

void HostController::ShowToday() {
  UpdateToday(state_);
  SetStartDate(state_, StartDateForToday(state_));
  ports_.DrawCalendar();
  ports_.FocusCalendar();
}

bool HostController::OnCommand(std::uint16_t command) {
  if (command >= kCmdPage0 && command < kCmdPage0 + 4) {
    SetStartDate(state_, PageDate(state_.StartDate, command - kCmdPage0));
    ports_.DrawCalendar();
    ports_.FocusCalendar();
    return true;
  }
  if (command >= kCmdExtraMode0 && command < kCmdExtraMode0 + 3) {
    state_.CalendarMode = command - kCmdExtraMode0;
    ports_.DrawCalendar();
    return true;
  }
  if (command >= kCmdScrollDays0 && command < kCmdScrollDays0 + 4) {
    ports_.CalendarScroll(ScrollDaysFor(command - kCmdScrollDays0));
    return true;
  }
  switch (command) {
    case kCmdSaveUserCalendar: {
      const std::string error = ports_.SaveUserData();
      ports_.StoreUserDataPath();
      if (!error.empty()) ports_.ShowSaveError();
      return true;
    }
    case kCmdDelYearDatas: ports_.ShowYearDatasDialog(); return true;
    case kCmdRedraw:
      UpdateToday(state_);
      ports_.CopyWallpaper();
      ports_.DrawCalendar();
      return true;
    case kCmdOption: ports_.ShowOptionDialog(); return true;
    case kCmdVersion: ports_.ShowVersionDialog(); return true;
    case kCmdQuit: ports_.Quit(); return true;
    case kCmdOpenDataFile: ports_.OpenDataFile(); return true;
    case kCmdNewDataFile: ports_.NewDataFile(); return true;
    case kCmdRestoreBackup: ports_.RestoreBackup(); return true;
    case kCmdUpcoming: ports_.ShowUpcoming(); return true;
    case kCmdToday: ShowToday(); return true;
    default: return false;
  }
}

}  // namespace orv
