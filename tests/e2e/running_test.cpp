// End-to-end: start-up, placement, keys and mouse as a user gives them, the tray icon and its
// menus, the single instance, and the shutdown whatever ends the program.
#include "e2e_harness.hpp"

#include <cstdlib>
#include <set>

#include "calendar/calendar_layout.hpp"
#include "holidays/japanese_holidays.hpp"
#include "theme/theme.hpp"

namespace orv::e2e {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

sys_days ParseDay(const std::string& text) {
  int y = 0, m = 0, d = 0;
  std::sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d);
  return sys_days{std::chrono::year{y} / std::chrono::month{static_cast<unsigned>(m)} /
                  std::chrono::day{static_cast<unsigned>(d)}};
}

std::string DayText(sys_days day) {
  const std::chrono::year_month_day ymd{day};
  return std::to_string(static_cast<int>(ymd.year())) + "-" + std::to_string(static_cast<unsigned>(ymd.month())) +
         "-" + std::to_string(static_cast<unsigned>(ymd.day()));
}

// The screen's twips per pixel, exact: 1440 / its dots per inch.
TwipsScale TwipsPerPixelX() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return TwipsScale::ForDpi(dpi);
}
// The calendar's layout with the built-in theme in a display mode, in this screen's work area.
CalendarLayout LayoutFor(int mode) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return ComputeCalendarLayout(DefaultTheme(), mode, Rect32{work.left, work.top, work.right, work.bottom},
                               TwipsPerPixelX());
}
// The cursor the foreground window shows. Under Wine another process's cursor can be told
// apart by its handle but not read (GetIconInfo fails across processes).
HCURSOR ShownCursor() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

// Whether an open popup menu starts at the height of `at` (or ends there, turned upward) and
// spans its x: it opens at the pointer, moved sideways as far as the screen needs.
bool MenuOpensAt(POINT at) {
  for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
    RECT r;
    if (!IsWindowVisible(w) || !GetWindowRect(w, &r)) continue;
    const bool x = r.left <= at.x && at.x <= r.right;
    const bool y = std::abs(r.top - at.y) <= 1 || std::abs(r.bottom - at.y) <= 1;
    if (x && y) return true;
  }
  return false;
}

// The display-mode submenu's lines, with their check marks, as the tray menu shows them.
std::string ModeLines(const std::string& menu) {
  const auto from = menu.find("  カレンダーに予定を表示しない");
  const auto to = menu.find("\n-", from);
  return from == std::string::npos ? menu : menu.substr(from, to - from);
}
std::string ModeLinesChecking(int mode) {
  std::string lines;
  const char* names[] = {"カレンダーに予定を表示しない(&O)", "支払いの予定(&P)", "特別な日の予定(&S)"};
  for (int i = 0; i < 3; ++i) lines += std::string(i ? "\n  " : "  ") + names[i] + (i == mode ? " [x]" : "");
  return lines;
}

TEST_F(OrvantaE2E, FirstRunNamesANewFileThatTheQuitCreates) {
  Launch(Orvanta(), L"");  // in normal use: no state report for anyone
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(nullptr, L"ユーザーデータファイルの選択（初めて起動）")) != nullptr; }));
  EXPECT_FALSE(Calendar());  // nothing else exists yet
  PostMessageW(dialog, WM_COMMAND, 1004, 0);
  HWND files = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (files = FindWindowW(nullptr, L"ファイルを開く / ファイル名をつけて保存")) != nullptr; }));
  const std::string path = DataFile("新しい.ORV");
  ASSERT_TRUE(ChooseFile(files, path));
  ASSERT_TRUE(WaitShown());
  EXPECT_FALSE(std::filesystem::exists(test::FsPath(path)));
  EXPECT_EQ(reporter_.Ask(Host()), "");
  Quit();
  EXPECT_TRUE(std::filesystem::exists(test::FsPath(path)));
  EXPECT_EQ(WideToUtf8(GetText(kUserDataKey, L"FileName")), path);
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Option", L"MicrosoftWheelMouse"), L"True");
}

