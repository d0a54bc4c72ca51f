#include "e2e_harness.hpp"
#include "stand_in_desktop.hpp"

#include "platform/file_system.hpp"
#include "platform/win32/known_folders.hpp"
#include "schedule/recovery_file.hpp"
#include "series/series.hpp"
#include "../support/schedule_entries.hpp"

#include <shellapi.h>

#include <iterator>
#include <tuple>
#include <vector>

// The system's shell window: user32 has it, the SDK headers leave it out.
extern "C" __declspec(dllimport) BOOL WINAPI SetShellWindow(HWND);

namespace orv::e2e {

std::wstring g_self;

namespace {

// The stand-in shell: the desktop windows Explorer lays out, with their real class names and
// extended styles, in a process of their own.
//   classic   "Progman" holding the icon view "SHELLDLL_DefView" (with its "FolderView" list)
//   raised    classic after message 0x052C (Windows 10, 11 up to 23H2): the icon view in a
//             top-level "WorkerW", a second top-level "WorkerW" painting the wallpaper just
//             behind it, both in front of "Progman"
//   composed  Windows 11 24H2: "Progman" without a redirection surface, a layered icon view
//             and a child "WorkerW" painting the wallpaper beneath it
//   bare      no Explorer: another shell's full-screen desktop window, the system's shell
//             window; kShowDesktop brings it to the front as "Show desktop" does
// A classic desktop sent 0x052C raises itself. With --announce it broadcasts "TaskbarCreated"
// once laid out, as a restarted shell does.
constexpr UINT kRaiseDesktop = 0x052C;

LRESULT CALLBACK ShellProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

HWND MakeShellWindow(const wchar_t* class_name, const wchar_t* title, DWORD ex_style, HWND parent) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), class_name, &wc)) {
    wc.lpfnWndProc = ShellProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = class_name;
    RegisterClassW(&wc);
  }
  const DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (parent) GetClientRect(parent, &r);
  HWND hwnd = CreateWindowExW(ex_style, class_name, title, style, 0, 0, r.right, r.bottom, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (ex_style & WS_EX_LAYERED) SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
  return hwnd;
}

HWND MakeIconView(HWND parent, DWORD ex_style) {
  HWND view = MakeShellWindow(L"SHELLDLL_DefView", L"", ex_style, parent);
  RECT r;
  GetClientRect(view, &r);
  CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE | LVS_ICON, 0, 0, r.right, r.bottom, view,
                  nullptr, GetModuleHandleW(nullptr), nullptr);
  return view;
}

// Classic to raised, as Explorer does on 0x052C: the icon view moves into a new top-level
// "WorkerW" in front, and another "WorkerW" paints the wallpaper between it and "Progman".
void Raise(HWND progman) {
  HWND view = FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr);
  if (!view) return;
  HWND icons = MakeShellWindow(L"WorkerW", L"", WS_EX_TOOLWINDOW, nullptr);
  HWND wallpaper = MakeShellWindow(L"WorkerW", L"", WS_EX_TOOLWINDOW, nullptr);
  SetParent(view, icons);
  // Each to the back in turn: Progman behind the wallpaper painter behind the icons.
  for (HWND w : {icons, wallpaper, progman})
    SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Windows reports the new parent itself; Wine 8 reports only window creation.
  NotifyWinEvent(EVENT_OBJECT_PARENTCHANGE, view, OBJID_WINDOW, CHILDID_SELF);
}

