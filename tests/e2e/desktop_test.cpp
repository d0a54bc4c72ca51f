// End-to-end: the calendar on each desktop layout the stand-in shell lays out, through a
// shell restart, with a day dialog open, and as a window of its own when "Show desktop"
// brings another shell's desktop window forward. Wine does not draw a child window of
// another process's window, so these check structure: parent, styles, z-order, enabled state.
#include "calendar/calendar_interaction.hpp"
#include "calendar/calendar_layout.hpp"
#include "e2e_harness.hpp"
#include "theme/theme.hpp"

namespace orv::e2e {
namespace {

// The children of `parent`, frontmost first.
std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    children.push_back(c);
  return children;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

// The classes of `parent`'s children, frontmost first.
std::vector<std::wstring> ChildClasses(HWND parent) {
  std::vector<std::wstring> classes;
  for (HWND c : Children(parent)) classes.push_back(ClassOf(c));
  return classes;
}

LONG_PTR ExStyle(HWND window) {
  return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

// The top-level "WorkerW" holding the icon view, on a raised desktop.
HWND IconWorker() {
  for (HWND w = FindWindowW(L"WorkerW", nullptr); w;
       w = FindWindowExW(nullptr, w, L"WorkerW", nullptr))
    if (FindWindowExW(w, nullptr, L"SHELLDLL_DefView", nullptr)) return w;
  return nullptr;
}

class DesktopE2E : public OrvantaE2E {
protected:
  void LaunchWithData() {
    UseEmptyData();
    Launch();
    ASSERT_TRUE(WaitShown());
  }
  // The calendar's parent once it is `parent` and nothing else is.
  bool WaitOneCalendarUnder(HWND parent) {
    return WaitFor(
        [&] {
          const std::vector<HWND> all = Calendars();
          return all.size() == 1 && GetAncestor(all[0], GA_PARENT) == parent &&
                 IsWindowVisible(all[0]);
        },
        10000);
  }
  // Mode 1 and a week on, so that a calendar created anew can be told to carry the state.
  std::string MoveAway() {
    SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
    SendMessageW(Host(), WM_COMMAND, 1052, 0);  // 1週間後
    return reporter_.Ask(Host());
  }
};

TEST_F(DesktopE2E, ClassicDesktopInFrontOfTheIconViewAndDayDialogsLeaveTheShellEnabled) {
  LaunchWithData();
  HWND progman = FindWindowW(L"Progman", L"Program Manager");
  HWND calendar = Calendar();
  EXPECT_EQ(GetAncestor(calendar, GA_PARENT), progman);
  EXPECT_EQ(ChildClasses(progman),
            (std::vector<std::wstring>{L"OrvantaCalendar", L"SHELLDLL_DefView"}));
  EXPECT_FALSE(ExStyle(calendar) & WS_EX_LAYERED);
  EXPECT_EQ(Calendars().size(), 1u);

  // Keys and the wheel work on the attached calendar.
  const std::string start = Field(MoveAway(), "StartDate");
  HWND bar = FindWindowExW(calendar, nullptr, L"ScrollBar", nullptr);
  SendMessageW(bar, WM_KEYDOWN, VK_PRIOR, 1);
  EXPECT_NE(StartDate(), start);
  SendMessageW(calendar, RegisterWindowMessageW(L"MSWHEEL_ROLLMSG"), static_cast<WPARAM>(-120), 0);
  EXPECT_EQ(StartDate(), start);
  SendMessageW(calendar, RegisterWindowMessageW(L"MSWHEEL_ROLLMSG"), 120, 0);
  SendMessageW(bar, WM_KEYDOWN, VK_NEXT, 1);
  EXPECT_EQ(StartDate(), start);

  // A day's list: owned by Orvanta's hidden host window at the place beside the day; the
  // shell's windows stay enabled, the calendar takes no input meanwhile.
  const LPARAM day = MiddleDayRow();
  HWND list = OpenDayListAt(day);
  ASSERT_TRUE(list);
  EXPECT_EQ(GetWindow(list, GW_OWNER), Host());
  EXPECT_TRUE(IsWindowEnabled(progman));
  EXPECT_TRUE(IsWindowEnabled(FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr)));
  EXPECT_FALSE(IsWindowEnabled(calendar));
  RECT r;
  GetWindowRect(calendar, &r);
  HDC screen = GetDC(nullptr);
  const TwipsScale tx = TwipsScale::ForDpi(GetDeviceCaps(screen, LOGPIXELSX)),
                   ty = TwipsScale::ForDpi(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  const DialogPlacement at = DialogPositionFor(
      ScreenFacts{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), tx, ty}, r.top,
      r.right - r.left, GeometryValue(Geometry(), "MonthWidth"), HIWORD(day));
  RECT placed;
  GetWindowRect(list, &placed);
  EXPECT_EQ(placed.left, TwipsToPixels(at.Left, tx));
  EXPECT_EQ(placed.top, TwipsToPixels(at.Top, ty));
  PostMessageW(list, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(list); }));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(calendar) != FALSE; }, 2000));
  Quit();
}