TEST_F(OrvantaE2E, StandsAtTheWorkAreaEdgeOverTheWallpaperAndScrollsByKeysAndMenus) {
  UseEmptyData();
  StopProgman();  // the screen shows only what the calendar paints
  Launch();
  ASSERT_TRUE(WaitShown());
  HWND calendar = Calendar();
  RECT r;
  GetWindowRect(calendar, &r);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r.right, work.right);
  EXPECT_EQ(r.top, work.top);
  EXPECT_EQ(r.bottom, work.bottom);
  EXPECT_EQ(GetParent(calendar), nullptr);
  // The calendar paints the wallpaper copy behind its rows (the screen around it is black).
  // Its first paint may land a moment after the window shows.
  const COLORREF expected = WallpaperAt(r.left + 1, 0);
  COLORREF seen = 0;
  auto shows = [&](COLORREF colour, int ms) {
    WaitFor([&] {
      HDC screen = GetDC(nullptr);
      seen = GetPixel(screen, r.left + 1, (r.top + r.bottom) / 2);
      ReleaseDC(nullptr, screen);
      return seen == colour;
    }, ms);
    return seen == colour;
  };
  EXPECT_TRUE(shows(expected, 5000)) << std::hex << seen;
  // The wallpaper setting is watched while the program runs: taken away, the calendar shows
  // the plain desktop colour; given back, the wallpaper again (each noticed within moments).
  SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", L"");
  EXPECT_TRUE(shows(GetSysColor(COLOR_DESKTOP) & 0xFFFFFF, 10000)) << std::hex << seen;
  SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", Utf8ToWide(WallpaperFile()));
  EXPECT_TRUE(shows(expected, 10000)) << std::hex << seen;

  const std::string today = StartDate();  // TodayStart 0
  HWND bar = FindWindowExW(calendar, nullptr, L"ScrollBar", nullptr);
  ASSERT_TRUE(bar);
  auto key = [&](WPARAM vk) {
    SendMessageW(bar, WM_KEYDOWN, vk, 1);
    SendMessageW(bar, WM_KEYUP, vk, 0xC0000001);
  };
  key(VK_END);
  key(VK_DOWN);
  key(VK_NEXT);
  key(VK_UP);
  key(VK_PRIOR);
  key(VK_HOME);
  EXPECT_EQ(StartDate(), today);  // +28 +1 +7 -1 -7 -28
  SendMessageW(Host(), WM_COMMAND, 1053, 0);  // 4週間後
  SendMessageW(Host(), WM_COMMAND, 1050, 0);  // 4週間前
  EXPECT_EQ(StartDate(), today);
  // Wheel: one notch toward the user is a week on.
  SendMessageW(calendar, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
  const UINT roll = RegisterWindowMessageW(L"MSWHEEL_ROLLMSG");
  SendMessageW(calendar, roll, 120, 0);  // away from the user: a week back
  EXPECT_EQ(StartDate(), today);
  EXPECT_EQ(OpenTrayMenuAndDescribe(reporter_, Host()).find("データの上書き保存"), std::string::npos);
  Quit();
}

