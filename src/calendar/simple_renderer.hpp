#pragma once
// A plain calendar picture: the wallpaper behind the window, a strip top and bottom and one
// row per day with its date and weekday (and the day's payment total or special title in the
// entry modes). It follows the theme's geometry but none of its pictures; the full theme
// composition replaces it.
#include "calendar/calendar_interaction.hpp"
#include "desktop/desktop_facts.hpp"

namespace orv {

class SimpleCalendarRenderer : public CalendarRenderer {
public:
  // `draw` receives the picture; `desktop` is the screen-sized wallpaper copy.
  SimpleCalendarRenderer(Canvas& draw, const Canvas& desktop, DesktopFacts& facts)
      : draw_(draw), desktop_(desktop), facts_(facts) {}

  const Canvas& DrawCalendar(AppState& state) override;
  const Canvas& DrawCalendarDays(AppState& state) override;
  CalendarMetrics Metrics() const override { return metrics_; }

private:
  CalendarMetrics metrics_;
  Canvas& draw_;
  const Canvas& desktop_;
  DesktopFacts& facts_;
  int left_ = 0;  // screen x of the picture
};

}  // namespace orv
