#include "platform/win32/display_scale.hpp"

#include <shellscalingapi.h>

#include "platform/win32/system_function.hpp"

namespace orv {
namespace {

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int MonitorDpi(HMONITOR monitor) {
  using GetDpi = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
  static const auto get = SystemFunction<GetDpi>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (monitor && get && SUCCEEDED(get(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y > 0) return static_cast<int>(y);
  return SystemDpi();
}

int WindowDpi(HWND window) {
  HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  return MonitorDpi(monitor);
}

int MetricForDpi(int index, int dpi) {
  using ForDpi = int(WINAPI*)(int, UINT);
  static const auto for_dpi = SystemFunction<ForDpi>(L"user32.dll", "GetSystemMetricsForDpi");
  if (for_dpi) return for_dpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

int ScaleForDpi(int value, int dpi) { return MulDiv(value, dpi, 96); }

}  // namespace orv