TEST_F(OrvantaE2E, ModeMenuKeepsTheCheckMarksAndTheSaveEntryFollowsTheOption) {
  UseEmptyData();
  SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", L"OverWriteMenu", L"True");
  Launch();
  ASSERT_TRUE(WaitShown());
  RECT narrow;
  GetWindowRect(Calendar(), &narrow);
  std::string menu = OpenTrayMenuAndDescribe(reporter_, Host());
  EXPECT_NE(menu.find("データの上書き保存(&S)\n予定の一括削除(&D)...\n-\n再描画(&R)"), std::string::npos) << menu;
  EXPECT_NE(menu.find("  カレンダーに予定を表示しない(&O) [x]\n  支払いの予定(&P)\n"), std::string::npos) << menu;
  EXPECT_NE(menu.find("今日の表示(&T)\tCtrl+D\n-\n4週間前\tHome\n1週間前\tPageUp\n1週間後\tPageDown\n4週間後\tEnd"),
            std::string::npos);
  SendMessageW(Host(), WM_COMMAND, 1022, 0);  // 特別な日の予定(&S)
  menu = OpenTrayMenuAndDescribe(reporter_, Host());
  EXPECT_EQ(Field(menu, "CalendarMode"), "2");
  EXPECT_NE(menu.find("  特別な日の予定(&S) [x]"), std::string::npos) << menu;
  EXPECT_EQ(menu.find("表示しない(&O) [x]"), std::string::npos);
  RECT wide;
  GetWindowRect(Calendar(), &wide);
  EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left);
  EXPECT_EQ(wide.right, narrow.right);
  Quit();
}

TEST_F(OrvantaE2E, PageBackFromTheEndOfMarchLandsOnTheEndOfFebruary) {
  UseEmptyData();
  Launch();
  ASSERT_TRUE(WaitShown());
  // Walk to the next 31 March by day steps of the scroll menu's sizes and single days.
  int y = 0, m = 0, d = 0;
  std::sscanf(StartDate().c_str(), "%d-%d-%d", &y, &m, &d);
  using namespace std::chrono;
  const sys_days from{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}};
  sys_days target{year{y} / March / 31};
  if (target < from) target = sys_days{year{y + 1} / March / 31};
  int days = static_cast<int>((target - from).count());
  HWND bar = FindWindowExW(Calendar(), nullptr, L"ScrollBar", nullptr);
  for (; days >= 28; days -= 28) SendMessageW(bar, WM_KEYDOWN, VK_END, 1);
  for (; days > 0; --days) SendMessageW(bar, WM_KEYDOWN, VK_DOWN, 1);
  const int march_year = static_cast<int>(year_month_day{target}.year());
  EXPECT_EQ(StartDate(), std::to_string(march_year) + "-3-31");
  SendMessageW(Host(), WM_COMMAND, 1011, 0);  // 1ヶ月前
  const bool leap = year{march_year}.is_leap();
  EXPECT_EQ(StartDate(), std::to_string(march_year) + (leap ? "-2-29" : "-2-28"));
  Quit();
}

TEST_F(OrvantaE2E, ASecondCopyEndsSilently) {
  UseEmptyData();
  Launch();
  ASSERT_TRUE(WaitShown());
  EXPECT_EQ(GetParent(Calendar()), FindWindowW(L"Progman", L"Program Manager"));  // re-parented
  KernelHandle second = Start(Orvanta(), L"");
  ASSERT_EQ(WaitForSingleObject(second.get(), 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(second.get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(Field(reporter_.Ask(Host()), "Tray"), "1");
  EXPECT_TRUE(TrayIconExists(Host()));  // the notification area's own view
  Quit();  // the icon and the calendar are gone with it
}

TEST_F(OrvantaE2E, ACorruptFileShowsTheFailureThenTheFirstRunDialogAndStaysUntouched) {
  const std::string path = DataFile("bad.orv");
  const std::string garbage = "not a user data file";
  test::WriteBytes(path, garbage);
  StoreDataPath(path);
  Launch();
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"Orvanta")) != nullptr; }));
  wchar_t text[512] = L"";
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  const std::string message = WideToUtf8(text);
  EXPECT_NE(message.find("ユーザーデータファイル " + path + "の読込に失敗しました！"), std::string::npos) << message;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(nullptr, L"ユーザーデータファイルの選択（初めて起動）")) != nullptr; }));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // closed: the run goes on without a file
  ASSERT_TRUE(WaitShown());
  Quit();
  EXPECT_EQ(test::ReadBytes(path), garbage);
}

