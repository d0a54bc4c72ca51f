#include "desktop/desktop_attachment.hpp"

#include <algorithm>

namespace orv {
namespace {

constexpr char kProgman[] = "Progman";
constexpr char kWorkerW[] = "WorkerW";
constexpr char kIconView[] = "SHELLDLL_DefView";
constexpr char kDesktopWindowClass[] = "#32769";

const DesktopWindow* Find(const DesktopSnapshot& s, WindowId id) {
  if (id == 0) return nullptr;
  for (const DesktopWindow& w : s.windows)
    if (w.id == id) return &w;
  return nullptr;
}

const DesktopWindow* ChildOfClass(const DesktopSnapshot& s, WindowId parent,
                                  const char* class_name) {
  for (const DesktopWindow& w : s.windows)
    if (w.parent == parent && w.class_name == class_name) return &w;
  return nullptr;
}

// The window that paints the desktop and holds the icon view, or would if it had one.
const DesktopWindow* IconViewHost(const DesktopSnapshot& s, const DesktopWindow& progman) {
  auto shell_worker = [&](const DesktopWindow& w) {
    return w.parent == 0 && w.class_name == kWorkerW && w.process == progman.process && w.visible;
  };
  // Raised: the icon view moved into a top-level "WorkerW", in front of the one that paints
  // the wallpaper over "Progman".
  for (const DesktopWindow& w : s.windows)
    if (shell_worker(w) && ChildOfClass(s, w.id, kIconView)) return &w;
  if (ChildOfClass(s, progman.id, kIconView)) return &progman;
  // No icon view anywhere: whichever of the shell's windows stands in front of "Progman"
  // covers it, so the calendar must be on that one to be seen.
  for (const DesktopWindow& w : s.windows) {
    if (w.id == progman.id) break;
    if (shell_worker(w)) return &w;
  }
  return &progman;
}

}  // namespace

std::uint32_t CalendarExStyle(const CalendarPlace& place) {
  if (!place.parent) return kExToolWindow;
  return kExNoParentNotify | (place.layered ? kExLayered : 0);
}

CalendarPlace PlaceOnDesktop(const DesktopSnapshot& s) {
  const DesktopWindow* progman = nullptr;
  for (const DesktopWindow& w : s.windows) {
    if (w.parent != 0 || w.class_name != kProgman || w.id == s.calendar) continue;
    if (!progman || w.id == s.shell_window) progman = &w;  // the system's own shell window first
  }
  CalendarPlace place;
  if (!progman) {
    // No shell desktop to live on: a window of its own, kept in front of whatever desktop
    // window the system knows, or at the very back.
    const DesktopWindow* desktop = Find(s, s.shell_window);
    if (desktop && desktop->parent == 0 && desktop->visible && desktop->id != s.calendar) {
      place.z = ZPlace::AboveDesktop;
      place.desktop = desktop->id;
    }
    return place;
  }
  const DesktopWindow& host = *IconViewHost(s, *progman);
  const DesktopWindow* icon_view = ChildOfClass(s, host.id, kIconView);
  place.parent = host.id;
  place.z = ZPlace::AboveShellChildren;
  // A surface of its own only where the parent has none; a layered icon view tells the same.
  place.layered = (host.ex_style & kExNoRedirectionBitmap) != 0 ||
                  (icon_view && (icon_view->ex_style & kExLayered));
  place.layout = host.id != progman->id ? DesktopLayout::Raised
                 : place.layered        ? DesktopLayout::Composed
                                        : DesktopLayout::Classic;
  return place;
}

bool StandsInPlace(const DesktopSnapshot& s, const CalendarPlace& place) {
  const DesktopWindow* calendar = Find(s, s.calendar);
  if (!calendar) return false;
  // Siblings of the calendar, frontmost first.
  std::vector<const DesktopWindow*> siblings;
  for (const DesktopWindow& w : s.windows)
    if (w.parent == calendar->parent) siblings.push_back(&w);
  const auto at = std::find(siblings.begin(), siblings.end(), calendar);
  switch (place.z) {
    case ZPlace::AboveShellChildren: {
      // In front of the icon view and the wallpaper painter; other programs' children do not
      // matter (two programs each insisting on the front would take turns forever).
      const DesktopWindow* parent = Find(s, calendar->parent);
      const std::uint32_t shell = parent ? parent->process : 0;
      return std::none_of(siblings.begin(), at,
                          [&](const DesktopWindow* w) { return w->process == shell; });
    }
    case ZPlace::AboveDesktop: {
      // Nothing shown between the calendar and the desktop window below it.
      const auto desktop = std::find_if(
          at, siblings.end(), [&](const DesktopWindow* w) { return w->id == place.desktop; });
      if (desktop == siblings.end()) return false;
      return std::none_of(at + 1, desktop, [](const DesktopWindow* w) { return w->visible; });
    }
    case ZPlace::Bottom:
      return std::none_of(at + 1, siblings.end(),
                          [](const DesktopWindow* w) { return w->visible; });
  }
  return false;
}

AttachDecision DesktopAttachment::Decide(const DesktopSnapshot& s, std::chrono::milliseconds now) {
  AttachDecision decision{AttachStep::Keep, PlaceOnDesktop(s)};
  const CalendarPlace& place = decision.place;
  if (place.parent != 0) {
    had_shell_ = true;
    lost_since_.reset();
  } else if (had_shell_) {
    if (!lost_since_) lost_since_ = now;
    if (now - *lost_since_ < kShellGrace) {
      last_ = decision.step = AttachStep::Wait;
      return decision;
    }
  }
  const DesktopWindow* calendar = Find(s, s.calendar);
  const bool parent_gone = calendar && calendar->parent != 0 && !Find(s, calendar->parent);
  if (!calendar || parent_gone || calendar->parent != place.parent ||
      ((calendar->ex_style & kExLayered) != 0) != place.layered) {
    decision.step = AttachStep::Attach;
  } else if (!StandsInPlace(s, place)) {
    decision.step = AttachStep::Restack;
  }
  last_ = decision.step;
  return decision;
}

std::optional<std::chrono::milliseconds> DesktopAttachment::NextCheck() const {
  if (last_ == AttachStep::Wait || last_ == AttachStep::Attach) return kEagerCheck;
  return std::nullopt;
}

std::vector<WindowId> ShellDesktopWindows(const DesktopSnapshot& s) {
  std::vector<WindowId> ids;
  const DesktopWindow* calendar = Find(s, s.calendar);
  for (const DesktopWindow& w : s.windows) {
    const bool shell = w.class_name == kProgman || w.class_name == kWorkerW || w.class_name == kIconView;
    if (shell || w.id == s.shell_window || (calendar && w.id == calendar->parent)) ids.push_back(w.id);
  }
  return ids;
}

bool MayMoveTheCalendar(WindowEvent event, std::string_view class_name, bool known, bool own_window) {
  switch (event) {
    case WindowEvent::Foreground: return own_window;  // a child stays inside its parent
    case WindowEvent::Destroyed: return known;  // its class can no longer be asked
    case WindowEvent::Reordered:
      // The z-order of top-level windows is the children's order of the desktop window.
      if (class_name == kDesktopWindowClass) return true;
      break;
    default: break;
  }
  const bool shells = class_name == kProgman || class_name == kWorkerW || class_name == kIconView;
  return shells || known;
}

}  // namespace orv
