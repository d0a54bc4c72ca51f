#include "core/app_state.hpp"

namespace orv {

void UpdateToday(AppState& state) {
  state.Today = state.clock();
  state.TodayParts = SplitDate(state.Today);
}

void SetStartDate(AppState& state, Date date) {
  state.StartDate = date;
  state.StartDateParts = SplitDate(date);
}

Date StartDateForToday(const AppState& state) {
  switch (state.TodayStart) {
    case 0: return state.Today;
    case 1: return state.Today - std::chrono::days{1};
    default: return state.Today - std::chrono::days{7};
  }
}

void ScheduleEdited(const AppState& state) {
  if (state.guard) state.guard->Edited();
}

void CycleCalendarMode(AppState& state) {
  if (state.CalendarMode == kShowNothing) return;
  state.CalendarMode = state.CalendarMode + 1 > 2 ? 1 : state.CalendarMode + 1;
}

}  // namespace orv