// The keys as a user types them, on the calendar given the focus by a click on the tray icon.
TEST_F(OrvantaE2E, TypedKeysScrollShowTodaySwitchModesAndOpenTheScrollMenu) {
  UseEmptyData();
  SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", L"TodayStart", L"1");  // yesterday on top
  StopProgman();  // a top-level calendar can be the foreground window
  Launch();
  ASSERT_TRUE(WaitShown());
  HWND calendar = Calendar();
  const sys_days start = ParseDay(StartDate());
  auto focus = [&] { return FocusCalendar(); };
  auto at = [&](sys_days day) { return WaitStartDate(DayText(day)); };
  auto mode = [&](const char* expected) { return WaitMode(expected); };
  ASSERT_TRUE(focus());

  TypeKeys({}, VK_NEXT);
  EXPECT_TRUE(at(start + days{7}));
  TypeKeys({VK_CONTROL, VK_SHIFT}, 'D');  // not Ctrl alone: nothing
  TypeKeys({}, VK_DOWN);
  EXPECT_TRUE(at(start + days{8}));
  TypeKeys({VK_CONTROL}, 'D');  // today, by TodayStart
  EXPECT_TRUE(at(start));
  TypeKeys({}, VK_END);
  EXPECT_TRUE(at(start + days{28}));
  PostMessageW(Host(), 512, 0, 515);  // a double click on the tray icon: today as well
  EXPECT_TRUE(at(start));

  RECT narrow;
  GetWindowRect(calendar, &narrow);
  ASSERT_TRUE(focus());
  TypeKeys({VK_CONTROL}, 'E');  // entries shown: payments first
  EXPECT_TRUE(mode("1"));
  RECT wide;
  GetWindowRect(calendar, &wide);
  EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left);
  EXPECT_EQ(ModeLines(OpenTrayMenuAndDescribe(reporter_, Host())), ModeLinesChecking(1));
  ASSERT_TRUE(focus());
  TypeKeys({VK_CONTROL}, 'N');
  EXPECT_TRUE(mode("2"));
  EXPECT_EQ(ModeLines(OpenTrayMenuAndDescribe(reporter_, Host())), ModeLinesChecking(2));
  ASSERT_TRUE(focus());
  TypeKeys({VK_CONTROL, VK_MENU}, 'N');  // not Ctrl alone: nothing
  TypeKeys({VK_CONTROL}, 'E');  // entries hidden
  EXPECT_TRUE(mode("0"));
  EXPECT_EQ(ModeLines(OpenTrayMenuAndDescribe(reporter_, Host())), ModeLinesChecking(0));
  ASSERT_TRUE(focus());
  TypeKeys({VK_CONTROL}, 'E');  // shown again: the last mode comes back
  EXPECT_TRUE(mode("2"));

  // The context-menu key opens the scroll menu; its 今日の表示(&T) shows today.
  ASSERT_TRUE(focus());
  TypeKeys({}, VK_PRIOR);
  EXPECT_TRUE(at(start - days{7}));
  TypeKeys({VK_CONTROL}, VK_APPS);  // with Ctrl: nothing
  TypeKeys({}, VK_UP);
  EXPECT_TRUE(at(start - days{8}));
  EXPECT_FALSE(PopupMenuShown());
  TypeKeys({}, VK_APPS);
  ASSERT_TRUE(WaitFor(PopupMenuShown, 5000));
  TypeKeys({}, 'T');
  EXPECT_TRUE(WaitFor([] { return !PopupMenuShown(); }, 5000));
  EXPECT_TRUE(at(start));
  Quit();
}

