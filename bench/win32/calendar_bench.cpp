// Timing of the calendar picture on the GDI canvas, under Wine or Windows. Prints medians:
//   (a) dsDrawCalendarDays: the real day pass (built-in theme, 1080-pixel work area, mode 1,
//       an entry on every day);
//   (b) the same GDI calls replayed from a recording, without the model: the unavoidable cost;
//   the ratio a/b, the day pass again with the holidays switched off (the days shown hold two
//   holidays), a full dsDrawCalendar, and a wallpaper copy that stretches 1024 x 768 to
//   1920 x 1080; then (c) the day pass of a theme with a month picture and a cash icon (masked,
//   drawn for 192 dpi), which every day pass scales. The first argument is the display scale
//   in percent (default 100). It reports figures; it never fails on a time.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calendar/calendar_picture.hpp"
#include "desktop/wallpaper.hpp"
#include "desktop/win32/win32_desktop_facts.hpp"
#include "platform/win32/gdi_canvas.hpp"
#include "platform/win32/registry.hpp"
#include "median_time.hpp"
#include "theme/theme.hpp"

namespace orv {
namespace {

double MedianMs(int runs, const std::function<void()>& body) { return MedianSeconds(runs, body) * 1000.0; }

// Forwards every call to a GDI canvas and keeps it as a closure, so the same GDI work can be
// replayed later without the model that decided it.
class RecordingForwarder : public Canvas {
public:
  explicit RecordingForwarder(GdiCanvas& target) : t_(target) {}
  std::vector<std::function<void()>> replay;

