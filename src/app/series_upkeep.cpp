#include "app/series_upkeep.hpp"

#include "series/series.hpp"

namespace orv {

bool KeepSeriesAhead(AppState& state) {
  if (state.Series.series.empty() || !ExtendSeries(state.Years, state.Series, state.Today)) return false;
  ScheduleEdited(state);
  return true;
}

}  // namespace orv