// The calendar's menus open on the hidden host window. Once they close, with a choice or
// without one, the keys reach the calendar again without a click.
TEST_F(OrvantaE2E, TheCalendarKeepsTheKeysAfterEveryMenuItOpens) {
  UseEmptyData();
  StopProgman();
  Launch();
  ASSERT_TRUE(WaitShown());
  ASSERT_TRUE(FocusCalendar());
  HWND calendar = Calendar();
  sys_days expected = ParseDay(StartDate());
  const CalendarLayout layout = LayoutFor(0);
  RECT r;
  GetWindowRect(calendar, &r);
  const POINT week_back{r.left + layout.mini_width / 2, r.top + layout.lastweek_height / 2};
  const POINT mode_change{r.right - ModeChangeHotspotWidth(TwipsPerPixelX()) / 2 - 1,
                          r.top + (layout.day_area_top + layout.day_area_bottom) / 2};
  auto menu_closed_then_down = [&](const char* what) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(WaitFor([] { return !PopupMenuShown(); }, 5000));
    TypeKeys({}, VK_DOWN);
    expected += days{1};
    EXPECT_TRUE(WaitStartDate(DayText(expected)));
  };

  TypeKeys({}, VK_APPS);  // the scroll menu, closed with nothing chosen
  ASSERT_TRUE(WaitFor(PopupMenuShown, 5000));
  TypeKeys({}, VK_ESCAPE);
  menu_closed_then_down("scroll menu by the key, Esc");

  MouseAt(week_back, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);  // the scroll menu: 4週間前
  ASSERT_TRUE(WaitFor(PopupMenuShown, 5000));
  TypeKeys({}, VK_DOWN);
  TypeKeys({}, VK_DOWN);
  TypeKeys({}, VK_RETURN);
  expected -= days{28};
  EXPECT_TRUE(WaitStartDate(DayText(expected)));
  menu_closed_then_down("scroll menu by the week button, a choice");

  MouseAt(mode_change, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);  // the mode menu: payments
  ASSERT_TRUE(WaitFor(PopupMenuShown, 5000));
  TypeKeys({}, 'P');
  EXPECT_TRUE(WaitMode("1"));
  menu_closed_then_down("mode menu, a choice");
  Quit();
}

