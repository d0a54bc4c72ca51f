// End-to-end: the calendar follows each kind of desktop change the moment the system reports
// it, and nothing wakes the program between changes: no timer message comes while the desktop
// stays as it is (the state report counts the timer messages the program's loop takes).
#include <chrono>
#include <cstdlib>

#include "e2e_harness.hpp"
#include "stand_in_desktop.hpp"

namespace orv::e2e {
namespace {

constexpr COLORREF kFirst = RGB(200, 40, 40), kSecond = RGB(40, 160, 60), kThird = RGB(30, 60, 210);

class WatchE2E : public OrvantaE2E {
protected:
  void TearDown() override {
    if (restore_work_ && Host()) SetWorkAreaRight(work_.right);
    OrvantaE2E::TearDown();
  }
  // The program sets the work area itself: under Wine a work area set by one process holds in
  // that process only.
  static void SetWorkAreaRight(LONG right) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Host(), RegisterWindowMessageW(L"Orvanta.SetWorkAreaRight"), static_cast<WPARAM>(right), 0,
                        SMTO_NORMAL, 5000, &ignored);
  }
  unsigned long Count(const char* name) { return std::strtoul(Field(reporter_.Ask(Host()), name).c_str(), nullptr, 10); }
  // The calendar's background at its left edge, halfway down: the wallpaper copy alone.
  COLORREF EdgePixel() {
    RECT r{};
    GetWindowRect(Calendar(), &r);
    return ScreenPixel(r.left + 1, (r.top + r.bottom) / 2) & 0xFFFFFF;
  }
  bool Shows(COLORREF colour) {
    return WaitFor([&] { return EdgePixel() == colour; }, 5000);
  }
  // No timer message over a quiet while: nothing is pending, nothing polls.
  void ExpectNoTimerWhileQuiet(const char* when) {
    const unsigned long before = Count("TimerWakeups");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(Count("TimerWakeups"), before) << when;
  }
  void SetDesktop(const wchar_t* name, const std::wstring& value) {
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, value);
  }

  RECT work_{};
  bool restore_work_ = false;
};

TEST_F(WatchE2E, EachKindOfChangeRedrawsAndNothingWakesTheProgramBetweenThem) {
  UseEmptyData();
  StopProgman();  // a window of its own: its pixels can be read
  const std::string first = DataFile("first.bmp"), second = DataFile("second.bmp");
  auto solid = [](COLORREF c) { return [c](int, int) { return c; }; };
  WriteBmp(first, 16, 16, solid(kFirst));
  WriteBmp(second, 16, 16, solid(kSecond));
  SetDesktop(L"Wallpaper", Utf8ToWide(first));
  Launch();
  ASSERT_TRUE(WaitShown());
  ASSERT_TRUE(Shows(kFirst)) << std::hex << EdgePixel();
  // Started: once the first looks after the start are done, nothing runs until a change.
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  ExpectNoTimerWhileQuiet("after the start");
  const unsigned long copies = Count("Copies");

  // Another wallpaper named in the settings.
  SetDesktop(L"Wallpaper", Utf8ToWide(second));
  EXPECT_TRUE(Shows(kSecond)) << std::hex << EdgePixel();
  EXPECT_GT(Count("Copies"), copies);

  // The same file written again in place with another picture (a second later, as the file
  // time the watch compares counts whole seconds).
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  WriteBmp(second, 16, 16, solid(kThird));
  EXPECT_TRUE(Shows(kThird)) << std::hex << EdgePixel();

  // The style: centred, the small picture stands in the middle of the screen, far from the
  // calendar, which now shows the desktop colour.
  SetDesktop(L"TileWallpaper", L"0");
  EXPECT_TRUE(Shows(DesktopBackground() & 0xFFFFFF)) << std::hex << EdgePixel();
  // The desktop colour: no value the watch compares, so its report alone brings a new copy.
  const std::wstring old_background = GetText(L"Control Panel\\Colors", L"Background");
  SetText(HKEY_CURRENT_USER, L"Control Panel\\Colors", L"Background", L"90 30 120");
  EXPECT_TRUE(Shows(RGB(90, 30, 120))) << std::hex << EdgePixel();
  SetText(HKEY_CURRENT_USER, L"Control Panel\\Colors", L"Background", old_background);
  EXPECT_TRUE(Shows(DesktopBackground() & 0xFFFFFF)) << std::hex << EdgePixel();
  SetDesktop(L"TileWallpaper", L"1");
  EXPECT_TRUE(Shows(kThird)) << std::hex << EdgePixel();
  ExpectNoTimerWhileQuiet("after the settings changes");

  // The work area: a taskbar on the right; the calendar stands at its new edge.
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_, 0));
  restore_work_ = true;
  RECT narrower = work_;
  narrower.right -= 48;
  SetWorkAreaRight(narrower.right);
  EXPECT_TRUE(WaitFor([&] {
    RECT r{};
    GetWindowRect(Calendar(), &r);
    return r.right == narrower.right;
  }, 5000)) << "the work area's right edge: " << narrower.right;
  SetWorkAreaRight(work_.right);
  restore_work_ = false;

  // The date: the program's clock set to just before midnight (the system's cannot be set
  // here); the midnight timer, set anew, brings the next day.
  const std::string today = Field(reporter_.Ask(Host()), "Today");
  int y = 0, m = 0, d = 0;
  ASSERT_EQ(std::sscanf(today.c_str(), "%d-%d-%d", &y, &m, &d), 3);
  const std::chrono::year_month_day next{std::chrono::sys_days{std::chrono::year{y} / m / d} + std::chrono::days{1}};
  const std::string tomorrow = std::to_string(static_cast<int>(next.year())) + "-" +
                               std::to_string(static_cast<unsigned>(next.month())) + "-" +
                               std::to_string(static_cast<unsigned>(next.day()));
  const unsigned long timers = Count("TimerWakeups");
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(Host(), RegisterWindowMessageW(L"Orvanta.SetClock"), 800, 0, SMTO_NORMAL, 5000, &ignored);
  EXPECT_EQ(Field(reporter_.Ask(Host()), "Today"), today);
  EXPECT_TRUE(WaitFor([&] { return Field(reporter_.Ask(Host()), "Today") == tomorrow; }, 5000));
  EXPECT_EQ(Count("TimerWakeups"), timers + 1);  // the midnight timer, and nothing else
  ExpectNoTimerWhileQuiet("after midnight");
  Quit();
}

}  // namespace
}  // namespace orv::e2e
