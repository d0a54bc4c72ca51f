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

std::uint32_t Channel(double value, int shift) {
  const long rounded = std::lround(std::clamp(value, 0.0, 255.0));
  return static_cast<std::uint32_t>(rounded) << shift;
}

}  // namespace

PixelRect SourceNeeded(int source_width, int source_height, int dest_width, int dest_height,
                       const PixelRect& part) {
  if (part.Width() <= 0 || part.Height() <= 0) return {};
  const auto [left, right] = Reach(AxisTaps(source_width, dest_width, part.left, part.right));
  const auto [top, bottom] = Reach(AxisTaps(source_height, dest_height, part.top, part.bottom));
  return {left, top, right, bottom};
}

void ScaleSmoothlyRows(std::span<const std::uint32_t> source, const PixelRect& have, int source_width,
                       int source_height, int dest_width, int dest_height, const PixelRect& part,
                       const std::function<void(int, std::span<const std::uint32_t>)>& row) {
  const int width = std::max(part.Width(), 0), height = std::max(part.Height(), 0);
  if (width == 0 || height == 0 || source_height <= 0 || dest_height <= 0) return;
  const auto columns = AxisTaps(source_width, dest_width, part.left, part.right);
  auto in_have = [&](int x, int y) {
    return x >= have.left && x < have.right && y >= have.top && y < have.bottom;
  };
  // One source row scaled to the part's columns, three channels a pixel.
  auto scale_across = [&](int y, float* out) {
    for (int x = 0; x < width; ++x) {
      double c0 = 0, c1 = 0, c2 = 0;
      for (const ScaleTap& tap : columns[static_cast<std::size_t>(x)]) {
        if (!in_have(tap.source, y)) continue;  // outside what was given: counts as black
        const std::uint32_t pixel =
            source[static_cast<std::size_t>(y - have.top) * have.Width() + (tap.source - have.left)];
        c0 += tap.weight * (pixel & 0xFF);
        c1 += tap.weight * ((pixel >> 8) & 0xFF);
        c2 += tap.weight * ((pixel >> 16) & 0xFF);
      }
      out[x * 3] = static_cast<float>(c0);
      out[x * 3 + 1] = static_cast<float>(c1);
      out[x * 3 + 2] = static_cast<float>(c2);
    }
  };

  // A destination row blends consecutive source rows, at most this many, and the rows of
  // successive destination rows only move down: a ring of that many rows scaled across
  // serves every destination row, each source row scaled once.
  const int ring_rows = std::max(2, (source_height + dest_height - 1) / dest_height + 1);
  std::vector<float> ring(static_cast<std::size_t>(ring_rows) * width * 3);
  std::vector<int> held(static_cast<std::size_t>(ring_rows), -1);  // the source row in each slot
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    const auto taps = AxisTaps(source_height, dest_height, part.top + y, part.top + y + 1);
    for (const ScaleTap& tap : taps.front()) {
      const auto slot = static_cast<std::size_t>(tap.source % ring_rows);
      if (held[slot] != tap.source) {
        scale_across(tap.source, &ring[slot * width * 3]);
        held[slot] = tap.source;
      }
    }
    for (int x = 0; x < width; ++x) {
      double c0 = 0, c1 = 0, c2 = 0;
      for (const ScaleTap& tap : taps.front()) {
        const float* in = &ring[(static_cast<std::size_t>(tap.source % ring_rows) * width + x) * 3];
        c0 += tap.weight * in[0];
        c1 += tap.weight * in[1];
        c2 += tap.weight * in[2];
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
