// The entry-kind icon sets as the dialogs get them: OLE icon pictures of 32 and 64 pixels,
// one per kind, painted with their transparency, and nothing for a size or kind that does
// not exist.
#include "desktop/win32/entry_icon_sets.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32/gdi_canvas.hpp"
#include "platform/win32/ole_picture.hpp"

namespace orv {
namespace {

constexpr Rgb kWhite = MakeRgb(255, 255, 255);

// The picture painted at its natural size onto a white surface.
struct Painted {
  explicit Painted(IPicture* picture) : ole(picture), canvas(ole.Width(), ole.Height()) {
    canvas.SetBackColor(kWhite);
    canvas.Clear();
    const RECT all{0, 0, ole.Width(), ole.Height()};
    rendered = ole.Render(canvas.dc(), all, RasterOp::Copy);

  }
  OlePicture ole;
  GdiCanvas canvas;
  bool rendered = false;
};

int Distance(Rgb a, Rgb b) {
  return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) + std::abs(BlueOf(a) - BlueOf(b));
}

// What a pixel of the drawing looks like over white.
Rgb OverWhite(std::uint32_t argb) {
  const int a = AlphaOf(argb);
  auto mix = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
  return MakeRgb(mix(RedOfArgb(argb)), mix(GreenOfArgb(argb)), mix(BlueOfArgb(argb)));
}

TEST(EntryIconSets, EachKindAtBothSizesPaintsTheDrawingWithItsTransparency) {
  EntryIconSets sets;
  for (int size : {0, 1}) {
    const int pixels = size == 0 ? 32 : 64;
    std::vector<std::vector<Rgb>> kinds;
    for (int index = 0; index < kEntryKindCount; ++index) {
      SCOPED_TRACE(testing::Message() << "size " << size << ", kind " << index);
      IPicture* picture = sets.GetIconPicture(size, index);
      ASSERT_NE(picture, nullptr);
      EXPECT_EQ(sets.GetIconPicture(size, index), picture);  // one shared picture per icon
      SHORT type = 0;
      picture->get_Type(&type);
      EXPECT_EQ(type, PICTYPE_ICON);
      Painted painted(picture);
      ASSERT_TRUE(painted.rendered);
      ASSERT_EQ(painted.ole.Width(), pixels);
      ASSERT_EQ(painted.ole.Height(), pixels);
      // Every pixel, including the soft edges, is the drawing laid over the white below:
      // transparent corners stay white and no dark fringe appears.
      const IconImage drawing = DrawEntryIcon(index, pixels);
      int worst = 0;
      std::vector<Rgb> shown;
      for (int y = 0; y < pixels; ++y) {
        for (int x = 0; x < pixels; ++x) {
          shown.push_back(painted.canvas.PixelAt(x, y));
          const int d = Distance(shown.back(), OverWhite(drawing.At(x, y)));
          worst = std::max(worst, d);
        }
      }
      EXPECT_EQ(painted.canvas.PixelAt(0, 0), kWhite);
      EXPECT_LE(worst, 24);
      kinds.push_back(std::move(shown));
    }
    for (std::size_t a = 0; a < kinds.size(); ++a) {
      for (std::size_t b = a + 1; b < kinds.size(); ++b) {
        int differing = 0;
        for (std::size_t i = 0; i < kinds[a].size(); ++i) differing += Distance(kinds[a][i], kinds[b][i]) > 60;
        EXPECT_GT(differing, pixels * pixels / 2) << "size " << size << ", kinds " << a << " and " << b;
      }
    }
  }
}

TEST(EntryIconSets, NoPictureForAnotherSizeOrKind) {
  EntryIconSets sets;
  const struct {
    int size, index;
  } cases[] = {{2, 0}, {-1, 1}, {64, 2}, {0, -1}, {0, 4}, {1, 4}, {1, -1}};
  for (const auto& c : cases) EXPECT_EQ(sets.GetIconPicture(c.size, c.index), nullptr) << c.size << ", " << c.index;
}

}  // namespace
}  // namespace orv
