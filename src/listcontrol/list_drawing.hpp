#pragma once
// How the list control paints its rows onto a Canvas: the row geometry, the shortening of
// texts that do not fit, and the drawing of a run of rows.
#include <cstdint>
#include <string>
#include <string_view>

#include "listcontrol/select_items.hpp"
#include "platform/canvas.hpp"

namespace orv {

constexpr int kRowPitch = 36;     // pixels from one row's top to the next
constexpr int kListTop = 4;       // pixels above the first row
constexpr int kTextLeft = 44;     // captions and comments start here
constexpr int kTextMargin = 42;   // a text may be as wide as the canvas minus this

// Top of row `row` (1-based) in list coordinates. Wide integers: no row count overflows.
constexpr std::int64_t RowTop(std::int64_t row) { return (row - 1) * kRowPitch + kListTop; }
// Height of a list of `count` rows.
constexpr std::int64_t ListHeight(std::int64_t count) { return count * kRowPitch + kListTop; }
// The row (1-based) whose band holds list coordinate `y`; 0 or less above the first row.
constexpr std::int64_t RowAt(std::int64_t y) {
  const std::int64_t d = y - kListTop;
  return (d >= 0 ? d / kRowPitch : -((-d + kRowPitch - 1) / kRowPitch)) + 1;
}

struct FittedText {
  std::string text;
  TextSize size;  // measured size of `text` as drawn
};

// `text` as it fits in `limit` pixels with the current font. A text no wider than the limit
// stays whole. A wider one loses characters from its end until what is left followed by
// "..." is strictly narrower than the limit, and gets the "..." appended; when even "..."
// alone is not narrower, the result is "...". The cut point is found by binary search over
// the prefixes (prefix widths only grow), so a long text costs about log2(length)
// measurements, not one per removed character.
FittedText FitText(Canvas& canvas, std::string_view text, int limit);

// The colours of the rows. The usual look is fixed (white, black, grey); under High Contrast
// the system's window colours replace all three, so the list reads like every other list.
struct ListColors {
  Rgb back = MakeRgb(255, 255, 255);
  Rgb text = MakeRgb(0, 0, 0);
  Rgb comment = MakeRgb(128, 128, 128);
};
ListColors ListColorsFor(const Canvas& canvas, bool high_contrast);

// Draws the rows of `items` that meet the canvas, the canvas showing the list from list
// coordinate `origin` downwards: clears it, then paints each row (highlight, icon, caption and
// grey comment). Row `selected` is highlighted; any other value highlights nothing. A canvas
// as tall as the whole list with origin 0 is the full redraw of the list.
void DrawRows(Canvas& canvas, const SelectItems& items, std::int64_t selected, std::int64_t origin,
              const ListColors& colors = {});

}  // namespace orv
