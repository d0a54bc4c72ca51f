#include "desktop/win32/desktop_snapshot.hpp"

#include <cwchar>

#include "platform/win32/wide.hpp"

namespace orv {
namespace {

// Far more children than any shell window has; a bound in case the list changes under us.
constexpr int kMostChildren = 256;

std::string ClassOf(HWND window) {
  wchar_t class_name[64] = L"";
  GetClassNameW(window, class_name, 64);
  return WideToUtf8(class_name);
}

DesktopWindow Describe(HWND window, WindowId parent, std::string class_name, bool visible) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return {IdOf(window),
          parent,
          std::move(class_name),
          static_cast<std::uint32_t>(GetWindowLongPtrW(window, GWL_EXSTYLE)),
          process,
          visible};
}
DesktopWindow Describe(HWND window, WindowId parent) {
  return Describe(window, parent, ClassOf(window), IsWindowVisible(window) != FALSE);
}

bool HoldsDesktopChildren(const std::string& class_name) {
  return class_name == "Progman" || class_name == "WorkerW";
}

}  // namespace

DesktopSnapshot ReadDesktopSnapshot(HWND calendar) {
  DesktopSnapshot snapshot;
  snapshot.calendar = IdOf(calendar);
  snapshot.shell_window = IdOf(GetShellWindow());
  // Every top-level window, frontmost first: hidden ones only when the desktop's classes,
  // the shell's window or ours (the rest cannot cover anything).
  std::vector<HWND> top;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&top));
  bool calendar_seen = false;
  for (HWND window : top) {
    const bool visible = IsWindowVisible(window) != FALSE;
    std::string class_name = ClassOf(window);
    const bool holds = HoldsDesktopChildren(class_name);
    if (!visible && !holds && IdOf(window) != snapshot.shell_window && window != calendar) continue;
    calendar_seen |= window == calendar;
    snapshot.windows.push_back(Describe(window, 0, std::move(class_name), visible));
    if (!holds) continue;
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child && count < kMostChildren;
         child = GetWindow(child, GW_HWNDNEXT), ++count) {
      snapshot.windows.push_back(Describe(child, IdOf(window)));
      calendar_seen |= child == calendar;
    }
  }
  // A calendar under some other parent, or left behind by one that is gone.
  if (calendar && !calendar_seen && IsWindow(calendar)) {
    const bool child = (GetWindowLongPtrW(calendar, GWL_STYLE) & WS_CHILD) != 0;
    HWND parent = child ? GetAncestor(calendar, GA_PARENT) : nullptr;
    if (parent == GetDesktopWindow()) parent = nullptr;
    snapshot.windows.push_back(Describe(calendar, IdOf(parent)));
  }
  return snapshot;
}

}  // namespace orv
