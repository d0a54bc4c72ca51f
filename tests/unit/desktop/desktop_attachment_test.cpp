#include "desktop/desktop_attachment.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

namespace orv {
namespace {

using std::chrono::milliseconds;

constexpr std::uint32_t kShell = 10;  // the shell's process
constexpr std::uint32_t kOther = 20;  // another program
constexpr std::uint32_t kUs = 30;
constexpr WindowId kGoneWindow = 999;  // in no snapshot

// A desktop built window by window; siblings are added frontmost first.
struct Desk {
  DesktopSnapshot s;
  WindowId next = NextDesk();  // every desk's windows are new ones
  static WindowId NextDesk() {
    static WindowId base = 0;
    return base += 1000;
  }
  WindowId Add(const char* class_name, WindowId parent = 0, std::uint32_t ex_style = 0,
               std::uint32_t process = kShell, bool visible = true) {
    s.windows.push_back({++next, parent, class_name, ex_style, process, visible});
    return next;
  }
  WindowId AddCalendar(WindowId parent, std::uint32_t ex_style = 0) {
    s.calendar = Add("OrvantaCalendar", parent, ex_style, kUs);
    return s.calendar;
  }
};

struct Classic : Desk {
  WindowId progman = Add("Progman");
  WindowId icons = Add("SHELLDLL_DefView", progman);
};

struct Raised : Desk {
  WindowId icon_worker = Add("WorkerW");
  WindowId icons = Add("SHELLDLL_DefView", icon_worker);
  WindowId wallpaper_worker = Add("WorkerW");
  WindowId progman = Add("Progman");
};

struct Composed : Desk {
  WindowId progman = Add("Progman", 0, kExNoRedirectionBitmap);
  WindowId icons = Add("SHELLDLL_DefView", progman, kExLayered);
  WindowId wallpaper = Add("WorkerW", progman);
};

TEST(PlaceOnDesktopTest, ClassicDesktopInFrontOfTheIconViewInProgman) {
  Classic d;
  const CalendarPlace place = PlaceOnDesktop(d.s);
  EXPECT_EQ(place, (CalendarPlace{DesktopLayout::Classic, d.progman, false,
                                  ZPlace::AboveShellChildren, 0}));
  // Created under Progman, a child is linked behind the icon view that covers the desktop.
  d.AddCalendar(d.progman);
  EXPECT_FALSE(StandsInPlace(d.s, place));
  std::rotate(d.s.windows.begin() + 1, d.s.windows.end() - 1, d.s.windows.end());  // to the front
  EXPECT_TRUE(StandsInPlace(d.s, place));
  // Another program's child in front of it is none of its business.
  d.s.windows.insert(d.s.windows.begin() + 1,
                     DesktopWindow{900, d.progman, "Widget", 0, kOther, true});
  EXPECT_TRUE(StandsInPlace(d.s, place));
}

TEST(PlaceOnDesktopTest, RaisedDesktopOnTheWorkerWHoldingTheIconView) {
  Raised d;
  EXPECT_EQ(PlaceOnDesktop(d.s), (CalendarPlace{DesktopLayout::Raised, d.icon_worker, false,
                                                ZPlace::AboveShellChildren, 0}));
  // A "WorkerW" with the icon view that is hidden, or another program's, is not the desktop.
  Desk hidden;
  const WindowId stale = hidden.Add("WorkerW", 0, 0, kShell, false);
  hidden.Add("SHELLDLL_DefView", stale);
  const WindowId foreign = hidden.Add("WorkerW", 0, 0, kOther);
  hidden.Add("SHELLDLL_DefView", foreign);
  const WindowId progman = hidden.Add("Progman");
  hidden.Add("SHELLDLL_DefView", progman);
  EXPECT_EQ(PlaceOnDesktop(hidden.s).parent, progman);
  EXPECT_EQ(PlaceOnDesktop(hidden.s).layout, DesktopLayout::Classic);
}

TEST(PlaceOnDesktopTest, Windows11ComposedDesktopNeedsALayeredChildInFrontOfTheWallpaperWorker) {
  Composed d;
  const CalendarPlace place = PlaceOnDesktop(d.s);
  EXPECT_EQ(place, (CalendarPlace{DesktopLayout::Composed, d.progman, true,
                                  ZPlace::AboveShellChildren, 0}));
  d.AddCalendar(d.progman, kExLayered);  // created last: behind the wallpaper painter
  EXPECT_FALSE(StandsInPlace(d.s, place));
  std::rotate(d.s.windows.begin() + 1, d.s.windows.end() - 1, d.s.windows.end());
  EXPECT_TRUE(StandsInPlace(d.s, place));
  // Either sign of the composed desktop is enough: a parent without a surface, or a layered
  // icon view.
  Desk only_icons;
  const WindowId progman = only_icons.Add("Progman");
  only_icons.Add("SHELLDLL_DefView", progman, kExLayered);
  EXPECT_EQ(PlaceOnDesktop(only_icons.s).layout, DesktopLayout::Composed);
  Desk bare;
  bare.Add("Progman", 0, kExNoRedirectionBitmap);
  EXPECT_TRUE(PlaceOnDesktop(bare.s).layered);
}

TEST(PlaceOnDesktopTest, BrokenDesktops) {
  {  // Progman without children: the calendar still belongs on it
    Desk d;
    const WindowId progman = d.Add("Progman");
    EXPECT_EQ(PlaceOnDesktop(d.s), (CalendarPlace{DesktopLayout::Classic, progman, false,
                                                  ZPlace::AboveShellChildren, 0}));
  }
  {  // no icon view, but a shell "WorkerW" covers Progman: the frontmost one is seen
    Desk d;
    d.Add("Notepad", 0, 0, kOther);
    const WindowId front = d.Add("WorkerW");
    d.Add("WorkerW");
    d.Add("Progman");
    d.Add("WorkerW");  // behind Progman: covers nothing
    EXPECT_EQ(PlaceOnDesktop(d.s).parent, front);
    EXPECT_EQ(PlaceOnDesktop(d.s).layout, DesktopLayout::Raised);
  }
  {  // several "WorkerW" holding an icon view: the frontmost
    Desk d;
    const WindowId first = d.Add("WorkerW");
    d.Add("SHELLDLL_DefView", first);
    const WindowId second = d.Add("WorkerW");
    d.Add("SHELLDLL_DefView", second);
    d.Add("Progman");
    EXPECT_EQ(PlaceOnDesktop(d.s).parent, first);
  }
  {  // two "Progman": the one the system names its shell window
    Desk d;
    d.Add("Progman", 0, 0, kOther);
    const WindowId shell = d.Add("Progman");
    d.s.shell_window = shell;
    EXPECT_EQ(PlaceOnDesktop(d.s).parent, shell);
  }
}

// A child of the shell's window never notifies it (the system would wait on the shell's thread
// for every notice); a window of its own stays off the taskbar.
TEST(CalendarExStyleTest, AChildNeverNotifiesTheShellAndAWindowOfItsOwnIsAToolWindow) {
  struct Case {
    const char* name;
    CalendarPlace place;
    std::uint32_t ex_style;
  };
  const Case cases[] = {
      {"classic", PlaceOnDesktop(Classic().s), kExNoParentNotify},
      {"composed", {DesktopLayout::Composed, 77, true, ZPlace::AboveShellChildren, 0}, kExNoParentNotify | kExLayered},
      {"own window", PlaceOnDesktop(Desk().s), kExToolWindow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CalendarExStyle(c.place), c.ex_style);
  }
}

TEST(PlaceOnDesktopTest, WithoutAShellAWindowOfItsOwnAtTheBack) {
  Desk d;
  d.Add("Notepad", 0, 0, kOther);
  d.AddCalendar(0);
  d.Add("Hidden", 0, 0, kOther, false);
  const CalendarPlace place = PlaceOnDesktop(d.s);
  EXPECT_EQ(place, (CalendarPlace{DesktopLayout::None, 0, false, ZPlace::Bottom, 0}));
  EXPECT_TRUE(StandsInPlace(d.s, place));  // only a hidden window behind it
  d.Add("Tool", 0, 0, kOther);
  EXPECT_FALSE(StandsInPlace(d.s, place));
}

// "Show desktop" where another shell's desktop window is the system's shell window: it comes
// to the front; the calendar belongs just in front of it, behind every normal window.
TEST(PlaceOnDesktopTest, WithoutAShellDesktopInFrontOfTheSystemsDesktopWindow) {
  auto desk = [](std::initializer_list<std::string_view> order) {
    Desk d;
    for (std::string_view name : order) {
      if (name == "calendar")
        d.AddCalendar(0);
      else if (name == "hidden")
        d.Add("Hidden", 0, 0, kOther, false);
      else if (name == "notepad")
        d.Add("Notepad", 0, 0, kOther);
      else
        d.s.shell_window = d.Add("OtherShellDesktop", 0, 0, kOther);
    }
    return d;
  };
  const Desk front = desk({"desktop", "notepad", "calendar"});
  const CalendarPlace place = PlaceOnDesktop(front.s);
  EXPECT_EQ(place, (CalendarPlace{DesktopLayout::None, 0, false, ZPlace::AboveDesktop,
                                  front.s.shell_window}));
  EXPECT_FALSE(StandsInPlace(front.s, place));
  const Desk back = desk({"notepad", "calendar", "hidden", "desktop"});
  EXPECT_TRUE(StandsInPlace(back.s, PlaceOnDesktop(back.s)));
  const Desk between = desk({"calendar", "notepad", "desktop"});
  EXPECT_FALSE(StandsInPlace(between.s, PlaceOnDesktop(between.s)));
  // A hidden shell window is no desktop to stand on.
  Desk hidden = desk({"calendar", "desktop"});
  hidden.s.windows.back().visible = false;
  EXPECT_EQ(PlaceOnDesktop(hidden.s).z, ZPlace::Bottom);
}

class DesktopAttachmentTest : public ::testing::Test {
protected:
  // The calendar has stood on a classic desktop since time 0.
  void StandOnAClassicDesktop() {
    Classic before;
    before.AddCalendar(before.progman);
    attachment.Decide(before.s, milliseconds{0});
  }
  DesktopAttachment attachment;
};

TEST_F(DesktopAttachmentTest, AttachesOnceThenKeepsAndRestoresTheZOrderPlace) {
  Classic d;
  EXPECT_EQ(attachment.Decide(d.s, milliseconds{0}).step, AttachStep::Attach);
  EXPECT_EQ(attachment.NextCheck(), DesktopAttachment::kEagerCheck);
  d.s.windows.insert(d.s.windows.begin() + 1,
                     DesktopWindow{500, d.progman, "OrvantaCalendar", 0, kUs, true});
  d.s.calendar = 500;
  EXPECT_EQ(attachment.Decide(d.s, milliseconds{250}).step, AttachStep::Keep);
  EXPECT_EQ(attachment.NextCheck(), std::nullopt);  // in place: nothing to look at until told
  std::swap(d.s.windows[1], d.s.windows[2]);  // the shell brought its icon view forward
  const AttachDecision restack = attachment.Decide(d.s, milliseconds{1250});
  EXPECT_EQ(restack.step, AttachStep::Restack);
  EXPECT_EQ(restack.place.parent, d.progman);
  EXPECT_EQ(attachment.NextCheck(), std::nullopt);
}

// The calendar looks at the desktop again only when a report may concern its place: another
// program's own windows coming and going every moment must not make it look.
TEST(DesktopEvents, OnlyTheShellsWindowsAndTheForegroundConcernThePlace) {
  for (const char* shell : {"Progman", "WorkerW", "SHELLDLL_DefView"})
    for (WindowEvent e : {WindowEvent::Created, WindowEvent::Shown, WindowEvent::Hidden, WindowEvent::Reordered,
                          WindowEvent::NewParent})
      EXPECT_TRUE(MayMoveTheCalendar(e, shell, false, false)) << shell << " " << static_cast<int>(e);
  EXPECT_FALSE(MayMoveTheCalendar(WindowEvent::Created, "Notepad", false, true));
  EXPECT_FALSE(MayMoveTheCalendar(WindowEvent::Shown, "tooltips_class32", false, true));
  EXPECT_FALSE(MayMoveTheCalendar(WindowEvent::Reordered, "SysListView32", false, false));
  // A window gone cannot tell its class: only one the calendar was placed by counts.
  EXPECT_TRUE(MayMoveTheCalendar(WindowEvent::Destroyed, "", true, false));
  EXPECT_FALSE(MayMoveTheCalendar(WindowEvent::Destroyed, "", false, true));
  // Another shell's desktop window of any class, once known from the last look.
  EXPECT_TRUE(MayMoveTheCalendar(WindowEvent::Shown, "OtherShellDesktop", true, true));
  // Top-level windows changing order; any window taking the foreground ("Show desktop") for a
  // calendar of its own, never for one inside the shell's window.
  EXPECT_TRUE(MayMoveTheCalendar(WindowEvent::Reordered, "#32769", false, false));
  EXPECT_TRUE(MayMoveTheCalendar(WindowEvent::Foreground, "Notepad", false, true));
  EXPECT_FALSE(MayMoveTheCalendar(WindowEvent::Foreground, "Progman", true, false));
}

TEST(DesktopEvents, TheShellsWindowsAreKnownFromTheLastLook) {
  Raised d;
  const WindowId other = d.Add("Notepad", 0, 0, kOther);
  d.AddCalendar(d.icon_worker);
  const std::vector<WindowId> known = ShellDesktopWindows(d.s);
  EXPECT_EQ(known.size(), 4u);
  for (WindowId id : {d.progman, d.icon_worker, d.wallpaper_worker, d.icons})
    EXPECT_NE(std::find(known.begin(), known.end(), id), known.end()) << id;
  // Another shell's desktop window, named by the system, is known whatever its class.
  d.s.shell_window = other;
  EXPECT_EQ(ShellDesktopWindows(d.s).size(), 5u);
}

TEST_F(DesktopAttachmentTest, ALayoutChangeWhileRunningMovesTheCalendar) {
  // Raised while the calendar stands on Progman: Progman's children are covered now.
  Raised raised;
  raised.AddCalendar(raised.progman);
  const AttachDecision moved = attachment.Decide(raised.s, milliseconds{0});
  EXPECT_EQ(moved.step, AttachStep::Attach);
  EXPECT_EQ(moved.place.parent, raised.icon_worker);
  // The right parent without the layered style is no good on the composed desktop.
  Composed composed;
  composed.AddCalendar(composed.progman);
  EXPECT_EQ(attachment.Decide(composed.s, milliseconds{10}).step, AttachStep::Attach);
}

TEST_F(DesktopAttachmentTest, ShellRestartWaitsForTheNewDesktopThenAttachesThereOnce) {
  StandOnAClassicDesktop();

  // The shell is gone and the calendar with it (or left behind, its parent no longer a window).
  Desk gone;
  gone.Add("Notepad", 0, 0, kOther);
  EXPECT_EQ(attachment.Decide(gone.s, milliseconds{1000}).step, AttachStep::Wait);
  EXPECT_EQ(attachment.NextCheck(), DesktopAttachment::kEagerCheck);
  gone.AddCalendar(kGoneWindow);  // left behind on a parent that is no longer a window
  EXPECT_EQ(attachment.Decide(gone.s, milliseconds{3000}).step, AttachStep::Wait);

  // The new shell's desktop stands: the calendar goes there at once.
  Composed after;
  after.s.windows.push_back(gone.s.windows.back());  // the orphan, its parent not a window
  after.s.calendar = gone.s.calendar;
  const AttachDecision back = attachment.Decide(after.s, milliseconds{3500});
  EXPECT_EQ(back.step, AttachStep::Attach);
  EXPECT_EQ(back.place.parent, after.progman);
  EXPECT_TRUE(back.place.layered);
  // Re-attached, every later signal (the taskbar's return, the next tick) finds it in place.
  after.s.windows.pop_back();
  after.s.windows.insert(
      after.s.windows.begin() + 1,
      DesktopWindow{600, after.progman, "OrvantaCalendar", kExLayered, kUs, true});
  after.s.calendar = 600;
  EXPECT_EQ(attachment.Decide(after.s, milliseconds{3750}).step, AttachStep::Keep);
  EXPECT_EQ(attachment.Decide(after.s, milliseconds{3800}).step, AttachStep::Keep);
}

TEST_F(DesktopAttachmentTest, WithoutAShellForLongTheCalendarBecomesAWindowOfItsOwn) {
  StandOnAClassicDesktop();
  Desk gone;
  EXPECT_EQ(attachment.Decide(gone.s, milliseconds{100}).step, AttachStep::Wait);
  EXPECT_EQ(attachment.Decide(gone.s, milliseconds{5099}).step, AttachStep::Wait);
  const AttachDecision own = attachment.Decide(gone.s, milliseconds{5100});
  EXPECT_EQ(own.step, AttachStep::Attach);
  EXPECT_EQ(own.place.parent, 0u);
  gone.AddCalendar(0);
  EXPECT_EQ(attachment.Decide(gone.s, milliseconds{6100}).step, AttachStep::Keep);
  // A shell that starts later takes the calendar back.
  Classic later;
  later.AddCalendar(0);
  EXPECT_EQ(attachment.Decide(later.s, milliseconds{9000}).step, AttachStep::Attach);
}

TEST_F(DesktopAttachmentTest, AtStartWithoutAShellThereIsNothingToWaitFor) {
  Desk none;
  const AttachDecision first = attachment.Decide(none.s, milliseconds{0});
  EXPECT_EQ(first.step, AttachStep::Attach);
  EXPECT_EQ(first.place.parent, 0u);
}

}  // namespace
}  // namespace orv
