#include "desktop/win32/win32_desktop_facts.hpp"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "desktop/change_watch.hpp"
#include "desktop/wallpaper.hpp"
#include "platform/win32/change_notices.hpp"
#include "platform/win32/display_scale.hpp"
#include "platform/win32/wide.hpp"
#include "platform/windows_path.hpp"

namespace orv {
namespace {

using namespace std::chrono_literals;

// How long the user-interface thread waits for a file's answer: a local disk answers in
// microseconds; a share that does not answer is given up on at once.
constexpr auto kFileAnswerBound = 50ms;
// And for the shell's account of its wallpaper: a round trip to the shell's process, which
// takes milliseconds unless the shell hangs; its last account stands in then.
constexpr auto kShellAnswerBound = 200ms;

std::vector<PixelRect> MonitorRects() {
  std::vector<PixelRect> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM param) -> BOOL {
        auto& list = *reinterpret_cast<std::vector<PixelRect>*>(param);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(monitor, &info)) return TRUE;
        const RECT& r = info.rcMonitor;
        const PixelRect rect{r.left, r.top, r.right, r.bottom};
        if (info.dwFlags & MONITORINFOF_PRIMARY) list.insert(list.begin(), rect);
        else list.push_back(rect);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

std::string TakeCoString(LPWSTR text) {
  std::string result = text ? WideToUtf8(text) : std::string();
  CoTaskMemFree(text);
  return result;
}

DWORD ReadDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD fallback) {
  DWORD value = 0, size = sizeof value;
  return RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS ? value : fallback;
}

// A local hard disk answers at once; a share, a mapped network drive or a removable drive may
// not, and is asked on the examiner's worker.
bool OnFixedDisk(const std::string& path) {
  const std::string root = DriveRoot(path);
  return !root.empty() && GetDriveTypeW(Utf8ToWide(root).c_str()) == DRIVE_FIXED;
}

// The shell's account of its wallpaper as text, asked on the examiner's worker (a shell that
// hangs holds up only that thread). `missing` is set where the system has no such service.
std::optional<std::string> AskShellForWallpaper(std::atomic<bool>& missing) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  struct Uninitialize {
    bool initialized;
    ~Uninitialize() {
      if (initialized) CoUninitialize();
    }
  } uninitialize{SUCCEEDED(com)};  // last: after the interface below is released
  ComPtr<IDesktopWallpaper> shell;
  const HRESULT made = CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper,
                                        reinterpret_cast<void**>(shell.put()));
  if (FAILED(made) || !shell) {
    if (made == REGDB_E_CLASSNOTREG || made == E_NOINTERFACE || made == CLASS_E_CLASSNOTAVAILABLE) missing = true;
    return std::nullopt;
  }
  ShellWallpaper shown;
  DESKTOP_WALLPAPER_POSITION position = DWPOS_FILL;
  if (FAILED(shell->GetPosition(&position))) return std::nullopt;
  shown.style = StyleOfPosition(static_cast<int>(position));
  // Each monitor's picture, matched to Monitors() by its rectangle.
  const std::vector<PixelRect> monitors = MonitorRects();
  shown.pictures.assign(monitors.size(), std::string());
  UINT count = 0;
  if (SUCCEEDED(shell->GetMonitorDevicePathCount(&count))) {
    for (UINT i = 0; i < count; ++i) {
      LPWSTR id = nullptr;
      if (FAILED(shell->GetMonitorDevicePathAt(i, &id)) || !id) continue;
      RECT r{};
      LPWSTR picture = nullptr;
      const bool placed = SUCCEEDED(shell->GetMonitorRECT(id, &r));
      const bool named = SUCCEEDED(shell->GetWallpaper(id, &picture));
      CoTaskMemFree(id);
      const std::string path = named ? TakeCoString(picture) : std::string();
      if (!placed) continue;
      const PixelRect rect{r.left, r.top, r.right, r.bottom};
      const auto at = std::find(monitors.begin(), monitors.end(), rect);
      if (at != monitors.end()) shown.pictures[static_cast<std::size_t>(at - monitors.begin())] = path;
    }
  }
  COLORREF background = 0;
  if (SUCCEEDED(shell->GetBackgroundColor(&background)))
    shown.background = MakeRgb(GetRValue(background), GetGValue(background), GetBValue(background));
  DESKTOP_SLIDESHOW_STATE state{};
  const bool slideshow = SUCCEEDED(shell->GetStatus(&state)) && (state & DSS_SLIDESHOW);
  // The settings' record of the background kind: 2 a slideshow, 3 spotlight.
  const DWORD kind = ReadDword(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Wallpapers",
                               L"BackgroundType", 0);
  shown.changing_pictures = slideshow || kind == 2 || kind == 3;
  return ShellWallpaperText(shown);
}

}  // namespace

