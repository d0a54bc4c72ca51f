#include "listcontrol/list_drawing.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/recording_canvas.hpp"

namespace orv {
namespace {

constexpr Rgb kHighlight = MakeRgb(0, 0, 128);
constexpr Rgb kHighlightText = MakeRgb(255, 255, 255);
constexpr Rgb kGrey = MakeRgb(128, 128, 128);

// The rule the fitting must agree with: drop one character at a time (first drop, then
// test) until what is left plus "..." is narrower than the limit.
std::string FitOneAtATime(Canvas& canvas, const std::string& text, int limit) {
  if (canvas.MeasureText(text).width <= limit) return text;
  std::vector<std::size_t> ends;  // byte end of each character
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i + 1 == text.size() || (static_cast<unsigned char>(text[i + 1]) & 0xC0) != 0x80) ends.push_back(i + 1);
  }
  for (std::size_t keep = ends.size(); keep-- > 0;) {
    std::string s = text.substr(0, keep == 0 ? 0 : ends[keep - 1]) + "...";
    if (canvas.MeasureText(s).width < limit) return s;
  }
  return "...";
}

TEST(ListGeometry, RowsAre36PixelsApartBelowA4PixelMargin) {
  EXPECT_EQ(RowTop(1), 4);
  EXPECT_EQ(RowTop(2), 40);
  EXPECT_EQ(RowTop(911), 32764);
  EXPECT_EQ(RowTop(100000), 3599968);  // no 16-bit limit
  EXPECT_EQ(ListHeight(0), 4);
  EXPECT_EQ(ListHeight(20), 724);
  struct Case { std::int64_t y, row; };
  for (auto c : std::vector<Case>{{0, 0}, {3, 0}, {4, 1}, {39, 1}, {40, 2}, {-32, 0}, {-33, -1}, {3599968, 100000}}) {
    EXPECT_EQ(RowAt(c.y), c.row) << "y " << c.y;
  }
}

TEST(TextFitting, KeepsTextUpToTheLimitAndCutsWiderTextUntilItIsStrictlyNarrower) {
  RecordingCanvas canvas(0, 0, 8, 16);
  // 10 characters are 80 pixels: exactly at the limit they stay whole.
  EXPECT_EQ(FitText(canvas, "abcdefghij", 80).text, "abcdefghij");
  // One pixel less: 6 characters + "..." = 72 < 79, 7 + "..." = 80 is not.
  const FittedText cut = FitText(canvas, "abcdefghij", 79);
  EXPECT_EQ(cut.text, "abcdef...");
  EXPECT_EQ(cut.size, (TextSize{72, 16}));
  // Strictly narrower: a limit of 72 leaves 5 characters.
  EXPECT_EQ(FitText(canvas, "abcdefghij", 72).text, "abcde...");
  EXPECT_EQ(FitText(canvas, "", 0).text, "");
}

TEST(TextFitting, GivesOnlyTheEllipsisWhenNothingElseFits) {
  RecordingCanvas canvas(0, 0, 8, 16);
  EXPECT_EQ(FitText(canvas, "abcdef", 20).text, "...");
  EXPECT_EQ(FitText(canvas, "abcdef", -5).text, "...");
}

TEST(TextFitting, AgreesWithCuttingOneCharacterAtATimeForEveryLimit) {
  RecordingCanvas canvas(0, 0, 7, 16);
  const std::vector<std::string> texts = {
      "x", "ab", "Payment to the landlord for March", "日本語のとても長い説明文です", "mixed 日本 text ok"};
  for (const auto& text : texts) {
    for (int limit = 0; limit <= 260; ++limit) {
      EXPECT_EQ(FitText(canvas, text, limit).text, FitOneAtATime(canvas, text, limit))
          << text << " limit " << limit;
    }
  }
}

TEST(TextFitting, MeasuresALogarithmicNumberOfTimes) {
  RecordingCanvas canvas(0, 0, 8, 16);
  const std::string text(4000, 'w');
  FitText(canvas, text, 200);
  EXPECT_LE(canvas.measure_count, 15);
}

// Drawing of one list: 277 pixels wide (text limit 235), 8x16 text metrics.
struct Drawn {
  RecordingCanvas canvas{277, 0, 8, 16};
  SelectItems items;
  std::shared_ptr<SyntheticPicture> icon = std::make_shared<SyntheticPicture>(32, 32, "icon");
  void Draw(std::int64_t selected) {
    canvas.Resize(canvas.Width(), static_cast<int>(ListHeight(items.Count())));
    canvas.calls.clear();
    DrawRows(canvas, items, selected, 0);
  }
  std::vector<DrawCall> Of(DrawCall::Kind kind) const {
    std::vector<DrawCall> out;
    for (const auto& c : canvas.calls)
      if (c.kind == kind) out.push_back(c);
    return out;
  }
};

TEST(ListDrawing, AnEmptyListOnlyClears) {
  Drawn d;
  d.Draw(1);
  ASSERT_EQ(d.canvas.calls.size(), 1u);
  EXPECT_EQ(d.canvas.calls[0].kind, DrawCall::Clear);
}

