#include "e2e_harness.hpp"

#include <shellapi.h>

#include <iterator>
#include <vector>

namespace orv::e2e {

std::wstring g_self;

namespace {

HBITMAP g_wallpaper = nullptr;  // the stand-in desktop's picture when given one

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
  if (message == WM_PARENTNOTIFY && LOWORD(wparam) == WM_DESTROY) {
    // The calendar going away, the last step of Orvanta's shutdown: its host window still
    // stands (its thread waits for this message), and its tray icon must be gone already.
    // Under Wine the icon of a destroyed window goes away by itself, so only now can the
    // removal be seen.
    HWND host = FindWindowW(L"OrvantaBackground", nullptr);
    SetText(HKEY_CURRENT_USER, kE2EKey, L"AtCalendarEnd",
            L"host=" + std::to_wstring(host != nullptr) + L" icon=" + std::to_wstring(host && TrayIconExists(host)));
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

}  // namespace

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

bool WaitFor(const std::function<bool()>& condition, int ms) {
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

std::string Field(const std::string& report, const std::string& name) {
  const auto at = report.find(name + "=");
  if (at == std::string::npos) return {};
  const auto end = report.find('\n', at);
  return report.substr(at + name.size() + 1, end - at - name.size() - 1);
}

std::string OpenTrayMenuAndDescribe(Reporter& reporter, HWND host) {
  PostMessageW(host, 512, 0, 516);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::string report = reporter.Ask(host);
  PostMessageW(host, WM_CANCELMODE, 0, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  return report;
}

void TypeKeys(std::initializer_list<WORD> held, WORD key) {
  std::vector<INPUT> input;
  auto add = [&](WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_APPS || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_HOME || vk == VK_END || vk == VK_UP ||
        vk == VK_DOWN)
      i.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    input.push_back(i);
  };
  for (WORD vk : held) add(vk, false);
  add(key, false);
  add(key, true);
  for (auto it = std::rbegin(held); it != std::rend(held); ++it) add(*it, true);
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void MouseAt(POINT screen, DWORD down, DWORD up, int clicks) {
  std::vector<INPUT> input;
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = static_cast<LONG>((screen.x * 65536LL + 65535) / GetSystemMetrics(SM_CXSCREEN));
  move.mi.dy = static_cast<LONG>((screen.y * 65536LL + 65535) / GetSystemMetrics(SM_CYSCREEN));
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &move, sizeof move);
  // Under Wine the pointer can jump back for a moment when an older X motion event is
  // handled; press only once it has rested on the point.
  WaitFor([&] {
    POINT p{};
    if (!GetCursorPos(&p) || p.x != screen.x || p.y != screen.y) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    return GetCursorPos(&p) && p.x == screen.x && p.y == screen.y;
  }, 3000);
  for (int i = 0; down && i < clicks; ++i) {
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = down;
    input.push_back(press);
    press.mi.dwFlags = up;
    input.push_back(press);
  }
  if (!input.empty()) SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void TurnWheel(int delta) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.mouseData = static_cast<DWORD>(delta);
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  SendInput(1, &input, sizeof input);
}

bool PopupMenuShown() {
  for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
    if (IsWindowVisible(w)) return true;
  return false;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool TrayIconExists(HWND owner) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = owner;
  data.uID = 0;
  data.uFlags = NIF_TIP;
  lstrcpynW(data.szTip, L"Orvanta", 64);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::wstring ShownTooltipOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  for (HWND w = FindWindowW(TOOLTIPS_CLASSW, nullptr); w; w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != process || !IsWindowVisible(w)) continue;
    // WM_GETTEXT itself: GetWindowText of another process's window gives its stored title only.
    wchar_t text[256] = L"";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 2000, &ignored);
    return text;
  }
  return L"";
}

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

}  // namespace orv::e2e

int wmain(int argc, wchar_t** argv) {
  orv::e2e::g_self = argv[0];
  wchar_t full[MAX_PATH * 4];
  if (GetModuleFileNameW(nullptr, full, MAX_PATH * 4)) orv::e2e::g_self = full;
  if (argc > 1 && std::wstring(argv[1]) == L"progman") return orv::e2e::RunProgman(argc > 2 ? argv[2] : nullptr);
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
