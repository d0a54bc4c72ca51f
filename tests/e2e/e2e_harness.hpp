// The end-to-end harness: starts the real orvanta.exe (beside the test program's build tree)
// on the test display, with a stand-in "Progman" desktop window painting a test wallpaper,
// and drives it with real window messages. Scenario files share this fixture.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"
#include "schedule/schedule.hpp"
#include "schedule/user_data_file.hpp"
#include "../support/temp_dir.hpp"

namespace orv::e2e {

extern std::wstring g_self;  // the test program's path

// The test wallpaper: vertical colour bands, so a pixel tells where it came from.
inline COLORREF WallpaperAt(int x, int) { return RGB((x / 8) % 2 ? 200 : 40, 120, (x / 64) % 2 ? 60 : 220); }

// The wallpaper as a bitmap file, for the registry's "Wallpaper" value.
void WriteWallpaperBmp(const std::string& path);
void SetText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value);
std::wstring GetText(const wchar_t* key, const wchar_t* name);
bool WaitFor(const std::function<bool()>& condition, int ms = 15000);
KernelHandle Start(const std::wstring& exe, const std::wstring& args);
std::wstring Orvanta();  // the orvanta.exe of this build tree
// The first visible dialog of this desktop whose caption ends with `tail`.
HWND FindDialogEndingWith(const std::wstring& tail);

// A window receiving the state report of orvanta's host window.
class Reporter {
public:
  Reporter() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrvantaE2EReporter";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Reporter() { DestroyWindow(hwnd_); }
  std::string Ask(HWND host) {
    text_.clear();
    static const UINT message = RegisterWindowMessageW(L"Orvanta.DescribeState");
    DWORD_PTR result = 0;
    SendMessageTimeoutW(host, message, reinterpret_cast<WPARAM>(hwnd_), 0, SMTO_NORMAL, 5000, &result);
    return text_;
  }

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COPYDATA) {
      auto* self = reinterpret_cast<Reporter*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (self) self->text_.assign(static_cast<const char*>(data->lpData), data->cbData);
      return TRUE;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  HWND hwnd_ = nullptr;
  std::string text_;
};

// One "name=value" line of a state report.
std::string Field(const std::string& report, const std::string& name);
// The tray menu opened by a right click (516), described while it is open, then closed.
std::string OpenTrayMenuAndDescribe(Reporter& reporter, HWND host);

constexpr wchar_t kUserDataKey[] = L"Software\\Orvanta\\UserData";

class OrvantaE2E : public ::testing::Test {
protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvanta");
    SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", L"TodayStart", L"0");
    WriteWallpaperBmp(WallpaperFile());
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", Utf8ToWide(WallpaperFile()));
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"TileWallpaper", L"1");
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle", L"0");
    progman_ = Start(g_self, L"progman");
    ASSERT_TRUE(WaitFor([] { return FindWindowW(L"Progman", L"Program Manager") != nullptr; }));
  }
  std::string WallpaperFile() const { return test::Utf8(dir_.path()) + "\\wall.bmp"; }
  void TearDown() override {
    if (orvanta_) {
      if (HWND host = Host()) PostMessageW(host, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(orvanta_.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(orvanta_.get(), 1);
    }
    if (HWND p = FindWindowW(L"Progman", nullptr)) PostMessageW(p, WM_CLOSE, 0, 0);
    if (progman_) WaitForSingleObject(progman_.get(), 5000);
  }

  // Without a "Progman" window the calendar is a top-level window of its own. Wine shows no
  // child window of another process's window on the screen, so the pixel checks need this.
  void StopProgman() {
    if (HWND p = FindWindowW(L"Progman", nullptr)) PostMessageW(p, WM_CLOSE, 0, 0);
    if (progman_) WaitForSingleObject(progman_.get(), 5000);
    progman_.reset();
  }
  std::string DataFile(const std::string& name) { return test::Utf8(dir_.path()) + "\\" + name; }
  void StoreDataPath(const std::string& path) { SetText(HKEY_CURRENT_USER, kUserDataKey, L"FileName", Utf8ToWide(path)); }
  void WriteEmptyData(const std::string& path) {
    YearDatas years;
    DefaultUserListArray lists;
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  }
  void Launch() { orvanta_ = Start(Orvanta(), L""); }
  static HWND Host() { return FindWindowW(L"OrvantaBackground", nullptr); }
  static HWND Calendar() {
    HWND progman = FindWindowW(L"Progman", nullptr);
    HWND child = progman ? FindWindowExW(progman, nullptr, L"OrvantaCalendar", nullptr) : nullptr;
    return child ? child : FindWindowW(L"OrvantaCalendar", nullptr);
  }
  bool WaitShown() {
    return WaitFor([] { return Calendar() && IsWindowVisible(Calendar()) && Host(); });
  }
  void Quit() {
    SendMessageW(Host(), WM_COMMAND, 1032, 0);  // 終了(&Q)
    ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
    orvanta_.reset();
  }
  std::string StartDate() { return Field(reporter_.Ask(Host()), "StartDate"); }

  test::TempDir dir_;
  KernelHandle progman_, orvanta_;
  Reporter reporter_;
};

}  // namespace orv::e2e
