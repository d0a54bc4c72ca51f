// End-to-end tests: starts the real orvanta.exe (beside this program) on the test display,
// with a stand-in "Progman" desktop window painting a test wallpaper, and drives it with
// real window messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"
#include "schedule/user_data_file.hpp"
#include "../support/temp_dir.hpp"

namespace orv {
namespace {

std::wstring g_self;  // this program's path
HBITMAP g_wallpaper = nullptr;  // the stand-in desktop's picture when given one

// The test wallpaper: vertical colour bands, so a pixel tells where it came from.
COLORREF WallpaperAt(int x, int) { return RGB((x / 8) % 2 ? 200 : 40, 120, (x / 64) % 2 ? 60 : 220); }

LRESULT CALLBACK ProgmanProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    if (g_wallpaper) {  // the wallpaper file, stretched over the screen
      HDC source = CreateCompatibleDC(dc);
      BITMAP info{};
      GetObjectW(g_wallpaper, sizeof info, &info);
      HGDIOBJ old = SelectObject(source, g_wallpaper);
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, 0, 0, r.right, r.bottom, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
      EndPaint(hwnd, &ps);
      return 0;
    }
    for (int x = 0; x < r.right; x += 8) {
      BrushHandle brush(CreateSolidBrush(WallpaperAt(x, 0)));
      RECT band{x, 0, x + 8, r.bottom};
      FillRect(dc, &band, brush.get());
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (message == WM_CLOSE) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// The stand-in desktop window, run as its own process.
int RunProgman(const wchar_t* wallpaper) {
  if (wallpaper)
    g_wallpaper = static_cast<HBITMAP>(LoadImageW(nullptr, wallpaper, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  WNDCLASSW wc{};
  wc.lpfnWndProc = ProgmanProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Progman";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager",
                              WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              wc.hInstance, nullptr);
  SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

// The wallpaper as a bitmap file, for the registry's "Wallpaper" value.
void WriteWallpaperBmp(const std::string& path) {
  const int w = 256, h = 64;
  std::string bytes(54 + w * h * 3, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = WallpaperAt(x, y);
      const std::size_t at = 54 + static_cast<std::size_t>((y * w + x) * 3);
      bytes[at] = static_cast<char>(GetBValue(c));
      bytes[at + 1] = static_cast<char>(GetGValue(c));
      bytes[at + 2] = static_cast<char>(GetRValue(c));
    }
  test::WriteBytes(path, bytes);
}

void SetText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  HKEY raw = nullptr;
  RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr);
  RegKey owner(raw);
  RegSetValueExW(raw, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * 2));
}

std::wstring GetText(const wchar_t* key, const wchar_t* name) {
  wchar_t buffer[1024] = L"";
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return L"";
  return buffer;
}

bool WaitFor(const std::function<bool()>& condition, int ms = 15000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

KernelHandle Start(const std::wstring& exe, const std::wstring& args) {
  std::wstring command = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
  CloseHandle(pi.hThread);
  return KernelHandle(pi.hProcess);
}

std::wstring Orvanta() {
  return (std::filesystem::path(g_self).parent_path().parent_path().parent_path() / L"src" / L"app" /
          L"orvanta.exe").wstring();
}

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

std::string Field(const std::string& report, const std::string& name) {
  const auto at = report.find(name + "=");
  if (at == std::string::npos) return {};
  const auto end = report.find('\n', at);
  return report.substr(at + name.size() + 1, end - at - name.size() - 1);
}

// The tray menu opened by a right click (516), described while it is open, then closed.
std::string OpenTrayMenuAndDescribe(Reporter& reporter, HWND host) {
  PostMessageW(host, 512, 0, 516);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::string report = reporter.Ask(host);
  PostMessageW(host, WM_CANCELMODE, 0, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  return report;
}

constexpr wchar_t kUserDataKey[] = L"Software\\Orvanta\\UserData";

class OrvantaE2E : public ::testing::Test {
protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvanta");
    SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", L"TodayStart", L"0");
    WriteWallpaperBmp(test::Utf8(dir_.path()) + "\\wall.bmp");
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", Utf8ToWide(test::Utf8(dir_.path()) + "\\wall.bmp"));
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"TileWallpaper", L"1");
    SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle", L"0");
    progman_ = Start(g_self, L"progman");
    ASSERT_TRUE(WaitFor([] { return FindWindowW(L"Progman", L"Program Manager") != nullptr; }));
  }
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

TEST_F(OrvantaE2E, FirstRunNamesANewFileThatTheQuitCreates) {
  Launch();
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(nullptr, L"ユーザーデータファイルの選択（初めて起動）")) != nullptr; }));
  EXPECT_FALSE(Calendar());  // nothing else exists yet
  PostMessageW(dialog, WM_COMMAND, 1004, 0);
  HWND files = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (files = FindWindowW(nullptr, L"ファイルを開く / ファイル名をつけて保存")) != nullptr; }));
  const std::string path = DataFile("新しい.ORV");
  HWND name = GetDlgItem(files, 1148);  // the file name box
  if (!name) name = GetDlgItem(files, 1152);
  ASSERT_TRUE(name);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Utf8ToWide(path).c_str()));
  PostMessageW(files, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitShown());
  EXPECT_FALSE(std::filesystem::exists(test::FsPath(path)));
  Quit();
  EXPECT_TRUE(std::filesystem::exists(test::FsPath(path)));
  EXPECT_EQ(WideToUtf8(GetText(kUserDataKey, L"FileName")), path);
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Option", L"MicrosoftWheelMouse"), L"True");
}

