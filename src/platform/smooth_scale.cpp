#include "platform/smooth_scale.hpp"

#include <algorithm>
#include <cmath>

namespace orv {

std::vector<std::vector<ScaleTap>> AxisTaps(int source_size, int dest_size, int from, int to) {
  std::vector<std::vector<ScaleTap>> taps;
  if (source_size <= 0 || dest_size <= 0 || to <= from) return taps;
  taps.reserve(static_cast<std::size_t>(to - from));
  const double ratio = static_cast<double>(source_size) / dest_size;
  for (int i = from; i < to; ++i) {
    std::vector<ScaleTap> pixel;
    if (dest_size == source_size) {
      pixel.push_back({std::clamp(i, 0, source_size - 1), 1.0});
    } else if (dest_size < source_size) {
      // Destination pixel i covers source [i * s / d, (i + 1) * s / d). In units of 1/d of a
      // source pixel the ends are whole numbers, so the coverage is exact.
      const std::int64_t begin = std::int64_t{i} * source_size, end = begin + source_size;
      for (std::int64_t j = begin / dest_size; j * dest_size < end && j < source_size; ++j) {
        const std::int64_t overlap = std::min(end, (j + 1) * dest_size) - std::max(begin, j * dest_size);
        if (overlap > 0) pixel.push_back({static_cast<int>(j), static_cast<double>(overlap) / source_size});
      }
    } else {
      const double centre = std::clamp((i + 0.5) * ratio - 0.5, 0.0, source_size - 1.0);
      const int left = static_cast<int>(std::floor(centre));
      const double right_share = centre - left;
      pixel.push_back({left, 1.0 - right_share});
      if (right_share > 0) pixel.push_back({std::min(left + 1, source_size - 1), right_share});
    }
    taps.push_back(std::move(pixel));
  }
  return taps;
}

namespace {

// The source indexes the taps reach, as [first, last + 1).
std::pair<int, int> Reach(const std::vector<std::vector<ScaleTap>>& taps) {
  int first = 0, last = -1;
  bool any = false;
  for (const auto& pixel : taps)
    for (const ScaleTap& tap : pixel) {
      first = any ? std::min(first, tap.source) : tap.source;
      last = any ? std::max(last, tap.source) : tap.source;
      any = true;
    }
  return {first, last + 1};
}

}  // namespace

PixelRect SourceNeeded(int source_width, int source_height, int dest_width, int dest_height,
                       const PixelRect& part) {
  if (part.Width() <= 0 || part.Height() <= 0) return {};
  const auto [left, right] = Reach(AxisTaps(source_width, dest_width, part.left, part.right));
  const auto [top, bottom] = Reach(AxisTaps(source_height, dest_height, part.top, part.bottom));
  return {left, top, right, bottom};
}

namespace {

// The taps of one axis laid out flat for the inner loops: destination pixel i blends entries
// [first[i], first[i + 1]). Taps outside [lowest, end) are left out (what was not given counts
// as black); sources are counted from `lowest`.
struct FlatTaps {
  std::vector<int> first;
  std::vector<int> source;
  std::vector<float> weight;
};

FlatTaps Flatten(const std::vector<std::vector<ScaleTap>>& taps, int lowest, int end) {
  FlatTaps flat;
  flat.first.reserve(taps.size() + 1);
  for (const auto& pixel : taps) {
    flat.first.push_back(static_cast<int>(flat.source.size()));
    for (const ScaleTap& tap : pixel) {
      if (tap.source < lowest || tap.source >= end) continue;
      flat.source.push_back(tap.source - lowest);
      flat.weight.push_back(static_cast<float>(tap.weight));
    }
  }
  flat.first.push_back(static_cast<int>(flat.source.size()));
  return flat;
}

std::uint32_t Channel(float value, int shift) {
  return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f) << shift;
}

}  // namespace

