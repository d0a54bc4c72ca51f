#pragma once
// Where the calendar stands on the desktop. The shell's window tree differs between Windows
// releases and changes while the program runs (a wallpaper tool "raises" the desktop, the
// shell restarts), and the calendar must stay where it can be seen and clicked: in front of
// the icon view, behind every normal window. The Win32 side reads a snapshot of the windows
// and carries out what DesktopAttachment decides; every rule is here.
//
// The layouts known:
// - classic: "Progman" paints the wallpaper and holds the icon view "SHELLDLL_DefView",
//   which covers the whole desktop;
// - raised (Windows 10 and 11 up to 23H2, once the shell has been sent message 0x052C): the
//   icon view lives in a top-level "WorkerW", and a second top-level "WorkerW" just behind it
//   paints the wallpaper over "Progman";
// - composed (Windows 11 24H2): "Progman" has no redirection surface of its own, the icon
//   view is a layered child of it and a child "WorkerW" paints the wallpaper beneath it; a
//   child drawn with GDI shows only when it is layered itself.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

using WindowId = std::uint64_t;  // a window handle as a number; 0 is none

inline constexpr std::uint32_t kExNoParentNotify = 0x00000004;       // WS_EX_NOPARENTNOTIFY
inline constexpr std::uint32_t kExToolWindow = 0x00000080;           // WS_EX_TOOLWINDOW
inline constexpr std::uint32_t kExLayered = 0x00080000;              // WS_EX_LAYERED
inline constexpr std::uint32_t kExNoRedirectionBitmap = 0x00200000;  // WS_EX_NOREDIRECTIONBITMAP

struct DesktopWindow {
  WindowId id = 0;
  WindowId parent = 0;  // 0: a top-level window
  std::string class_name;
  std::uint32_t ex_style = 0;
  std::uint32_t process = 0;
  bool visible = false;
};

// The windows the calendar's place depends on: the top-level windows, the children of every
// "Progman" and top-level "WorkerW", and the calendar. Siblings come in their z-order,
// frontmost first.
struct DesktopSnapshot {
  std::vector<DesktopWindow> windows;
  WindowId shell_window = 0;  // the window the system names the shell's desktop, if any
  WindowId calendar = 0;      // ours; 0 while there is none
};

enum class DesktopLayout { None, Classic, Raised, Composed };

enum class ZPlace {
  AboveShellChildren,  // a child in front of every child the shell has in the same parent
  AboveDesktop,        // a window of its own just in front of the shell's desktop window
  Bottom,              // a window of its own behind all others
};

struct CalendarPlace {
  DesktopLayout layout = DesktopLayout::None;
  WindowId parent = 0;   // 0: a window of its own (a frameless tool window)
  bool layered = false;  // WS_EX_LAYERED, fully opaque
  ZPlace z = ZPlace::Bottom;
  WindowId desktop = 0;  // for AboveDesktop
  bool operator==(const CalendarPlace&) const = default;
};

// The extended window styles the calendar is made with at `place`. A child of the shell's
// window never notifies its parent: the system would send each notice (creation, going away,
// every mouse press) to the shell's thread and wait for it, so a hung or restarting shell
// would stop the calendar's tray, dialogs and timers with it. A window of its own is a tool
// window, kept off the taskbar and the task switcher.
std::uint32_t CalendarExStyle(const CalendarPlace& place);

// Where the calendar belongs on the desktop the snapshot shows.
CalendarPlace PlaceOnDesktop(const DesktopSnapshot& snapshot);
// Whether the snapshot's calendar stands at `place`'s z-order place among its siblings.
bool StandsInPlace(const DesktopSnapshot& snapshot, const CalendarPlace& place);

enum class AttachStep {
  Keep,     // nothing to do
  Restack,  // same parent and styles; only the z-order place is to be restored
  Attach,   // create the calendar anew at the place (the old window, if any, goes)
  Wait,     // the shell is gone and may come back: leave things as they are for now
};
struct AttachDecision {
  AttachStep step = AttachStep::Keep;
  CalendarPlace place;
};

// What the system reports about a window (the accessibility events of window objects).
enum class WindowEvent { Created, Destroyed, Shown, Hidden, Reordered, NewParent, Foreground };

// Whether an event about another program's window may move the calendar out of its place:
// the shell's desktop windows appearing, going, showing, hiding or changing parent, a
// reordering among them or of the top-level windows, or, for a calendar that is a window of
// its own, any window taking the foreground ("Show desktop" brings its window in front).
// `class_name` is empty for a window already gone; `known` says whether the snapshot the
// calendar was last placed by held the window.
bool MayMoveTheCalendar(WindowEvent event, std::string_view class_name, bool known, bool own_window);
// The windows of a snapshot whose going away may move the calendar: the shell's desktop
// windows ("Progman", "WorkerW", the icon view), the system's shell window and the calendar's
// parent.
std::vector<WindowId> ShellDesktopWindows(const DesktopSnapshot& snapshot);

// The calendar's attachment over time. When the shell goes away (it restarts after a crash,
// an update or Task Manager), its new desktop windows usually stand within a few seconds:
// the calendar waits that long before it becomes a window of its own, so that it comes back
// once, on the new desktop, rather than twice. Between those times nothing is looked at until
// the system reports a change of the desktop's windows.
class DesktopAttachment {
public:
  static constexpr std::chrono::milliseconds kShellGrace{5000};
  static constexpr std::chrono::milliseconds kEagerCheck{250};
  // After a reported change, one more look once the shell is likely done: it makes and
  // rearranges its windows in bursts, and a look in the middle sees half of it.
  static constexpr std::chrono::milliseconds kSettleCheck{250};

  // `now` is any steady clock's reading.
  AttachDecision Decide(const DesktopSnapshot& snapshot, std::chrono::milliseconds now);
  // When to look again by itself: soon while waiting for the shell and once right after an
  // attachment; never while the calendar stands in place.
  std::optional<std::chrono::milliseconds> NextCheck() const;

private:
  bool had_shell_ = false;
  std::optional<std::chrono::milliseconds> lost_since_;
  AttachStep last_ = AttachStep::Keep;
};

}  // namespace orv