  int Width() const override { return t_.Width(); }
  int Height() const override { return t_.Height(); }
  void Resize(int w, int h) override { t_.Resize(w, h); }
  void SetBackColor(Rgb c) override { t_.SetBackColor(c); }
  void KeepAsBackground() override { t_.KeepAsBackground(); }
  void Clear() override { Keep([this] { t_.Clear(); }); }
  void SetDpi(int dpi) override { t_.SetDpi(dpi); }
  void SetFont(const FontSpec& f) override { Keep([this, f] { t_.SetFont(f); }); }
  void SetTextColor(Rgb c) override { Keep([this, c] { t_.SetTextColor(c); }); }
  TextSize MeasureText(std::string_view text) override {
    Keep([this, s = std::string(text)] { t_.MeasureText(s); }, false);
    return t_.MeasureText(text);
  }
  void PrintText(int x, int y, std::string_view text) override {
    Keep([this, x, y, s = std::string(text)] { t_.PrintText(x, y, s); });
  }
  void FillRect(const PixelRect& r, Rgb c) override { Keep([this, r, c] { t_.FillRect(r, c); }); }
  void FrameRect(const PixelRect& r, Rgb c) override { Keep([this, r, c] { t_.FrameRect(r, c); }); }
  void DrawPicture(const Picture& p, const PixelRect& d, RasterOp op, bool h) override {
    Keep([this, &p, d, op, h] { t_.DrawPicture(p, d, op, h); });
  }
  void TilePicture(const Picture& p, const PixelRect& d) override {
    Keep([this, &p, d] { t_.TilePicture(p, d); });
  }
  void CopyFrom(const Canvas& s, const PixelRect& f, const PixelRect& d, bool h) override {
    t_.CopyFrom(s, f, d, h);
  }
  Rgb SystemColorOf(SystemColor w) const override { return t_.SystemColorOf(w); }

private:
  void Keep(std::function<void()> call, bool run = true) {
    if (run) call();
    replay.push_back(std::move(call));
  }
  GdiCanvas& t_;
};

TwipsScale g_scale;  // the display scale asked for

class BenchFacts : public Win32DesktopFacts {
public:
  using Win32DesktopFacts::Win32DesktopFacts;
  int ScreenWidth() override { return 1920; }
  int ScreenHeight() override { return 1080; }
  Rect32 WorkArea() override { return {0, 0, 1920, 1080}; }
  TwipsScale TwipsPerPixelX() override { return g_scale; }
  TwipsScale TwipsPerPixelY() override { return g_scale; }
};

// A masked picture slot of plain bitmaps.
ThemePicture BitmapSlot(int width, int height) {
  HDC screen = GetDC(nullptr);
  ThemePicture slot;
  slot.Picture = std::make_shared<BitmapPicture>(BitmapHandle(CreateCompatibleBitmap(screen, width, height)));
  slot.Mask = std::make_shared<BitmapPicture>(BitmapHandle(CreateCompatibleBitmap(screen, width, height)));
  ReleaseDC(nullptr, screen);
  slot.HasPicture = slot.HasMask = true;
  return slot;
}

struct SolidLoader : PictureLoader {
  LoadedPicture Load(const std::string&) override {
    HDC screen = GetDC(nullptr);
    BitmapHandle bitmap(CreateCompatibleBitmap(screen, 1024, 768));
    ReleaseDC(nullptr, screen);
    return {std::make_shared<BitmapPicture>(std::move(bitmap)), {}};
  }
};

struct StretchFacts : BenchFacts {
  using BenchFacts::BenchFacts;
  std::string WallpaperValue(std::string_view name) override {
    if (name == "Wallpaper") return "C:\\wall.bmp";
    return name == "WallpaperStyle" ? "2" : "0";
  }
  std::optional<std::string> FileTimeText(const std::string&) override { return "t"; }
};

int Run(int percent) {
  g_scale = TwipsScale::ForDpi(CalendarDpi({}, percent));
  Win32RegistryReader registry;
  BenchFacts facts(registry);
  AppState state;
  LoadDefaultTheme(state.CurrentTheme);
  state.clock = [] { return MakeDate(2026, 12, 7); };
  UpdateToday(state);
  SetStartDate(state, MakeDate(2026, 11, 20));
  state.CalendarMode = kShowPayments;
  for (int d = 0; d < 80; ++d) {
    DayData& day = GetOrCreateDay(state.Years, SplitDate(MakeDate(2026, 11, 20) + std::chrono::days{d}));
    day.TotalPaymentPrice = 1000 + d * 137;
    day.TotalCash = d % 3 == 0;
  }

  StretchFacts stretch_facts(registry);
  SolidLoader loader;
  WallpaperState wallpaper;
  GdiCanvas desktop(1, 1), draw(1, 1), view(1, 1);
  WallpaperCopy desktop_copy(wallpaper, stretch_facts, loader, desktop);
  CalendarSurfaces surfaces{draw, view, desktop_copy};
  const CalendarLayout layout = dsDrawCalendar(state, facts, surfaces);

  const double real = MedianMs(50, [&] { dsDrawCalendarDays(state, facts, layout, surfaces); });
  RecordingForwarder recorder(draw);
  CalendarSurfaces recorded{recorder, view, desktop_copy};
  dsDrawCalendarDays(state, facts, layout, recorded);
  const double bare = MedianMs(50, [&] {
    for (auto& call : recorder.replay) call();
    view.CopyFrom(draw, {0, 0, layout.width, layout.height}, {0, 0, layout.width, layout.height});
  });
  state.ShowHolidays = false;
  const double without_holidays = MedianMs(50, [&] { dsDrawCalendarDays(state, facts, layout, surfaces); });
  state.ShowHolidays = true;
  const double full = MedianMs(20, [&] { dsDrawCalendar(state, facts, surfaces); });

  GdiCanvas image(1, 1);
  const double copy = MedianMs(10, [&] { dsDesktopImageCopy(wallpaper, stretch_facts, loader, image); });
  const int band_left = 1920 - WidestCalendarWidth(state.CurrentTheme, g_scale);
  const double band = MedianMs(10, [&] { dsDesktopImageCopy(wallpaper, stretch_facts, loader, image, band_left); });

  // A theme with pictures in the day layer: a month picture with every label, a coin beside
  // every cash amount.
  state.CurrentTheme.DesignDpi = 192;
  state.CurrentTheme.Month = BitmapSlot(116, 44);
  state.CurrentTheme.CashIcon = BitmapSlot(28, 28);
  const CalendarLayout pictured = dsDrawCalendar(state, facts, surfaces);
  const double with_pictures = MedianMs(50, [&] { dsDrawCalendarDays(state, facts, pictured, surfaces); });

  std::printf("display scale %d %% (%d dpi)\n", percent, g_scale.Dpi());
  std::printf("calendar day pass (a)           %8.3f ms  (%d rows, %zu GDI calls)\n", real, layout.rows,
              recorder.replay.size());
  std::printf("bare GDI replay of the pass (b) %8.3f ms\n", bare);
  std::printf("ratio a/b                       %8.2f\n", real / bare);
  std::printf("day pass, holidays switched off %8.3f ms\n", without_holidays);
  std::printf("full dsDrawCalendar             %8.3f ms\n", full);
  std::printf("wallpaper copy, stretch 1024x768 -> 1920x1080: %8.3f ms\n", copy);
  std::printf("  only the calendar's band (%d columns):        %8.3f ms\n", 1920 - band_left, band);
  std::printf("day pass with month and cash pictures (c) %8.3f ms\n", with_pictures);
  return 0;
}

}  // namespace
}  // namespace orv

int main(int argc, char** argv) { return orv::Run(argc > 1 ? std::atoi(argv[1]) : 100); }
