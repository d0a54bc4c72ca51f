// The end-to-end harness: starts the real orvanta.exe (beside the test program's build tree)
// on the test display, with a stand-in shell laying out the desktop's windows (a classic
// "Progman" desktop unless a scenario asks for another), and drives it with real window
// messages. Scenario files share this fixture.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"
#include "schedule/schedule.hpp"
#include "schedule/user_data_file.hpp"
#include "../support/temp_dir.hpp"

namespace orv::e2e {

extern std::wstring g_self;  // the test program's path

// The test wallpaper: vertical colour bands, so a pixel tells where it came from.
inline COLORREF WallpaperAt(int x, int) { return RGB((x / 8) % 2 ? 200 : 40, 120, (x / 64) % 2 ? 60 : 220); }

// A 24-bit bitmap file painted by `color`.
void WriteBmp(const std::string& path, int width, int height, const std::function<COLORREF(int, int)>& color);
// The wallpaper as a bitmap file, for the registry's "Wallpaper" value.
void WriteWallpaperBmp(const std::string& path);
void SetText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value);
std::wstring GetText(const wchar_t* key, const wchar_t* name);
bool WaitFor(const std::function<bool()>& condition, int ms = 15000);
KernelHandle Start(const std::wstring& exe, const std::wstring& args);
std::wstring Orvanta();  // the orvanta.exe of this build tree
// The first visible dialog of this desktop whose caption ends with `tail`.
HWND FindDialogEndingWith(const std::wstring& tail);
// The first window below `parent` (at any depth) that `match` accepts, or nullptr.
HWND FindChild(HWND parent, const std::function<bool(HWND)>& match);
// Types `path` into an open-file dialog's name box and confirms it.
bool ChooseFile(HWND files, const std::string& path);
// The screen's pixel at (x, y).
COLORREF ScreenPixel(int x, int y);
// The window holding the keyboard focus on `window`'s thread (another process's too).
HWND FocusOf(HWND window);
// With ORV_E2E_SHOTS set to a folder, writes `window`'s part of the screen there as
// `name`.bmp, for looking at; otherwise does nothing.
void Screenshot(HWND window, const std::string& name);
// The texts of a dialog's static controls, one line each (a message box's text among them).
std::string StaticTexts(HWND dialog);
// Waits until the static texts of `box` hold `part`; a failure shows what they held.
::testing::AssertionResult ShowsText(HWND box, const std::string& part, int ms = 5000);
// The dialog or message box captioned exactly `caption`, waited for; nullptr when it does not come.
HWND WaitForDialog(const wchar_t* caption, int ms = 15000);
// Sends `command` (a button's id) to a dialog and waits until it has closed.
bool CloseWith(HWND dialog, int command = IDCANCEL);
// `orvtool dump` of a user data file, as JSON; null when the tool fails.
nlohmann::json DumpUserData(const std::string& path);
// Runs a command line and waits up to `ms` for it; its exit code, or -1 when it did not run or
// end in time.
long RunCommand(std::wstring command, DWORD ms);
// Runs orvtool.exe with `arguments` (15 s at most); its exit code as RunCommand gives it.
int RunOrvtool(const std::wstring& arguments);
// The user's recovery folder (journals and failed saves) and its files.
std::string RecoveryFolderOfUser();
std::vector<std::string> RecoveryFilesOfUser();
void EmptyRecoveryFolder();
// The screen's pixels in `r`, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& r);
// The rows of a list view of another process, and their check marks (1 checked, 0 not).
std::vector<std::string> ListViewRows(HWND list);
std::vector<int> CheckStates(HWND list);
// Checks the given rows (0-based, ascending) of a check-box list from the keyboard.
void CheckRows(HWND list, const std::vector<int>& rows);
// An amount in the user's currency format, as the system formats it.
std::string CurrencyText(int amount);

// Keys as a user types them: SendInput goes to the window with the focus, and the receiving
// program sees the modifiers `held` in its real key state (GetKeyState), as with a keyboard.
void TypeKeys(std::initializer_list<WORD> held, WORD key);
// The real mouse: moves the pointer to a screen point and clicks `clicks` times with the button
// given by its down and up flags (MOUSEEVENTF_*); no flags only moves the pointer.
void MouseAt(POINT screen, DWORD down = 0, DWORD up = 0, int clicks = 1);
// The real wheel turned by `delta` (positive: away from the user) where the pointer is.
void TurnWheel(int delta);
// A popup menu open on the screen.
bool PopupMenuShown();
// The window that has the keyboard focus in `window`'s thread.
HWND FocusOf(HWND window);
// Whether the notification area holds the icon (window, id 0): it accepts a change only for an
// icon it has.
bool TrayIconExists(HWND owner);
// The visible tooltip window of the process that owns `window`, and its text.
std::wstring ShownTooltipOf(HWND window);

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
// Sent to the stand-in shell's "bare" desktop window: it comes to the front and takes the
// foreground, as "Show desktop" (Win+D) brings the desktop forward.
constexpr UINT kShowDesktop = WM_APP + 7;
// Every calendar window on the desktop: top-level, or a child of a top-level window.
std::vector<HWND> Calendars();
// What the stand-in desktop saw, for the test: "CalendarNotices" lists the parent notices the
// calendar sent it (message numbers, ";" after each); none are expected.
constexpr wchar_t kE2EKey[] = L"Software\\OrvantaE2E";