LRESULT CALLBACK ShellProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    for (int x = 0; x < r.right; x += 8) {
      BrushHandle brush(CreateSolidBrush(WallpaperAt(x, 0)));
      RECT band{x, 0, x + 8, r.bottom};
      FillRect(dc, &band, brush.get());
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (message == WM_PARENTNOTIFY) {
    // The calendar must never notify the shell's window: the system waits on the shell's
    // thread for each notice, and a hung shell would stop the calendar. Every notice that
    // names it (made, gone, or pressed at a point over it) is counted for the test.
    HWND child = nullptr;
    if (LOWORD(wparam) == WM_CREATE || LOWORD(wparam) == WM_DESTROY) {
      child = reinterpret_cast<HWND>(lparam);
    } else {
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      child = ChildWindowFromPoint(hwnd, at);
    }
    wchar_t class_name[32] = L"";
    if (child) GetClassNameW(child, class_name, 32);
    if (std::wstring(class_name) == L"OrvantaCalendar") {
      const std::wstring before = GetText(kE2EKey, L"CalendarNotices");
      SetText(HKEY_CURRENT_USER, kE2EKey, L"CalendarNotices", before + std::to_wstring(LOWORD(wparam)) + L";");
    }
  }
  if (message == kRaiseDesktop) {
    wchar_t class_name[16] = L"";
    GetClassNameW(hwnd, class_name, 16);
    if (std::wstring(class_name) == L"Progman" && !(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_NOREDIRECTIONBITMAP))
      Raise(hwnd);
    return 0;
  }
  if (message == kShowDesktop) {
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd);
    // Windows reports the new foreground window itself; Wine 8 does not.
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, hwnd, OBJID_WINDOW, CHILDID_SELF);
    return 0;
  }
  if (message == WM_CLOSE) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

int RunShell(const std::wstring& layout, bool announce) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HWND desktop = nullptr;
  if (layout == L"bare") {
    desktop = MakeShellWindow(L"OrvantaE2EDesktop", L"", WS_EX_TOOLWINDOW, nullptr);
  } else {
    const bool composed = layout == L"composed";
    desktop = MakeShellWindow(L"Progman", L"Program Manager",
                              WS_EX_TOOLWINDOW | (composed ? WS_EX_NOREDIRECTIONBITMAP : 0), nullptr);
    MakeIconView(desktop, composed ? WS_EX_LAYERED : 0);
    if (composed) MakeShellWindow(L"WorkerW", L"", 0, desktop);  // created last: behind the icon view
  }
  SetWindowPos(desktop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetShellWindow(desktop);
  if (layout == L"raised") Raise(desktop);
  if (announce) PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

}  // namespace

void WriteWallpaperBmp(const std::string& path) { WriteBmp(path, 256, 64, WallpaperAt); }

void WriteBmp(const std::string& path, int w, int h, const std::function<COLORREF(int, int)>& color) {
  const int row = (w * 3 + 3) / 4 * 4;
  std::string bytes(54 + static_cast<std::size_t>(row * h), '\0');
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
      const COLORREF c = color(x, h - 1 - y);  // rows are stored bottom up
      const std::size_t at = 54 + static_cast<std::size_t>(y * row + x * 3);
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

bool ChooseFile(HWND files, const std::string& path) {
  HWND name = GetDlgItem(files, 1148);  // the file name box
  if (!name) name = GetDlgItem(files, 1152);
  if (!name) return false;
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Utf8ToWide(path).c_str()));
  PostMessageW(files, WM_COMMAND, IDOK, 0);
  return true;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return pixel;
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

void Screenshot(HWND window, const std::string& name) {
  wchar_t folder[MAX_PATH] = L"";
  if (!GetEnvironmentVariableW(L"ORV_E2E_SHOTS", folder, MAX_PATH)) return;
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // its painting may lag behind
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  MemoryDc dc(CreateCompatibleDC(screen));
  BitmapHandle bitmap(CreateCompatibleBitmap(screen, w, h));
  SelectedObject selected(dc.get(), bitmap.get());
  BitBlt(dc.get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  WriteBmp(WideToUtf8(folder) + "\\" + name + ".bmp", w, h,
           [&](int x, int y) { return GetPixel(dc.get(), x, y); });
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

std::string StaticTexts(HWND dialog) {
  std::string text;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t class_name[16] = L"";
    GetClassNameW(child, class_name, 16);
    if (_wcsicmp(class_name, L"Static") != 0) continue;
    std::wstring line(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
    line.resize(static_cast<std::size_t>(GetWindowTextW(child, line.data(), static_cast<int>(line.size()))));
    if (!line.empty()) text += WideToUtf8(line) + "\n";
  }
  return text;
}

::testing::AssertionResult ShowsText(HWND box, const std::string& part, int ms) {
  std::string text;
  if (WaitFor([&] { return (text = StaticTexts(box)).find(part) != std::string::npos; }, ms))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no \"" << part << "\" in:\n" << text;
}

HWND WaitForDialog(const wchar_t* caption, int ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowW(L"#32770", caption)) != nullptr; }, ms);
  return found;
}