Win32DesktopFacts::Win32DesktopFacts(const RegistryReader& registry)
    : registry_(registry),
      files_(
          FileWriteTimeText,
          [this] {
            if (HWND window = late_window_.load()) PostMessageW(window, late_message_.load(), 0, 0);
          },
          OnFixedDisk),
      shell_([missing = shell_missing_](const std::string&) { return AskShellForWallpaper(*missing); },
             [this] {
               if (HWND window = late_window_.load()) PostMessageW(window, late_message_.load(), 0, 0);
             }) {}

void Win32DesktopFacts::PostLateAnswersTo(HWND window, UINT message) {
  late_message_ = message;
  late_window_ = window;
}

std::string Win32DesktopFacts::WallpaperValue(std::string_view name) {
  const RegistryValue value = ReadRegistryValue(registry_, RegistryRoot::CurrentUser,
                                                "Control Panel\\Desktop", name, kRegistryText,
                                                std::string());
  const auto* text = std::get_if<std::string>(&value);
  return text ? *text : std::string();
}

HANDLE Win32DesktopFacts::DesktopSettingsEvent() {
  if (!desktop_notice_.Armed()) {
    desktop_notice_.Watch(HKEY_CURRENT_USER, L"Control Panel\\Desktop");
    settings_changed_ = true;  // nothing was known before the request
  }
  return desktop_notice_.Armed() ? desktop_notice_.Event() : nullptr;
}

void Win32DesktopFacts::DesktopSettingsSignalled() {
  // Asked again at once, before anyone reads: a write made after this is reported again.
  settings_changed_ = true;
  desktop_notice_.Rearm();
}

bool Win32DesktopFacts::WallpaperValuesMayHaveChanged() {
  if (!desktop_notice_.Armed()) return true;
  return std::exchange(settings_changed_, false);
}

std::optional<std::string> Win32DesktopFacts::FileTimeText(const std::string& path) {
  if (path.empty()) return std::nullopt;
  return files_.Ask(path, kFileAnswerBound).value;  // nothing known yet: cannot be examined
}

std::optional<ShellWallpaper> Win32DesktopFacts::ShownWallpaper() {
  // The running shell serves this account from its own process. Without the shell's desktop
  // window there is nobody to answer, and asking would still cost a round trip through the
  // system's object service at every copy; the settings say what the desktop shows then. A
  // system without the service has none for the whole session.
  if (shell_missing_->load() || !FindWindowW(L"Progman", nullptr)) return std::nullopt;
  const PathExaminer::Answer answer = shell_.Ask("shell", kShellAnswerBound);
  if (!answer.value) return std::nullopt;
  std::optional<ShellWallpaper> shown = ParseShellWallpaper(*answer.value);
  if (shown && shown->background) shell_background_ = shown->background;
  return shown;
}

std::string Win32DesktopFacts::TranscodedWallpaper() {
  PWSTR folder = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder))) {
    CoTaskMemFree(folder);
    return {};
  }
  return TakeCoString(folder) + "\\Microsoft\\Windows\\Themes\\TranscodedWallpaper";
}

std::vector<PixelRect> Win32DesktopFacts::Monitors() {
  std::vector<PixelRect> monitors = MonitorRects();
  if (monitors.empty()) return DesktopFacts::Monitors();
  return monitors;
}

int Win32DesktopFacts::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int Win32DesktopFacts::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

Rect32 Win32DesktopFacts::WorkArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
    r = RECT{0, 0, ScreenWidth(), ScreenHeight()};
  return {r.left, r.top, r.right, r.bottom};
}