TEST_F(OrvantaE2E, StandsAtTheWorkAreaEdgeOverTheWallpaperAndScrollsByKeysAndMenus) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  StopProgman();  // the screen shows only what the calendar paints
  Launch();
  ASSERT_TRUE(WaitShown());
  HWND calendar = Calendar();
  RECT r;
  GetWindowRect(calendar, &r);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r.right, work.right);
  EXPECT_EQ(r.top, work.top);
  EXPECT_EQ(r.bottom, work.bottom);
  EXPECT_EQ(GetParent(calendar), nullptr);
  // The calendar paints the wallpaper copy behind its rows (the screen around it is black).
  // Its first paint may land a moment after the window shows.
  const COLORREF expected = WallpaperAt(r.left + 1, 0);
  COLORREF seen = 0;
  WaitFor([&] {
    HDC screen = GetDC(nullptr);
    seen = GetPixel(screen, r.left + 1, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return seen == expected;
  }, 5000);
  EXPECT_EQ(seen, expected);

  const std::string today = StartDate();  // TodayStart 0
  HWND bar = FindWindowExW(calendar, nullptr, L"ScrollBar", nullptr);
  ASSERT_TRUE(bar);
  auto key = [&](WPARAM vk) {
    SendMessageW(bar, WM_KEYDOWN, vk, 1);
    SendMessageW(bar, WM_KEYUP, vk, 0xC0000001);
  };
  key(VK_END);
  key(VK_DOWN);
  key(VK_NEXT);
  key(VK_UP);
  key(VK_PRIOR);
  key(VK_HOME);
  EXPECT_EQ(StartDate(), today);  // +28 +1 +7 -1 -7 -28
  SendMessageW(Host(), WM_COMMAND, 1053, 0);  // 4週間後
  SendMessageW(Host(), WM_COMMAND, 1050, 0);  // 4週間前
  EXPECT_EQ(StartDate(), today);
  // Wheel: one notch toward the user is a week on.
  SendMessageW(calendar, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
  const UINT roll = RegisterWindowMessageW(L"MSWHEEL_ROLLMSG");
  SendMessageW(calendar, roll, 120, 0);  // away from the user: a week back
  EXPECT_EQ(StartDate(), today);
  EXPECT_EQ(OpenTrayMenuAndDescribe(reporter_, Host()).find("データの上書き保存"), std::string::npos);
  Quit();
}

TEST_F(OrvantaE2E, ModeMenuKeepsTheCheckMarksAndTheSaveEntryFollowsTheOption) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Option", L"OverWriteMenu", L"True");
  Launch();
  ASSERT_TRUE(WaitShown());
  RECT narrow;
  GetWindowRect(Calendar(), &narrow);
  std::string menu = OpenTrayMenuAndDescribe(reporter_, Host());
  EXPECT_NE(menu.find("データの上書き保存(&S)\n予定の一括削除(&D)...\n-\n再描画(&R)"), std::string::npos) << menu;
  EXPECT_NE(menu.find("  カレンダーに予定を表示しない(&O) [x]\n  支払いの予定(&P)\n"), std::string::npos) << menu;
  EXPECT_NE(menu.find("今日の表示(&T)\tCtrl+D\n-\n4週間前\tHome\n1週間前\tPageUp\n1週間後\tPageDown\n4週間後\tEnd"),
            std::string::npos);
  SendMessageW(Host(), WM_COMMAND, 1022, 0);  // 特別な日の予定(&S)
  menu = OpenTrayMenuAndDescribe(reporter_, Host());
  EXPECT_EQ(Field(menu, "CalendarMode"), "2");
  EXPECT_NE(menu.find("  特別な日の予定(&S) [x]"), std::string::npos) << menu;
  EXPECT_EQ(menu.find("表示しない(&O) [x]"), std::string::npos);
  RECT wide;
  GetWindowRect(Calendar(), &wide);
  EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left);
  EXPECT_EQ(wide.right, narrow.right);
  Quit();
}

