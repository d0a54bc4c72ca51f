#pragma once
// The drawing port. Everything the calendar and the list control paint goes through a
// Canvas: a pixel surface with a current font and text colour, that can also keep a
// persistent background picture which Clear() brings back. The Win32 adapter is a GDI
// memory DC; tests use RecordingCanvas (a list of calls with fixed text metrics).
//
// Text is UTF-8. Colours are 0x00BBGGRR, the platform's colour word, so they pass to GDI as
// they are. Coordinates are pixels from the surface's top-left corner.
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) {
  return static_cast<Rgb>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};

inline PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
          a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}
inline bool Empty(const PixelRect& r) { return r.Width() <= 0 || r.Height() <= 0; }
inline PixelRect Shifted(const PixelRect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

struct TextSize {
  int width = 0;
  int height = 0;
  bool operator==(const TextSize&) const = default;
};

// A font as the model knows it; the canvas turns it into a platform font object.
struct FontSpec {
  std::string face;
  double points = 9;
  bool bold = false;
  bool italic = false;
  int escapement = 0;    // tenths of a degree; -900 writes top to bottom
  int pixel_height = 0;  // when not 0: the cell height in pixels, instead of `points`
  // An outline face is needed (turned text): a face that exists only as bitmaps, which
  // cannot be turned, gives way to an outline one.
  bool outline = false;
  bool operator==(const FontSpec&) const = default;
};

// The system colours the model asks for by meaning.
enum class SystemColor { Highlight, HighlightText, ButtonShadow, ButtonFace, Window, WindowText, Desktop };

// A loaded picture (bitmap, icon, ...). What it is inside belongs to the adapter that made it.
class Picture {
public:
  virtual ~Picture() = default;
  virtual int Width() const = 0;  // natural size in pixels
  virtual int Height() const = 0;
};

// How a picture or surface is combined with what is already there.
enum class RasterOp {
  Copy,    // destination = source
  Erase,   // destination = source AND NOT destination (masks)
  Invert,  // destination = source XOR destination
};

class Canvas {
public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // New size; the content is kept where it overlaps and the rest shows the back colour.
  virtual void Resize(int width, int height) = 0;
  virtual void SetBackColor(Rgb color) = 0;

  // The current image becomes the persistent background that Clear() restores.
  virtual void KeepAsBackground() = 0;
  // Restores the persistent background, or fills with the back colour when there is none.
  virtual void Clear() = 0;

  // The dots per inch a font's points are turned into pixels with (those of the monitor the
  // picture is shown on); 0 for the screen's own.
  virtual void SetDpi(int dpi) = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  virtual void SetTextColor(Rgb color) = 0;
  virtual TextSize MeasureText(std::string_view text) = 0;
  // Text with a transparent background, the top-left corner of its box at (x, y). (Not
  // "DrawText": <windows.h> makes that name a macro.)
  virtual void PrintText(int x, int y, std::string_view text) = 0;

  virtual void FillRect(const PixelRect& rect, Rgb color) = 0;
  virtual void FrameRect(const PixelRect& rect, Rgb color) = 0;  // 1-pixel outline

  // The picture into `dest` (stretched when the size differs from the picture's own). A
  // `halftone` copy is scaled smoothly (slower), and each of its pixels is the same however
  // much of `dest` the surface shows.
  virtual void DrawPicture(const Picture& picture, const PixelRect& dest, RasterOp op,
                           bool halftone = false) = 0;
  // Copies of the picture at its own size side by side, the first at `dest`'s top-left,
  // filling `dest` (the last column and row cut at its edges). The work does not grow with the
  // number of copies: a tiny picture over a large area costs one fill.
  virtual void TilePicture(const Picture& picture, const PixelRect& dest) = 0;
  // A rectangle of another surface, copied or stretched into `dest`. Halftone stretching
  // averages pixels when shrinking (slower, smoother).
  virtual void CopyFrom(const Canvas& source, const PixelRect& from, const PixelRect& dest,
                        bool halftone = false) = 0;

  virtual Rgb SystemColorOf(SystemColor which) const = 0;
};

}  // namespace orv
