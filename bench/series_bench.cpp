// Repeating entries: the all-or-nothing check of a long series, finding the series of every
// entry a month shows (the day list and the strip ask per entry), writing ahead when the date
// changes, and the companion file of a large book both ways.
#include <benchmark/benchmark.h>

#include "series/series.hpp"

namespace {

const orv::Date kToday = orv::MakeDate(2026, 12, 8);

orv::SeriesRule Monthly(int n) {
  orv::SeriesRule rule;
  rule.entry = {orv::kAutomaticTransfers, "支払い" + std::to_string(n), 1000 + n, {}};
  rule.start = orv::MakeDate(2020, 1, 1 + n % 28);
  rule.shift = orv::SeriesShift::kNext;
  return rule;
}

// 50 monthly series from 2020, written through the horizon.
struct Book {
  orv::YearDatas years;
  orv::SeriesBook book;
  Book() {
    for (int n = 0; n < 50; ++n) orv::AddSeries(years, book, Monthly(n), kToday);
  }
};

void CheckWeeklySeriesOf1200(benchmark::State& state) {
  orv::YearDatas years;
  orv::SeriesRule rule = Monthly(0);
  rule.unit = orv::SeriesUnit::kWeek;
  rule.start = orv::MakeDate(2005, 1, 3);  // about 1,250 weeks to the horizon: refused at 1,201
  for (auto _ : state) benchmark::DoNotOptimize(orv::CheckNewSeries(years, rule, kToday));
}
BENCHMARK(CheckWeeklySeriesOf1200)->Unit(benchmark::kMicrosecond);

void SeriesOfEveryPaymentOfAMonth(benchmark::State& state) {
  Book b;
  for (auto _ : state) {
    int found = 0;
    for (int day = 1; day <= 31; ++day) {
      const orv::Date date = orv::MakeDate(2027, 1, day);
      if (const orv::DayData* d = orv::FindDay(b.years, orv::SplitDate(date)))
        for (const auto& payment : d->PaymentDatas) found += orv::SeriesOfPayment(b.book, date, payment).has_value();
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(SeriesOfEveryPaymentOfAMonth)->Unit(benchmark::kMicrosecond);

void ExtendAMonthLater(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Book b;
    state.ResumeTiming();
    benchmark::DoNotOptimize(orv::ExtendSeries(b.years, b.book, orv::MakeDate(2027, 1, 8)));
  }
}
BENCHMARK(ExtendAMonthLater)->Unit(benchmark::kMicrosecond);

void WriteAndReadABookOf200(benchmark::State& state) {
  orv::SeriesBook book;
  for (int n = 0; n < 200; ++n) {
    orv::Series s;
    s.id = book.next_id++;
    s.rule = orv::NormalizedRule(Monthly(n));
    for (int k = 0; k < 20; ++k) s.skipped.push_back(orv::MakeDate(2021 + k, 2, 1 + n % 28));
    book.series.push_back(s);
  }
  for (auto _ : state) benchmark::DoNotOptimize(orv::ReadSeriesText(orv::WriteSeriesText(book)));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * orv::WriteSeriesText(book).size()));
}
BENCHMARK(WriteAndReadABookOf200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