// The real mouse on the hotspots (their places from the layout), the middle button and the
// day rows.
TEST_F(OrvantaE2E, HotspotsScrollAndSwitchModesAndDayRowsOpenTheirDialogs) {
  UseEmptyData();
  SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", L"CenterClick", L"True");
  StopProgman();
  Launch();
  ASSERT_TRUE(WaitShown());
  ASSERT_TRUE(FocusCalendar());
  HWND calendar = Calendar();
  const sys_days start = ParseDay(StartDate());
  CalendarLayout layout = LayoutFor(0);
  RECT r;
  GetWindowRect(calendar, &r);
  ASSERT_EQ(r.left, layout.window.left);
  ASSERT_EQ(r.right, layout.window.right);
  const int mode_width = ModeChangeHotspotWidth(TwipsPerPixelX());
  const int middle = (layout.day_area_top + layout.day_area_bottom) / 2;
  auto week_back = [&] { return POINT{r.left + layout.mini_width / 2, r.top + layout.lastweek_height / 2}; };
  auto week_forward = [&] { return POINT{r.left + layout.width / 2, r.bottom - layout.nextweek_height / 2}; };
  auto mode_change = [&] { return POINT{r.right - mode_width / 2 - 1, r.top + middle}; };
  auto extra_mode = [&] { return POINT{r.left + (layout.mini_width + layout.full_width) / 2 - mode_width, r.top + layout.lastweek_height / 2}; };
  auto row = [&](int n) {
    return POINT{r.left + (layout.month_width + layout.mini_width) / 2, r.top + layout.RowTop(n) + layout.day_height / 2};
  };
  auto hover = [&](POINT at, const wchar_t* tip) {
    MouseAt(at);
    return WaitFor([&] { return ShownTooltipOf(calendar) == tip; }, 5000);
  };
  auto click = [&](POINT at, DWORD down, DWORD up, int clicks = 1) { MouseAt(at, down, up, clicks); };
  constexpr DWORD kLeft[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  constexpr DWORD kRight[] = {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
  constexpr DWORD kMiddle[] = {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP};

  // The week buttons: tooltips, cursors with the hot spot at the arrow's point, a week a click.
  EXPECT_TRUE(hover(week_back(), L"前の週へスクロール"));
  const HCURSOR up = ShownCursor();
  click(week_back(), kLeft[0], kLeft[1]);
  EXPECT_TRUE(WaitStartDate(DayText(start - days{7})));
  EXPECT_TRUE(hover(week_forward(), L"次の週へスクロール"));
  const HCURSOR down = ShownCursor();
  click(week_forward(), kLeft[0], kLeft[1]);
  EXPECT_TRUE(WaitStartDate(DayText(start)));
  // The wheel over the days: a notch toward the user is a week on, one away a week back.
  MouseAt(row(3));
  TurnWheel(-WHEEL_DELTA);
  EXPECT_TRUE(WaitStartDate(DayText(start + days{7})));
  TurnWheel(WHEEL_DELTA);
  EXPECT_TRUE(WaitStartDate(DayText(start)));

  // The mode hotspot widens the calendar; its tooltip and cursor follow the mode.
  EXPECT_TRUE(hover(mode_change(), L"予定を表示します"));
  const HCURSOR widen = ShownCursor();
  click(mode_change(), kLeft[0], kLeft[1]);
  EXPECT_TRUE(WaitMode("1"));
  layout = LayoutFor(1);
  GetWindowRect(calendar, &r);
  EXPECT_EQ(r.left, layout.window.left);
  // Wine may hand the foreground to the desktop when the calendar is resized at the bottom of
  // the z-order; the cursor is only told for the foreground window.
  ASSERT_TRUE(FocusCalendar());
  MouseAt(row(3));  // away and back: a tip shows again only when the pointer moves
  EXPECT_TRUE(hover(mode_change(), L"予定を隠します"));
  const HCURSOR narrow = ShownCursor();
  EXPECT_TRUE(hover(extra_mode(), L"予定表示の内容を変更"));
  const HCURSOR pointer = ShownCursor();
  MouseAt(row(3));
  WaitFor([&] { return ShownCursor() != pointer; }, 2000);
  // Each hotspot has a cursor of its own, none of them the day rows' arrow.
  const std::set<HCURSOR> cursors{up, down, widen, narrow, pointer, ShownCursor()};
  EXPECT_EQ(cursors.size(), 6u);
  EXPECT_FALSE(cursors.contains(nullptr));
  click(extra_mode(), kLeft[0], kLeft[1]);
  EXPECT_TRUE(WaitMode("2"));
  click(row(3), kMiddle[0], kMiddle[1]);  // CenterClick: payments again
  EXPECT_TRUE(WaitMode("1"));

  // Right clicks: the mode hotspot opens the display-mode menu with the mark on the mode, a
  // week button the scroll menu.
  click(mode_change(), kRight[0], kRight[1]);
  ASSERT_TRUE(WaitFor(PopupMenuShown, 5000));
  EXPECT_TRUE(WaitFor([&] { return MenuOpensAt(mode_change()); }, 2000));
  EXPECT_EQ(ModeLines(reporter_.Ask(Host())), ModeLinesChecking(1));
  TypeKeys({}, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([] { return !PopupMenuShown(); }, 5000));
  click(week_forward(), kLeft[0], kLeft[1]);
  EXPECT_TRUE(WaitStartDate(DayText(start + days{7})));
  click(week_back(), kRight[0], kRight[1]);
  ASSERT_TRUE(WaitFor(PopupMenuShown, 5000));
  EXPECT_TRUE(WaitFor([&] { return MenuOpensAt(week_back()); }, 2000));
  TypeKeys({}, 'T');  // 今日の表示(&T): the scroll menu's
  ASSERT_TRUE(WaitFor([] { return !PopupMenuShown(); }, 5000));
  EXPECT_TRUE(WaitStartDate(DayText(start)));
  click(week_forward(), kLeft[0], kLeft[1]);
  EXPECT_TRUE(WaitStartDate(DayText(start + days{7})));

  // A right click on a day row lists the day's entries (naming the day's holiday, if it is
  // one); the tray is ignored meanwhile.
  const std::string day = [&] {
    const std::chrono::year_month_day ymd{start + days{7 + 3}};
    return std::to_string(static_cast<unsigned>(ymd.month())) + "月" + std::to_string(static_cast<unsigned>(ymd.day())) + "日 - ";
  }();
  const std::string_view holiday = HolidayName(start + days{7 + 3});
  const std::string list_day =
      holiday.empty() ? day : day.substr(0, day.size() - 3) + " (" + std::string(holiday) + ") - ";
  click(row(3), kRight[0], kRight[1]);
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (list = FindDialogEndingWith(L"予定の確認")) != nullptr; }));
  wchar_t caption[128] = L"";
  GetWindowTextW(list, caption, 128);
  EXPECT_EQ(WideToUtf8(caption).rfind(list_day, 0), 0u) << WideToUtf8(caption);
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "1");
  PostMessageW(Host(), 512, 0, 516);  // no menu
  PostMessageW(Host(), 512, 0, 515);  // no today
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(PopupMenuShown());
  PostMessageW(list, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(list); }));
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "0");

  // A double click on it opens the add-entry dialog for that day.
  click(row(3), kLeft[0], kLeft[1], 2);
  HWND add = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (add = FindDialogEndingWith(L"予定の追加")) != nullptr; }));
  GetWindowTextW(add, caption, 128);
  EXPECT_EQ(WideToUtf8(caption), day + "予定の追加");
  PostMessageW(add, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(add); }));
  EXPECT_EQ(StartDate(), DayText(start + days{7}));
  Quit();
}

