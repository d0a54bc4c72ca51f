#include "listcontrol/pickvane_model.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/recording_canvas.hpp"

namespace orv {
namespace {

constexpr int kBar = 17;  // scroll bar width used throughout

// A control of inner size width x (viewport height + 3), i.e. a viewport `viewport` high.
struct Control {
  explicit Control(int count, int viewport = 300, int width = 300, int band = PickvaneModel::kDefaultBandLimit)
      : model(canvas, band) {
    for (int i = 1; i <= count; ++i) model.Items().Add(std::to_string(i), "Item " + std::to_string(i));
    model.Resize(width, viewport + 3, kBar);
  }
  // The selected row's top relative to the viewport.
  std::int64_t SelectedTopInView() const { return RowTop(model.Selected()) + model.CanvasTop(); }
  RecordingCanvas canvas{0, 0, 8, 16};
  PickvaneModel model;
};

TEST(ControlLayout, OutlineAndViewportFollowTheControlSize) {
  const ControlLayout l = LayoutControl(200, 100);
  EXPECT_EQ(l.outline, (PixelRect{0, 0, 199, 99}));
  EXPECT_EQ(l.container, (PixelRect{1, 1, 198, 98}));
}

TEST(ViewportLayout, PlacesTheScrollBarAndSizesTheCanvas) {
  Control c(0, 300, 300);  // viewport 297 x 300
  EXPECT_EQ(c.model.Scroll().bar, (PixelRect{297 - kBar - 1, 1, 296, 299}));
  EXPECT_EQ(c.canvas.Width(), 297 - kBar - 3);
}

TEST(ViewportLayout, FiguresRoundHalvesToEven) {
  struct Case {
    int count, viewport;
    bool enabled;
    std::int64_t max, large, small;
    int page_rows;
  };
  const std::vector<Case> cases = {
      {1, 30, true, 100, 75, 8, 1},        // small change 7.5 -> 8
      {5, 46, true, 1380, 345, 34, 1},     // 34.5 -> 34
      {2, 57, true, 190, 142, 14, 1},      // large change 142.5 -> 142
      {4, 37, true, 1110, 278, 28, 1},     // 277.5 -> 278
      {20, 300, true, 4240, 1757, 176, 7}, // 1756.9 -> 1757
  };
  for (const auto& k : cases) {
    Control c(k.count, k.viewport);
    c.model.Redraw();
    const ScrollFigures& s = c.model.Scroll();
    EXPECT_EQ(s.enabled, k.enabled) << k.count << "/" << k.viewport;
    EXPECT_EQ(s.max, k.max) << k.count << "/" << k.viewport;
    EXPECT_EQ(s.large_change, k.large) << k.count << "/" << k.viewport;
    EXPECT_EQ(s.small_change, k.small) << k.count << "/" << k.viewport;
    EXPECT_EQ(c.model.PageRows(), k.page_rows) << k.count << "/" << k.viewport;
  }
}

TEST(ViewportLayout, AShortListCannotScrollAndKeepsItsOldSteps) {
  Control c(20, 300);
  c.model.Redraw();
  c.model.Items().RemoveAt(20);
  while (c.model.Items().Count() > 2) c.model.Items().RemoveAt(1);
  c.model.SetScrollValue(4000);
  c.model.Redraw();
  EXPECT_FALSE(c.model.Scroll().enabled);
  EXPECT_EQ(c.model.Scroll().max, 0);
  EXPECT_EQ(c.model.ScrollValue(), 0);  // clamped into the new range
  EXPECT_EQ(c.model.Scroll().large_change, 1757);  // a zero step cannot be set
  EXPECT_EQ(c.model.Scroll().small_change, 176);
  c.model.KeyDown(kKeyEnd);
  EXPECT_EQ(c.model.CanvasTop(), 0);  // End does not push the canvas down
}

TEST(ViewportLayout, PageRowsIsAtLeastOne) {
  EXPECT_EQ(Control(0, 71).model.PageRows(), 1);
  EXPECT_EQ(Control(0, 72).model.PageRows(), 1);
  EXPECT_EQ(Control(0, 108).model.PageRows(), 2);
  EXPECT_EQ(Control(0, 0).model.PageRows(), 1);
}

TEST(SelectionClamping, MouseDownSelectsTheRowUnderThePointerWithinTheList) {
  Control c(5);
  struct Case { std::int64_t y, selected; };
  for (auto k : std::vector<Case>{{0, 1}, {3, 1}, {4, 1}, {39, 1}, {40, 2}, {183, 5}, {900, 5}, {-50, 1}}) {
    c.model.MouseDown(k.y);
    EXPECT_EQ(c.model.Selected(), k.selected) << "y " << k.y;
  }
  Control empty(0);
  empty.model.MouseDown(100);
  EXPECT_EQ(empty.model.Selected(), 0);
}

TEST(SelectionClamping, SelectedIsStoredAsGivenAndRefreshRaisesItToOne) {
  Control c(3);
  c.model.SetSelected(7);
  EXPECT_EQ(c.model.Selected(), 7);
  c.model.SetSelected(-2);
  EXPECT_EQ(c.model.Selected(), -2);
  c.model.SetSelected(0);
  c.model.Refresh();
  EXPECT_EQ(c.model.Selected(), 1);
  c.model.SetSelected(9);
  c.model.Refresh();
  EXPECT_EQ(c.model.Selected(), 9);  // no upper clamp
}

TEST(SelectionClamping, NothingIsHighlightedOutsideTheList) {
  Control c(3);
  c.model.SetSelected(0);
  for (const auto& call : c.canvas.calls) EXPECT_NE(call.kind, DrawCall::Fill);
}

TEST(Keyboard, MovesTheSelectionByTheTableAndClampsIntoTheList) {
  Control c(20, 300);  // 7 page rows
  c.model.SetSelected(20);
  struct Step { int key; std::int64_t selected; };
  const std::vector<Step> steps = {
      {kKeyUp, 19},     {kKeyDown, 20},    {kKeyDown, 20},  {kKeyPageUp, 13}, {kKeyPageUp, 6},
      {kKeyPageUp, 1},  {kKeyPageDown, 8}, {kKeyEnd, 20},   {kKeyHome, 1},    {kKeyUp, 1},
      {'A', 1},         {kKeyPageDown, 8}, {16 /*shift*/, 8}};
  for (const auto& s : steps) {
    c.model.KeyDown(s.key);
    EXPECT_EQ(c.model.Selected(), s.selected) << "key " << s.key;
  }
}

TEST(Keyboard, AnyKeySelectsRowOneWhenNothingIsSelectedEvenOnAnEmptyList) {
  Control c(3);
  c.model.KeyDown('Q');
  EXPECT_EQ(c.model.Selected(), 1);
  Control empty(0);
  empty.model.KeyDown('Q');
  EXPECT_EQ(empty.model.Selected(), 1);
  empty.model.KeyDown(kKeyDown);
  EXPECT_EQ(empty.model.Selected(), 0);  // above the count
}

TEST(Keyboard, ScrollsOneRowPerRowMovedOnceTheSelectionLeavesTheView) {
  Control c(20, 300);
  c.model.SetSelected(1);
  for (int i = 0; i < 7; ++i) c.model.KeyDown(kKeyDown);
  EXPECT_EQ(c.model.ScrollValue(), 0);  // row 8 ends at 292 (+4 margin): still inside
  c.model.KeyDown(kKeyDown);            // row 9 would end below the viewport
  EXPECT_EQ(c.model.ScrollValue(), 360);
  EXPECT_EQ(c.model.CanvasTop(), -36);
  c.model.KeyDown(kKeyPageDown);  // 7 rows on: 7 steps
  EXPECT_EQ(c.model.Selected(), 16);
  EXPECT_EQ(c.model.ScrollValue(), 360 * 8);
  c.model.KeyDown(kKeyEnd);
  EXPECT_EQ(c.model.ScrollValue(), c.model.Scroll().max);
  c.model.KeyDown(kKeyHome);
  EXPECT_EQ(c.model.ScrollValue(), 0);
  EXPECT_EQ(c.model.Selected(), 1);
}

TEST(Keyboard, UpScrollsBackWhenTheSelectionReachesTheTopRow) {
  Control c(20, 300);
  c.model.KeyDown(kKeyEnd);  // 20 selected, scrolled to the bottom
  const std::int64_t bottom = c.model.ScrollValue();
  for (int i = 0; i < 7; ++i) c.model.KeyDown(kKeyUp);  // row 13: the first whole row shown
  EXPECT_EQ(c.model.ScrollValue(), bottom);
  c.model.KeyDown(kKeyUp);  // row 12 is cut by the viewport's top edge
  EXPECT_EQ(c.model.ScrollValue(), bottom - 360);
}

TEST(ScrollIntoView, SettingSelectedScrollsUntilTheRowIsInside) {
  Control c(20, 300);
  c.model.SetSelected(15);
  EXPECT_LE(c.model.CanvasTop() + 15 * 36, 300);
  EXPECT_GT(c.model.CanvasTop() + 16 * 36, 300);  // no further than needed
  c.model.SetSelected(2);
  EXPECT_GE(c.model.CanvasTop() + 1 * 36, 1);
  c.model.SetSelected(1);
  EXPECT_EQ(c.model.ScrollValue(), 0);
}

TEST(Tooltip, ShowsTheFullCaptionOfTheRowUnderThePointer) {
  Control c(0);
  c.model.Items().Add("k", std::string(100, 'x'));
  EXPECT_EQ(c.model.TooltipAt(20), std::string(100, 'x'));
  EXPECT_EQ(c.model.TooltipAt(2), "");
  EXPECT_EQ(c.model.TooltipAt(41), "");
}

TEST(LargeLists, EveryRowCanBeReachedDrawnAndScrolledIntoView) {
  Control c(5000, 300);
  c.model.Redraw();
  EXPECT_EQ(c.model.Scroll().max, (ListHeight(5000) - 300) * 10);
  EXPECT_LE(c.canvas.Height(), PickvaneModel::kDefaultBandLimit);  // bounded retained bitmap

  c.model.KeyDown(kKeyEnd);
  EXPECT_EQ(c.model.Selected(), 5000);
  // The row is on the retained canvas, drawn selected, and the canvas sits where it shows.
  const std::int64_t top_on_canvas = RowTop(5000) - c.model.BandTop();
  ASSERT_GE(top_on_canvas, 0);
  ASSERT_LT(top_on_canvas, c.canvas.Height());
  EXPECT_EQ(c.model.CanvasWindowTop() + top_on_canvas, c.SelectedTopInView());
  EXPECT_LE(c.SelectedTopInView() + 36, 300 + 4);
  bool drawn = false;
  for (const auto& call : c.canvas.calls)
    if (call.kind == DrawCall::Text && call.text == "Item 5000" && call.color == MakeRgb(255, 255, 255)) drawn = true;
  EXPECT_TRUE(drawn);

  c.model.SetSelected(2500);
  EXPECT_GE(c.SelectedTopInView(), 0);
  EXPECT_LE(c.SelectedTopInView() + 36, 300 + 4);
  // A click on the retained canvas maps back to the list.
  c.model.MouseDown(c.model.ListY(static_cast<int>(RowTop(2600) - c.model.BandTop()) + 10));
  EXPECT_EQ(c.model.Selected(), 2600);
}

TEST(LargeLists, ScrollingInsideTheBandOnlyMovesTheCanvas) {
  Control c(5000, 300, 300, 3600);
  c.model.Redraw();
  const auto draws = c.model.DrawCount();
  c.model.SetScrollValue(3600);  // 360 pixels down, still inside the 3600-pixel band
  EXPECT_EQ(c.model.DrawCount(), draws);
  EXPECT_EQ(c.model.CanvasWindowTop(), -360);
  c.model.SetScrollValue(400000);  // far outside: the band is drawn around the viewport
  EXPECT_EQ(c.model.DrawCount(), draws + 1);
  EXPECT_LE(c.model.BandTop(), 40000);
  EXPECT_GE(c.model.BandTop() + c.canvas.Height(), 40000 + 300);
  EXPECT_EQ(c.model.CanvasWindowTop(), c.model.BandTop() - 40000);
}

TEST(Items, KeepTheirOwnKeyFieldApartFromTheCollectionKey) {
  SelectItems items;
  auto a = items.Add("A", "cap");
  ASSERT_TRUE(a);
  EXPECT_FALSE(items.Add("a"));
  a->Key = "renamed";
  EXPECT_EQ(items.Find("A"), a);
  EXPECT_TRUE(items.Remove("a"));
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(a->Caption, "cap");  // a holder keeps the item after removal
}

}  // namespace
}  // namespace orv
