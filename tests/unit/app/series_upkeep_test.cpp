#include "app/series_upkeep.hpp"

#include <gtest/gtest.h>

#include "schedule/backups.hpp"
#include "series/series.hpp"

namespace orv {
namespace {

class CountingGuard : public ScheduleGuard {
public:
  int edits = 0;
  void Edited() override { ++edits; }
  std::string Save() override { return {}; }
};

// An open-ended monthly series written through its start only, as after a long pause.
AppState WithSeries(bool any) {
  AppState state;
  state.Today = MakeDate(2026, 12, 8);
  if (!any) return state;
  SeriesRule rule;
  rule.entry = {kCashPayments, "家賃", 50000, {}};
  rule.start = MakeDate(2026, 12, 1);
  rule.unit = SeriesUnit::kMonth;
  AddSeries(state.Years, state.Series, rule, state.Today);
  return state;
}

// At start and when the date moves on, the series are carried to the horizon from the new
// date: the keeper hears of the new entries once; a day that adds nothing tells nothing.
TEST(SeriesUpkeep, TheDateMovingOnWritesOpenSeriesAheadAndTellsTheGuardOnce) {
  struct Case {
    const char* what;
    bool series;
    Date today;
    int added;  // entries
  };
  const Case cases[] = {
      {"no series", false, MakeDate(2027, 3, 8), 0},
      {"the same day", true, MakeDate(2026, 12, 8), 0},
      {"three months on, over New Year", true, MakeDate(2027, 3, 8), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppState state = WithSeries(c.series);
    CountingGuard guard;
    state.guard = &guard;
    const std::int64_t before = CountEntries(state.Years);
    state.Today = c.today;
    EXPECT_EQ(KeepSeriesAhead(state), c.added > 0);
    EXPECT_EQ(guard.edits, c.added > 0 ? 1 : 0);
    EXPECT_EQ(CountEntries(state.Years), before + c.added);
    EXPECT_FALSE(KeepSeriesAhead(state)) << "nothing more the same day";
  }
}

}  // namespace
}  // namespace orv
