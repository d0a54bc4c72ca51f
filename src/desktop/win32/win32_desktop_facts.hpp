#pragma once
// DesktopFacts from the running system: screen metrics, work area, desktop colour, the
// wallpaper values under the current user's "Control Panel\Desktop", file times and the
// user's currency format.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "desktop/desktop_facts.hpp"
#include "platform/path_examiner.hpp"
#include "platform/registry_reader.hpp"
#include "platform/win32/change_notices.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

class Win32DesktopFacts : public DesktopFacts {
public:
  explicit Win32DesktopFacts(const RegistryReader& registry);

  std::string WallpaperValue(std::string_view name) override;
  // False only while the system's change request on "Control Panel\Desktop" stands and it
  // has reported nothing since the last question.
  bool WallpaperValuesMayHaveChanged() override;
  // The event the system signals when a value under "Control Panel\Desktop" is written
  // (the request is made on the first call); nullptr where no request can be made. Call
  // DesktopSettingsSignalled when it is.
  HANDLE DesktopSettingsEvent();
  void DesktopSettingsSignalled();
  // Examined on a worker thread: the answer counts when it comes within a few milliseconds;
  // otherwise the last one known for the file stands and the fresh one is posted to the
  // window named by PostLateAnswersTo when it comes.
  std::optional<std::string> FileTimeText(const std::string& path) override;
  // IDesktopWallpaper (Windows 8 and later), asked on a worker thread: a shell that does not
  // answer within a bound leaves its last account standing. Nullopt where the system offers
  // none, which is remembered for the session.
  std::optional<ShellWallpaper> ShownWallpaper() override;
  bool ShellAccountMissing() const { return *shell_missing_; }
  std::string TranscodedWallpaper() override;
  std::vector<PixelRect> Monitors() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  Rect32 WorkArea() override;
  TwipsScale TwipsPerPixelX() override;
  TwipsScale TwipsPerPixelY() override;
  Rgb DesktopColor() override;
  // The local date by the system's clock and time zone.
  Date Today() override;
  // From now to the next change of the local date, the real time (a daylight-saving change
  // that night makes it an hour shorter or longer than the clock face shows).
  std::chrono::milliseconds UntilMidnight();
  // For tests only: the clock stands `before_midnight` before the next local midnight.
  void ShiftClockForTesting(std::chrono::milliseconds before_midnight);
  // For tests only: the clock stands at `utc_ticks` (FILETIME units) in the time zone `zone`.
  void SetClockForTesting(std::int64_t utc_ticks, const TIME_ZONE_INFORMATION& zone);
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
  // Now as the system's clock says, in 100 ns units since 1601 (UTC), moved by a test's shift.
  std::int64_t NowUtc() const;
  // Local time at a UTC instant, both in FILETIME units.
  std::int64_t LocalOf(std::int64_t utc) const;

  HWND scale_window_ = nullptr;
  std::int64_t clock_shift_ = 0;  // 100 ns units
  std::optional<TIME_ZONE_INFORMATION> zone_;  // a test's zone; none: the system's
  int dpi_ = 0;  // asked once: every look of the watch and every drawing read the scale
  std::optional<Rgb> shell_background_;  // the shell's background colour, from its last account
  std::atomic<HWND> late_window_{nullptr};  // read by the examiner's worker
  std::atomic<UINT> late_message_{0};
  PathExaminer files_;
  // Set by the shell's worker; shared, as the worker may outlive these facts while it hangs.
  std::shared_ptr<std::atomic<bool>> shell_missing_ = std::make_shared<std::atomic<bool>>(false);
  PathExaminer shell_;  // the shell's account, under the one question "shell"
  KeyChangeNotice desktop_notice_;
  bool settings_changed_ = true;  // reported since the last question
};

// NT family, version 5 or later: the system draws with visual styles.
bool SystemHasVisualStyles();

}  // namespace orv
