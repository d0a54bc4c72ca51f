#pragma once
// Composition of the calendar picture. Two layers on the drawing surface: the background
// (the wallpaper under the window and the theme's decoration pictures), kept as the surface's
// persistent picture, and the day layer (titles, day rows, entries, month labels) redrawn
// from a clean copy of the background on every scroll step and after every edit. The view
// surface receives a copy of the finished picture.
#include <optional>

#include "calendar/calendar_layout.hpp"
#include "core/app_state.hpp"
#include "desktop/desktop_facts.hpp"
#include "desktop/wallpaper.hpp"
#include "platform/canvas.hpp"

namespace orv {

struct CalendarSurfaces {
  Canvas& draw;           // picDraw: all drawing goes here
  Canvas& view;           // picView: what the window shows
  WallpaperCopy& desktop;  // the wallpaper copy, read in screen coordinates
};

// Paints a theme picture slot at (x, y), at its natural size unless a width or height is
// given. With a mask: the mask erases, then the picture is XORed in, so white areas of both
// leave the background. Without: a plain copy.
void DrawThemePicture(Canvas& canvas, const ThemePicture& slot, int x, int y,
                      std::optional<int> width = std::nullopt,
                      std::optional<int> height = std::nullopt);

// A theme picture slot at (x, y) at its size at the calendar's scale (`size`, from the
// theme's geometry), smoothed when that differs from its natural size; `height` stretches
// it to another height.
void DrawScaledPicture(Canvas& canvas, const ThemePicture& slot, PixelSize size, int x, int y,
                       std::optional<int> height = std::nullopt);

// The full redraw: reads the work area, lays the window out, composes the background layer and
// draws the days. Fills the theme's derived DayArea fields. Returns the layout for the window.
CalendarLayout dsDrawCalendar(AppState& state, DesktopFacts& facts, CalendarSurfaces& surfaces);

// The day layer alone, over the kept background.
void dsDrawCalendarDays(AppState& state, DesktopFacts& facts, const CalendarLayout& layout,
                        CalendarSurfaces& surfaces);

// The calendar window's picture: the composition above on the window's surfaces, keeping the
// layout of the last full redraw for the day passes and the hit tests.
class ComposedCalendarRenderer : public CalendarRenderer {
public:
  ComposedCalendarRenderer(Canvas& draw, Canvas& view, WallpaperCopy& desktop, DesktopFacts& facts)
      : surfaces_{draw, view, desktop}, facts_(facts) {}

  const Canvas& DrawCalendar(AppState& state) override {
    layout_ = dsDrawCalendar(state, facts_, surfaces_);
    return surfaces_.view;
  }
  const Canvas& DrawCalendarDays(AppState& state) override {
    dsDrawCalendarDays(state, facts_, layout_, surfaces_);
    return surfaces_.view;
  }
  CalendarMetrics Metrics() const override { return layout_.Metrics(); }

private:
  CalendarSurfaces surfaces_;
  DesktopFacts& facts_;
  CalendarLayout layout_;
};

}  // namespace orv
