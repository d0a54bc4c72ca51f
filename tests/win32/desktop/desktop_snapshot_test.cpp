// The desktop snapshot read from real windows: which windows it keeps, their parents, extended
// styles, processes and z-order, and the decision it leads to. The windows stand in for the
// shell's, in this process.
#include "desktop/win32/desktop_snapshot.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv {
namespace {

HWND Make(const wchar_t* class_name, DWORD ex_style, DWORD style, HWND parent) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), class_name, &wc)) {
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = class_name;
    RegisterClassW(&wc);
  }
  return CreateWindowExW(ex_style, class_name, L"", style | (parent ? WS_CHILD : WS_POPUP), 0, 0,
                         200, 200, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class DesktopSnapshotTest : public ::testing::Test {
protected:
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
  }
  HWND Own(HWND w) {
    windows_.push_back(w);
    return w;
  }
  // Position of `window` in the snapshot; -1 when it was left out.
  static int IndexOf(const DesktopSnapshot& s, HWND window) {
    const auto at = std::find_if(s.windows.begin(), s.windows.end(),
                                 [&](const DesktopWindow& w) { return w.id == IdOf(window); });
    return at == s.windows.end() ? -1 : static_cast<int>(at - s.windows.begin());
  }
  std::vector<HWND> windows_;
};

TEST_F(DesktopSnapshotTest, ComposedDesktopWithStylesZOrderAndTheCalendarInFront) {
  HWND progman =
      Own(Make(L"Progman", WS_EX_TOOLWINDOW | WS_EX_NOREDIRECTIONBITMAP, WS_VISIBLE, nullptr));
  HWND icons = Make(L"SHELLDLL_DefView", WS_EX_LAYERED, WS_VISIBLE, progman);
  HWND wallpaper = Make(L"WorkerW", 0, WS_VISIBLE, progman);
  HWND calendar = Make(L"OrvantaTestCalendar", WS_EX_LAYERED, WS_VISIBLE, progman);
  SetWindowPos(calendar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  HWND hidden = Own(Make(L"OrvantaTestOther", 0, 0, nullptr));
  HWND hidden_worker = Own(Make(L"WorkerW", 0, 0, nullptr));

  const DesktopSnapshot s = ReadDesktopSnapshot(calendar);
  EXPECT_EQ(s.calendar, IdOf(calendar));
  ASSERT_GE(IndexOf(s, progman), 0);
  const DesktopWindow& p = s.windows[static_cast<std::size_t>(IndexOf(s, progman))];
  EXPECT_EQ(p.class_name, "Progman");
  EXPECT_EQ(p.parent, 0u);
  EXPECT_TRUE(p.ex_style & kExNoRedirectionBitmap);
  EXPECT_EQ(p.process, GetCurrentProcessId());
  EXPECT_TRUE(p.visible);
  // Progman's children follow it, frontmost first.
  EXPECT_EQ(IndexOf(s, calendar), IndexOf(s, progman) + 1);
  EXPECT_EQ(IndexOf(s, icons), IndexOf(s, progman) + 2);
  EXPECT_EQ(IndexOf(s, wallpaper), IndexOf(s, progman) + 3);
  EXPECT_EQ(s.windows[static_cast<std::size_t>(IndexOf(s, icons))].parent, IdOf(progman));
  EXPECT_TRUE(s.windows[static_cast<std::size_t>(IndexOf(s, icons))].ex_style & kExLayered);
  // A hidden window covers nothing and is left out, unless it may hold the desktop.
  EXPECT_EQ(IndexOf(s, hidden), -1);
  ASSERT_GE(IndexOf(s, hidden_worker), 0);
  EXPECT_FALSE(s.windows[static_cast<std::size_t>(IndexOf(s, hidden_worker))].visible);

  const CalendarPlace place = PlaceOnDesktop(s);
  EXPECT_EQ(place.layout, DesktopLayout::Composed);
  EXPECT_EQ(place.parent, IdOf(progman));
  EXPECT_TRUE(StandsInPlace(s, place));
}

TEST_F(DesktopSnapshotTest, ACalendarUnderAnyOtherParentIsListedWithIt) {
  HWND other = Own(Make(L"OrvantaTestOther", 0, WS_VISIBLE, nullptr));
  HWND calendar = Make(L"OrvantaTestCalendar", 0, WS_VISIBLE, other);
  const DesktopSnapshot s = ReadDesktopSnapshot(calendar);
  ASSERT_GE(IndexOf(s, calendar), 0);
  EXPECT_EQ(s.windows[static_cast<std::size_t>(IndexOf(s, calendar))].parent, IdOf(other));
  // No shell here: the calendar belongs on a window of its own.
  EXPECT_EQ(PlaceOnDesktop(s).parent, 0u);
}

}  // namespace
}  // namespace orv
