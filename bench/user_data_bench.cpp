// Load and save throughput of the user data file on a large schedule (20 years, every day
// with 3 payments and 2 special entries, 4 x 200 presets), next to the throughput of merely
// reading the same file's bytes into memory. The "vs_read" counter is the ratio to that
// reference: 1.0 would be as fast as reading the bytes, 0.1 ten times slower.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_schedule.hpp"
#include "platform/file_system.hpp"
#include "schedule/user_data_file.hpp"

namespace {

struct Fixture {
  orv::YearDatas years;
  orv::DefaultUserListArray lists;
  std::string path;
  std::size_t bytes = 0;
  double read_seconds = 0;  // reference: one read of the whole file

  Fixture() {
    orv::bench::BuildLargeSchedule(years, lists);
    path = (std::filesystem::temp_directory_path() / "orvanta-bench.ORV").string();
    if (!orv::sfSaveUserData(path, years, lists).empty()) std::abort();
    std::string content;
    const int rounds = 20;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) orv::ReadWholeFile(path, content);
    read_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    bytes = content.size();
  }
  ~Fixture() { std::remove(path.c_str()); }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

// Runs `body` once per iteration and reports MB/s of the file and the ratio to a plain read.
template <class Body>
void Measure(benchmark::State& state, const Fixture& f, Body body) {
  double seconds = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    body();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const double mb = static_cast<double>(f.bytes) / 1e6;
  const double mb_per_s = mb * static_cast<double>(state.iterations()) / seconds;
  const double read_mb_per_s = mb / f.read_seconds;
  state.counters["file_MB"] = mb;
  state.counters["MB_per_s"] = mb_per_s;
  state.counters["read_MB_per_s"] = read_mb_per_s;
  state.counters["ratio_to_read"] = mb_per_s / read_mb_per_s;
}

void BM_ReadBytes(benchmark::State& state) {
  Fixture& f = Data();
  std::string content;
  for (auto _ : state) {
    orv::ReadWholeFile(f.path, content);
    benchmark::DoNotOptimize(content.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}
BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  Fixture& f = Data();
  Measure(state, f, [&] {
    orv::YearDatas years;
    orv::DefaultUserListArray lists;
    if (!orv::sfLoadUserData(f.path, years, lists).empty()) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(years.Count());
  });
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
  Fixture& f = Data();
  Measure(state, f, [&] {
    if (!orv::sfSaveUserData(f.path, f.years, f.lists).empty()) state.SkipWithError("save failed");
  });
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