bool CloseWith(HWND dialog, int command) {
  PostMessageW(dialog, WM_COMMAND, command, 0);
  return WaitFor([&] { return !IsWindow(dialog); });
}

nlohmann::json DumpUserData(const std::string& path) {
  const std::filesystem::path self(g_self);
  const std::wstring tool =
      (self.parent_path().parent_path().parent_path() / L"src" / L"tools" / L"orvtool.exe").wstring();
  const std::wstring out = Utf8ToWide(path) + L".json";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  FileHandle file(CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
  if (!file) return nullptr;
  std::wstring command = L"\"" + tool + L"\" dump \"" + Utf8ToWide(path) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = file.get();
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  KernelHandle process(pi.hProcess);
  DWORD code = 1;
  if (WaitForSingleObject(process.get(), 15000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.get(), &code) ||
      code != 0)
    return nullptr;
  file.reset();
  return nlohmann::json::parse(test::ReadBytes(WideToUtf8(out)), nullptr, false);
}

std::string RecoveryFolderOfUser() {
  std::string folder = LocalAppDataFolder();
  for (const char* part : kRecoveryFolderParts) folder = FileInFolder(folder, part);
  return folder;
}

std::vector<std::string> RecoveryFilesOfUser() {
  std::vector<std::string> paths;
  for (const std::string& name : FilesIn(RecoveryFolderOfUser())) paths.push_back(FileInFolder(RecoveryFolderOfUser(), name));
  return paths;
}

void EmptyRecoveryFolder() {
  for (const std::string& path : RecoveryFilesOfUser()) DeleteFileW(Utf8ToWide(path).c_str());
}

long RunCommand(std::wstring command, DWORD ms) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  CloseHandle(pi.hThread);
  KernelHandle process(pi.hProcess);
  DWORD code = 0;
  if (WaitForSingleObject(process.get(), ms) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.get(), &code)) return -1;
  return static_cast<long>(code);
}

int RunOrvtool(const std::wstring& arguments) {
  const std::filesystem::path self(g_self);
  const std::wstring tool =
      (self.parent_path().parent_path().parent_path() / L"src" / L"tools" / L"orvtool.exe").wstring();
  return static_cast<int>(RunCommand(L"\"" + tool + L"\" " + arguments, 15000));
}

std::vector<COLORREF> ScreenPixels(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::vector<std::string> ListViewRows(HWND list) {
  std::vector<std::string> rows;
  DWORD id = 0;
  GetWindowThreadProcessId(list, &id);
  KernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
  if (!process) return rows;
  // The list view writes the text into the memory of its own process.
  constexpr std::size_t kChars = 512;
  auto* remote = static_cast<char*>(VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t),
                                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) return rows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    item.cchTextMax = static_cast<int>(kChars);
    WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr);
    const auto length = static_cast<std::size_t>(
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote)));
    std::wstring text(std::min(length, kChars), L'\0');
    ReadProcessMemory(process.get(), item.pszText, text.data(), text.size() * sizeof(wchar_t), nullptr);
    rows.push_back(WideToUtf8(text));
  }
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return rows;
}

std::vector<int> CheckStates(HWND list) {
  std::vector<int> states;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    states.push_back(static_cast<int>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK) >> 12) - 1);
  return states;
}

void CheckRows(HWND list, const std::vector<int>& rows) {
  // From the keyboard, as a user would: the first row, then down to each row and the space bar.
  PostMessageW(list, WM_KEYDOWN, VK_HOME, 0x00470001);
  int at = 0;
  for (int row : rows) {
    for (; at < row; ++at) PostMessageW(list, WM_KEYDOWN, VK_DOWN, 0x00500001);
    PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageW(list, WM_KEYUP, VK_SPACE, 0xC0390001);
  }
}

std::string CurrencyText(int amount) {
  const std::wstring number = std::to_wstring(amount);
  wchar_t text[64] = L"";
  GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, number.c_str(), nullptr, text, 64);
  return WideToUtf8(text);
}