TEST_F(OrvantaE2E, PageBackFromTheEndOfMarchLandsOnTheEndOfFebruary) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  Launch();
  ASSERT_TRUE(WaitShown());
  // Walk to the next 31 March by day steps of the scroll menu's sizes and single days.
  int y = 0, m = 0, d = 0;
  std::sscanf(StartDate().c_str(), "%d-%d-%d", &y, &m, &d);
  using namespace std::chrono;
  const sys_days from{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}};
  sys_days target{year{y} / March / 31};
  if (target < from) target = sys_days{year{y + 1} / March / 31};
  int days = static_cast<int>((target - from).count());
  HWND bar = FindWindowExW(Calendar(), nullptr, L"ScrollBar", nullptr);
  for (; days >= 28; days -= 28) SendMessageW(bar, WM_KEYDOWN, VK_END, 1);
  for (; days > 0; --days) SendMessageW(bar, WM_KEYDOWN, VK_DOWN, 1);
  const int march_year = static_cast<int>(year_month_day{target}.year());
  EXPECT_EQ(StartDate(), std::to_string(march_year) + "-3-31");
  SendMessageW(Host(), WM_COMMAND, 1011, 0);  // 1ヶ月前
  const bool leap = year{march_year}.is_leap();
  EXPECT_EQ(StartDate(), std::to_string(march_year) + (leap ? "-2-29" : "-2-28"));
  Quit();
}

TEST_F(OrvantaE2E, ASecondCopyEndsSilently) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  Launch();
  ASSERT_TRUE(WaitShown());
  EXPECT_EQ(GetParent(Calendar()), FindWindowW(L"Progman", L"Program Manager"));  // re-parented
  KernelHandle second = Start(Orvanta(), L"");
  ASSERT_EQ(WaitForSingleObject(second.get(), 15000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(second.get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(Field(reporter_.Ask(Host()), "Tray"), "1");
  Quit();
}

TEST_F(OrvantaE2E, ACorruptFileShowsTheFailureThenTheFirstRunDialogAndStaysUntouched) {
  const std::string path = DataFile("bad.orv");
  const std::string garbage = "not a user data file";
  test::WriteBytes(path, garbage);
  StoreDataPath(path);
  Launch();
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"Orvanta")) != nullptr; }));
  wchar_t text[512] = L"";
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  const std::string message = WideToUtf8(text);
  EXPECT_NE(message.find("ユーザーデータファイル " + path + "の読込に失敗しました！"), std::string::npos) << message;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(nullptr, L"ユーザーデータファイルの選択（初めて起動）")) != nullptr; }));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // closed: the run goes on without a file
  ASSERT_TRUE(WaitShown());
  Quit();
  EXPECT_EQ(test::ReadBytes(path), garbage);
}

