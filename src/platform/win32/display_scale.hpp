#pragma once
// The scale of the monitor a window is on. The program is aware of each monitor's scale, so
// the system reports real pixels and leaves the scaling of sizes and fonts to the program.
#include <windows.h>

namespace orv {

// Dots per inch of a monitor (96 at 100 %); the system's scale where monitors have none.
int MonitorDpi(HMONITOR monitor);
// Of the monitor `window` is on; of the primary monitor for no window.
int WindowDpi(HWND window);
// The system's metric `index` (SM_CXSMICON, …) at `dpi`.
int MetricForDpi(int index, int dpi);
// `value` given for 96 dpi, at `dpi`, to the nearest whole number (a control's size, not
// a twips conversion).
int ScaleForDpi(int value, int dpi);

}  // namespace orv
