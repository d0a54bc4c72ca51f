// End-to-end: start-up, placement, scrolling, menus and the single instance.
#include "e2e_harness.hpp"

namespace orv::e2e {
namespace {

TEST_F(OrvantaE2E, FirstRunNamesANewFileThatTheQuitCreates) {
  Launch();
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(nullptr, L"ユーザーデータファイルの選択（初めて起動）")) != nullptr; }));
  EXPECT_FALSE(Calendar());  // nothing else exists yet
  PostMessageW(dialog, WM_COMMAND, 1004, 0);
  HWND files = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (files = FindWindowW(nullptr, L"ファイルを開く / ファイル名をつけて保存")) != nullptr; }));
  const std::string path = DataFile("新しい.ORV");
  HWND name = GetDlgItem(files, 1148);  // the file name box
  if (!name) name = GetDlgItem(files, 1152);
  ASSERT_TRUE(name);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Utf8ToWide(path).c_str()));
  PostMessageW(files, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitShown());
  EXPECT_FALSE(std::filesystem::exists(test::FsPath(path)));
  Quit();
  EXPECT_TRUE(std::filesystem::exists(test::FsPath(path)));
  EXPECT_EQ(WideToUtf8(GetText(kUserDataKey, L"FileName")), path);
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Option", L"MicrosoftWheelMouse"), L"True");
}

TEST_F(OrvantaE2E, StandsAtTheWorkAreaEdgeOverTheWallpaperAndScrollsByKeysAndMenus) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
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
  EXPECT_TRUE(shows(GetSysColor(COLOR_DESKTOP) & 0xFFFFFF, 3000)) << std::hex << seen;
  SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", Utf8ToWide(WallpaperFile()));
  EXPECT_TRUE(shows(expected, 3000)) << std::hex << seen;

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
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
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
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
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
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  Launch();
  ASSERT_TRUE(WaitShown());
  EXPECT_EQ(GetParent(Calendar()), FindWindowW(L"Progman", L"Program Manager"));  // re-parented
  KernelHandle second = Start(Orvanta(), L"");
  ASSERT_EQ(WaitForSingleObject(second.get(), 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(second.get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(Field(reporter_.Ask(Host()), "Tray"), "1");
  Quit();
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

// The first visible dialog of this desktop whose caption ends with `tail`.
}  // namespace
}  // namespace orv::e2e
