#include "calendar/calendar_interaction.hpp"

#include <algorithm>
#include <cstdlib>

namespace orv {

PixelRect PlaceCalendar(const Rect32& work_area, int calendar_width) {
  return {work_area.Right - calendar_width, work_area.Top, work_area.Right, work_area.Bottom};
}

int ModeChangeHotspotWidth(TwipsScale twips_per_pixel_x) { return TwipsToPixels(255, twips_per_pixel_x); }

HotspotRects LayoutHotspots(const CalendarMetrics& m, int picture_width, int picture_height,
                            int mode_change_width) {
  HotspotRects r;
  r.WeekBack = {0, 0, m.MiniWidth, m.LastweekHeight};
  r.WeekForward = {0, picture_height - m.NextweekHeight, picture_width, picture_height};
  r.ExtraMode = {m.MiniWidth, 0, m.FullWidth, m.LastweekHeight};
  r.ModeChange = {picture_width - mode_change_width, 0, picture_width, picture_height};
  return r;
}

namespace {
bool Inside(const PixelRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Sets a re-entry flag for one scope and puts back what it was, however the scope is left.
class FlagScope {
public:
  explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = previous_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

private:
  bool& flag_;
  bool previous_;
};
}  // namespace

Hotspot HotspotAt(const HotspotRects& rects, int x, int y) {
  if (Inside(rects.ModeChange, x, y)) return Hotspot::ModeChange;
  if (Inside(rects.ExtraMode, x, y)) return Hotspot::ExtraMode;
  if (Inside(rects.WeekForward, x, y)) return Hotspot::WeekForward;
  if (Inside(rects.WeekBack, x, y)) return Hotspot::WeekBack;
  return Hotspot::None;
}

const char* HotspotTooltip(Hotspot hotspot, std::int32_t calendar_mode) {
  switch (hotspot) {
    case Hotspot::WeekBack: return "前の週へスクロール";
    case Hotspot::WeekForward: return "次の週へスクロール";
    case Hotspot::ExtraMode: return "予定表示の内容を変更";
    case Hotspot::ModeChange: return calendar_mode == kShowNothing ? "予定を表示します" : "予定を隠します";
    case Hotspot::None: break;
  }
  return "";
}

std::optional<int> DayRowAt(const CalendarMetrics& m, int x, int y) {
  if (x <= m.MonthWidth || m.DayHeight <= 0 || y < m.DayAreaTop) return std::nullopt;
  // Rows are whole DayHeight bands from the top of the day area; the rest below is empty.
  const int row = (y - m.DayAreaTop) / m.DayHeight;
  const int rows = (m.DayAreaBottom - m.DayAreaTop) / m.DayHeight;
  if (row >= rows) return std::nullopt;
  return row;
}

DialogPlacement DialogPositionFor(const ScreenFacts& screen, int window_top, int window_width,
                                  int month_width, int y) {
  // A dialog 5145 twips wide ends 10 pixels left of the day column; one 4815 twips high is
  // kept on the screen. Pixel distances are summed first and converted once, so a
  // fractional twips per pixel rounds once.
  DialogPlacement p;
  p.Left = PixelsToTwips(std::int64_t{screen.width} - window_width + month_width - 10, screen.twips_x) - 5145;
  p.Top = PixelsToTwips(std::int64_t{y} + window_top, screen.twips_y);
  const std::int32_t lowest = PixelsToTwips(screen.height, screen.twips_y) - 4815;
  if (p.Top > lowest) p.Top = lowest;
  return p;
}

KeyAction ActionForKey(CalendarKey key, KeyModifiers mods) {
  const bool ctrl_only = mods.ctrl && !mods.shift && !mods.alt;
  switch (key) {
    case CalendarKey::D: return ctrl_only ? KeyAction::ShowToday : KeyAction::None;
    case CalendarKey::E: return ctrl_only ? KeyAction::ToggleMode : KeyAction::None;
    case CalendarKey::N: return ctrl_only ? KeyAction::CycleMode : KeyAction::None;
    case CalendarKey::Apps: return mods.ctrl ? KeyAction::None : KeyAction::ScrollMenu;
    case CalendarKey::Other: break;
  }
  return KeyAction::None;
}

int ScrollValueFor(ScrollRequest request, int current_value) {
  int v = current_value;
  switch (request) {
    case ScrollRequest::LineUp: v -= 1; break;
    case ScrollRequest::LineDown: v += 1; break;
    case ScrollRequest::PageUp: v -= 7; break;
    case ScrollRequest::PageDown: v += 7; break;
    case ScrollRequest::Top: return kScrollMin;
    case ScrollRequest::Bottom: return kScrollMax;
  }
  return std::clamp(v, kScrollMin, kScrollMax);
}

ScrollPlan PlanScroll(int days, std::int32_t scroll_mode, std::int32_t calendar_mode) {
  if (scroll_mode == 0 || (scroll_mode == 1 && calendar_mode == kShowNothing))
    return {std::abs(days), days >= 0 ? 1 : -1};  // roll visibly, one day per redraw
  return {1, days};
}

std::string DescribeGeometry(const CalendarMetrics& m, const HotspotRects& h) {
  auto rect = [](const PixelRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  };
  auto line = [](const char* name, const std::string& value) { return std::string(name) + "=" + value + "\n"; };
  return line("MiniWidth", std::to_string(m.MiniWidth)) + line("FullWidth", std::to_string(m.FullWidth)) +
         line("MonthWidth", std::to_string(m.MonthWidth)) + line("DayHeight", std::to_string(m.DayHeight)) +
         line("DayAreaTop", std::to_string(m.DayAreaTop)) + line("DayAreaBottom", std::to_string(m.DayAreaBottom)) +
         line("WeekBack", rect(h.WeekBack)) + line("WeekForward", rect(h.WeekForward)) +
         line("ExtraMode", rect(h.ExtraMode)) + line("ModeChange", rect(h.ModeChange));
}

void ToggleCalendarMode(AppState& state) {
  if (state.CalendarMode != kShowNothing) {
    state.CalendarMode = kShowNothing;
    return;
  }
  if (state.LastCalendarMode == 0) state.LastCalendarMode = 1;
  state.CalendarMode = state.LastCalendarMode;
}

void CalendarController::Present(const Canvas& picture, bool full) {
  const CalendarMetrics metrics = renderer_.Metrics();
  hotspots_ = LayoutHotspots(metrics, picture.Width(), picture.Height(), metrics.ModeChangeWidth);
  view_.Present(picture, full);
}

void CalendarController::dsDrawCalendar() { Present(renderer_.DrawCalendar(state_), true); }

void CalendarController::dsDrawCalendarDays() { Present(renderer_.DrawCalendarDays(state_), false); }

void CalendarController::dsCalendarScroll(std::int16_t days) {
  const ScrollPlan plan = PlanScroll(days, state_.ScrollMode, state_.CalendarMode);
  for (int i = 0; i < plan.steps; ++i) {
    SetStartDate(state_, state_.StartDate + std::chrono::days{plan.step});
    dsDrawCalendarDays();
  }
}

void CalendarController::ShowToday() {
  UpdateToday(state_);
  SetStartDate(state_, StartDateForToday(state_));
  dsDrawCalendarDays();
}

void CalendarController::OnScrollValue(int value) {
  if (ScrollBusy) return;  // the change made by the reset below
  const FlagScope busy(ScrollBusy);
  dsCalendarScroll(static_cast<std::int16_t>(value));
  view_.ResetScrollValue();
}

bool CalendarController::OnKey(CalendarKey key, KeyModifiers mods) {
  switch (ActionForKey(key, mods)) {
    case KeyAction::ShowToday: ShowToday(); return true;
    case KeyAction::ToggleMode:
      ToggleCalendarMode(state_);
      dsDrawCalendar();
      return true;
    case KeyAction::CycleMode:
      CycleCalendarMode(state_);
      dsDrawCalendarDays();
      return true;
    case KeyAction::ScrollMenu: OpenScrollMenu(); return true;
    case KeyAction::None: break;
  }
  return false;
}

void CalendarController::OnHotspot(Hotspot hotspot, MouseButton button) {
  switch (hotspot) {
    case Hotspot::WeekBack:
    case Hotspot::WeekForward:
      if (button == MouseButton::Left) dsCalendarScroll(hotspot == Hotspot::WeekBack ? -7 : 7);
      else if (button == MouseButton::Right) OpenScrollMenu();
      break;
    case Hotspot::ModeChange:
      if (button == MouseButton::Left) {
        ToggleCalendarMode(state_);
        dsDrawCalendar();
      } else if (button == MouseButton::Right) {
        OpenExtraMenu();
      }
      break;
    case Hotspot::ExtraMode:
      if (button == MouseButton::Left) {
        CycleCalendarMode(state_);
        dsDrawCalendarDays();
      } else if (button == MouseButton::Right) {
        OpenExtraMenu();
      }
      break;
    case Hotspot::None: break;
  }
}

void CalendarController::OnPictureMouseDown(MouseButton button, int x, int y) {
  if (button == MouseButton::Middle && state_.CenterClick) {
    CycleCalendarMode(state_);
    dsDrawCalendarDays();
    return;
  }
  clicked_valid_ = false;
  const CalendarMetrics metrics = renderer_.Metrics();
  if (auto row = DayRowAt(metrics, x, y)) {
    clicked_date_ = state_.StartDate + std::chrono::days{*row};
    clicked_parts_ = SplitDate(clicked_date_);
    clicked_valid_ = true;
    dialog_ = DialogPositionFor(view_.Screen(), view_.WindowTop(), view_.WindowWidth(),
                                metrics.MonthWidth, y);
  }
  if (clicked_valid_ && button == MouseButton::Right && state_.CalendarMode != kShowNothing)
    ShowDayDialog(&DayDialogs::ShowDayList);
}

void CalendarController::OnPictureDoubleClick() {
  if (!clicked_valid_ || state_.CalendarMode == kShowNothing) return;
  ShowDayDialog(&DayDialogs::ShowAddEntry);
  dsDrawCalendarDays();
}

void CalendarController::ShowDayDialog(void (DayDialogs::*show)(Date, DialogPlacement)) {
  // The tray ignores its clicks while the dialog is up; a dialog that ends early must not
  // leave it deaf for the rest of the run.
  const FlagScope showing(state_.DialogShowing);
  (dialogs_.*show)(clicked_date_, dialog_);
}

void CalendarController::OpenScrollMenu() {
  view_.OpenScrollMenu();
  view_.TakeFocus();
}

void CalendarController::OpenExtraMenu() {
  view_.OpenExtraMenu();
  view_.TakeFocus();
}

}  // namespace orv
