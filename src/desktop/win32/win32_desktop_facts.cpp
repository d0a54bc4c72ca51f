#include "desktop/win32/win32_desktop_facts.hpp"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>

#include "desktop/wallpaper.hpp"
#include "platform/win32/display_scale.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

using namespace std::chrono_literals;

// How long the user-interface thread waits for a file's answer: a local disk answers in
// microseconds; a share that does not answer is given up on at once.
constexpr auto kFileAnswerBound = 50ms;

std::optional<std::string> ExamineFileTime(const std::string& path) {
  if (path.empty()) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FILETIME local{};
  SYSTEMTIME t{};
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t))
    return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%04u/%02u/%02u %u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  return std::string(text);
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

}  // namespace

Win32DesktopFacts::Win32DesktopFacts(const RegistryReader& registry)
    : registry_(registry), files_(ExamineFileTime, [this] {
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

bool Win32DesktopFacts::WallpaperValuesMayHaveChanged() {
  if (desktop_key_ && WaitForSingleObject(desktop_changed_.get(), 0) == WAIT_TIMEOUT) return false;
  // First question, or a change: the request is (re)made before the caller reads the values,
  // so a change made while it reads them is reported at the next question.
  if (!desktop_changed_) desktop_changed_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!desktop_key_) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_NOTIFY, &key) == ERROR_SUCCESS)
      desktop_key_.reset(key);
  }
  if (!desktop_changed_ || !desktop_key_) return true;
  ResetEvent(desktop_changed_.get());
  if (RegNotifyChangeKeyValue(desktop_key_.get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, desktop_changed_.get(), TRUE) !=
      ERROR_SUCCESS)
    desktop_key_.reset();  // no request stands: every question answers true
  return true;
}

std::optional<std::string> Win32DesktopFacts::FileTimeText(const std::string& path) {
  if (path.empty()) return std::nullopt;
  return files_.Ask(path, kFileAnswerBound).value;  // nothing known yet: cannot be examined
}

std::optional<ShellWallpaper> Win32DesktopFacts::ShownWallpaper() {
  ComPtr<IDesktopWallpaper> shell;
  if (FAILED(CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper,
                              reinterpret_cast<void**>(shell.put()))) ||
      !shell)
    return std::nullopt;
  ShellWallpaper shown;
  DESKTOP_WALLPAPER_POSITION position = DWPOS_FILL;
  if (FAILED(shell->GetPosition(&position))) return std::nullopt;
  shown.style = StyleOfPosition(static_cast<int>(position));
  // Each monitor's picture, matched to Monitors() by its rectangle.
  const std::vector<PixelRect> monitors = Monitors();
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
    shell_background_ = MakeRgb(GetRValue(background), GetGValue(background), GetBValue(background));
  DESKTOP_SLIDESHOW_STATE state{};
  const bool slideshow = SUCCEEDED(shell->GetStatus(&state)) && (state & DSS_SLIDESHOW);
  // The settings' record of the background kind: 2 a slideshow, 3 spotlight.
  const DWORD kind = ReadDword(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Wallpapers",
                               L"BackgroundType", 0);
  shown.changing_pictures = slideshow || kind == 2 || kind == 3;
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

Date Win32DesktopFacts::Today() { return LocalToday(); }

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