// A wallpaper tool raises the desktop while the calendar stands on Progman: Progman's
// children are covered now, so the calendar moves to the icon view's "WorkerW".
TEST_F(DesktopE2E, RaisedDesktopMovesTheCalendarToTheIconViewsWorkerW) {
  LaunchWithData();
  const std::string before = MoveAway();
  RECT was;
  GetWindowRect(Calendar(), &was);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(FindWindowW(L"Progman", nullptr), 0x052C, 0, 0, SMTO_NORMAL, 2000, &ignored);
  HWND worker = IconWorker();
  ASSERT_TRUE(worker);
  ASSERT_TRUE(WaitOneCalendarUnder(worker));
  HWND calendar = Calendar();
  EXPECT_EQ(ChildClasses(worker),
            (std::vector<std::wstring>{L"OrvantaCalendar", L"SHELLDLL_DefView"}));
  EXPECT_FALSE(ExStyle(calendar) & WS_EX_LAYERED);
  RECT now;
  GetWindowRect(calendar, &now);
  EXPECT_TRUE(EqualRect(&was, &now));
  const std::string after = reporter_.Ask(Host());
  EXPECT_EQ(Field(after, "StartDate"), Field(before, "StartDate"));
  EXPECT_EQ(Field(after, "CalendarMode"), "1");
  Quit();
}

