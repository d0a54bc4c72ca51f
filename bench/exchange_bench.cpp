// orvtool export and import on the large benchmark schedule (the 1.65 MB user data file of
// user_data_bench), each the whole command as a user runs it: load the data file, convert,
// write the result atomically (export -o OUT; import replaces the data file). Reported: the
// time per command and the sizes of the files it reads and writes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_schedule.hpp"
#include "platform/file_system.hpp"
#include "schedule/user_data_file.hpp"
#include "tools/orvtool/exchange_command.hpp"

namespace {

namespace fs = std::filesystem;

struct Fixture {
  fs::path dir;
  std::string data, csv;
  double data_mb = 0;

  Fixture() {
    dir = fs::temp_directory_path() / ("orvanta-exchange-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    data = (dir / "bench.ORV").string();
    csv = (dir / "bench.csv").string();
    orv::YearDatas years;
    orv::DefaultUserListArray lists;
    orv::bench::BuildLargeSchedule(years, lists);
    if (!orv::sfSaveUserData(data, years, lists).empty()) std::abort();
    data_mb = static_cast<double>(fs::file_size(data)) / 1e6;
    std::string out, err;
    if (orv::tool::RunExportCommand({"--format", "csv", data, "-o", csv}, out, err) != 0)
      std::abort();
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

void Export(benchmark::State& state, const char* format) {
  Fixture& f = Data();
  const std::string out_path = (f.dir / (std::string("out.") + format)).string();
  for (auto _ : state) {
    std::string out, err;
    if (orv::tool::RunExportCommand({"--format", format, f.data, "-o", out_path}, out, err) != 0)
      state.SkipWithError(err.c_str());
  }
  state.counters["data_MB"] = f.data_mb;
  state.counters["written_MB"] = static_cast<double>(fs::file_size(out_path)) / 1e6;
}

void BM_ExportICalendar(benchmark::State& state) {
  Export(state, "ics");
}
BENCHMARK(BM_ExportICalendar)->Unit(benchmark::kMillisecond);

void BM_ExportCsv(benchmark::State& state) {
  Export(state, "csv");
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

// The whole schedule (36,525 rows) into a new data file: the restore of an export.
void BM_ImportCsvIntoNewFile(benchmark::State& state) {
  Fixture& f = Data();
  const std::string target = (f.dir / "imported.ORV").string();
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(target);
    state.ResumeTiming();
    std::string out, err;
    if (orv::tool::RunImportCommand({"--format", "csv", target, f.csv}, out, err) != 0)
      state.SkipWithError(err.c_str());
  }
  state.counters["csv_MB"] = static_cast<double>(fs::file_size(f.csv)) / 1e6;
  state.counters["written_MB"] = static_cast<double>(fs::file_size(target)) / 1e6;
}
BENCHMARK(BM_ImportCsvIntoNewFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
