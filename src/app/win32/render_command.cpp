#include "app/win32/render_command.hpp"

#include <windows.h>

#include "calendar/calendar_picture.hpp"
#include "desktop/wallpaper.hpp"
#include "desktop/win32/win32_desktop_facts.hpp"
#include "platform/win32/image_file.hpp"
#include "platform/win32/registry.hpp"
#include "platform/win32/wic_picture_loader.hpp"
#include "schedule/user_data_file.hpp"
#include "theme/theme.hpp"

namespace orv {
namespace {

constexpr Rgb kDesktopColor = MakeRgb(58, 110, 165);

// The desktop the picture is composed on: a screen of the asked size (the real one unless
// given) with the asked wallpaper and style, the calendar at its right edge as high as asked;
// only the currency format comes from the user's regional settings.
class RenderFacts : public DesktopFacts {
public:
  RenderFacts(const RenderOptions& options, DesktopFacts& system)
      : o_(options), system_(system),
        values_(ValuesFor(StyleNamed(options.style).value_or(WallpaperPlacement::kCenter), options.wallpaper)),
        width_(options.screen ? options.screen->first : GetSystemMetrics(SM_CXSCREEN)),
        height_(options.screen ? options.screen->second : GetSystemMetrics(SM_CYSCREEN)) {}

  std::string WallpaperValue(std::string_view name) override {
    if (name == "Wallpaper") return values_.Wallpaper;
    if (name == "WallpaperStyle") return values_.WallpaperStyle;
    if (name == "TileWallpaper") return values_.TileWallpaper;
    return {};
  }
  std::optional<std::string> FileTimeText(const std::string&) override { return "fixed"; }
  int ScreenWidth() override { return width_; }
  int ScreenHeight() override { return height_; }
  Rect32 WorkArea() override { return {0, 0, width_, o_.height}; }
  // The asked scale stands for the monitor's: the picture is what a screen at that scale shows.
  TwipsScale TwipsPerPixelX() override { return TwipsScale::ForDpi(CalendarDpi({}, o_.scale)); }
  TwipsScale TwipsPerPixelY() override { return TwipsPerPixelX(); }
  Rgb DesktopColor() override { return kDesktopColor; }
  Date Today() override { return o_.today.value_or(LocalToday()); }
  std::string FormatCurrency(std::int32_t amount) override { return system_.FormatCurrency(amount); }

private:
  const RenderOptions& o_;
  DesktopFacts& system_;
  WallpaperValues values_;
  int width_, height_;
};

// Passes loads through and remembers whether the last one failed, so the wallpaper copy's
// silent fallback to the plain colour can still be reported without decoding the file twice.
class WatchingLoader : public PictureLoader {
public:
  explicit WatchingLoader(PictureLoader& inner) : inner_(inner) {}
  LoadedPicture Load(const std::string& path) override {
    LoadedPicture loaded = inner_.Load(path);
    last_failed_ = !loaded.picture;
    return loaded;
  }
  bool last_failed() const { return last_failed_; }

private:
  PictureLoader& inner_;
  bool last_failed_ = false;
};

}  // namespace

std::string RunRenderCommand(const RenderOptions& o) {
  AppState state;
  if (!o.data.empty()) {
    if (auto error = sfLoadUserData(o.data, state.Years, state.DefaultUserLists); !error.empty())
      return o.data + ": " + error;
  }
  WicPictureLoader pictures;
  if (o.theme.empty()) {
    LoadDefaultTheme(state.CurrentTheme);
  } else if (auto error = sfLoadINIThemeFile(state.CurrentTheme, o.theme, {pictures, TwipsScale{}}); !error.empty()) {
    return o.theme + ": " + error;
  }
  Win32RegistryReader registry;
  Win32DesktopFacts system(registry);
  RenderFacts facts(o, system);
  state.clock = [&facts] { return facts.Today(); };
  UpdateToday(state);
  SetStartDate(state, o.start.value_or(StartDateForToday(state)));
  state.CalendarMode = o.mode;

  GdiCanvas desktop(1, 1), draw(1, 1), view(1, 1);
  WallpaperState wallpaper;
  WatchingLoader wallpaper_loader(pictures);
  WallpaperCopy copy(wallpaper, facts, wallpaper_loader, desktop);
  CalendarSurfaces surfaces{draw, view, copy};
  dsDrawCalendar(state, facts, surfaces);  // copies the wallpaper under the calendar first
  if (!o.wallpaper.empty() && wallpaper_loader.last_failed())
    return o.wallpaper + ": not a picture the system can read";
  if (SystemError error = SaveCanvasImage(view, o.output))
    return o.output + ": " + error.description;
  return {};
}

}  // namespace orv