// Windows 11 24H2: a layered child, in front of the wallpaper "WorkerW" and the icon view;
// then the shell restarts and the calendar comes back on the new windows by itself.
TEST_F(DesktopE2E, ComposedDesktopLayeredChildComesBackOnceAfterTheShellRestarts) {
  StartShell(L"composed");
  LaunchWithData();
  HWND progman = FindWindowW(L"Progman", L"Program Manager");
  HWND calendar = Calendar();
  EXPECT_EQ(GetAncestor(calendar, GA_PARENT), progman);
  EXPECT_EQ(ChildClasses(progman),
            (std::vector<std::wstring>{L"OrvantaCalendar", L"SHELLDLL_DefView", L"WorkerW"}));
  EXPECT_TRUE(ExStyle(calendar) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(calendar, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 255);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

  const std::string before = MoveAway();
  RECT was;
  GetWindowRect(calendar, &was);
  RestartShell(L"composed");
  HWND renewed = FindWindowW(L"Progman", L"Program Manager");
  ASSERT_NE(renewed, progman);
  ASSERT_TRUE(WaitOneCalendarUnder(renewed));
  calendar = Calendar();
  EXPECT_EQ(ChildClasses(renewed),
            (std::vector<std::wstring>{L"OrvantaCalendar", L"SHELLDLL_DefView", L"WorkerW"}));
  EXPECT_TRUE(ExStyle(calendar) & WS_EX_LAYERED);
  RECT now;
  GetWindowRect(calendar, &now);
  EXPECT_TRUE(EqualRect(&was, &now));  // same mode, same theme
  EXPECT_EQ(WaitForSingleObject(orvanta_.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  const std::string after = reporter_.Ask(Host());
  EXPECT_EQ(Field(after, "StartDate"), Field(before, "StartDate"));
  EXPECT_EQ(Field(after, "CalendarMode"), "1");
  EXPECT_EQ(Field(after, "Tray"), "1");
  EXPECT_TRUE(TrayIconExists(Host()));
  // The wheel hook followed the new window: a notch away from the user is a week back.
  SendMessageW(calendar, RegisterWindowMessageW(L"MSWHEEL_ROLLMSG"), 120, 0);
  EXPECT_NE(StartDate(), Field(before, "StartDate"));
  // Still the same one calendar a while later, and after another "TaskbarCreated": every
  // signal of a restart finds it in place.
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(Calendars(), std::vector<HWND>{calendar});
  EXPECT_EQ(Field(reporter_.Ask(Host()), "Tray"), "1");

  // A day dialog on the new desktop leaves the shell's windows enabled.
  HWND list = OpenDayListAt(MiddleDayRow());
  ASSERT_TRUE(list);
  EXPECT_TRUE(IsWindowEnabled(renewed));
  EXPECT_TRUE(IsWindowEnabled(FindWindowExW(renewed, nullptr, L"SHELLDLL_DefView", nullptr)));
  PostMessageW(list, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(list); }));

  // Quitting still saves and ends cleanly.
  const std::string path = DataFile("data.orv");
  std::filesystem::remove(test::FsPath(path));
  Quit();
  EXPECT_TRUE(std::filesystem::exists(test::FsPath(path)));
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Run", L"LastCalendarMode"), L"1");
}

// No Explorer, another shell's desktop window: "Show desktop" brings it to the front; the
// calendar, a window of its own, stays just in front of it and behind every normal window.
TEST_F(DesktopE2E, ShowDesktopKeepsTheOwnWindowInFrontOfTheDesktopAndBehindNormalWindows) {
  StartShell(L"bare");
  LaunchWithData();
  HWND desktop = FindWindowW(L"OrvantaE2EDesktop", nullptr);
  ASSERT_EQ(GetShellWindow(), desktop);
  HWND calendar = Calendar();
  EXPECT_EQ(GetAncestor(calendar, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(ExStyle(calendar) & WS_EX_TOOLWINDOW);
  auto just_in_front = [&] {
    HWND below = GetWindow(calendar, GW_HWNDNEXT);
    while (below && below != desktop && !IsWindowVisible(below))
      below = GetWindow(below, GW_HWNDNEXT);
    return below == desktop;
  };
  EXPECT_TRUE(WaitFor(just_in_front, 3000));

  // A normal window of ours in front.
  HWND normal = CreateWindowExW(0, L"STATIC", L"normal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(normal);
  auto in_front_of = [](HWND front, HWND back) {
    for (HWND w = GetWindow(front, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
      if (w == back) return true;
    return false;
  };
  EXPECT_TRUE(in_front_of(normal, calendar));

  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(desktop, kShowDesktop, 0, 0, SMTO_NORMAL, 2000, &ignored);
  EXPECT_TRUE(WaitFor([&] { return in_front_of(desktop, normal); }, 3000));
  EXPECT_TRUE(WaitFor(just_in_front, 3000));
  EXPECT_TRUE(in_front_of(calendar, desktop));

  // Back to the normal window: it is in front of the calendar again, the calendar still in
  // front of the desktop.
  SetForegroundWindow(normal);
  SetWindowPos(normal, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(WaitFor([&] { return in_front_of(normal, calendar); }, 3000));
  EXPECT_TRUE(just_in_front());
  DestroyWindow(normal);
  Quit();
}

}  // namespace
}  // namespace orv::e2e