void ScaleSmoothlyRows(std::span<const std::uint32_t> source, const PixelRect& have, int source_width,
                       int source_height, int dest_width, int dest_height, const PixelRect& part,
                       const std::function<void(int, std::span<const std::uint32_t>)>& row) {
  const int width = std::max(part.Width(), 0), height = std::max(part.Height(), 0);
  if (width == 0 || height == 0 || source_height <= 0 || dest_height <= 0) return;
  const FlatTaps columns = Flatten(AxisTaps(source_width, dest_width, part.left, part.right), have.left, have.right);
  const FlatTaps rows = Flatten(AxisTaps(source_height, dest_height, part.top, part.bottom), 0, source_height);

  // One source row scaled to the part's columns, three channels a pixel.
  auto scale_across = [&](int y, float* out) {
    if (y < have.top || y >= have.bottom) {  // not given: black
      std::fill(out, out + static_cast<std::size_t>(width) * 3, 0.0f);
      return;
    }
    const std::uint32_t* line = source.data() + static_cast<std::size_t>(y - have.top) * have.Width();
    for (int x = 0; x < width; ++x) {
      float c0 = 0, c1 = 0, c2 = 0;
      for (int k = columns.first[static_cast<std::size_t>(x)]; k < columns.first[static_cast<std::size_t>(x) + 1]; ++k) {
        const std::uint32_t pixel = line[columns.source[static_cast<std::size_t>(k)]];
        const float weight = columns.weight[static_cast<std::size_t>(k)];
        c0 += weight * static_cast<float>(pixel & 0xFF);
        c1 += weight * static_cast<float>((pixel >> 8) & 0xFF);
        c2 += weight * static_cast<float>((pixel >> 16) & 0xFF);
      }
      out[x * 3] = c0;
      out[x * 3 + 1] = c1;
      out[x * 3 + 2] = c2;
    }
  };

  // A destination row blends consecutive source rows, at most this many, and the rows of
  // successive destination rows only move down: a ring of that many rows scaled across
  // serves every destination row, each source row scaled once.
  const int ring_rows = std::max(2, (source_height + dest_height - 1) / dest_height + 1);
  std::vector<float> ring(static_cast<std::size_t>(ring_rows) * width * 3);
  std::vector<int> held(static_cast<std::size_t>(ring_rows), -1);  // the source row in each slot
  std::vector<const float*> blended(static_cast<std::size_t>(ring_rows));
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    const int first = rows.first[static_cast<std::size_t>(y)];
    const int count = rows.first[static_cast<std::size_t>(y) + 1] - first;
    for (int k = 0; k < count; ++k) {
      const int source_row = rows.source[static_cast<std::size_t>(first + k)];
      const auto slot = static_cast<std::size_t>(source_row % ring_rows);
      if (held[slot] != source_row) {
        scale_across(source_row, &ring[slot * width * 3]);
        held[slot] = source_row;
      }
      blended[static_cast<std::size_t>(k)] = &ring[slot * width * 3];
    }
    const float* weights = rows.weight.data() + first;
    for (int x = 0; x < width; ++x) {
      float c0 = 0, c1 = 0, c2 = 0;
      for (int k = 0; k < count; ++k) {
        const float* in = blended[static_cast<std::size_t>(k)] + x * 3;
        c0 += weights[k] * in[0];
        c1 += weights[k] * in[1];
        c2 += weights[k] * in[2];
      }
      out[static_cast<std::size_t>(x)] = Channel(c0, 0) | Channel(c1, 8) | Channel(c2, 16);
    }
    row(y, out);
  }
}

std::vector<std::uint32_t> ScaleSmoothly(std::span<const std::uint32_t> source, const PixelRect& have,
                                         int source_width, int source_height, int dest_width,
                                         int dest_height, const PixelRect& part) {
  const auto width = static_cast<std::size_t>(std::max(part.Width(), 0));
  std::vector<std::uint32_t> result(width * static_cast<std::size_t>(std::max(part.Height(), 0)), 0);
  ScaleSmoothlyRows(source, have, source_width, source_height, dest_width, dest_height, part,
                    [&](int y, std::span<const std::uint32_t> pixels) {
                      std::copy(pixels.begin(), pixels.end(), result.begin() + static_cast<std::ptrdiff_t>(y * width));
                    });
  return result;
}

}  // namespace orv
