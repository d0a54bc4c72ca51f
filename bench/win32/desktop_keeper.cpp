// Keeps the Wine desktop up while scripts/measure-run launches the programs it times, as the
// shell keeps it on Windows:
// - the desktop process ends with the last process that has a window on it and starts again
//   with the next, so without this one program's start could include the desktop's and the
//   other's not;
// - the notification area exists from the start on Windows, while Wine's desktop makes its
//   tray window when the first icon arrives (40 ms here): this keeper's own icon makes it
//   before anything is timed, so a program with a tray icon is not charged for it.
// One hidden window, no timer, no input: it never wakes.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"DesktopKeeper";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  NOTIFYICONDATAW icon{};
  icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
  icon.hWnd = window;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, L"Keeper", 64);
  Shell_NotifyIconW(NIM_ADD, &icon);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