int Win32DesktopFacts::Dpi() {
  // The calendar may be made anew (the shell restarted): its old window then counts as none.
  if (!dpi_) dpi_ = WindowDpi(IsWindow(scale_window_) ? scale_window_ : nullptr);
  return dpi_;
}
TwipsScale Win32DesktopFacts::TwipsPerPixelX() { return TwipsScale::ForDpi(Dpi()); }
TwipsScale Win32DesktopFacts::TwipsPerPixelY() { return TwipsScale::ForDpi(Dpi()); }

Rgb Win32DesktopFacts::DesktopColor() {
  if (shell_background_) return *shell_background_;
  // The colour the user chose for the desktop, as the settings keep it; the system's desktop
  // colour where they keep none.
  const RegistryValue value = ReadRegistryValue(registry_, RegistryRoot::CurrentUser, "Control Panel\\Colors",
                                                "Background", kRegistryText, std::string());
  if (const auto* text = std::get_if<std::string>(&value))
    if (auto color = ParseColorTriple(*text)) return *color;
  return GetSysColor(COLOR_DESKTOP);
}

namespace {

constexpr std::int64_t kTicksPerMs = 10'000;  // FILETIME counts 100 ns

std::int64_t TicksOf(const FILETIME& t) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}
FILETIME FileTimeOf(std::int64_t ticks) {
  const auto u = static_cast<std::uint64_t>(ticks);
  return {static_cast<DWORD>(u & 0xFFFFFFFFu), static_cast<DWORD>(u >> 32)};
}
// FILETIME counts from 1601, the standard clocks from 1970.
constexpr std::int64_t kUnixEpochTicks = 11'644'473'600LL * 1000 * kTicksPerMs;

}  // namespace

std::int64_t Win32DesktopFacts::NowUtc() const {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return TicksOf(now) + clock_shift_;
}

std::int64_t Win32DesktopFacts::LocalOf(std::int64_t utc) const {
  // One step, by the zone's rules for that instant (the way back is not one: some local
  // times do not exist and some exist twice). Unchanged when the system refuses.
  SYSTEMTIME from{}, to{};
  const FILETIME in = FileTimeOf(utc);
  FILETIME out{};
  const TIME_ZONE_INFORMATION* zone = zone_ ? &*zone_ : nullptr;
  if (!FileTimeToSystemTime(&in, &from) || !SystemTimeToTzSpecificLocalTime(zone, &from, &to) ||
      !SystemTimeToFileTime(&to, &out))
    return utc;
  return TicksOf(out);
}

Date Win32DesktopFacts::Today() {
  SYSTEMTIME local{};
  const FILETIME t = FileTimeOf(LocalOf(NowUtc()));
  if (!FileTimeToSystemTime(&t, &local)) return LocalToday();
  return MakeDate(local.wYear, local.wMonth, local.wDay);
}

std::chrono::milliseconds Win32DesktopFacts::UntilMidnight() {
  using namespace std::chrono;
  const auto since_1970 = [](std::int64_t ticks) { return milliseconds((ticks - kUnixEpochTicks) / kTicksPerMs); };
  const sys_time<milliseconds> now(since_1970(NowUtc()));
  return UntilDateChange(now, [this, &since_1970](sys_time<milliseconds> t) {
    const std::int64_t ticks = t.time_since_epoch().count() * kTicksPerMs + kUnixEpochTicks;
    return local_time<milliseconds>(since_1970(LocalOf(ticks)));
  });
}

void Win32DesktopFacts::ShiftClockForTesting(std::chrono::milliseconds before_midnight) {
  clock_shift_ = 0;
  clock_shift_ = (UntilMidnight() - before_midnight).count() * kTicksPerMs;
}

void Win32DesktopFacts::SetClockForTesting(std::int64_t utc_ticks, const TIME_ZONE_INFORMATION& zone) {
  clock_shift_ = 0;
  clock_shift_ = utc_ticks - NowUtc();
  zone_ = zone;
}

std::string Win32DesktopFacts::FormatCurrency(std::int32_t amount) {
  const std::wstring number = std::to_wstring(amount);
  wchar_t out[64];
  const int n = GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, number.c_str(), nullptr, out, 64);
  if (n <= 0) return std::to_string(amount);
  return WideToUtf8(std::wstring_view(out, static_cast<std::size_t>(n - 1)));
}

bool SystemHasVisualStyles() {
  // GetVersionEx reports what the manifest lets it; the major version is what counts here.
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExW(&info)) return false;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5;
}

}  // namespace orv
