// End-to-end: the calendar's background continues the desktop in every wallpaper style, at
// the scale the system runs at (scripts/test runs these at 100, 150 and 175 %).
#include "e2e_harness.hpp"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "calendar/calendar_layout.hpp"
#include "desktop/wallpaper.hpp"
#include "stand_in_desktop.hpp"
#include "theme/theme.hpp"

namespace orv::e2e {
namespace {

// An odd-sized picture whose red changes with every column and green with every row, so that a
// copy one pixel off shows; blue is smooth.
constexpr int kPictureWidth = 301, kPictureHeight = 203;
COLORREF OddPictureAt(int x, int y) { return RGB((x * 37) % 256, (y * 29) % 256, 60 + x * 150 / kPictureWidth); }

// The rows of the calendar (built-in theme, narrow) that show the wallpaper copy alone at its
// left edge: a month's label, drawn from the first row and from each first of a month down
// over a few rows, grows with the scale's fonts and reaches the edge at 175 %.
std::vector<bool> PlainRows(const RECT& window, std::chrono::sys_days start) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const CalendarLayout layout =
      ComputeCalendarLayout(DefaultTheme(), 0, {window.left, window.top, window.right, window.bottom}, TwipsScale::ForDpi(dpi));
  std::vector<bool> plain(static_cast<std::size_t>(window.bottom - window.top), true);
  for (int row = 0; row < layout.rows; ++row) {
    const unsigned day = static_cast<unsigned>(std::chrono::year_month_day{start + std::chrono::days{row}}.day());
    if (row != 0 && day != 1) continue;
    for (int y = layout.RowTop(row); y < layout.RowTop(row) + 5 * layout.day_height && y < layout.height; ++y)
      plain[static_cast<std::size_t>(y)] = false;
  }
  return plain;
}

int Distance(COLORREF a, COLORREF b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

TEST_F(OrvantaE2E, TheCalendarsBackgroundContinuesTheDesktopInEveryStyle) {
  const std::string path = UseEmptyData();
  StopProgman();  // the calendar is a window of its own: its pixels can be read
  const std::string picture = test::Utf8(dir_.path()) + "\\odd.bmp";
  WriteBmp(picture, kPictureWidth, kPictureHeight, OddPictureAt);
  const std::wstring old_background = GetText(L"Control Panel\\Colors", L"Background");
  SetText(HKEY_CURRENT_USER, L"Control Panel\\Colors", L"Background", L"90 30 120");  // shows around a fit
  auto set_style = [&](WallpaperPlacement style) {
    const WallpaperValues values = ValuesFor(style, picture);
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"TileWallpaper", Utf8ToWide(values.TileWallpaper));
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle", Utf8ToWide(values.WallpaperStyle));
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", Utf8ToWide(picture));
  };
  set_style(WallpaperPlacement::kTile);
  Launch();
  ASSERT_TRUE(WaitShown());
  RECT r;
  GetWindowRect(Calendar(), &r);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  // The calendar's first columns show the wallpaper copy alone, away from the month labels.
  constexpr int kColumns = 4;
  const RECT edge{r.left, r.top, r.left + kColumns, r.bottom};
  int y0 = 0, m0 = 0, d0 = 0;
  std::sscanf(StartDate().c_str(), "%d-%d-%d", &y0, &m0, &d0);
  const std::vector<bool> plain = PlainRows(
      r, std::chrono::sys_days{std::chrono::year{y0} / static_cast<unsigned>(m0) / static_cast<unsigned>(d0)});

  const struct {
    const char* name;
    WallpaperPlacement style;
  } styles[] = {{"tile", WallpaperPlacement::kTile},       {"center", WallpaperPlacement::kCenter},
                {"stretch", WallpaperPlacement::kStretch}, {"fit", WallpaperPlacement::kFit},
                {"fill", WallpaperPlacement::kFill},       {"span", WallpaperPlacement::kSpan}};
  for (const auto& s : styles) {
    SCOPED_TRACE(s.name);
    set_style(s.style);
    const auto desktop = PaintedDesktop(width, height, Utf8ToWide(picture), s.style, DesktopBackground());
    // Every pixel matches: the stand-in smooths scaled copies as the program does, so what
    // is compared is where each copy stands and what the band holds of it.
    constexpr int allowed = 0;
    int worst = 0, differing = 0;
    std::string first;
    auto matches = [&] {
      const std::vector<COLORREF> shown = ScreenPixels(edge);
      worst = differing = 0;
      first.clear();
      for (int y = 0; y < edge.bottom - edge.top; ++y)
        for (int x = 0; x < kColumns && plain[static_cast<std::size_t>(y)]; ++x) {
          const COLORREF want = desktop->PixelAt(r.left + x, r.top + y);
          const COLORREF row_order = shown[static_cast<std::size_t>(y) * kColumns + x];  // 0x00RRGGBB
          const COLORREF got = RGB((row_order >> 16) & 0xFF, (row_order >> 8) & 0xFF, row_order & 0xFF);
          const int d = Distance(want, got);
          worst = std::max(worst, d);
          if (d > allowed && differing++ == 0) {
            std::ostringstream at;
            at << "first at (" << r.left + x << ", " << r.top + y << "): desktop " << std::hex << want
               << ", calendar " << got;
            first = at.str();
          }
        }
      return differing == 0;
    };
    EXPECT_TRUE(WaitFor(matches, 5000)) << differing << " pixels differ, worst by " << worst << "; " << first;
  }
  SetText(HKEY_CURRENT_USER, L"Control Panel\\Colors", L"Background", old_background);
  Quit();
}

}  // namespace
}  // namespace orv::e2e
