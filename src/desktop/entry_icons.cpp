#include "desktop/entry_icons.hpp"

#include "core/twips.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace orv {
namespace {

constexpr double kGrid = 64;       // icons are laid out on a 64 x 64 unit grid
constexpr int kSamplesPerSide = 4;  // 16 samples per pixel

struct Point {
  double x, y;
};

struct Color {
  double r, g, b;
};

constexpr Color Rgb8(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// A colour running from `top` at grid row `y0` to `bottom` at `y1` (one colour when both are
// equal), with an opacity.
struct Paint {
  Color top, bottom;
  double y0 = 0, y1 = kGrid;
  double alpha = 1;

  Color At(double y) const {
    const double t = std::clamp((y - y0) / (y1 - y0), 0.0, 1.0);
    return {top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t};
  }
};

Paint Solid(Color c, double alpha = 1) { return {c, c, 0, kGrid, alpha}; }
Paint Gradient(Color top, Color bottom, double y0, double y1) { return {top, bottom, y0, y1, 1}; }

// One filled shape of an icon, in grid units.
struct Shape {
  enum Kind { RoundRect, Ring, Stroke, Polygon } kind = RoundRect;
  // RoundRect: left, top, right, bottom, corner radius. Ring: centre x, y, outer and inner
  // radius (inner 0 gives a disc). Stroke: from x, y, to x, y, half width (round ends).
  std::array<double, 5> v{};
  std::vector<Point> points;  // Polygon, even-odd rule
  Paint paint;

  bool Contains(Point p) const;
  // The box around the shape: samples outside it skip the exact test.
  std::array<double, 4> Bounds() const;
};

std::array<double, 4> Shape::Bounds() const {
  switch (kind) {
    case RoundRect: return {v[0], v[1], v[2], v[3]};
    case Ring: return {v[0] - v[2], v[1] - v[2], v[0] + v[2], v[1] + v[2]};
    case Stroke:
      return {std::min(v[0], v[2]) - v[4], std::min(v[1], v[3]) - v[4], std::max(v[0], v[2]) + v[4],
              std::max(v[1], v[3]) + v[4]};
    case Polygon: {
      std::array<double, 4> box{kGrid, kGrid, 0, 0};
      for (const Point& p : points) box = {std::min(box[0], p.x), std::min(box[1], p.y), std::max(box[2], p.x),
                                          std::max(box[3], p.y)};
      return box;
    }
  }
  return {0, 0, 0, 0};
}

bool Shape::Contains(Point p) const {
  switch (kind) {
    case RoundRect: {
      const double l = v[0], t = v[1], r = v[2], b = v[3], radius = v[4];
      if (p.x < l || p.x > r || p.y < t || p.y > b) return false;
      const double cx = std::clamp(p.x, l + radius, r - radius);
      const double cy = std::clamp(p.y, t + radius, b - radius);
      return (p.x - cx) * (p.x - cx) + (p.y - cy) * (p.y - cy) <= radius * radius;
    }
    case Ring: {
      const double d2 = (p.x - v[0]) * (p.x - v[0]) + (p.y - v[1]) * (p.y - v[1]);
      return d2 <= v[2] * v[2] && d2 >= v[3] * v[3];
    }
    case Stroke: {
      const double dx = v[2] - v[0], dy = v[3] - v[1];
      const double length2 = dx * dx + dy * dy;
      const double t = length2 > 0 ? std::clamp(((p.x - v[0]) * dx + (p.y - v[1]) * dy) / length2, 0.0, 1.0) : 0;
      const double ex = p.x - (v[0] + t * dx), ey = p.y - (v[1] + t * dy);
      return ex * ex + ey * ey <= v[4] * v[4];
    }
    case Polygon: {
      bool inside = false;
      for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
      }
      return inside;
    }
  }
  return false;
}

Shape Box(double l, double t, double r, double b, double radius, Paint paint) {
  return {Shape::RoundRect, {l, t, r, b, radius}, {}, paint};
}
Shape Disc(double cx, double cy, double radius, Paint paint) { return {Shape::Ring, {cx, cy, radius, 0, 0}, {}, paint}; }
Shape Annulus(double cx, double cy, double outer, double inner, Paint paint) {
  return {Shape::Ring, {cx, cy, outer, inner, 0}, {}, paint};
}
Shape Line(double x0, double y0, double x1, double y1, double half_width, Paint paint) {
  return {Shape::Stroke, {x0, y0, x1, y1, half_width}, {}, paint};
}
Shape Poly(std::initializer_list<Point> points, Paint paint) { return {Shape::Polygon, {}, points, paint}; }

// A five-pointed star, one point straight up.
Shape Star(Point centre, double outer, double inner, Paint paint) {
  constexpr double kPi = 3.14159265358979323846;
  Shape star{Shape::Polygon, {}, {}, paint};
  for (int i = 0; i < 10; ++i) {
    const double radius = i % 2 == 0 ? outer : inner;
    const double angle = -kPi / 2 + i * kPi / 5;
    star.points.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
  }
  return star;
}

// Every icon stands on a rounded tile of its kind's colour with a darker rim, so the four
// kinds differ by colour as well as by symbol, also at 32 pixels.
void AddTile(std::vector<Shape>& shapes, Color rim, Color top, Color bottom) {
  shapes.push_back(Box(1, 1, 63, 63, 13, Solid(rim)));
  shapes.push_back(Box(3, 3, 61, 61, 11, Gradient(top, bottom, 3, 61)));
}

std::vector<Shape> ShapesOf(int index) {
  std::vector<Shape> s;
  const Paint white = Solid(Rgb8(255, 255, 255));
  switch (index) {
    case 0:  // automatic transfer: blue, two arrows passing each other
      AddTile(s, Rgb8(28, 78, 160), Rgb8(100, 164, 238), Rgb8(38, 100, 196));
      s.push_back(Line(15, 23, 40, 23, 4, white));
      s.push_back(Poly({{37, 11}, {52, 23}, {37, 35}}, white));
      s.push_back(Line(24, 41, 49, 41, 4, white));
      s.push_back(Poly({{27, 29}, {12, 41}, {27, 53}}, white));
      break;
    case 1: {  // cash payment: green, a gold yen coin
      AddTile(s, Rgb8(30, 110, 60), Rgb8(124, 204, 124), Rgb8(44, 138, 74));
      const Paint ink = Solid(Rgb8(150, 92, 10));
      s.push_back(Disc(32, 32, 22, Solid(Rgb8(168, 106, 14))));
      s.push_back(Disc(32, 32, 20, Gradient(Rgb8(255, 230, 120), Rgb8(234, 166, 34), 12, 52)));
      s.push_back(Annulus(32, 32, 16.5, 15, Solid(Rgb8(200, 134, 26), 0.8)));
      s.push_back(Line(25, 20, 32, 31, 2.6, ink));
      s.push_back(Line(39, 20, 32, 31, 2.6, ink));
      s.push_back(Line(32, 31, 32, 45, 2.6, ink));
      s.push_back(Line(25, 33.5, 39, 33.5, 2.2, ink));
      s.push_back(Line(25, 39.5, 39, 39.5, 2.2, ink));
      break;
    }
    case 2:  // very special day: rose, a gold star with two sparkles
      AddTile(s, Rgb8(160, 30, 60), Rgb8(246, 112, 132), Rgb8(198, 42, 76));
      s.push_back(Star({32, 35}, 26, 11.5, Solid(Rgb8(176, 92, 10))));
      s.push_back(Star({32, 35}, 23.5, 10, Gradient(Rgb8(255, 240, 130), Rgb8(250, 174, 36), 12, 56)));
      s.push_back(Disc(51, 13, 3, white));
      s.push_back(Disc(13, 52, 2.5, Solid(Rgb8(255, 255, 255), 0.85)));
      break;
    case 3: {  // special day: violet, a calendar leaf with a heart
      AddTile(s, Rgb8(84, 52, 140), Rgb8(178, 142, 230), Rgb8(114, 76, 184));
      const Paint red = Solid(Rgb8(218, 58, 70));
      s.push_back(Box(12, 15, 52, 54, 5, Solid(Rgb8(70, 40, 120), 0.35)));  // shadow
      s.push_back(Box(12, 14, 52, 52, 5, white));
      s.push_back(Box(12, 14, 52, 27, 5, red));
      s.push_back(Box(12, 21, 52, 27, 0, red));
      s.push_back(Line(23, 10, 23, 18, 2.5, Solid(Rgb8(60, 60, 72))));
      s.push_back(Line(41, 10, 41, 18, 2.5, Solid(Rgb8(60, 60, 72))));
      const Paint heart = Solid(Rgb8(226, 58, 96));
      s.push_back(Disc(27.5, 37.5, 5.5, heart));
      s.push_back(Disc(36.5, 37.5, 5.5, heart));
      s.push_back(Poly({{22.3, 39.5}, {41.7, 39.5}, {32, 49.5}}, heart));
      break;
    }
    default:
      break;
  }
  return s;
}

std::uint32_t ToArgb(double a, double r, double g, double b) {
  auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

}  // namespace

std::optional<int> IconSetPixels(int size) {
  switch (size) {
    case 0: return 32;
    case 1: return 64;
    default: return std::nullopt;
  }
}

IconImage DrawEntryIcon(int index, int pixels) {
  IconImage image;
  if (!IsEntryIconIndex(index) || pixels < 1) return image;
  const std::vector<Shape> shapes = ShapesOf(index);
  std::vector<std::array<double, 4>> bounds;
  for (const Shape& shape : shapes) bounds.push_back(shape.Bounds());
  image.width = image.height = pixels;
  image.pixels.resize(static_cast<std::size_t>(pixels) * pixels);
  const double unit = kGrid / pixels;  // grid units per pixel
  for (int y = 0; y < pixels; ++y) {
    for (int x = 0; x < pixels; ++x) {
      // Each sample is composed with hard edges (shapes painted over each other, "over"
      // operator); averaging the premultiplied samples gives smooth edges without seams
      // where shapes of one colour meet.
      double sum_a = 0, sum_r = 0, sum_g = 0, sum_b = 0;
      for (int sy = 0; sy < kSamplesPerSide; ++sy) {
        for (int sx = 0; sx < kSamplesPerSide; ++sx) {
          const Point p{(x + (sx + 0.5) / kSamplesPerSide) * unit, (y + (sy + 0.5) / kSamplesPerSide) * unit};
          double a = 0, r = 0, g = 0, b = 0;  // premultiplied
          for (std::size_t i = 0; i < shapes.size(); ++i) {
            const Shape& shape = shapes[i];
            const auto& box = bounds[i];
            if (p.x < box[0] || p.x > box[2] || p.y < box[1] || p.y > box[3] || !shape.Contains(p)) continue;
            const Color c = shape.paint.At(p.y);
            const double sa = shape.paint.alpha;
            r = c.r * sa + r * (1 - sa);
            g = c.g * sa + g * (1 - sa);
            b = c.b * sa + b * (1 - sa);
            a = sa + a * (1 - sa);
          }
          sum_a += a;
          sum_r += r;
          sum_g += g;
          sum_b += b;
        }
      }
      constexpr double kSamples = kSamplesPerSide * kSamplesPerSide;
      const double a = sum_a / kSamples;
      image.pixels[static_cast<std::size_t>(y) * pixels + x] =
          a > 0 ? ToArgb(a, sum_r / sum_a, sum_g / sum_a, sum_b / sum_a) : 0;
    }
  }
  return image;
}

IconImage DrawTrayIcon(int pixels, bool few_colors) {
  IconImage image;
  if (pixels < 1) return image;
  image.width = image.height = pixels;
  image.pixels.assign(static_cast<std::size_t>(pixels) * static_cast<std::size_t>(pixels), 0);
  constexpr std::uint32_t kOpaque = 0xFF000000;
  const std::uint32_t red = kOpaque | (few_colors ? 0x800000u : 0xC82830u);
  const std::uint32_t ink = kOpaque | (few_colors ? 0x000080u : 0x283C6Eu);
  // A grid unit's edge in pixels: the one rounding rule, so every edge is a whole pixel.
  auto edge = [pixels](int units) { return static_cast<int>(RoundRatio(std::int64_t{units} * pixels, 16)); };
  auto fill = [&](int l, int t, int r, int b, std::uint32_t color) {
    for (int y = edge(t); y < edge(b); ++y)
      for (int x = edge(l); x < edge(r); ++x) image.pixels[static_cast<std::size_t>(y) * pixels + x] = color;
  };
  fill(0, 0, 16, 16, kOpaque);                // black outline
  fill(1, 1, 15, 15, kOpaque | 0x404040u);    // grey edge of the pad
  fill(2, 2, 14, 14, kOpaque | 0xFFFFFFu);    // the page
  fill(2, 2, 14, 5, red);                     // the binding
  fill(4, 7, 12, 8, ink);                     // two day lines
  fill(4, 10, 9, 11, ink);
  fill(10, 10, 12, 13, red);                  // today's mark
  return image;
}

}  // namespace orv
