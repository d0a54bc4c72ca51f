#pragma once
// How the calendar window reacts to keys, mouse and scroll requests. The Win32 window only
// translates messages into calls on CalendarController; every rule lives here.
#include <cstdint>
#include <optional>
#include <string>

#include "core/app_state.hpp"
#include "core/twips.hpp"
#include "platform/canvas.hpp"

namespace orv {

// The pixel geometry of the laid-out calendar that hit tests and hotspots need.
struct CalendarMetrics {
  int MiniWidth = 0;  // calendar width in mode 0
  int FullWidth = 0;  // calendar width in modes 1 and 2
  int LastweekHeight = 0;
  int NextweekHeight = 0;
  int MonthWidth = 0;
  int DayHeight = 1;
  int DayAreaTop = 0;
  int DayAreaBottom = 0;
  int ModeChangeWidth = 17;  // the mode hotspot's width at the calendar's scale
};

// The calendar picture. DrawCalendar is the full redraw (placement in the work area,
// wallpaper, decoration, days); DrawCalendarDays redraws only the day pass. Both return the
// finished picture, which is as wide as the calendar and as high as the work area.
class CalendarRenderer {
public:
  virtual ~CalendarRenderer() = default;
  virtual const Canvas& DrawCalendar(AppState& state) = 0;
  virtual const Canvas& DrawCalendarDays(AppState& state) = 0;
  virtual CalendarMetrics Metrics() const = 0;
};

// The window's rectangle in screen pixels: at the work area's right edge, its full height.
PixelRect PlaceCalendar(const Rect32& work_area, int calendar_width);

enum class Hotspot { None, WeekBack, WeekForward, ExtraMode, ModeChange };

// Pixel width of the mode hotspot: 255 twips.
int ModeChangeHotspotWidth(TwipsScale twips_per_pixel_x);

struct HotspotRects {
  PixelRect WeekBack, WeekForward, ExtraMode, ModeChange;
};
HotspotRects LayoutHotspots(const CalendarMetrics& metrics, int picture_width, int picture_height,
                            int mode_change_width);
// The topmost hotspot under a point (ModeChange over ExtraMode over the week buttons).
Hotspot HotspotAt(const HotspotRects& rects, int x, int y);

// The tooltip of a hotspot; the mode hotspot's depends on the display mode.
const char* HotspotTooltip(Hotspot hotspot, std::int32_t calendar_mode);

// The day row under a point, counted from 0; nullopt on the month column, in the strips and
// in the empty band below the last row.
std::optional<int> DayRowAt(const CalendarMetrics& metrics, int x, int y);

// Screen position, in twips, of a dialog opened from a day clicked at picture height `y`.
struct DialogPlacement {
  std::int32_t Left = 0, Top = 0;
};
struct ScreenFacts {
  int width = 0, height = 0;  // pixels
  TwipsScale twips_x, twips_y;
};
DialogPlacement DialogPositionFor(const ScreenFacts& screen, int window_top, int window_width,
                                  int month_width, int y);

// The laid-out geometry as "name=value" lines, for the state report a test asks for: the
// metrics in pixels and each hotspot as "left,top,right,bottom".
std::string DescribeGeometry(const CalendarMetrics& metrics, const HotspotRects& hotspots);

// Keys the window acts on itself; everything else reaches the hidden scroll bar.
enum class CalendarKey { Other, D, E, N, Apps };
struct KeyModifiers {
  bool ctrl = false, shift = false, alt = false;
};
enum class KeyAction { None, ShowToday, ToggleMode, CycleMode, ScrollMenu };
// Ctrl+D/E/N count only with Ctrl alone; the context-menu key only without Ctrl.
KeyAction ActionForKey(CalendarKey key, KeyModifiers mods);

// The scroll bar's request and the value it jumps to (it rests at 0 between inputs).
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Top, Bottom };
inline constexpr int kScrollMin = -28;
inline constexpr int kScrollMax = 28;
int ScrollValueFor(ScrollRequest request, int current_value);

// How a scroll of `days` is carried out: `steps` redraws of `step` days each.
struct ScrollPlan {
  int steps = 0;
  int step = 0;
};
ScrollPlan PlanScroll(int days, std::int32_t scroll_mode, std::int32_t calendar_mode);

// Show or hide the entry column; a first showing picks payments.
void ToggleCalendarMode(AppState& state);

enum class MouseButton { Left, Right, Middle };

// What the window does for the controller: present a new picture, reset the scroll bar,
// open the host window's menus, and tell where it stands.
class CalendarWindowView {
public:
  virtual ~CalendarWindowView() = default;
  virtual void Present(const Canvas& picture, bool placement_changed) = 0;
  virtual void ResetScrollValue() = 0;
  virtual void OpenScrollMenu() = 0;
  virtual void OpenExtraMenu() = 0;  // after the host has set its check marks
  // The keyboard focus back to the calendar (its hidden scroll bar); errors are ignored.
  virtual void TakeFocus() = 0;
  virtual int WindowTop() = 0;      // screen pixels
  virtual int WindowWidth() = 0;
  virtual ScreenFacts Screen() = 0;
};

// The day dialogs, filled in by the dialogs that list and add entries. Each is shown modally
// at the given twips position and returns when it closes.
class DayDialogs {
public:
  virtual ~DayDialogs() = default;
  virtual void ShowDayList(Date day, DialogPlacement at) = 0;
  virtual void ShowAddEntry(Date day, DialogPlacement at) = 0;
};

class NoDayDialogs : public DayDialogs {
public:
  void ShowDayList(Date, DialogPlacement) override {}
  void ShowAddEntry(Date, DialogPlacement) override {}
};

class CalendarController {
public:
  CalendarController(AppState& state, CalendarRenderer& renderer, CalendarWindowView& view,
                     DayDialogs& dialogs)
      : state_(state), renderer_(renderer), view_(view), dialogs_(dialogs) {}

  void dsDrawCalendar();
  void dsDrawCalendarDays();
  void dsCalendarScroll(std::int16_t days);
  void ShowToday();

  // A new scroll bar value (from a key or the wheel): scrolls by it, then has the view set
  // the value back to 0 (the change that reset causes comes back here and is ignored).
  void OnScrollValue(int value);
  // Returns true when the key was the window's own.
  bool OnKey(CalendarKey key, KeyModifiers mods);
  void OnHotspot(Hotspot hotspot, MouseButton button);
  void OnPictureMouseDown(MouseButton button, int x, int y);
  void OnPictureDoubleClick();

  bool ClickedDayValid() const { return clicked_valid_; }
  Date ClickedDate() const { return clicked_date_; }
  DialogPlacement DialogPosition() const { return dialog_; }
  const HotspotRects& Hotspots() const { return hotspots_; }
  CalendarMetrics Metrics() const { return renderer_.Metrics(); }

private:
  void Present(const Canvas& picture, bool full);
  // A menu opened for the calendar brings the hidden host window forward; whatever was
  // chosen, or nothing, the keys must reach the calendar again afterwards.
  void OpenScrollMenu();
  void OpenExtraMenu();
  void ShowDayDialog(void (DayDialogs::*show)(Date, DialogPlacement));

  AppState& state_;
  CalendarRenderer& renderer_;
  CalendarWindowView& view_;
  DayDialogs& dialogs_;
  bool ScrollBusy = false;
  bool clicked_valid_ = false;
  Date clicked_date_{};
  DateParts clicked_parts_;
  DialogPlacement dialog_;
  HotspotRects hotspots_;
};

}  // namespace orv
