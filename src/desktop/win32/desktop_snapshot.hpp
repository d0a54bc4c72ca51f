#pragma once
// Reads the shell's desktop windows for DesktopAttachment. Only reads window data the system
// keeps itself (class, parent, styles, process, z-order): no message goes to another
// process, so a hung shell cannot hold the calendar up.
#include <windows.h>

#include "desktop/desktop_attachment.hpp"

namespace orv {

inline WindowId IdOf(HWND window) {
  return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}
inline HWND HwndOf(WindowId id) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

// `calendar` is ours (nullptr while there is none).
DesktopSnapshot ReadDesktopSnapshot(HWND calendar);

}  // namespace orv
