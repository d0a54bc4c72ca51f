#pragma once
// Series without an end (and long ones) are written ahead only up to a horizon from today, so
// they are carried forward: at start, once the schedule is loaded and whatever earlier
// sessions left has been restored, and again whenever the date changes while the program runs.
#include "core/app_state.hpp"

namespace orv {

// Writes the series' occurrences up to the horizon from state.Today. When that changed the
// schedule or the book, the guard hears of it (journalled, saved with the next save like any
// edit) and the result is true: the caller redraws.
bool KeepSeriesAhead(AppState& state);

}  // namespace orv