// The first visible dialog of this desktop whose caption ends with `tail`.
HWND FindDialogEndingWith(const std::wstring& tail) {
  struct Search {
    const std::wstring* tail;
    HWND found;
  } search{&tail, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        wchar_t caption[256] = L"";
        wchar_t class_name[64] = L"";
        GetClassNameW(window, class_name, 64);
        GetWindowTextW(window, caption, 256);
        const std::wstring text = caption;
        if (std::wstring(class_name) == L"#32770" && IsWindowVisible(window) && text.size() >= s.tail->size() &&
            text.compare(text.size() - s.tail->size(), s.tail->size(), *s.tail) == 0) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(OrvantaE2E, DoubleClickADayAddsACashPaymentThatTheQuitSaves) {
  const std::string path = DataFile("data.orv");
  WriteEmptyData(path);
  StoreDataPath(path);
  StopProgman();  // a top-level calendar: the dialogs are owned by a window of their own process
  Launch();
  ASSERT_TRUE(WaitShown());
  SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
  HWND calendar = Calendar();
  RECT r;
  GetClientRect(calendar, &r);
  const LPARAM at = MAKELPARAM(r.right - 20, r.bottom / 2);
  PostMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(calendar, WM_LBUTTONUP, 0, at);
  PostMessageW(calendar, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  HWND add = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (add = FindDialogEndingWith(L"日 - 予定の追加")) != nullptr; }));
  wchar_t caption[64] = L"";
  GetWindowTextW(add, caption, 64);
  int month = 0, day = 0;
  ASSERT_EQ(swscanf(caption, L"%d月%d日", &month, &day), 2) << WideToUtf8(caption);
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "1");  // the tray ignores clicks
  // No presets: the four catch-all items, very special day first. One wheel notch toward the
  // user moves five items on, which the list clamps to its last: the cash payment.
  SendMessageW(add, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
  PostMessageW(add, WM_COMMAND, IDOK, 0);
  HWND input = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (input = FindDialogEndingWith(L"予定の追加（入力）")) != nullptr; }));
  wchar_t prompt[128] = L"";
  GetDlgItemTextW(input, 1005, prompt, 128);
  EXPECT_EQ(WideToUtf8(prompt), "現金支払いの内容を入力してください");
  SetDlgItemTextW(input, 1001, L"家賃");
  SetDlgItemTextW(input, 1002, L"1500");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  EXPECT_EQ(Field(reporter_.Ask(Host()), "DialogShowing"), "0");
  Quit();

  YearDatas years;
  DefaultUserListArray lists;
  ASSERT_EQ(sfLoadUserData(path, years, lists), "");
  int found = 0;
  for (const auto& y : years)
    for (const auto& m : y.MonthDatas)
      for (const auto& d : m.DayDatas)
        for (const auto& p : d.PaymentDatas) {
          ++found;
          EXPECT_EQ(std::stoi(m.Key), month);
          EXPECT_EQ(std::stoi(d.Key), day);
          EXPECT_EQ(p.strTitle, "家賃");
          EXPECT_EQ(p.lngPrice, 1500);
          EXPECT_EQ(p.Payment, 1);
          EXPECT_EQ(d.TotalPaymentPrice, 1500);
        }
  EXPECT_EQ(found, 1);
  for (const auto& list : lists) EXPECT_EQ(list.Count(), 0);  // no Shift: no new preset
}