TEST(ListDrawing, OneLineRowIsCentredOnItsMiddleAndHighlightedWhenSelected) {
  Drawn d;
  d.items.Add("a", "First", "", d.icon);
  d.items.Add("b", "Second", "");
  d.Draw(2);
  const auto texts = d.Of(DrawCall::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "First");
  EXPECT_EQ(texts[0].rect.left, 44);
  EXPECT_EQ(texts[0].rect.top, 4 + 18 - 8);
  EXPECT_EQ(texts[0].color, MakeRgb(0, 0, 0));
  EXPECT_EQ(texts[1].rect.top, 40 + 18 - 8);
  EXPECT_EQ(texts[1].color, kHighlightText);

  const auto fills = d.Of(DrawCall::Fill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, (PixelRect{3, 39, 37, 73}));  // around the icon place, 1 pixel margin
  EXPECT_EQ(fills[1].rect, (PixelRect{44, 50, 44 + 48 + 1, 66 + 1}));  // behind the caption
  EXPECT_EQ(fills[0].color, kHighlight);

  const auto pictures = d.Of(DrawCall::Picture);
  ASSERT_EQ(pictures.size(), 1u);  // the second row has no icon, and that is not an error
  EXPECT_EQ(pictures[0].rect, (PixelRect{4, 4, 36, 36}));
  EXPECT_EQ(pictures[0].text, "icon");
}

TEST(ListDrawing, AnyCommentGivesTwoLinesAndTheCommentIsGrey) {
  Drawn d;
  d.items.Add("a", "Caption", " ");
  d.items.Add("b", "Rent", "Monthly transfer");
  d.Draw(0);
  const auto texts = d.Of(DrawCall::Text);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].rect.top, 8);
  EXPECT_EQ(texts[1].text, " ");
  EXPECT_EQ(texts[1].rect.top, 22);
  EXPECT_EQ(texts[1].color, kGrey);
  EXPECT_EQ(texts[2].rect.top, 44);
  EXPECT_EQ(texts[3].rect.top, 58);
  EXPECT_TRUE(d.Of(DrawCall::Fill).empty());
}

TEST(ListDrawing, SelectedTwoLineRowHighlightsTheWiderTextInHighlightText) {
  Drawn d;
  d.items.Add("b", "Rent", "Monthly transfer");
  d.Draw(1);
  const auto fills = d.Of(DrawCall::Fill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[1].rect, (PixelRect{44, 8, 44 + 16 * 8 + 1, 4 + 18 + 16 + 1}));
  for (const auto& t : d.Of(DrawCall::Text)) EXPECT_EQ(t.color, kHighlightText);
}

TEST(ListDrawing, LongCaptionsAndCommentsAreShortenedToTheCanvasWidth) {
  Drawn d;
  d.items.Add("a", std::string(40, 'c'), std::string(50, 'm'));
  d.Draw(0);
  const auto texts = d.Of(DrawCall::Text);
  ASSERT_EQ(texts.size(), 2u);
  // limit 235: 26 characters + "..." = 232 < 235
  EXPECT_EQ(texts[0].text, std::string(26, 'c') + "...");
  EXPECT_EQ(texts[1].text, std::string(26, 'm') + "...");
}

TEST(ListDrawing, DrawsOnlyTheRowsOfABandAtTheirBandPosition) {
  Drawn d;
  for (int i = 1; i <= 2000; ++i) d.items.Add(std::to_string(i), "Row " + std::to_string(i));
  d.canvas.Resize(277, 360);
  d.canvas.calls.clear();
  const std::int64_t origin = RowTop(1500) - 4;  // the band starts 4 pixels above row 1500
  DrawRows(d.canvas, d.items, 1500, origin);
  const auto texts = d.Of(DrawCall::Text);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front().text, "Row 1499");  // its lowest pixels reach into the band
  EXPECT_EQ(texts[1].text, "Row 1500");
  EXPECT_EQ(texts[1].rect.top, 4 + 18 - 8);
  EXPECT_EQ(texts.back().text, "Row 1509");  // starts 32 pixels above the band end
  EXPECT_EQ(d.Of(DrawCall::Fill)[0].rect.top, 3);
}

TEST(ListDrawing, HighContrastDrawsInTheSystemWindowColoursAndTheCommentLikeTheCaption) {
  Drawn d;
  d.items.Add("a", "Rent", "Monthly transfer");
  d.items.Add("b", "Cash", "");
  d.canvas.Resize(277, static_cast<int>(ListHeight(2)));
  const ListColors dark{MakeRgb(0, 0, 0), MakeRgb(255, 255, 0), MakeRgb(255, 255, 0)};  // a dark scheme
  DrawRows(d.canvas, d.items, 2, 0, dark);
  EXPECT_EQ(d.canvas.back_color(), dark.back);
  const auto texts = d.Of(DrawCall::Text);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].color, dark.text);
  EXPECT_EQ(texts[1].color, dark.comment);
  EXPECT_EQ(texts[2].color, kHighlightText);  // the selection keeps the system's highlight

  // Taken from the canvas's system colours; outside High Contrast the fixed look.
  const ListColors contrast = ListColorsFor(d.canvas, true);
  EXPECT_EQ(contrast.back, d.canvas.SystemColorOf(SystemColor::Window));
  EXPECT_EQ(contrast.comment, d.canvas.SystemColorOf(SystemColor::WindowText));
  EXPECT_EQ(ListColorsFor(d.canvas, false).comment, kGrey);
}

}  // namespace
}  // namespace orv
