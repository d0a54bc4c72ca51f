// Japan's holidays: what a lookup costs once the kept years exist, what working out a stretch of
// years costs (the one-time cost of the kept table is about that of 252 years), and the
// business-day search over the New Year.
#include <benchmark/benchmark.h>

#include "holidays/japanese_holidays.hpp"

namespace {

using std::chrono::days;

// A day pass's worth of questions: 50 days in a row.
void HolidayNamesOfFiftyDays(benchmark::State& state) {
  const orv::Date start = orv::MakeDate(2026, 11, 20);
  benchmark::DoNotOptimize(orv::HolidayName(start));  // the kept table exists from here on
  for (auto _ : state)
    for (int d = 0; d < 50; ++d) benchmark::DoNotOptimize(orv::HolidayName(start + days{d}));
}
BENCHMARK(HolidayNamesOfFiftyDays);

void WorkOutYears(benchmark::State& state) {
  const int years = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(orv::HolidaysOfYears(2300, 2300 + years - 1));
}
BENCHMARK(WorkOutYears)->Arg(1)->Arg(252)->Unit(benchmark::kMicrosecond);

void NextBusinessDayOverTheNewYear(benchmark::State& state) {
  const orv::Date eve = orv::MakeDate(2026, 12, 31);
  for (auto _ : state) benchmark::DoNotOptimize(orv::NextBusinessDay(eve));
}
BENCHMARK(NextBusinessDayOverTheNewYear);

}  // namespace
