// Load and save throughput of the user data file on a large schedule (20 years, every day
// with 3 payments and 2 special entries, 4 x 200 presets), next to the throughput of merely
// reading the same file's bytes into memory and merely writing them (as a save must: a new
// file, flushed, put in the old one's place). "ratio_to_read" is the throughput ratio to the
// read: 1.0 would be as fast as reading the bytes, 0.1 ten times slower. "x_read" and
// "x_write" say how many times a raw read or write the operation takes, by the clock on the
// wall; "cpu_x_read" and "cpu_x_write" the same by the process's processor time (std::clock,
// which on a shared, loaded machine is the steadier of the two). Both references are warm and
// the best of several batches; on a shared machine take the lowest figures of several runs
// (--benchmark_repetitions).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "bench_schedule.hpp"
#include "platform/file_system.hpp"
#include "schedule/schedule_merge.hpp"
#include "schedule/user_data_file.hpp"

namespace {

struct Fixture {
  orv::YearDatas years;
  orv::DefaultUserListArray lists;
  std::string path, copy_path;
  std::size_t bytes = 0;
  // References: one read of the whole file, one write of the same bytes (wall, processor).
  double read_seconds = 0, read_cpu = 0, write_seconds = 0, write_cpu = 0;

  Fixture() {
    orv::bench::BuildLargeSchedule(years, lists);
    path = (std::filesystem::temp_directory_path() / "orvanta-bench.ORV").string();
    copy_path = path + ".copy";
    if (!orv::sfSaveUserData(path, years, lists).empty()) std::abort();
    // The references are taken warm, as the operations are (their iterations reuse the heap
    // the earlier ones gave back): one untimed read and write first, since the first read
    // into a fresh buffer pays for mapping its pages (here ten times the read itself), then
    // the fastest of several batches, so that a moment of a busy machine does not count.
    std::string content;
    orv::ReadWholeFile(path, content);
    orv::ReplaceFileContents(copy_path, content);
    bytes = content.size();
    const int rounds = 20, batches = 5;
    read_seconds = read_cpu = write_seconds = write_cpu = 1e9;
    for (int b = 0; b < batches; ++b) {
      auto start = std::chrono::steady_clock::now();
      std::clock_t cpu_start = std::clock();
      for (int i = 0; i < rounds; ++i) orv::ReadWholeFile(path, content);
      read_seconds = std::min(read_seconds, Since(start) / rounds);
      read_cpu = std::min(read_cpu, CpuSince(cpu_start) / rounds);
      start = std::chrono::steady_clock::now();
      cpu_start = std::clock();
      for (int i = 0; i < rounds; ++i) orv::ReplaceFileContents(copy_path, content);
      write_seconds = std::min(write_seconds, Since(start) / rounds);
      write_cpu = std::min(write_cpu, CpuSince(cpu_start) / rounds);
    }
  }
  static double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  static double CpuSince(std::clock_t start) {
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  }
  ~Fixture() {
    std::remove(path.c_str());
    std::remove(copy_path.c_str());
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

// Runs `body` once per iteration and reports MB/s of the file and the ratio to a plain read.
template <class Body>
void Measure(benchmark::State& state, const Fixture& f, Body body) {
  double seconds = 0, cpu = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    body();
    cpu += static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const double n = static_cast<double>(state.iterations());
  const double mb = static_cast<double>(f.bytes) / 1e6;
  const double mb_per_s = mb * static_cast<double>(state.iterations()) / seconds;
  const double read_mb_per_s = mb / f.read_seconds;
  state.counters["file_MB"] = mb;
  state.counters["MB_per_s"] = mb_per_s;
  state.counters["read_MB_per_s"] = read_mb_per_s;
  state.counters["ratio_to_read"] = mb_per_s / read_mb_per_s;
  state.counters["x_read"] = seconds / n / f.read_seconds;
  state.counters["x_write"] = seconds / n / f.write_seconds;
  state.counters["cpu_x_read"] = cpu / n / f.read_cpu;
  state.counters["cpu_x_write"] = cpu / n / f.write_cpu;
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

// A three-way merge of the large schedule with one entry added in memory and one deleted in
// the file: what a save costs when the file changed on disk meanwhile.
void BM_MergeThreeWays(benchmark::State& state) {
  Fixture& f = Data();
  orv::YearDatas ours, theirs;
  orv::DefaultUserListArray ours_lists, theirs_lists;
  orv::CopySchedule({f.years, f.lists}, ours, ours_lists);
  orv::CopySchedule({f.years, f.lists}, theirs, theirs_lists);
  orv::DayData& added = orv::GetOrCreateDay(ours, orv::SplitDate(orv::MakeDate(2026, 12, 8)));
  added.PaymentDatas.Add(added.PaymentDatas.NextKey())->strTitle = "電気";
  orv::GetOrCreateDay(theirs, orv::SplitDate(orv::MakeDate(2020, 5, 5))).PaymentDatas.RemoveAt(1);
  for (auto _ : state) {
    orv::MergeResult merged = orv::MergeSchedules({f.years, f.lists}, {ours, ours_lists}, {theirs, theirs_lists});
    benchmark::DoNotOptimize(merged.Years.Count());
  }
}
BENCHMARK(BM_MergeThreeWays)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