class OrvantaE2E : public ::testing::Test {
protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvanta");
    DeleteFileW(ThemeListFile().c_str());  // every scenario starts without installed themes
    RegDeleteTreeW(HKEY_CURRENT_USER, kE2EKey);
    EmptyRecoveryFolder();  // nothing of another scenario is offered for restoring
    SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", L"TodayStart", L"0");
    // No reminder over the screen the scenarios look at, unless one asks for it.
    SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", L"RemindPayments", L"False");
    WriteWallpaperBmp(WallpaperFile());
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", Utf8ToWide(WallpaperFile()));
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"TileWallpaper", L"1");
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle", L"0");
    StartShell(L"classic");
  }
  std::string WallpaperFile() const { return test::Utf8(dir_.path()) + "\\wall.bmp"; }
  void TearDown() override {
    if (orvanta_) {
      if (HWND host = Host()) PostMessageW(host, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(orvanta_.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(orvanta_.get(), 1);
    }
    StopProgman();
    DeleteFileW(ThemeListFile().c_str());
  }

  // The theme list file, shared by every run of this build's orvanta.exe.
  static std::wstring ThemeListFile() {
    return (std::filesystem::path(Orvanta()).parent_path() / L"Orvanta.INI").wstring();
  }

  // Without a "Progman" window the calendar is a top-level window of its own. Wine shows no
  // child window of another process's window on the screen, so the pixel checks need this.
  void StopProgman() {
    if (!progman_) return;
    DWORD id = GetProcessId(progman_.get());
    EnumWindows(
        [](HWND window, LPARAM process) -> BOOL {
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == static_cast<DWORD>(process)) PostMessageW(window, WM_CLOSE, 0, 0);
          return TRUE;
        },
        static_cast<LPARAM>(id));
    if (WaitForSingleObject(progman_.get(), 5000) != WAIT_OBJECT_0) TerminateProcess(progman_.get(), 1);
    progman_.reset();
  }
  // The stand-in shell with one of its layouts ("classic", "raised", "composed", "bare"),
  // in place of the running one; waits until its desktop window stands.
  // (Under load Wine has once been seen not to bring a new process's first window up for
  // many seconds: the stand-in, which is not under test, then gets a second start.)
  void StartShell(const wchar_t* layout, const wchar_t* options = L"") {
    StopProgman();
    const wchar_t* desktop = std::wstring(layout) == L"bare" ? L"OrvantaE2EDesktop" : L"Progman";
    for (int attempt = 1; attempt <= 2; ++attempt) {
      progman_ = Start(g_self, std::wstring(L"shell ") + layout + L" " + options);
      if (WaitFor([&] { return FindWindowW(desktop, nullptr) != nullptr; })) return;
      DWORD code = 0;
      GetExitCodeProcess(progman_.get(), &code);
      std::fprintf(stderr, "stand-in shell, start %d: no desktop window after 15 s (the process %s)\n", attempt,
                   code == STILL_ACTIVE ? "runs" : "has ended");
      TerminateProcess(progman_.get(), 1);
      WaitForSingleObject(progman_.get(), 5000);
      progman_.reset();
    }
    FAIL() << "the stand-in shell did not show its desktop window";
  }
  // The shell ends as when it crashes, and a new one lays out the desktop again and
  // announces itself with "TaskbarCreated".
  void RestartShell(const wchar_t* layout) {
    TerminateProcess(progman_.get(), 1);
    WaitForSingleObject(progman_.get(), 5000);
    progman_.reset();
    StartShell(layout, L"--announce");
  }
  std::string DataFile(const std::string& name) { return test::Utf8(dir_.path()) + "\\" + name; }
  static void SetOption(const wchar_t* name, const wchar_t* value) {
    SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", name, value);
  }
  void StoreDataPath(const std::string& path) { SetText(HKEY_CURRENT_USER, kUserDataKey, L"FileName", Utf8ToWide(path)); }
  void WriteEmptyData(const std::string& path) {
    YearDatas years;
    DefaultUserListArray lists;
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  }
  // An empty user data file, stored as the program's; its path.
  std::string UseEmptyData() {
    const std::string path = DataFile("data.orv");
    WriteEmptyData(path);
    StoreDataPath(path);
    return path;
  }
  // Started for testing, the program answers the state report (Reporter); otherwise it never
  // does.
  void Launch(const std::wstring& program = Orvanta(), const wchar_t* args = L"--testing") {
    orvanta_ = Start(program, args);
  }
  static HWND Host() { return FindWindowW(L"OrvantaBackground", nullptr); }
  static HWND Calendar() {
    const std::vector<HWND> all = Calendars();
    return all.empty() ? nullptr : all.front();
  }
  bool WaitShown() {
    return WaitFor([] { return Calendar() && IsWindowVisible(Calendar()) && Host(); });
  }
  void Quit() {
    HWND host = Host();
    SendMessageW(host, WM_COMMAND, 1032, 0);  // 終了(&Q)
    ASSERT_NO_FATAL_FAILURE(WaitEnded());
    ExpectGoneFromTheDesktop(host);
  }
  // Waits for the program to end after it has been told to (a quit, the end of the session).
  void WaitEnded() {
    ASSERT_EQ(WaitForSingleObject(orvanta_.get(), 15000), WAIT_OBJECT_0);
    orvanta_.reset();
  }
  // What the user sees once the program has ended: no calendar on the desktop, no icon in the
  // notification area, and the shell never notified of the calendar.
  static void ExpectGoneFromTheDesktop(HWND host) {
    EXPECT_TRUE(Calendars().empty());
    EXPECT_FALSE(TrayIconExists(host));
    EXPECT_EQ(GetText(kE2EKey, L"CalendarNotices"), L"");
  }
  std::string StartDate() { return Field(reporter_.Ask(Host()), "StartDate"); }
  // Double-clicks the calendar at client point `at` (a day row) and waits for the add-entry
  // dialog; nullptr when it does not come.
  HWND OpenAddEntryAt(LPARAM at) {
    HWND calendar = Calendar();
    PostMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(calendar, WM_LBUTTONUP, 0, at);
    PostMessageW(calendar, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    HWND add = nullptr;
    WaitFor([&] { return (add = FindDialogEndingWith(L"日 - 予定の追加")) != nullptr; });
    return add;
  }
  // Right-clicks the calendar at client point `at` (a day row) and waits for the day's list;
  // nullptr when it does not come.
  HWND OpenDayListAt(LPARAM at) {
    HWND calendar = Calendar();
    PostMessageW(calendar, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageW(calendar, WM_RBUTTONUP, 0, at);
    HWND list = nullptr;
    WaitFor([&] { return (list = FindDialogEndingWith(L"予定の確認")) != nullptr; });
    return list;
  }
  // The calendar's laid-out geometry from its state report (pixels; hotspots as
  // "left,top,right,bottom"): the points the scenarios click follow the theme and the scale.
  std::string Geometry() { return reporter_.Ask(Calendar()); }
  int GeometryValue(const std::string& geometry, const std::string& name) {
    return std::atoi(Field(geometry, name).c_str());
  }
  // The display's dots per inch (96 at 100 %).
  static int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
  }
  // A point, in client coordinates, of day row `row`: in the day column, halfway between the
  // month column and the mode hotspot at the right edge.
  LPARAM DayRowPoint(int row) {
    const std::string g = Geometry();
    const int mode_left = std::atoi(Field(g, "ModeChange").c_str());
    const int x = (GeometryValue(g, "MonthWidth") + mode_left) / 2;
    const int y = GeometryValue(g, "DayAreaTop") + row * GeometryValue(g, "DayHeight") + GeometryValue(g, "DayHeight") / 2;
    return MAKELPARAM(x, y);
  }
  // A point of the middle day row.
  LPARAM MiddleDayRow() {
    const std::string g = Geometry();
    const int height = std::max(1, GeometryValue(g, "DayHeight"));
    return DayRowPoint((GeometryValue(g, "DayAreaBottom") - GeometryValue(g, "DayAreaTop")) / height / 2);
  }
  bool WaitStartDate(const std::string& expected) {
    return WaitFor([&] { return StartDate() == expected; }, 5000);
  }
  bool WaitMode(const std::string& expected) {
    return WaitFor([&] { return Field(reporter_.Ask(Host()), "CalendarMode") == expected; }, 5000);
  }
  // A left click on the tray icon, waited for, so that keys typed next reach the calendar's
  // hidden scroll bar (before it they would go to whichever window had the focus).
  bool FocusCalendar() {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Host(), 512, 0, 513, SMTO_NORMAL, 5000, &ignored);
    HWND calendar = Calendar();
    HWND bar = FindWindowExW(calendar, nullptr, L"ScrollBar", nullptr);
    return WaitFor([&] { return GetForegroundWindow() == calendar && FocusOf(calendar) == bar; }, 5000);
  }

  test::TempDir dir_;
  KernelHandle progman_, orvanta_;
  Reporter reporter_;
};

}  // namespace orv::e2e
