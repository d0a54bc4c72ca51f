#include "desktop/win32/win32_desktop_facts.hpp"

#include <windows.h>

#include <cstdio>

#include "platform/win32/wide.hpp"

namespace orv {

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

int Win32DesktopFacts::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int Win32DesktopFacts::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

Rect32 Win32DesktopFacts::WorkArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
    r = RECT{0, 0, ScreenWidth(), ScreenHeight()};
  return {r.left, r.top, r.right, r.bottom};
}

namespace {
int TwipsPerPixel(int axis) {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, axis) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? 1440 / dpi : 15;
}
}  // namespace

int Win32DesktopFacts::TwipsPerPixelX() { return twips_x_ ? twips_x_ : (twips_x_ = TwipsPerPixel(LOGPIXELSX)); }
int Win32DesktopFacts::TwipsPerPixelY() { return twips_y_ ? twips_y_ : (twips_y_ = TwipsPerPixel(LOGPIXELSY)); }
Rgb Win32DesktopFacts::DesktopColor() { return GetSysColor(COLOR_DESKTOP); }
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
