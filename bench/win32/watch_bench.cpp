// Cost of one tick of the wallpaper change watch under Wine or Windows, and of each question
// it asks the system. Prints medians; it never fails on a time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "desktop/wallpaper.hpp"
#include "desktop/win32/win32_desktop_facts.hpp"
#include "platform/win32/registry.hpp"
#include "median_time.hpp"

namespace orv {
namespace {

double MedianUs(int runs, const std::function<void()>& body) { return MedianSeconds(runs, body) * 1e6; }

int Run() {
  Win32RegistryReader registry;
  Win32DesktopFacts facts(registry);
  const std::string wallpaper = facts.WallpaperValue("Wallpaper");
  const char* file = wallpaper.empty() ? "C:\\windows\\win.ini" : wallpaper.c_str();
  WallpaperState state;
  state.LastWallpaper = wallpaper;
  state.LastTileWallpaper = facts.WallpaperValue("TileWallpaper");
  state.LastWallpaperStyle = facts.WallpaperValue("WallpaperStyle");
  if (auto time = facts.FileTimeText(wallpaper)) {
    state.LastWallpaperDate = *time;
    state.LastWallpaperDateKnown = true;
  }
  const Rect32 work = facts.WorkArea();
  const Date today = facts.Today();
  const int runs = 400;
  std::printf("registry value (Wallpaper)      %8.1f us\n", MedianUs(runs, [&] { facts.WallpaperValue("Wallpaper"); }));
  std::printf("file time                       %8.1f us\n", MedianUs(runs, [&] { facts.FileTimeText(file); }));
  std::printf("work area                       %8.1f us\n", MedianUs(runs, [&] { facts.WorkArea(); }));
  std::printf("today                           %8.1f us\n", MedianUs(runs, [&] { facts.Today(); }));
  std::printf("change question                 %8.1f us\n",
              MedianUs(runs, [&] { facts.WallpaperValuesMayHaveChanged(); }));
  std::printf("whole quiet tick                %8.1f us\n",
              MedianUs(runs, [&] { CheckWallpaper(state, facts, work, today); }));
  int rereads = 0;
  for (int i = 0; i < runs; ++i) rereads += facts.WallpaperValuesMayHaveChanged();
  std::printf("settings read again on %d of %d quiet ticks\n", rereads, runs);
  return 0;
}

}  // namespace
}  // namespace orv

int main() { return orv::Run(); }