// Special-day mode over the next holiday with no entry of its own: its name stands in the
// entry column in the Sunday colour and its day list names it. With "ShowHolidays" off, the
// same day shows nothing and its list names no holiday.
TEST_F(OrvantaE2E, SpecialDayModeShowsTheNextHolidayUnlessHolidaysAreOff) {
  UseEmptyData();
  StopProgman();  // the calendar as a window of its own, whose pixels the screen shows
  for (const bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "holidays shown" : "holidays off");
    if (!shown) SetOption(L"ShowHolidays", L"False");
    Launch();
    ASSERT_TRUE(WaitShown());
    // The next holiday at least three days ahead goes to the fourth row.
    const sys_days start = ParseDay(StartDate());
    const int this_year = static_cast<int>(std::chrono::year_month_day{start}.year());
    Holiday holiday{};
    for (const Holiday& h : HolidaysOfYears(this_year, this_year + 1))
      if (h.date >= start + days{3}) {
        holiday = h;
        break;
      }
    ASSERT_FALSE(holiday.name.empty());
    int steps = static_cast<int>((holiday.date - days{3} - start).count());
    HWND bar = FindWindowExW(Calendar(), nullptr, L"ScrollBar", nullptr);
    for (; steps >= 28; steps -= 28) SendMessageW(bar, WM_KEYDOWN, VK_END, 1);
    for (; steps > 0; --steps) SendMessageW(bar, WM_KEYDOWN, VK_DOWN, 1);
    ASSERT_TRUE(WaitStartDate(DayText(holiday.date - days{3})));
    SendMessageW(Host(), WM_COMMAND, 1022, 0);  // 特別な日の表示
    ASSERT_TRUE(WaitMode("2"));

    const CalendarLayout layout = LayoutFor(2);
    RECT r{};
    GetWindowRect(Calendar(), &r);
    // The built-in theme's Sunday colour, (253, 73, 32), with room for smoothed edges; the
    // test wallpaper holds no such red.
    auto red_pixels = [&](int row) {
      const RECT entry{r.left + layout.entry_x, r.top + layout.RowTop(row), r.right - 12,
                       r.top + layout.RowTop(row) + layout.day_height};
      int n = 0;
      // ScreenPixels gives the DIB's 0x00RRGGBB.
      for (COLORREF c : ScreenPixels(entry)) n += (c >> 16 & 0xFF) >= 230 && (c >> 8 & 0xFF) <= 110 && (c & 0xFF) <= 80;
      return n;
    };
    if (shown) {
      EXPECT_TRUE(WaitFor([&] { return red_pixels(3) > 10; }, 5000)) << holiday.name << " not drawn";
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      EXPECT_EQ(red_pixels(3), 0);
    }
    const std::chrono::year_month_day ymd{holiday.date};
    const std::string caption = std::to_string(static_cast<unsigned>(ymd.month())) + "月" +
                                std::to_string(static_cast<unsigned>(ymd.day())) + "日" +
                                (shown ? " (" + std::string(holiday.name) + ")" : "") + " - 特別な日予定の確認";
    HWND list = OpenDayListAt(MAKELPARAM((layout.month_width + layout.mini_width) / 2,
                                         layout.RowTop(3) + layout.day_height / 2));
    ASSERT_NE(list, nullptr);
    wchar_t text[128] = L"";
    GetWindowTextW(list, text, 128);
    EXPECT_EQ(WideToUtf8(text), caption);
    PostMessageW(list, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(list); }));
    if (shown) Screenshot(Calendar(), "holiday-special-mode");
    Quit();
  }
}

