#pragma once
// Smooth scaling of a picture, computed rather than left to the graphics system: shrinking
// averages the source pixels each destination pixel covers (weighted by how much of each it
// covers), enlarging blends the two nearest source pixels on each axis (pixel centres aligned,
// edges held). Every destination pixel depends only on the source, never on which part of the
// destination is asked for, so a band computed alone equals the same band of the whole picture
// scaled - the desktop's copy needs only the columns behind the calendar.
//
// Pixels are 32-bit words of four 8-bit channels; the first three are averaged, the fourth
// comes out 0 (opaque pictures only).
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/canvas.hpp"

namespace orv {

struct ScaleTap {
  int source = 0;     // source pixel index along the axis
  double weight = 0;  // the taps of one destination pixel add up to 1
};

// The taps of destination pixels [from, to) along an axis scaled from `source_size` to
// `dest_size` pixels (both > 0).
std::vector<std::vector<ScaleTap>> AxisTaps(int source_size, int dest_size, int from, int to);

// The part of a source_width × source_height picture the destination rectangle `part` of its
// dest_width × dest_height scaled copy is computed from. Empty for an empty part.
PixelRect SourceNeeded(int source_width, int source_height, int dest_width, int dest_height,
                       const PixelRect& part);

// The rows of `part` of the picture scaled to dest_width × dest_height, handed to `row` top
// row first (its index in the part, then part.Width() pixels). `source` holds the source
// rectangle `have` (rows of have.Width()), which must contain SourceNeeded for the part. Only
// the few source rows one destination row blends are kept scaled across at a time, so a band
// of a monitor-sized picture costs kilobytes, not the band's size again in floats.
void ScaleSmoothlyRows(std::span<const std::uint32_t> source, const PixelRect& have, int source_width,
                       int source_height, int dest_width, int dest_height, const PixelRect& part,
                       const std::function<void(int, std::span<const std::uint32_t>)>& row);

// The same, all rows of `part` in one block (rows of part.Width(), top row first).
std::vector<std::uint32_t> ScaleSmoothly(std::span<const std::uint32_t> source, const PixelRect& have,
                                         int source_width, int source_height, int dest_width,
                                         int dest_height, const PixelRect& part);

}  // namespace orv
