#include "listcontrol/list_drawing.hpp"

#include <algorithm>
#include <vector>

namespace orv {
namespace {

constexpr std::string_view kEllipsis = "...";

// Byte offsets of the code point boundaries of `text`: 0, ..., text.size().
std::vector<std::size_t> CharBoundaries(std::string_view text) {
  std::vector<std::size_t> bounds;
  bounds.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) bounds.push_back(i);
  }
  bounds.push_back(text.size());
  if (bounds.front() != 0) bounds.insert(bounds.begin(), 0);  // stray continuation bytes
  return bounds;
}

// A filled box given by its corner pixels, both included.
PixelRect Box(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right) + 1,
          static_cast<int>(bottom) + 1};
}

}  // namespace

FittedText FitText(Canvas& canvas, std::string_view text, int limit) {
  const TextSize whole = canvas.MeasureText(text);
  if (whole.width <= limit) return {std::string(text), whole};

  const std::vector<std::size_t> bounds = CharBoundaries(text);
  const std::size_t chars = bounds.size() - 1;
  auto with_ellipsis = [&](std::size_t keep) {
    std::string s(text.substr(0, bounds[keep]));
    s += kEllipsis;
    return s;
  };
  // Largest `keep` in [0, chars - 1] whose prefix plus "..." is narrower than the limit;
  // 0 when none is.
  std::size_t lo = 0, hi = chars == 0 ? 0 : chars - 1;
  FittedText best{with_ellipsis(0), {}};
  bool best_measured = false;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo + 1) / 2;
    std::string candidate = with_ellipsis(mid);
    const TextSize size = canvas.MeasureText(candidate);
    if (size.width < limit) {
      lo = mid;
      best = {std::move(candidate), size};
      best_measured = true;
    } else {
      hi = mid - 1;
    }
  }
  if (lo == 0 || !best_measured) {
    best.text = with_ellipsis(lo);
    best.size = canvas.MeasureText(best.text);
  }
  return best;
}

ListColors ListColorsFor(const Canvas& canvas, bool high_contrast) {
  if (!high_contrast) return {};
  const Rgb text = canvas.SystemColorOf(SystemColor::WindowText);
  // The grey of the comment line has no contrast promise: it takes the text colour as well.
  return ListColors{canvas.SystemColorOf(SystemColor::Window), text, text};
}

void DrawRows(Canvas& canvas, const SelectItems& items, std::int64_t selected, std::int64_t origin,
              const ListColors& colors) {
  canvas.SetBackColor(colors.back);
  canvas.Clear();
  const int limit = canvas.Width() - kTextMargin;
  const Rgb highlight = canvas.SystemColorOf(SystemColor::Highlight);
  const Rgb highlight_text = canvas.SystemColorOf(SystemColor::HighlightText);

  const std::int64_t first = std::max<std::int64_t>(1, RowAt(origin));
  const std::int64_t last = std::min(items.Count(), RowAt(origin + canvas.Height()));
  for (std::int64_t i = first; i <= last; ++i) {
    const SelectItem& item = *items.At(i);
    const std::int64_t t = RowTop(i) - origin;  // row top on this canvas
    const bool is_selected = i == selected;

    if (is_selected) canvas.FillRect(Box(3, t - 1, 36, t + 32), highlight);
    if (item.IconPicture) {
      const Picture& icon = *item.IconPicture;
      canvas.DrawPicture(icon, Box(4, t, 3 + icon.Width(), t + icon.Height() - 1), RasterOp::Copy);
    }

    const FittedText caption = FitText(canvas, item.Caption, limit);
    if (item.Comment.empty()) {
      const int half = caption.size.height / 2;
      canvas.SetTextColor(colors.text);
      if (is_selected) {
        canvas.FillRect(Box(kTextLeft, t + 18 - half, kTextLeft + caption.size.width, t + 18 + half),
                        highlight);
        canvas.SetTextColor(highlight_text);
      }
      canvas.PrintText(kTextLeft, static_cast<int>(t + 18 - half), caption.text);
    } else {
      const FittedText comment = FitText(canvas, item.Comment, limit);
      canvas.SetTextColor(colors.text);
      if (is_selected) {
        const int w = std::max(caption.size.width, comment.size.width);
        canvas.FillRect(Box(kTextLeft, t + 4, kTextLeft + w, t + 18 + comment.size.height), highlight);
        canvas.SetTextColor(highlight_text);
      }
      canvas.PrintText(kTextLeft, static_cast<int>(t + 4), caption.text);
      canvas.SetTextColor(is_selected ? highlight_text : colors.comment);
      canvas.PrintText(kTextLeft, static_cast<int>(t + 18), comment.text);
    }
  }
}

}  // namespace orv
