#pragma once
// DesktopFacts from plain fields a test sets; counts the reads that cost something.
#include <map>
#include <utility>

#include "desktop/desktop_facts.hpp"

namespace orv::test {

class FakeDesktopFacts : public DesktopFacts {
public:
  std::map<std::string, std::string, std::less<>> values;  // missing = empty
  std::map<std::string, std::string> file_times;            // missing = cannot be examined
  std::vector<PixelRect> monitors;                          // none: the screen alone
  std::optional<ShellWallpaper> shell;                      // the shell's account, if it gives one
  std::string transcoded;                                   // the shell's copy of its picture
  int screen_width = 1024, screen_height = 768;
  Rect32 work_area{0, 0, 1024, 768};
  TwipsScale twips_x, twips_y;  // 15 twips a pixel (96 dpi)
  Rgb desktop = MakeRgb(58, 110, 165);
  Date today = MakeDate(2026, 12, 7);
  int value_reads = 0, time_reads = 0;
  // A system that reports changes to the settings: `settings_changed` says whether one
  // happened since the previous question (the question clears it). Otherwise the facts
  // cannot tell and the watch reads the values at every tick.
  bool reports_setting_changes = false;
  bool settings_changed = false;

  std::string WallpaperValue(std::string_view name) override {
    ++value_reads;
    auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
  }
  bool WallpaperValuesMayHaveChanged() override {
    if (!reports_setting_changes) return true;
    return std::exchange(settings_changed, false);
  }
  std::optional<std::string> FileTimeText(const std::string& path) override {
    ++time_reads;
    auto it = file_times.find(path);
    if (it == file_times.end()) return std::nullopt;
    return it->second;
  }
  std::optional<ShellWallpaper> ShownWallpaper() override { return shell; }
  std::string TranscodedWallpaper() override { return transcoded; }
  std::vector<PixelRect> Monitors() override {
    return monitors.empty() ? DesktopFacts::Monitors() : monitors;
  }
  int ScreenWidth() override { return screen_width; }
  int ScreenHeight() override { return screen_height; }
  Rect32 WorkArea() override { return work_area; }
  TwipsScale TwipsPerPixelX() override { return twips_x; }
  TwipsScale TwipsPerPixelY() override { return twips_y; }
  Rgb DesktopColor() override { return desktop; }
  Date Today() override { return today; }
  std::string FormatCurrency(std::int32_t amount) override {
    // Japanese style without grouping subtleties beyond thousands: "￥1,234", "-￥5".
    const std::string plain = std::to_string(amount < 0 ? -static_cast<std::int64_t>(amount) : amount);
    std::string digits;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (i > 0 && (plain.size() - i) % 3 == 0) digits += ',';
      digits += plain[i];
    }
    return (amount < 0 ? "-￥" : "￥") + digits;
  }
};

}  // namespace orv::test
