#include "listcontrol/pickvane_model.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

ControlLayout LayoutControl(int width, int height) {
  return {{0, 0, width - 1, height - 1}, {1, 1, 1 + (width - 3), 1 + (height - 3)}};
}

std::int64_t RoundHalfEven(double value) {
  const double down = std::floor(value);
  const double diff = value - down;
  double result = down;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(down, 2.0) != 0.0)) result = down + 1;
  return static_cast<std::int64_t>(result);
}

PickvaneModel::PickvaneModel(Canvas& canvas, int band_limit) : canvas_(canvas), band_limit_(band_limit) {
  canvas_.SetBackColor(colors_.back);
}

void PickvaneModel::SetHighContrast(bool on) {
  if (on == high_contrast_) return;
  high_contrast_ = on;
  colors_ = ListColorsFor(canvas_, on);
  Redraw();
}

SelectItems& PickvaneModel::Items() { return *ItemsShared(); }

const std::shared_ptr<SelectItems>& PickvaneModel::ItemsShared() {
  if (!items_) items_ = std::make_shared<SelectItems>();
  return items_;
}

void PickvaneModel::SetItems(std::shared_ptr<SelectItems> items) { items_ = std::move(items); }

void PickvaneModel::Resize(int width, int height, int scroll_bar_width) {
  layout_ = LayoutControl(width, height);
  scroll_bar_width_ = scroll_bar_width;
  LayoutViewport();
}

// Each step stands alone: a figure that cannot be set keeps its old value and the next step
// still runs.
void PickvaneModel::LayoutViewport() {
  const int cw = layout_.container.Width();
  const int ch = layout_.container.Height();
  const int vw = scroll_bar_width_;
  if (ch - 2 >= 0 && vw >= 0) scroll_.bar = {cw - vw - 1, 1, cw - 1, ch - 1};
  if (cw - vw - 3 >= 0) canvas_.Resize(cw - vw - 3, canvas_.Height());

  const std::int64_t h = list_height_;
  scroll_.enabled = h > ch;
  // A list shorter than the viewport has nothing to scroll; a negative maximum would let
  // End push the canvas down.
  scroll_.max = std::max<std::int64_t>(0, (h - ch) * 10);
  if (ch > 0) {
    const std::int64_t large = RoundHalfEven(static_cast<double>(scroll_.max) /
                                             (static_cast<double>(h) / static_cast<double>(ch)));
    if (large >= 1) scroll_.large_change = large;
  }
  const std::int64_t small = RoundHalfEven(static_cast<double>(scroll_.large_change) / 10.0);
  if (small >= 1) scroll_.small_change = small;

  const std::int64_t rows = (ch >= 0 ? ch / kRowPitch : -((-ch + kRowPitch - 1) / kRowPitch)) - 1;
  page_rows_ = static_cast<std::int16_t>(std::clamp<std::int64_t>(rows, 1, std::numeric_limits<std::int16_t>::max()));

  SetScrollValue(value_);
}

void PickvaneModel::SetScrollValue(std::int64_t value) {
  value_ = std::clamp<std::int64_t>(value, 0, scroll_.max);
  EnsureBandHoldsViewport();
}

void PickvaneModel::EnsureBandHoldsViewport() {
  if (canvas_.Height() >= list_height_) return;  // the band is the whole list
  const std::int64_t view_top = -CanvasTop();
  const std::int64_t view_bottom = view_top + std::max<std::int64_t>(0, ViewportHeight());
  if (view_top < band_top_ || view_bottom > band_top_ + canvas_.Height()) DrawBand();
}

void PickvaneModel::DrawBand() {
  const SelectItems& items = Items();
  list_height_ = ListHeight(items.Count());
  const std::int64_t ch = std::max<std::int64_t>(0, ViewportHeight());
  const std::int64_t band = std::min(list_height_, std::max<std::int64_t>(band_limit_, ch));
  const std::int64_t view_top = -CanvasTop();
  band_top_ = std::clamp<std::int64_t>(view_top - (band - ch) / 2, 0, list_height_ - band);
  if (canvas_.Height() != band) canvas_.Resize(canvas_.Width(), static_cast<int>(band));
  DrawRows(canvas_, items, selected_, band_top_, colors_);
  ++draw_count_;
}

void PickvaneModel::Redraw() {
  DrawBand();
  LayoutViewport();
}

void PickvaneModel::Refresh() {
  if (selected_ < 1) selected_ = 1;
  Redraw();
}

void PickvaneModel::SetSelected(std::int64_t value) {
  selected_ = value;
  Redraw();

  // Scroll into view one row step at a time, as a user pressing the arrow would, and stop as
  // soon as the row is inside.
  const std::int64_t ch = ViewportHeight();
  const std::int64_t top = layout_.container.top;
  const std::int64_t count = Count();
  std::int64_t v = value_;
  auto canvas_top = [&] { return -(v / 10); };
  if (canvas_top() + selected_ * kRowPitch > ch) {
    for (std::int64_t k = 0; k < count && v < scroll_.max; ++k) {
      v = v + 360 > scroll_.max ? scroll_.max : v + 360;
      if (canvas_top() + selected_ * kRowPitch <= ch) break;
    }
  } else if (canvas_top() + (selected_ - 1) * kRowPitch < top) {
    for (std::int64_t k = 0; k < count && v > 0; ++k) {
      v = v - 360 < 0 ? 0 : v - 360;
      if (canvas_top() + (selected_ - 1) * kRowPitch >= top) break;
    }
  }
  if (v != value_) SetScrollValue(v);
}

void PickvaneModel::MouseDown(std::int64_t list_y) {
  const std::int64_t count = Count();
  std::int64_t row = RowAt(list_y);
  if (row <= 0) {
    row = 1;
  } else if (row > count) {
    row = count;
  }
  selected_ = row;
  Redraw();
}

std::string PickvaneModel::TooltipAt(std::int64_t list_y) {
  const auto& item = Items().At(RowAt(list_y));
  return item ? item->Caption : std::string();
}

void PickvaneModel::KeyDown(int key) {
  const std::int64_t old = selected_;
  switch (key) {
    case kKeyUp: --selected_; break;
    case kKeyDown: ++selected_; break;
    case kKeyPageUp: selected_ -= page_rows_; break;
    case kKeyPageDown: selected_ += page_rows_; break;
    case kKeyHome:
      selected_ = 1;
      value_ = 0;
      break;
    case kKeyEnd:
      selected_ = Count();
      value_ = scroll_.max;
      break;
    default: break;
  }
  if (selected_ < 1) {
    selected_ = 1;
  } else if (selected_ > Count()) {
    selected_ = Count();
  }
  const std::int64_t d = selected_ - old;
  Redraw();

  // One step of 360 tenths scrolls exactly one row; the list scrolls as many rows as the
  // selection moved, once the selection has left the viewport.
  const std::int64_t canvas_top = CanvasTop();
  if (canvas_top + selected_ * kRowPitch > ViewportHeight()) {
    if (d > 0) SetScrollValue(std::min(value_ + 360 * d, scroll_.max));
  } else if (canvas_top + (selected_ - 1) * kRowPitch < layout_.container.top) {
    if (d < 0) SetScrollValue(std::max<std::int64_t>(value_ + 360 * d, 0));
  }
}

}  // namespace orv
