// Smoothing a wallpaper copy: the band behind the calendar (240 columns at the right edge of
// the screen) of pictures laid out in the Fill style, shrunk and enlarged. The band is what a
// start-up and every wallpaper change compute.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/smooth_scale.hpp"

namespace {

void SmoothBand(benchmark::State& state) {
  const int source_width = static_cast<int>(state.range(0)), source_height = static_cast<int>(state.range(1));
  const int screen_width = static_cast<int>(state.range(2)), screen_height = static_cast<int>(state.range(3));
  const orv::PixelRect part{screen_width - 240, 0, screen_width, screen_height};
  const orv::PixelRect need = orv::SourceNeeded(source_width, source_height, screen_width, screen_height, part);
  std::vector<std::uint32_t> source(static_cast<std::size_t>(need.Width()) * need.Height());
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
  std::uint64_t sum = 0;
  for (auto _ : state) {
    orv::ScaleSmoothlyRows(source, need, source_width, source_height, screen_width, screen_height, part,
                           [&](int, std::span<const std::uint32_t> row) { sum += row[0]; });
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * part.Width() * part.Height());
}
// A 4K photo on a 1920 x 1080 screen; a 1920 x 1080 picture on 2560 x 1440 and 3840 x 2160
// screens; the same size (a plain copy through the same code).
BENCHMARK(SmoothBand)
    ->Args({3840, 2160, 1920, 1080})
    ->Args({1920, 1080, 2560, 1440})
    ->Args({1920, 1080, 3840, 2160})
    ->Args({1920, 1080, 1920, 1080})
    ->Unit(benchmark::kMillisecond);

}  // namespace