// The end of the session runs the whole shutdown inside the notification: the system may end
// the process as soon as it returns.
TEST_F(OrvantaE2E, EndOfSessionSavesEverythingRemovesTheIconAndEnds) {
  const std::string path = UseEmptyData();
  Launch();
  ASSERT_TRUE(WaitShown());
  HWND host = Host();
  ASSERT_TRUE(TrayIconExists(host));
  SendMessageW(host, WM_COMMAND, 1021, 0);  // 支払いの予定(&P): a mode the settings keep
  // What the shutdown writes, removed behind the program's back.
  std::filesystem::remove(test::FsPath(path));
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvanta");
  auto send = [&](UINT message, WPARAM wparam) {
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(host, message, wparam, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer));
    return answer;
  };
  EXPECT_EQ(send(WM_QUERYENDSESSION, 0), static_cast<DWORD_PTR>(TRUE));  // never holds the session up
  send(WM_ENDSESSION, FALSE);  // the end was called off: the program runs on
  EXPECT_FALSE(std::filesystem::exists(test::FsPath(path)));
  EXPECT_TRUE(TrayIconExists(host));
  EXPECT_EQ(WaitForSingleObject(orvanta_.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(Field(reporter_.Ask(host), "CalendarMode"), "1");

  send(WM_ENDSESSION, TRUE);
  EXPECT_TRUE(std::filesystem::exists(test::FsPath(path)));
  EXPECT_EQ(WideToUtf8(GetText(kUserDataKey, L"FileName")), path);
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Option", L"MicrosoftWheelMouse"), L"True");
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Run", L"LastCalendarMode"), L"1");
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(orvanta_.get(), &code);
  EXPECT_EQ(code, 0u);
  orvanta_.reset();
  ExpectGoneFromTheDesktop(host);
}

// A day's dialog runs a modal loop inside the calendar's click; the end of the session may
// come while it is open.
TEST_F(OrvantaE2E, EndOfSessionWithADayDialogOpenStillSavesAndEnds) {
  const std::string path = UseEmptyData();
  StopProgman();
  Launch();
  ASSERT_TRUE(WaitShown());
  HWND host = Host();
  SendMessageW(host, WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
  std::filesystem::remove(test::FsPath(path));
  HWND list = OpenDayListAt(MiddleDayRow());
  ASSERT_TRUE(list);
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(host, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer);
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  SendMessageTimeoutW(host, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &answer);
  EXPECT_TRUE(std::filesystem::exists(test::FsPath(path)));
  ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(orvanta_.get(), &code);
  EXPECT_EQ(code, 0u);
  orvanta_.reset();
  EXPECT_FALSE(IsWindow(list));
}

}  // namespace
}  // namespace orv::e2e
