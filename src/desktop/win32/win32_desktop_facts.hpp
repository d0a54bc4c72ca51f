#pragma once
// DesktopFacts from the running system: screen metrics, work area, desktop colour, the
// wallpaper values under the current user's "Control Panel\Desktop", file times and the
// user's currency format.
#include <windows.h>

#include <atomic>

#include "desktop/desktop_facts.hpp"
#include "platform/path_examiner.hpp"
#include "platform/registry_reader.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

class Win32DesktopFacts : public DesktopFacts {
public:
  explicit Win32DesktopFacts(const RegistryReader& registry);

  std::string WallpaperValue(std::string_view name) override;
  // Asks the system to signal an event when a value under "Control Panel\Desktop" is set;
  // the answer is false only while that request stands and nothing has been signalled.
  bool WallpaperValuesMayHaveChanged() override;
  // Examined on a worker thread: the answer counts when it comes within a few milliseconds;
  // otherwise the last one known for the file stands and the fresh one is posted to the
  // window named by PostLateAnswersTo when it comes.
  std::optional<std::string> FileTimeText(const std::string& path) override;
  // IDesktopWallpaper (Windows 8 and later); nullopt where the system offers none.
  std::optional<ShellWallpaper> ShownWallpaper() override;
  std::string TranscodedWallpaper() override;
  std::vector<PixelRect> Monitors() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  Rect32 WorkArea() override;
  TwipsScale TwipsPerPixelX() override;
  TwipsScale TwipsPerPixelY() override;
  Rgb DesktopColor() override;
  Date Today() override;
  std::string FormatCurrency(std::int32_t amount) override;

  // Forgets the cached screen scale; call on display and setting changes.
  void Refresh() { dpi_ = 0; }
  // The window whose monitor gives the scale (the calendar); none: the primary monitor.
  void SetScaleWindow(HWND window) {
    scale_window_ = window;
    dpi_ = 0;
  }
  int Dpi();
  // Where a late file answer is announced: `message` is posted to `window`.
  void PostLateAnswersTo(HWND window, UINT message);

private:
  const RegistryReader& registry_;
  HWND scale_window_ = nullptr;
  int dpi_ = 0;  // asked once: the watch reads the scale five times a second
  std::optional<Rgb> shell_background_;  // the shell's background colour, from its last account
  std::atomic<HWND> late_window_{nullptr};  // read by the examiner's worker
  std::atomic<UINT> late_message_{0};
  PathExaminer files_;
  RegKey desktop_key_;             // open while a change request stands on it
  KernelHandle desktop_changed_;   // signalled by the system when a value is set
};

// NT family, version 5 or later: the system draws with visual styles.
bool SystemHasVisualStyles();

}  // namespace orv