TEST_F(OrvantaE2E, BulkDeletionRemovesTheCheckedYear) {
  const std::string path = DataFile("data.orv");
  {
    YearDatas years;
    DefaultUserListArray lists;
    for (std::int16_t year : {std::int16_t{2020}, std::int16_t{2021}}) {
      DayData& day = GetOrCreateDay(years, DateParts{year, 5, 1, 0});
      day.PaymentDatas.Add(NextPaymentKey(day))->lngPrice = year;
      RecalcPaymentTotals(day);
    }
    ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  }
  StoreDataPath(path);
  StopProgman();
  Launch();
  ASSERT_TRUE(WaitShown());
  PostMessageW(Host(), WM_COMMAND, 1002, 0);  // 予定の一括削除(&D)...
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(L"#32770", L"予定の一括削除")) != nullptr; }));
  HWND list = GetDlgItem(dialog, 1001);
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
  // Check the first row (2020) from the keyboard: focus it, then the space bar.
  SetForegroundWindow(dialog);
  PostMessageW(list, WM_KEYDOWN, VK_HOME, 1);
  PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(list, WM_KEYUP, VK_SPACE, 0xC0390001);
  ASSERT_TRUE(WaitFor([&] { return (SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12) == 2; }, 5000));
  PostMessageW(dialog, WM_COMMAND, 1002, 0);  // 削除(&D)
  HWND confirm = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (confirm = FindWindowW(L"#32770", L"削除の確認")) != nullptr; }));
  PostMessageW(confirm, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  Quit();
  YearDatas years;
  DefaultUserListArray lists;
  ASSERT_EQ(sfLoadUserData(path, years, lists), "");
  ASSERT_EQ(years.Count(), 1);
  EXPECT_EQ(years.At(1)->Key, "2021");
}

}  // namespace
}  // namespace orv

int wmain(int argc, wchar_t** argv) {
  orv::g_self = argv[0];
  wchar_t full[MAX_PATH * 4];
  if (GetModuleFileNameW(nullptr, full, MAX_PATH * 4)) orv::g_self = full;
  if (argc > 1 && std::wstring(argv[1]) == L"progman") return orv::RunProgman(argc > 2 ? argv[2] : nullptr);
  if (argc > 1 && std::wstring(argv[1]) == L"quit") {
    // Ends a running Orvanta the orderly way (its host window's close) and the stand-in desktop.
    if (HWND host = FindWindowW(L"OrvantaBackground", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(host, &pid);
      orv::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
      PostMessageW(host, WM_CLOSE, 0, 0);
      if (process) WaitForSingleObject(process.get(), 10000);
    }
    if (HWND progman = FindWindowW(L"Progman", nullptr)) PostMessageW(progman, WM_CLOSE, 0, 0);
    return 0;
  }
  if (argc > 2 && std::wstring(argv[1]) == L"demo") {
    // A demo user data file with a payment and a special day this month.
    orv::YearDatas years;
    orv::DefaultUserListArray lists;
    const orv::DateParts today = orv::SplitDate(orv::LocalToday());
    orv::DayData& day = orv::GetOrCreateDay(years, orv::DateParts{today.Year, today.Month, 25, 0});
    orv::PaymentData* pay = day.PaymentDatas.Add(orv::NextPaymentKey(day));
    pay->strTitle = "家賃";
    pay->lngPrice = 65000;
    orv::RecalcPaymentTotals(day);
    orv::DayData& birthday = orv::GetOrCreateDay(years, orv::DateParts{today.Year, today.Month, 12, 0});
    orv::SpecialData* special = birthday.SpecialDatas.Add(orv::NextSpecialKey(birthday));
    special->strSpecial = "誕生日";
    orv::RecalcSpecialTotals(birthday);
    return orv::sfSaveUserData(orv::WideToUtf8(argv[2]), years, lists).empty() ? 0 : 1;
  }
  int gargc = 1;
  char arg0[] = "orv_e2e";
  char* gargv[] = {arg0, nullptr};
  ::testing::InitGoogleTest(&gargc, gargv);
  return RUN_ALL_TESTS();
}