std::vector<HWND> Calendars() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        auto& calendars = *reinterpret_cast<std::vector<HWND>*>(list);
        wchar_t class_name[32] = L"";
        GetClassNameW(window, class_name, 32);
        if (std::wstring(class_name) == L"OrvantaCalendar") calendars.push_back(window);
        for (HWND c = FindWindowExW(window, nullptr, L"OrvantaCalendar", nullptr); c;
             c = FindWindowExW(window, c, L"OrvantaCalendar", nullptr))
          calendars.push_back(c);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindChild(HWND parent, const std::function<bool(HWND)>& match) {
  struct Search {
    const std::function<bool(HWND)>* match;
    HWND found;
  } search{&match, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        if (!(*s.match)(child)) return TRUE;
        s.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace orv::e2e

int wmain(int argc, wchar_t** argv) {
  orv::e2e::g_self = argv[0];
  wchar_t full[MAX_PATH * 4];
  if (GetModuleFileNameW(nullptr, full, MAX_PATH * 4)) orv::e2e::g_self = full;
  if (argc > 2 && std::wstring(argv[1]) == L"shell")
    return orv::e2e::RunShell(argv[2], argc > 3 && std::wstring(argv[3]) == L"--announce");
  if (argc > 3 && std::wstring(argv[1]) == L"desktop") return orv::e2e::RunStandInDesktop(argv[2], argv[3]);
  if (argc > 2 && std::wstring(argv[1]) == L"command") return orv::e2e::SendHostCommand(argv[2]);
  if (argc > 1 && std::wstring(argv[1]) == L"report") {
    // The state report of an Orvanta started with "--testing", on standard output.
    HWND host = FindWindowW(L"OrvantaBackground", nullptr);
    if (!host) return 1;
    orv::e2e::Reporter reporter;
    std::fputs(reporter.Ask(host).c_str(), stdout);
    return 0;
  }
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
    // A demo user data file: payments of both kinds on one day and special days of both
    // kinds this month, and a preset of each kind.
    orv::YearDatas years;
    orv::DefaultUserListArray lists;
    const orv::DateParts today = orv::SplitDate(orv::LocalToday());
    for (auto [title, price, kind] : {std::tuple{"家賃", 65000, 0}, {"電気", 4320, 1}})
      orv::test::AddPayment(years, orv::MakeDate(today.Year, today.Month, 25), title, price, kind);
    for (auto [title, comment, very] : {std::tuple{"誕生日", "ケーキを予約", true}, {"記念日", "", false}})
      orv::test::AddSpecial(years, orv::MakeDate(today.Year, today.Month, 12), title, very, comment);
    // Repeating entries: a weekly cash payment and a monthly card payment moved off bank
    // holidays, each kept with its rule in the companion file.
    orv::SeriesBook book;
    const orv::Date first = orv::MakeDate(today.Year, today.Month, 1);
    orv::SeriesRule weekly{{orv::kCashPayments, "ジム", 3000, {}}, first, 1, orv::SeriesUnit::kWeek};
    orv::SeriesRule monthly{{orv::kAutomaticTransfers, "カード", 18500, {}}, first + std::chrono::days{26}, 1,
                            orv::SeriesUnit::kMonth};
    monthly.shift = orv::SeriesShift::kNext;
    for (const orv::SeriesRule& rule : {weekly, monthly})
      if (orv::CheckNewSeries(years, rule, orv::LocalToday()).Accepted())
        orv::AddSeries(years, book, rule, orv::LocalToday());
    const std::string path = orv::WideToUtf8(argv[2]);
    if (orv::ReplaceFileContents(orv::SeriesFilePath(path), orv::WriteSeriesText(book))) return 1;
    const char* presets[] = {"家賃", "電気", "誕生日", "記念日"};
    for (int kind = 0; kind < 4; ++kind)
      lists[static_cast<std::size_t>(kind)].Add(orv::NextDefaultUserKey(lists, kind))->strValue1 = presets[kind];
    return orv::sfSaveUserData(path, years, lists).empty() ? 0 : 1;
  }
  // gtest's own options (--gtest_filter=…) pass through.
  std::vector<std::string> words{"orv_e2e"};
  for (int i = 1; i < argc; ++i) words.push_back(orv::WideToUtf8(argv[i]));
  std::vector<char*> gargv;
  for (auto& word : words) gargv.push_back(word.data());
  gargv.push_back(nullptr);
  int gargc = static_cast<int>(words.size());
  ::testing::InitGoogleTest(&gargc, gargv.data());
  return RUN_ALL_TESTS();
}
