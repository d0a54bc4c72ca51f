// Full redraw of the list control's rows on the recording canvas (fixed text metrics), with
// captions and comments long enough to need shortening, next to a loop that draws the same
// rows without shortening, and next to shortening one character at a time.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "listcontrol/list_drawing.hpp"
#include "platform/recording_canvas.hpp"

namespace orv {
namespace {

constexpr int kCanvasWidth = 277;  // a typical control: text limit 235 pixels

std::unique_ptr<SelectItems> LongItems(int count) {
  auto items = std::make_unique<SelectItems>();
  auto icon = std::make_shared<SyntheticPicture>(32, 32, "icon");
  for (int i = 1; i <= count; ++i) {
    items->Add(std::to_string(i), "Automatic transfer to the electricity company, contract " + std::to_string(i) +
                                       ", billed every second month with a long reference text",
               i % 2 ? "Comment line that is also far too wide for the row and gets cut" : "", icon);
  }
  return items;
}

RecordingCanvas CanvasFor(int count) {
  RecordingCanvas canvas(kCanvasWidth, static_cast<int>(ListHeight(count)), 7, 16);
  canvas.calls.reserve(static_cast<std::size_t>(count) * 6);
  return canvas;
}

void BM_FullRedraw(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  auto items = LongItems(count);
  RecordingCanvas canvas = CanvasFor(count);
  for (auto _ : state) {
    canvas.calls.clear();
    DrawRows(canvas, *items, 2, 0);
    benchmark::DoNotOptimize(canvas.calls.data());
  }
  state.counters["measures/row"] =
      static_cast<double>(canvas.measure_count) / static_cast<double>(state.iterations()) / count;
}
BENCHMARK(BM_FullRedraw)->Arg(30)->Arg(900)->Arg(5000)->Unit(benchmark::kMicrosecond);

// The same draw calls with the texts as they are: the floor the shortening adds to.
void BM_ReferenceWithoutShortening(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  auto items = LongItems(count);
  RecordingCanvas canvas = CanvasFor(count);
  for (auto _ : state) {
    canvas.calls.clear();
    canvas.Clear();
    for (int i = 1; i <= count; ++i) {
      const SelectItem& item = *items->At(i);
      const int t = static_cast<int>(RowTop(i));
      if (i == 2) canvas.FillRect({3, t - 1, 37, t + 33}, 0);
      canvas.DrawPicture(*item.IconPicture, {4, t, 36, t + 32}, RasterOp::Copy);
      const TextSize size = canvas.MeasureText(item.Caption);
      if (item.Comment.empty()) {
        canvas.PrintText(kTextLeft, t + 18 - size.height / 2, item.Caption);
      } else {
        canvas.MeasureText(item.Comment);
        canvas.PrintText(kTextLeft, t + 4, item.Caption);
        canvas.PrintText(kTextLeft, t + 18, item.Comment);
      }
    }
    benchmark::DoNotOptimize(canvas.calls.data());
  }
}
BENCHMARK(BM_ReferenceWithoutShortening)->Arg(30)->Arg(900)->Arg(5000)->Unit(benchmark::kMicrosecond);

// Shortening by removing one character per measurement, for comparison.
std::string FitOneAtATime(Canvas& canvas, std::string text, int limit) {
  if (canvas.MeasureText(text).width <= limit) return text;
  do {
    text.pop_back();
  } while (!text.empty() && canvas.MeasureText(text + "...").width >= limit);
  return text + "...";
}

void BM_FitText(benchmark::State& state) {
  RecordingCanvas canvas(kCanvasWidth, 100, 7, 16);
  const std::string text(static_cast<std::size_t>(state.range(0)), 'x');
  for (auto _ : state) benchmark::DoNotOptimize(FitText(canvas, text, kCanvasWidth - kTextMargin));
}
BENCHMARK(BM_FitText)->Arg(100)->Arg(1000)->Arg(10000);

void BM_FitOneCharacterAtATime(benchmark::State& state) {
  RecordingCanvas canvas(kCanvasWidth, 100, 7, 16);
  const std::string text(static_cast<std::size_t>(state.range(0)), 'x');
  for (auto _ : state) benchmark::DoNotOptimize(FitOneAtATime(canvas, text, kCanvasWidth - kTextMargin));
}
BENCHMARK(BM_FitOneCharacterAtATime)->Arg(100)->Arg(1000)->Arg(10000);

}  // namespace
}  // namespace orv
