// Keeps the Wine desktop up while scripts/measure-run launches the programs it times: the
// desktop process ends with the last process that has a window on it and starts again with
// the next, so without this one program's start could include the desktop's and the other's
// not. (On Windows the shell's desktop is always there.) One hidden window, no timer, no
// input: it never wakes.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"DesktopKeeper";
  RegisterClassW(&wc);
  CreateWindowExW(0, wc.lpszClassName, L"Keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
