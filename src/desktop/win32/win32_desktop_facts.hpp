#pragma once
// DesktopFacts from the running system: screen metrics, work area, desktop colour, the
// wallpaper values under the current user's "Control Panel\Desktop", file times and the
// user's currency format.
#include "desktop/desktop_facts.hpp"
#include "platform/registry_reader.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

class Win32DesktopFacts : public DesktopFacts {
public:
  explicit Win32DesktopFacts(const RegistryReader& registry) : registry_(registry) {}

  std::string WallpaperValue(std::string_view name) override;
  // Asks the system to signal an event when a value under "Control Panel\Desktop" is set;
  // the answer is false only while that request stands and nothing has been signalled.
  bool WallpaperValuesMayHaveChanged() override;
  std::optional<std::string> FileTimeText(const std::string& path) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  Rect32 WorkArea() override;
  int TwipsPerPixelX() override;
  int TwipsPerPixelY() override;
  Rgb DesktopColor() override;
  Date Today() override;
  std::string FormatCurrency(std::int32_t amount) override;

  // Forgets the cached screen scale; call on display and setting changes.
  void Refresh() { twips_x_ = twips_y_ = 0; }

private:
  const RegistryReader& registry_;
  int twips_x_ = 0, twips_y_ = 0;  // asked once: the watch reads them five times a second
  RegKey desktop_key_;             // open while a change request stands on it
  KernelHandle desktop_changed_;   // signalled by the system when a value is set
};

// NT family, version 5 or later: the system draws with visual styles.
bool SystemHasVisualStyles();

}  // namespace orv
