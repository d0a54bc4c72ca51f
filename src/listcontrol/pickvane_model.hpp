#pragma once
// The list control's behaviour, free of any window system: selection, keyboard, mouse hit
// test, tooltip text, viewport and scroll figures, and when to redraw.
//
// Picture of the control: an outline, inside it the viewport ("container") with a vertical
// scroll bar at its right, and in the viewport the canvas, a retained picture of the rows
// that slides up and down as the list scrolls; scrolling only moves it. The scroll value is
// kept in tenths of a pixel, as the scroll bar shows it; the canvas top is -value / 10.
//
// The retained canvas does not have to hold the whole list: it holds a band of at most
// `band_limit` pixels (or the viewport's height, if taller) that contains the viewport. While
// the viewport stays inside the band, scrolling only moves the canvas; when it leaves the
// band, the band is drawn again around it. So a list of any length needs a bounded bitmap,
// and every row can be drawn, reached and scrolled into view.
//
// All positions are 64-bit inside. Only `Selected` is 16-bit at the automation interface.
#include <cstdint>
#include <memory>
#include <string>

#include "listcontrol/list_drawing.hpp"
#include "listcontrol/select_items.hpp"
#include "platform/canvas.hpp"

namespace orv {

// Placement of the outline and the viewport inside a control of inner size SW x SH.
struct ControlLayout {
  PixelRect outline;    // 1-pixel frame in the button-shadow colour
  PixelRect container;  // the viewport
};
ControlLayout LayoutControl(int width, int height);

// Rounds to the nearest integer, halves to the even one.
std::int64_t RoundHalfEven(double value);

// The scroll bar as the viewport layout leaves it.
struct ScrollFigures {
  PixelRect bar;                  // in viewport coordinates
  bool enabled = false;
  std::int64_t max = 0;           // tenths of a pixel; the minimum is 0
  std::int64_t large_change = 1;  // page step, tenths
  std::int64_t small_change = 1;  // arrow step, tenths
};

enum Key : int { kKeyPageUp = 33, kKeyPageDown = 34, kKeyEnd = 35, kKeyHome = 36, kKeyUp = 38, kKeyDown = 40 };

class PickvaneModel {
public:
  static constexpr int kDefaultBandLimit = 8192;

  // `canvas` is the retained picture of the rows; it must outlive the model.
  explicit PickvaneModel(Canvas& canvas, int band_limit = kDefaultBandLimit);

  // The item collection, created empty on first use.
  SelectItems& Items();
  const std::shared_ptr<SelectItems>& ItemsShared();
  // Replaces the collection (another control's, for instance); null means a new empty one.
  void SetItems(std::shared_ptr<SelectItems> items);

  std::int64_t Selected() const { return selected_; }
  // Stores the value as given (no clamping), redraws and scrolls the row into view.
  void SetSelected(std::int64_t value);
  // Selects row 1 when nothing at or above it is selected, then redraws.
  void Refresh();

  // The control got a new inner size; lays out outline, viewport and scroll bar.
  // `scroll_bar_width` is the platform's width of a vertical scroll bar.
  void Resize(int width, int height, int scroll_bar_width);
  const ControlLayout& Layout() const { return layout_; }
  const ScrollFigures& Scroll() const { return scroll_; }
  std::int16_t PageRows() const { return page_rows_; }

  // Pointer positions are list coordinates (the canvas as if it held the whole list); a view
  // gets them from a position on the retained canvas with ListY().
  std::int64_t ListY(int canvas_y) const { return band_top_ + canvas_y; }
  // Mouse button pressed on the canvas: selects the row there (the first or last row when
  // above or below them; 0 on an empty list) and redraws, without scrolling.
  void MouseDown(std::int64_t list_y);
  // Full caption of the row under the pointer, or "" when there is none.
  std::string TooltipAt(std::int64_t list_y);
  // A key was pressed (shift state does not matter): moves the selection, redraws, scrolls.
  void KeyDown(int key);

  // The scroll bar moved (or is dragged); clamped into 0..max.
  void SetScrollValue(std::int64_t value);
  std::int64_t ScrollValue() const { return value_; }
  // Canvas top relative to the viewport if the canvas held the whole list (<= 0).
  std::int64_t CanvasTop() const { return -(value_ / 10); }

  // Where the retained canvas sits: its list coordinate at its top, and its top relative to
  // the viewport. The view places the canvas window at CanvasWindowTop().
  std::int64_t BandTop() const { return band_top_; }
  int CanvasWindowTop() const { return static_cast<int>(band_top_ + CanvasTop()); }
  // Counts the times the canvas was drawn, so a view knows when to show it again.
  std::uint64_t DrawCount() const { return draw_count_; }

  // High Contrast came on or went off: the rows take the system's colours or their own, and
  // are drawn again when that changes anything.
  void SetHighContrast(bool on);
  bool HighContrast() const { return high_contrast_; }
  const ListColors& Colors() const { return colors_; }

  // The full redraw: draws the band around the viewport, then the viewport layout.
  void Redraw();

private:
  std::int64_t Count() const { return items_ ? items_->Count() : 0; }
  std::int64_t ViewportHeight() const { return layout_.container.Height(); }
  void LayoutViewport();
  void DrawBand();
  void EnsureBandHoldsViewport();

  Canvas& canvas_;
  int band_limit_;
  std::shared_ptr<SelectItems> items_;
  std::int64_t selected_ = 0;
  std::int16_t page_rows_ = 1;
  ControlLayout layout_;
  int scroll_bar_width_ = 0;
  ScrollFigures scroll_;
  std::int64_t value_ = 0;
  std::int64_t band_top_ = 0;
  std::int64_t list_height_ = kListTop;  // list height at the last redraw (the canvas height)
  std::uint64_t draw_count_ = 0;
  bool high_contrast_ = false;
  ListColors colors_;
};

}  // namespace orv
