// Drawing the entry-kind icons: the first dialog that shows icons pays for one set.
#include <benchmark/benchmark.h>

#include "desktop/entry_icons.hpp"

namespace {

void BM_DrawIconSet(benchmark::State& state) {
  const int pixels = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int kind = 0; kind < orv::kEntryKindCount; ++kind) benchmark::DoNotOptimize(orv::DrawEntryIcon(kind, pixels));
  }
  state.SetLabel("four icons");
}
BENCHMARK(BM_DrawIconSet)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace
